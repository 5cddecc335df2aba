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
    {IDC_PROP_GROUP_BASIC, L"prop_info_basic"}, {IDC_PROP_GROUP_VIDEO, L"prop_info_video"},
    {IDC_PROP_GROUP_AUDIO, L"prop_info_audio"}, {IDC_PROP_OPENDIR, L"prop_btn_opendir"},
    {IDC_PROP_LABEL_0, L"prop_item_0"},         {IDC_PROP_LABEL_1, L"prop_item_1"},
    {IDC_PROP_LABEL_2, L"prop_item_2"},         {IDC_PROP_LABEL_3, L"prop_item_3"},
    {IDC_PROP_LABEL_4, L"prop_item_4"},         {IDC_PROP_LABEL_5, L"prop_item_5"},
    {IDC_PROP_LABEL_6, L"prop_item_6"},         {IDC_PROP_LABEL_7, L"prop_item_7"},
    {IDC_PROP_LABEL_8, L"prop_item_8"},         {IDC_PROP_LABEL_9, L"prop_item_9"},
    {IDC_PROP_LABEL_10, L"prop_item_10"},       {IDC_PROP_LABEL_11, L"prop_item_11"},
    {IDC_PROP_LABEL_12, L"prop_item_12"},       {IDC_PROP_LABEL_13, L"prop_item_13"},
};

const UINT kContainerId = IDC_PROP_VALUE_0;
const UINT kDurationId = IDC_PROP_VALUE_1;
const UINT kSizeId = IDC_PROP_VALUE_2;
const UINT kCreatedId = IDC_PROP_VALUE_4;
const UINT kVideoFields[] = {IDC_PROP_VALUE_5, IDC_PROP_VALUE_6, IDC_PROP_VALUE_7, IDC_PROP_VALUE_8};
const UINT kAudioFields[] = {IDC_PROP_VALUE_9, IDC_PROP_VALUE_10, IDC_PROP_VALUE_11, IDC_PROP_VALUE_12,
                             IDC_PROP_VALUE_13};

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
