#include "app/core/ConvertTask.h"

#include "app/core/HandleHolder.h"
#include "app/core/Helpers.h"
#include "app/core/TextNumbers.h"

#include <algorithm>
#include <cmath>
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
// The container's share over the streams' own bytes, and its headers.
const double kContainerShare = 1.02;
const INT64 kContainerHeaderBytes = 4096;
const double kMicrosecondsPerSecond = 1000000.0;
const double kBitsPerByte = 8.0;
const double kKilo = 1000.0;
// Without a bit rate in the profile: the source's own, else about a quarter bit per pixel of a
// frame (a plain MPEG-4 or H.264 encoding) and the common audio rate.
const double kBitsPerPixel = 0.25;
const double kDefaultFrameRate = 25.0;
const double kDefaultAudioRate = 128000;
const double kVcdVideoRate = 1150000, kVcdAudioRate = 224000;
const double kSvcdVideoRate = 2040000;
const double kDvdVideoRate = 6000000, kDvdAudioRate = 448000;
// The fixed parameter that names the highest frame rate the profile's device plays.
const WCHAR kRateLimitGroup[] = L"fixed";
const WCHAR kRateLimitName[] = L"maxfps";
const double kNtscRateFactor = 1.001; // 29.97 is 30 / 1.001
const double kRateTolerance = 0.01;

// Finds the first parameter with the key and a non-empty value.
const SubParameters* FindKey(const ConvertSetting& setting, const WCHAR* key)
{
    for (INT_PTR i = 0; i < setting.m_params.GetSize(); ++i)
        if (setting.m_params.GetAt(i).m_key == key && !setting.m_params.GetAt(i).m_value.IsEmpty())
            return &setting.m_params.GetAt(i);
    return nullptr;
}

// An output the system code page cannot spell: takes the first free name of the pattern of
// MakeUniqueFileName with the wide API, creates it empty and hands on its short name.
bool ReserveByShortName(const CString& path, bool segmented, char* buffer, int capacity)
{
    const int separator = path.ReverseFind(L'\\');
    const int dot = path.ReverseFind(L'.');
    const CString base = dot > separator ? path.Left(dot) : path;
    const CString extension = dot > separator ? path.Mid(dot) : CString();
    CString name = path, stem = base;
    for (int counter = 1; OutputNameTaken(name, segmented ? stem + L" - *" + extension : CString()); ++counter)
    {
        stem.Format(L"%s (%d)", (const WCHAR*)base, counter);
        name = stem + extension;
    }
    return CreateForEngine(name, buffer, capacity);
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
    ApplyFrameRateLimit(arguments, *this);
    const CString output = BuildOutputPath(outputFolder, m_displayName) + m_setting.m_extension;
    char ansiArguments[kJobArgumentCapacity];
    if (!ToAnsiText(arguments, ansiArguments, kJobArgumentCapacity))
    {
        m_log += kArgumentsTooLong;
        return -1;
    }
    char ansiOutput[kJobPathCapacity];
    const bool spelled = ToAnsiText(output, ansiOutput, kJobPathCapacity);
    if (!spelled && !ReserveByShortName(output, IsSegmentedJob(ansiArguments), ansiOutput, kJobPathCapacity))
    {
        m_log += kOutputPathUnusable;
        return -1;
    }
    std::memcpy(m_job.argumentText, ansiArguments, sizeof m_job.argumentText);
    if (!spelled)
    {
        ::lstrcpynA(m_job.outputPath, ansiOutput, kJobPathCapacity);
        return 0;
    }
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
    const double seconds = m_mediaInfo.duration > 0 ? m_mediaInfo.duration / kMicrosecondsPerSecond : 0;
    double video = 0, audio = 0;
    SubParameters param;
    if (m_setting.FindParam(L"video", L"vb", param))
    {
        video = ReadLeadingInt(param.m_value) * kKilo;
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
    else if (m_mediaInfo.videoBitRate > 0)
    {
        video = m_mediaInfo.videoBitRate;
    }
    else
    {
        const double rate = m_mediaInfo.frameRate > 0 ? m_mediaInfo.frameRate : kDefaultFrameRate;
        video = double(m_mediaInfo.width) * m_mediaInfo.height * rate * kBitsPerPixel;
    }
    if (m_setting.FindParam(L"audio", L"ab", param))
        audio = ReadLeadingInt(param.m_value) * kKilo;
    else if (audio == 0)
        audio = m_mediaInfo.audioBitRate > 0 ? m_mediaInfo.audioBitRate : kDefaultAudioRate;
    // Only the streams the output will have: what the source has, less what the profile leaves out.
    const SubParameters* noVideo = FindKey(m_setting, L"vn");
    if (!m_mediaInfo.hasVideo || (noVideo && ReadLeadingInt(noVideo->m_value) != 0))
        video = 0;
    const SubParameters* noAudio = FindKey(m_setting, L"an");
    if (!m_mediaInfo.hasAudio || (noAudio && ReadLeadingInt(noAudio->m_value) != 0))
        audio = 0;
    return static_cast<INT64>((video + audio) * seconds / kBitsPerByte * kContainerShare) + kContainerHeaderBytes;
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

namespace
{
// Disc targets: the frame of each norm, shown at 4:3 whatever its pixel shape.
struct TargetFrame
{
    const WCHAR* target;
    int width;
    int height;
};
const TargetFrame kTargetFrames[] = {
    {L"pal-vcd", 352, 288},  {L"ntsc-vcd", 352, 240},  {L"film-vcd", 352, 240},
    {L"pal-svcd", 480, 576}, {L"ntsc-svcd", 480, 480}, {L"film-svcd", 480, 480},
    {L"pal-dvd", 720, 576},  {L"ntsc-dvd", 720, 480},  {L"film-dvd", 720, 480},
};
const int kDiscAspectWidth = 4, kDiscAspectHeight = 3;

// The picture's even size nearest to its fit in a frame side, and the two even bands around it:
// equal, or the second one 2 larger.
int SplitBands(int side, double fit, int* first, int* second)
{
    const int picture = (std::min)(side, (std::max)(2, 2 * (int)std::lround(fit / 2)));
    *first = 2 * ((side - picture) / 4);
    *second = side - picture - *first;
    return picture;
}

// The option's word after "-NAME " at position p: [a, b) with a after the space; false when the
// text ends without a space after it.
bool FindOptionValue(const CString& arguments, int p, int* a, int* b)
{
    const int space = arguments.Find(L' ', p);
    *a = space + 1;
    *b = space < 0 ? -1 : arguments.Find(L' ', *a);
    return space >= 0 && *b >= 0;
}

// A frame size written "WxH" or by its name ("qvga").
void ReadFrameSize(const CString& text, int* width, int* height)
{
    const int x = (std::max)(text.Find(L'x'), text.Find(L'X'));
    if (x > 0)
    {
        *width = ReadLeadingInt(text);
        *height = ReadLeadingInt(text.Mid(x + 1));
    }
    else
        ParseFrameSizeName(text, width, height);
}
} // namespace

int ApplyLetterbox(CString& arguments, const ConvertTask& task)
{
    if (arguments.Find(L"-s 0x0") >= 0)
    {
        arguments.Replace(L"-s 0x0", L"");
        return 1;
    }
    const int sw = task.m_mediaInfo.width, sh = task.m_mediaInfo.height;
    // Without a picture size (an audio-only source) there is nothing to fit.
    if (task.m_keepAspect <= 0 || sw <= 0 || sh <= 0)
        return 0;
    // The frame: width and height in pixels, and the width it shows at for its height.
    int width = 0, height = 0, shownWidth = 0, a = 0, b = 0, replaceFrom = -1;
    const int p = arguments.Find(L"-s ");
    const int t = arguments.Find(L"-target ");
    if (p >= 0)
    {
        if (!FindOptionValue(arguments, p, &a, &b))
            return 0;
        ReadFrameSize(arguments.Mid(a, b - a), &width, &height);
        shownWidth = width;
        replaceFrom = p;
    }
    else if (t >= 0 && FindOptionValue(arguments, t, &a, &b))
    {
        // The size options follow the target, whose own size they replace.
        const CString target = arguments.Mid(a, b - a);
        for (const TargetFrame& frame : kTargetFrames)
            if (target == frame.target)
            {
                width = frame.width;
                height = frame.height;
                shownWidth = height * kDiscAspectWidth / kDiscAspectHeight;
            }
        replaceFrom = b;
    }
    if (width <= 0 || height <= 0)
        return 0;
    const double fitHeight = (double)sh * shownWidth / sw;
    CString option;
    if (fitHeight > height)
    {
        const double fitWidth = (double)sw * height / sh * width / shownWidth;
        int first = 0, second = 0;
        const int picture = SplitBands(width, fitWidth, &first, &second);
        option.Format(L" -s %dx%d -padleft %d -padright %d ", picture, height, first, second);
    }
    else
    {
        int first = 0, second = 0;
        const int picture = SplitBands(height, fitHeight, &first, &second);
        option.Format(L" -s %dx%d -padtop %d -padbottom %d ", width, picture, first, second);
    }
    arguments.Insert(b, option);
    arguments.Delete(replaceFrom, b - replaceFrom);
    return 0;
}

int ApplyFrameRateLimit(CString& arguments, const ConvertTask& task)
{
    SubParameters limitParam;
    if (!task.m_setting.FindParam(kRateLimitGroup, kRateLimitName, limitParam))
        return 0;
    const int limit = ReadLeadingInt(limitParam.m_value);
    const double rate = task.m_mediaInfo.frameRate;
    // A rate the profile sets itself stays.
    if (limit <= 0 || rate <= limit + kRateTolerance || arguments.Find(L"-r ") >= 0 || arguments.Find(L"-target ") >= 0)
        return 0;
    const int divisor = (int)std::ceil(rate / limit - kRateTolerance);
    const long ntsc = std::lround(rate * kNtscRateFactor), whole = std::lround(rate);
    CString option;
    if (std::fabs(rate - whole) > kRateTolerance && std::fabs(rate * kNtscRateFactor - ntsc) < kRateTolerance)
        option.Format(L"-r %d/%d ", (int)ntsc * 1000, 1001 * divisor);
    else if (std::fabs(rate - whole) < kRateTolerance)
        option.Format(L"-r %d/%d ", (int)whole, divisor);
    else
        option.Format(L"-r %d/%d ", (int)std::lround(rate * 1000), 1000 * divisor);
    arguments.Insert(0, option);
    return 1;
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

bool CreateForEngine(const CString& path, char* buffer, int capacity)
{
    {
        CFileHandle created(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!created.Valid())
            return false;
    }
    if (ToEnginePath(path, buffer, capacity))
        return true;
    ::DeleteFileW(path);
    return false;
}

bool ToEnginePath(const CString& path, char* buffer, int capacity)
{
    if (ToAnsiText(path, buffer, capacity))
        return true;
    WCHAR shortPath[MAX_PATH] = {};
    const DWORD length = ::GetShortPathNameW(path, shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH && ToAnsiText(shortPath, buffer, capacity);
}
