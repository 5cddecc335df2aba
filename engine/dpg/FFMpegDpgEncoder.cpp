#include "engine/dpg/FFMpegDpgEncoder.h"

#include "engine/dpg/DpgFile.h"
#include "engine/EncoderFactory.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace
{
const float kAudioShare = 0.45f;
const float kVideoStart = 45.0f;
const float kVideoShare = 0.545f;
const size_t kCopyBufferSize = 1 << 20;
// Keeps a rate that MPEG-1 has no code for; the encoder accepts it only when not strict.
const char kKeepFrameRate[] = "-force_fps -strict -2";
const long kMaxStreamLength = 0x7FFFFFFF;

struct FileCloser
{
    void operator()(FILE* f) const
    {
        std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// A temporary stream: open for reading with its length, or no file and length 0.
struct TempStream
{
    FilePtr file;
    long length = 0;
    explicit TempStream(const std::string& path) : file(std::fopen(path.c_str(), "rb"))
    {
        if (file && std::fseek(file.get(), 0, SEEK_END) == 0)
            length = std::ftell(file.get());
        if (!file || length < 0 || length > kMaxStreamLength || std::fseek(file.get(), 0, SEEK_SET) != 0)
        {
            file.reset();
            length = 0;
        }
    }
};

bool CopyStream(TempStream& from, FILE* to, std::vector<char>& buffer)
{
    long left = from.length;
    while (left > 0)
    {
        size_t chunk = std::fread(buffer.data(), 1, std::min<size_t>(buffer.size(), left), from.file.get());
        if (chunk == 0 || std::fwrite(buffer.data(), 1, chunk, to) != chunk)
            return false;
        left -= static_cast<long>(chunk);
    }
    return true;
}
}

CEncoder* CreateDpgEncoder()
{
    return new CFFMpegDpgEncoder;
}

CFFMpegDpgEncoder::CFFMpegDpgEncoder() : m_pass(0), m_dpgWritten(false)
{
    m_progress = 0.0f;
    m_framesWritten = 0;
}

float CFFMpegDpgEncoder::GetProgress()
{
    float progress = CFFMpegEncoder::GetProgress();
    if (progress < 0.0f)
        return progress;
    if (m_pass == 0)
        return progress * kAudioShare;
    if (progress > 100.0f)
        return progress;
    return kVideoStart + progress * kVideoShare;
}

int CFFMpegDpgEncoder::PrepareSegment()
{
    return PreparePass();
}

int CFFMpegDpgEncoder::PreparePass()
{
    const std::string arguments = RemoveLimitOptions(m_settings.argumentText);
    // Decorations are drawn into the video only.
    m_overlaysNeeded = m_pass == 0 ? 0 : (OverlaysNeeded() ? 1 : 0);
    if (m_pass == 0)
        return ParseRun(arguments, "-vn 1 \"" + AudioTempPath() + "\"");
    // DPG players time the pictures by the header's rate, not by the MPEG-1 rate code, so the
    // video keeps the asked rate (20 fps has no MPEG-1 code) instead of the encoder's nearest one.
    return ParseRun(arguments, std::string(kKeepFrameRate) + " -an \"" + VideoTempPath() + "\"");
}

bool CFFMpegDpgEncoder::ContinueAfterRun(double offsetBefore)
{
    if (m_pass == 0)
    {
        // The audio pass runs once, however it ended; the video pass starts from 45 percent.
        m_progress = 0.0f;
        m_pass = 1;
        return !m_stopFlag;
    }
    if (m_inputFinished)
    {
        m_dpgWritten = WriteDpgFile() == 0;
        return false;
    }
    return CFFMpegEncoder::ContinueAfterRun(offsetBefore);
}

bool CFFMpegDpgEncoder::OutputComplete()
{
    return m_inputFinished && m_dpgWritten;
}

void CFFMpegDpgEncoder::OnOutputIncomplete()
{
    DeleteTempFiles();
}

int CFFMpegDpgEncoder::WriteDpgFile()
{
    TempStream audio(AudioTempPath());
    TempStream video(VideoTempPath());
    DpgHeaderValues values = {};
    values.frames = static_cast<uint32_t>(m_framesWritten > 0 ? m_framesWritten : 0);
    values.framesPerSecond = DpgArgumentNumber(m_settings.argumentText, "-r ");
    values.sampleRate = static_cast<uint32_t>(DpgArgumentNumber(m_settings.argumentText, "-ar "));
    values.audioLength = static_cast<uint32_t>(audio.length);
    values.videoLength = static_cast<uint32_t>(video.length);
    if (static_cast<unsigned long long>(audio.length) + video.length + kDpgHeaderSize > 0xFFFFFFFFull)
    {
        av_log(LogContext(), AV_LOG_ERROR, "The DPG streams are too long for its header\n");
        return -1;
    }
    uint8_t header[kDpgHeaderSize];
    BuildDpgHeader(values, header);

    FilePtr out(std::fopen(m_outputUnixPath.c_str(), "wb"));
    if (!out)
    {
        av_log(LogContext(), AV_LOG_ERROR, "%s: cannot be written\n", m_settings.outputPath);
        return -1;
    }
    std::vector<char> buffer(kCopyBufferSize);
    bool written = std::fwrite(header, 1, kDpgHeaderSize, out.get()) == kDpgHeaderSize &&
                   CopyStream(audio, out.get(), buffer) && CopyStream(video, out.get(), buffer);
    written = std::fclose(out.release()) == 0 && written;
    if (!written)
    {
        // A DPG file cut short would play wrong: leave none.
        av_log(LogContext(), AV_LOG_ERROR, "%s: writing failed\n", m_settings.outputPath);
        std::remove(m_outputUnixPath.c_str());
        return -1;
    }
    audio.file.reset();
    video.file.reset();
    DeleteTempFiles();
    return 0;
}

void CFFMpegDpgEncoder::DeleteTempFiles()
{
    if (m_outputUnixPath.empty())
        return;
    std::remove(AudioTempPath().c_str());
    std::remove(VideoTempPath().c_str());
}
