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
// The screen of the consoles that play DPG files: the picture size unless the arguments name one.
const char kScreenSize[] = "-s 256x192";

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

CFFMpegDpgEncoder::CFFMpegDpgEncoder() : m_pass(0), m_dpgWritten(false), m_videoRate(0.0), m_audioRate(0)
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
    int result;
    if (m_pass == 0)
        result = ParseRun(arguments, "-vn 1 \"" + AudioTempPath() + "\"");
    else
    {
        // DPG players time the pictures by the header's rate, not by the MPEG-1 rate code, so the
        // video keeps the asked rate (20 fps has no MPEG-1 code) instead of the encoder's nearest one.
        std::string size = DpgArgumentNumber(arguments.c_str(), "-s ") > 0 ? "" : std::string(kScreenSize) + " ";
        result = ParseRun(arguments, size + kKeepFrameRate + " -an \"" + VideoTempPath() + "\"");
    }
    if (result < 0)
        return -1;
    // A DPG file holds one audio and one video stream: a source without one of them cannot make it.
    if (m_context.outputFileCount < 1 || m_context.outputFiles[0]->nb_streams == 0)
    {
        av_log(LogContext(), AV_LOG_ERROR, "%s: the source has no %s stream; a DPG file needs both\n",
               m_settings.sourcePath, m_pass == 0 ? "audio" : "video");
        ReleaseTranscodeContext(this, 0);
        return -1;
    }
    return 0;
}

bool CFFMpegDpgEncoder::ContinueAfterRun(double offsetBefore)
{
    if (m_pass == 0)
        m_audioRate = m_audioSampleRate;
    else
        m_videoRate = m_videoFrameRate;
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
    // The rates the streams were written with: a rate such as 30000/1001 or one taken from the
    // source is not in the argument text.
    values.framesPerSecond = m_videoRate;
    values.sampleRate = static_cast<uint32_t>(m_audioRate);
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
