#include "app/shell/PropGeneralPage.h"

#include "app/core/Helpers.h"
#include "app/core/LangMgr.h"

namespace
{
struct TextOf
{
    UINT id;
    LPCWSTR key;
};

// The labels and group boxes with their language keys.
const TextOf kTexts[] = {
    {1119, L"prop_info_basic"}, {1120, L"prop_info_video"}, {1121, L"prop_info_audio"}, {1017, L"prop_btn_opendir"},
    {1122, L"prop_item_0"},     {1123, L"prop_item_1"},     {1124, L"prop_item_2"},     {1125, L"prop_item_3"},
    {1126, L"prop_item_4"},     {1127, L"prop_item_5"},     {1128, L"prop_item_6"},     {1129, L"prop_item_7"},
    {1130, L"prop_item_8"},     {1131, L"prop_item_9"},     {1132, L"prop_item_10"},    {1133, L"prop_item_11"},
    {1135, L"prop_item_12"},    {1137, L"prop_item_13"},
};

const UINT kContainerId = 1027;
const UINT kDurationId = 1029;
const UINT kSizeId = 1031;
const UINT kCreatedId = 1033;
const UINT kVideoFields[] = {1035, 1037, 1039, 1041};
const UINT kAudioFields[] = {1043, 1101, 1104, 1107, 1109};

CString Formatted(LPCWSTR format, int value)
{
    CString text;
    text.Format(format, value);
    return text;
}
} // namespace

IMPLEMENT_DYNAMIC(CPropGeneralPage, CDialog)

BEGIN_MESSAGE_MAP(CPropGeneralPage, CDialog)
ON_BN_CLICKED(CPropGeneralPage::kOpenFolderId, OnOpenFolder)
END_MESSAGE_MAP()

CPropGeneralPage::CPropGeneralPage() : CDialog(kTemplateId)
{
}

BOOL CPropGeneralPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (const TextOf& text : kTexts)
    {
        const CString translated = LangMgr::GetText(text.key);
        if (!translated.IsEmpty())
            SetDlgItemText(text.id, translated);
    }
    return TRUE;
}

void CPropGeneralPage::ShowTask(const ConvertTask& task)
{
    const TaskMediaInfo& info = task.m_mediaInfo;
    SetDlgItemText(kContainerId, info.container);
    SetDlgItemText(kDurationId, task.m_durationText);
    SetDlgItemText(kSizeId, FormatFileSize(info.fileSize));
    SetDlgItemText(kLocationId, task.m_sourcePath);
    CString created;
    GetFileTimeText(task.m_sourcePath, created);
    SetDlgItemText(kCreatedId, created);

    CString video[4];
    if (info.hasVideo)
    {
        video[0].Format(L"%s + %s", info.videoCodec, info.pixelFormat);
        video[1] = FormatThousands(info.videoBitRate) + L" bps";
        video[2].Format(L"%d*%d pixels", (int)info.width, (int)info.height);
        video[3].Format(L"%.2f fps", (double)info.frameRate);
    }
    for (int i = 0; i < 4; ++i)
        SetDlgItemText(kVideoFields[i], video[i]);

    CString audio[5];
    if (info.hasAudio)
    {
        audio[0].Format(L"%s + %s", info.audioCodec, info.sampleFormat);
        audio[1] = FormatThousands(info.audioBitRate) + L" bps";
        audio[2] = Formatted(L"%d", info.bitsPerSample);
        audio[3] = Formatted(L"%d Hz", info.sampleRate);
        audio[4] = Formatted(L"%d", info.channels);
    }
    for (int i = 0; i < 5; ++i)
        SetDlgItemText(kAudioFields[i], audio[i]);
}

void CPropGeneralPage::OnOpenFolder()
{
    CString path;
    GetDlgItemText(kLocationId, path);
    OpenFolderAndSelect(path);
}
