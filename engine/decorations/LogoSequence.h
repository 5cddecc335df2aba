// A logo that a conversion job draws into the top-left corner of every frame: still pictures or
// clips from a "|"-separated list of files, one step of the sequence per interval of frame time.
#pragma once

#include "engine/MediaHandles.h"
#include "engine/decorations/TextWatermark.h"

#include <functional>
#include <string>
#include <vector>

const int kLogoListSize = 8192;

// Appends the non-empty pieces of a "|"-separated list (a "|" inside a double-byte character of
// the system code page does not separate); 1 when the list is empty afterwards, else 0.
int SplitBarList(const char* text, std::vector<std::string>& list);

class LogoSequence
{
public:
    using LogSink = std::function<void(const std::string&)>;

    ~LogoSequence();

    // listCapacity bounds the read of list (the field it comes from may be shorter than ours).
    int Open(const int placement[kPlacementCount], const char* list, size_t listCapacity, int usePictureAlpha,
             int interval);
    // Steps the sequence when the interval has passed; 0 when a file is open, else -1.
    int Advance(int timeMs);
    int Apply(uint8_t* pixels, int width, int height) const;
    int Close();
    int OpenCurrent();
    // 0 picture decoded, 1 end of file, -1 no file open.
    int DecodeNext();

    // Receives a line for each logo file that cannot be shown, with the cause.
    void SetLogSink(LogSink sink)
    {
        m_log = std::move(sink);
    }
    const std::vector<std::string>& FileNames() const
    {
        return m_names;
    }
    unsigned CurrentIndex() const
    {
        return m_index;
    }

private:
    void Log(const std::string& line) const;

    int m_placement[kPlacementCount] = {};
    std::string m_list;
    int m_usePictureAlpha = 0;
    int m_interval = 0;
    std::vector<std::string> m_names;
    unsigned m_index = 0;
    int m_width = 0;
    int m_height = 0;
    media::FormatPtr m_file;
    media::CodecPtr m_decoder;
    int m_stream = -1;
    bool m_flushed = false;
    media::FramePtr m_frame;
    std::vector<uint8_t> m_picture;
    media::ScalerPtr m_scaler;
    int m_lastStep = -1;
    LogSink m_log;
};
