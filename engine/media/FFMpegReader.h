// Reads a media file through FFmpeg for the reader interface: every audio stream decoded to packed
// 16-bit samples, every video stream scaled to the output format and size, queued per stream.
// The RealMedia job derives from it; Loomgate reads it on the producer SDK's threads, one call at a time.
#pragma once

#include "engine/MediaHandles.h"
#include "engine/media/PluginReader.h"

#include <deque>
#include <vector>

class FFMpegReader : public IPluginReader
{
public:
    static constexpr int kMaxStreams = 20;
    static constexpr int kAudioBufferSize = 3072000;

    FFMpegReader();
    virtual ~FFMpegReader();

    int Open() override;
    int Close() override;
    int64_t GetDuration() override;
    int GetStreamCount() override;
    int GetStreamType(int stream) override;
    int GetPixelFormat(int stream) override;
    int GetWidth(int stream) override;
    int GetHeight(int stream) override;
    double GetFrameRate(int stream) override;
    int GetChannels(int stream) override;
    int GetBitsPerSample(int stream) override;
    int GetSampleRate(int stream) override;
    int ReadAudio(int stream, unsigned char* buffer, int size, int64_t* start, int64_t* end) override;
    int ReadVideo(int stream, unsigned char* buffer, int size, int64_t* start, int64_t* end) override;
    int CheckOpen() override;

    // The file to open (8-bit, system code page); set before Open.
    void SetPath(const char* path);

protected:
    struct DecodedChunk
    {
        int kind; // 0 video, 1 audio
        int64_t start;
        int64_t end;
        std::vector<uint8_t> bytes; // packed picture or interleaved samples
    };
    struct ReaderStream
    {
        AVStream* stream = nullptr;
        media::CodecPtr decoder;
        media::ResamplerPtr resampler;
        int64_t clockStart = 0;
        int64_t clockEnd = 0;
        bool timed = false; // the clock was set from the stream's own times
        std::deque<DecodedChunk> queue;
    };

    int OpenFile();
    int CloseFile();
    int FillStream(int stream);
    int ReadAudioChunk(int stream, unsigned char* buffer, int size, int64_t* start, int64_t* end);
    int ReadVideoFrame(int stream, unsigned char* buffer, int size, int64_t* start, int64_t* end);

    char m_path[260];
    media::FormatPtr m_file;
    ReaderStream m_streams[kMaxStreams];
    int m_streamCount;
    std::vector<uint8_t> m_audioBuffer;
    int m_outputWidth;
    int m_outputHeight;
    // Black bands around the picture inside the output size (letterboxing of BGRA output).
    int m_insetLeft, m_insetTop, m_insetRight, m_insetBottom;
    int m_outputPixelFormat;
    double m_outputFrameRate;
    int m_outputChannels;
    int m_outputBitsPerSample;
    int m_outputSampleRate;
    int m_videoStream;
    int m_audioStream;

private:
    void FillOutputValues();
    void DecodePacket(const AVPacket* packet);
    void DecodeAudio(ReaderStream& stream, const AVPacket* packet);
    void DecodeVideo(ReaderStream& stream, const AVPacket* packet);
    bool AppendSamples(ReaderStream& stream, const AVFrame* frame, int& filled);
    void QueuePicture(ReaderStream& stream, const AVFrame* frame);
    bool IsReadable(int stream, int kind) const;
    // A decoded frame's time in microseconds from the start of the file; AV_NOPTS_VALUE when it has none.
    int64_t FrameTime(const ReaderStream& stream, const AVFrame* frame) const;

    bool m_inputEnded;
    int64_t m_timeOrigin; // the file's start time, microseconds
    media::FramePtr m_frame;
    media::ScalerPtr m_scaler;
};
