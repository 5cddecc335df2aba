#include "app/core/ConvertTask.h"

#include "app/core/Helpers.h"
#include "app/core/TextNumbers.h"

#include <cstring>

namespace
{
const char kArgumentsTooLong[] = "Reelwright: the profile's argument text does not fit one job\n";
const char kOutputPathUnusable[] =
    "Reelwright: the output path is too long or holds characters the system code page lacks\n";
const char kExtensionNotPlain[] = "Reelwright: the profile's file extension is not a plain extension\n";
const char kOutputNameTooLong[] =
    "Reelwright: no free output name fits the output folder's path; choose a shorter output folder\n";
const char kOutputNotCreated[] = "Reelwright: the output file cannot be created in the output folder\n";
const int kMaxExtensionLength = 16;
const double kSizeMargin = 1.100000023841858; // the single-precision value of 1.1
const INT64 kSizeOverhead = 204800;
const double kVcdVideoRate = 1150000, kVcdAudioRate = 224000;
const double kSvcdVideoRate = 2040000;
const double kDvdVideoRate = 6000000, kDvdAudioRate = 448000;

// Finds the first parameter with the key and a non-empty value.
const SubParameters* FindKey(const ConvertSetting& setting, const WCHAR* key)
{
    for (INT_PTR i = 0; i < setting.m_params.GetSize(); ++i)
        if (setting.m_params.GetAt(i).m_key == key && !setting.m_params.GetAt(i).m_value.IsEmpty())
            return &setting.m_params.GetAt(i);
    return nullptr;
}
} // namespace

ConvertTask::ConvertTask()
    : m_id(-1), m_snapshotCount(0), m_mediaInfo(), m_jobId(-1), m_state(kTaskIdle), m_startClock(0),
      m_progress(0.0f), m_job(), m_keepAspect(1), m_subtitleMode(kTaskSubtitleAuto)
{
}

ConvertTask::ConvertTask(const ConvertTask& other) : ConvertTask()
{
    *this = other;
}

ConvertTask& ConvertTask::operator=(const ConvertTask& other)
{
    if (this == &other)
        return *this;
    m_id = other.m_id;
    m_snapshotCount = other.m_snapshotCount;
    m_displayName = other.m_displayName;
    m_sourcePath = other.m_sourcePath;
    m_thumbnailPath = other.m_thumbnailPath;
    m_durationText = other.m_durationText;
    m_outputFolder = other.m_outputFolder;
    m_mediaInfo = other.m_mediaInfo;
    m_jobId = other.m_jobId;
    m_state = other.m_state;
    m_startClock = other.m_startClock;
    m_progress = other.m_progress;
    m_job = other.m_job;
    m_log = other.m_log;
    m_setting.CopyFrom(other.m_setting);
    m_keepAspect = other.m_keepAspect;
    m_subtitleMode = other.m_subtitleMode;
    m_subtitleFile = other.m_subtitleFile;
    return *this;
}

ConvertTask::~ConvertTask() = default;

int ConvertTask::BuildJob(const CString& outputFolder)
{
    m_job.outputPath[0] = 0;
    if (!IsPlainExtension(m_setting.m_extension))
    {
        m_log += kExtensionNotPlain;
        return -1;
    }
    CString arguments = m_setting.BuildArguments();
    ApplyLetterbox(arguments, *this);
    const CString output = BuildOutputPath(outputFolder, m_displayName) + m_setting.m_extension;
    char ansiArguments[kJobArgumentCapacity];
    if (!ToAnsiText(arguments, ansiArguments, kJobArgumentCapacity))
    {
        m_log += kArgumentsTooLong;
        return -1;
    }
    char ansiOutput[kJobPathCapacity];
    if (!ToAnsiText(output, ansiOutput, kJobPathCapacity))
    {
        m_log += kOutputPathUnusable;
        return -1;
    }
    std::memcpy(m_job.argumentText, ansiArguments, sizeof m_job.argumentText);
    const int reserved =
        MakeUniqueFileName(ansiOutput, m_job.outputPath, kJobPathCapacity, IsSegmentedJob(ansiArguments));
    if (reserved < 0)
    {
        m_job.outputPath[0] = 0;
        m_log += reserved == kUniqueNameTooLong ? kOutputNameTooLong : kOutputNotCreated;
        return -1;
    }
    return 0;
}

void ConvertTask::PrepareSubtitle()
{
    if (m_subtitleMode == kTaskSubtitleKeep)
        return;
    if (m_subtitleMode == kTaskSubtitleFile)
    {
        m_job.subtitleMode = kSubtitleGivenFile;
        ::lstrcpynW(m_job.subtitleFile, m_subtitleFile, kJobSubtitleFileCapacity);
    }
    else
    {
        m_job.subtitleMode = kSubtitleBesideSource;
        m_job.subtitleFile[0] = 0;
    }
}

INT64 ConvertTask::EstimateOutputSize() const
{
    const double seconds = m_mediaInfo.duration / 1000000.0;
    double video = 0, audio = 0;
    SubParameters param;
    if (m_setting.FindParam(L"video", L"vb", param))
    {
        video = ReadLeadingInt(param.m_value) * 1000.0;
    }
    else if (m_setting.FindParam(L"normal", L"target", param))
    {
        video = kVcdVideoRate;
        audio = kVcdAudioRate;
        if (param.m_value.Find(L"-svcd") >= 1)
            video = kSvcdVideoRate;
        else if (param.m_value.Find(L"-dvd") >= 1)
            video = kDvdVideoRate, audio = kDvdAudioRate;
    }
    else
    {
        video = (double)m_mediaInfo.width * (seconds * 8) * m_mediaInfo.height * 3;
    }
    if (m_setting.FindParam(L"audio", L"ab", param))
        audio = ReadLeadingInt(param.m_value) * 1000.0;
    // An audio-only profile writes no video, whatever its video parameters say.
    const SubParameters* noVideo = FindKey(m_setting, L"vn");
    if (noVideo && ReadLeadingInt(noVideo->m_value) != 0)
        video = 0;
    return (INT64)((video + audio + 100) * seconds * kSizeMargin * 0.125) + kSizeOverhead;
}

CString BuildOutputPath(const CString& folder, const CString& displayName)
{
    CString path = folder;
    if (path.IsEmpty() || path[path.GetLength() - 1] != L'\\')
        path += L"\\";
    const int dot = displayName.ReverseFind(L'.');
    path += dot > 0 ? displayName.Left(dot) : displayName;
    return path + L".";
}

bool IsPlainExtension(const CString& extension)
{
    if (extension.IsEmpty() || extension.GetLength() > kMaxExtensionLength)
        return false;
    for (int i = 0; i < extension.GetLength(); ++i)
    {
        const WCHAR c = extension[i];
        if (!((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9')))
            return false;
    }
    return true;
}

int ApplyLetterbox(CString& arguments, const ConvertTask& task)
{
    if (arguments.Find(L"-s 0x0") >= 0)
    {
        arguments.Replace(L"-s 0x0", L"");
        return 1;
    }
    const int p = arguments.Find(L"-s ");
    const int sw = task.m_mediaInfo.width, sh = task.m_mediaInfo.height;
    // Without a picture size (an audio-only source) there is nothing to fit.
    if (task.m_keepAspect <= 0 || p < 0 || sw <= 0 || sh <= 0)
        return 0;
    const int a = arguments.Find(L' ', p);
    const int b = a < 0 ? -1 : arguments.Find(L' ', a + 1);
    int c = a < 0 ? -1 : arguments.Find(L'x', a);
    if (c < 0 && a >= 0)
        c = arguments.Find(L'X', a);
    if (a < 0 || b < 0 || c < 0)
        return 0;
    const int width = ReadLeadingInt(arguments.Mid(a));
    const int height = ReadLeadingInt(arguments.Mid(c + 1));
    const int fitHeight = (int)((INT64)sh * width / sw);
    CString option;
    if (fitHeight > height)
    {
        const int fitWidth = (int)((INT64)sw * height / sh);
        const int k = (width - fitWidth) / 4;
        option.Format(L" -s %dx%d -padleft %d -padright %d ", width - 4 * k, height, 2 * k, 2 * k);
    }
    else
    {
        const int k = (height - fitHeight) / 4;
        option.Format(L" -s %dx%d -padtop %d -padbottom %d ", width, height - 4 * k, 2 * k, 2 * k);
    }
    arguments.Insert(b, option);
    arguments.Delete(p, b - p);
    return 0;
}

bool ToAnsiText(const CString& text, char* buffer, int capacity)
{
    if (capacity <= 0)
        return false;
    buffer[0] = 0;
    if (text.IsEmpty())
        return true;
    BOOL lossy = FALSE;
    const int written =
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, text.GetLength(), buffer, capacity - 1, nullptr, &lossy);
    if (written <= 0 || lossy)
    {
        buffer[0] = 0;
        return false;
    }
    buffer[written] = 0;
    return true;
}
