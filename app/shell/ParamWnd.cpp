#include "app/shell/ParamWnd.h"

#include "app/core/LangMgr.h"
#include "app/core/TextNumbers.h"
#include "app/core/VideoManager.h"
#include "app/shell/CustomSplitDlg.h"
#include "app/shell/LangText.h"
#include "app/shell/MainPanels.h"
#include "app/shell/ResolutionDlg.h"
#include "app/shell/SplitOption.h"

namespace
{
const UINT kMixed = static_cast<UINT>(-1);
const int kSubtitleFileEntry = 3;
const int kSubtitleBrowseEntry = 2;
const int kKilo = 1000;
// The volume spin's range, packed as UDM_SETRANGE takes it: maximum 200, minimum -100.
const LPARAM kVolumeRange = MAKELPARAM(200, -100);

const int kLabelIds[6] = {1110, 1111, 1112, 1115, 1116, 1117};
const LangTextItem kTexts[] = {
    {1110, L"param_file_name"},
    {1111, L"param_video_resolution"},
    {1112, L"param_video_quality"},
    {1115, L"param_audio_quality"},
    {1116, L"param_subtitle"},
    {1117, L"param_split"},
    {CParamWnd::kSuperId, L"param_btn_super"},
    {CParamWnd::kVolumeLabelId, L"param_audio_volume"},
    {CParamWnd::kRatioId, L"param_video_ratio"},
};
// The controls that keep their screen places when the panel moves, in the saved order.
const int kMovableIds[CParamWnd::kMovableCount] = {1110, 1111, 1112, 1115, 1116, 1117, 1002, 1005, 1007,
                                                   1009, 1011, 1003, 1001, 1241, 1245, 1246, 1244};
const int kEditingIds[] = {CParamWnd::kResolutionId, CParamWnd::kVideoQualityId, CParamWnd::kAudioQualityId,
                           CParamWnd::kSubtitleId,   CParamWnd::kSplitId,        CParamWnd::kVolumeId,
                           CParamWnd::kVolumeSpinId, CParamWnd::kRatioId};
const LPCWSTR kLevelKeys[] = {L"highest", L"higher", L"normal", L"lower", L"lowest"};
const LPCWSTR kSubtitleKeys[] = {L"auto", L"none", L"browse"};

INT_PTR RunSplitDialog(int mode, CString* value)
{
    CCustomSplitDlg dialog(AfxGetMainWnd());
    dialog.m_mode = mode;
    const INT_PTR result = dialog.DoModal();
    *value = dialog.m_value;
    return result;
}

INT_PTR RunResolutionDialog(int* width, int* height)
{
    CResolutionDlg dialog(AfxGetMainWnd());
    dialog.m_width = *width;
    dialog.m_height = *height;
    const INT_PTR result = dialog.DoModal();
    *width = dialog.m_width;
    *height = dialog.m_height;
    return result;
}

CString RunSubtitleDialog(HWND owner)
{
    CString filter;
    filter.Format(L"SRT(*.srt)|*.srt|%s(*.*)|*.*||", static_cast<LPCWSTR>(LangMgr::GetText(L"file_all")));
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, filter, CWnd::FromHandle(owner));
    return dialog.DoModal() == IDOK ? dialog.GetPathName() : CString();
}

void AddText(HWND combo, const CString& text, LPARAM data = 0)
{
    const LRESULT index = ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(text)));
    if (index >= 0)
        ::SendMessageW(combo, CB_SETITEMDATA, index, data);
}

void ResetCombo(HWND combo)
{
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    ::EnableWindow(combo, TRUE);
}
} // namespace

CParamWnd::SplitDialogFunction CParamWnd::s_splitDialog = RunSplitDialog;
CParamWnd::ResolutionDialogFunction CParamWnd::s_resolutionDialog = RunResolutionDialog;
CParamWnd::SubtitleDialogFunction CParamWnd::s_subtitleDialog = RunSubtitleDialog;

BEGIN_MESSAGE_MAP(CParamWnd, CDialog)
ON_BN_CLICKED(CParamWnd::kSuperId, OnSuper)
ON_CBN_SELCHANGE(CParamWnd::kSubtitleId, OnSubtitleChange)
ON_CBN_SELCHANGE(CParamWnd::kSplitId, OnSplitChange)
ON_CBN_SELCHANGE(CParamWnd::kResolutionId, OnResolutionChange)
ON_CBN_SELCHANGE(CParamWnd::kVideoQualityId, OnVideoQualityChange)
ON_CBN_SELCHANGE(CParamWnd::kAudioQualityId, OnAudioQualityChange)
ON_EN_KILLFOCUS(CParamWnd::kVolumeId, OnVolumeChange)
ON_BN_CLICKED(CParamWnd::kRatioId, OnKeepAspect)
ON_MESSAGE(WM_RW_PANEL_SHIFT, OnPanelShift)
ON_MESSAGE(WM_RW_PANEL_RELOADTEXTS, OnPanelReloadTexts)
END_MESSAGE_MAP()

CParamWnd::CParamWnd() : CDialog(IDD), m_saved()
{
}

CParamWnd::~CParamWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CParamWnd::Create(CWnd* parent)
{
    return CDialog::Create(IDD, parent);
}

void CParamWnd::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    for (int i = 0; i < 6; ++i)
        DDX_Control(dx, kLabelIds[i], m_labels[i]);
}

void CParamWnd::OnOK()
{
}

void CParamWnd::OnCancel()
{
}

void CParamWnd::OnSuper()
{
}

int CParamWnd::Selection(int comboId) const
{
    return static_cast<int>(::SendDlgItemMessageW(m_hWnd, comboId, CB_GETCURSEL, 0, 0));
}

BOOL CParamWnd::OnInitDialog()
{
    CDialog::OnInitDialog();
    SaveControlRects();
    FillResolutionList();
    FillVideoQualityList();
    FillAudioQualityList();
    FillSubtitleList(true);
    FillSplitList();
    ::SendDlgItemMessageW(m_hWnd, kResolutionId, CB_SETCURSEL, 0, 0);
    ::SendDlgItemMessageW(m_hWnd, kVideoQualityId, CB_SETCURSEL, 2, 0);
    ::SendDlgItemMessageW(m_hWnd, kAudioQualityId, CB_SETCURSEL, 2, 0);
    ::SendDlgItemMessageW(m_hWnd, kVolumeSpinId, UDM_SETRANGE, 0, kVolumeRange);
    // Three states, so that a selection whose tasks disagree can show it.
    ::SendDlgItemMessageW(m_hWnd, kRatioId, BM_SETSTYLE, BS_AUTO3STATE, FALSE);
    ::SetDlgItemTextW(m_hWnd, kFileNameId, L"");
    EnableControls(false);
    ReloadTexts();
    return TRUE;
}

void CParamWnd::SaveControlRects()
{
    for (int i = 0; i < kMovableCount; ++i)
    {
        HWND control = ::GetDlgItem(m_hWnd, kMovableIds[i]);
        ::SetRectEmpty(&m_saved[i]);
        if (!control)
            continue;
        ::GetWindowRect(control, &m_saved[i]);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&m_saved[i]), 2);
    }
}

void CParamWnd::ShiftControls(int dy)
{
    ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < kMovableCount; ++i)
        if (HWND control = ::GetDlgItem(m_hWnd, kMovableIds[i]))
            ::SetWindowPos(control, nullptr, m_saved[i].left, m_saved[i].top + dy, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT CParamWnd::OnPanelShift(WPARAM wParam, LPARAM)
{
    ShiftControls(static_cast<int>(wParam));
    return 0;
}

LRESULT CParamWnd::OnPanelReloadTexts(WPARAM, LPARAM)
{
    ReloadTexts();
    return 0;
}

void CParamWnd::ReloadTexts()
{
    SetItemLangTexts(m_hWnd, kTexts);
}

void CParamWnd::EnableControls(bool enable)
{
    for (int id : kEditingIds)
        ::EnableWindow(::GetDlgItem(m_hWnd, id), enable ? TRUE : FALSE);
}

void CParamWnd::FillResolutionList()
{
    HWND combo = ::GetDlgItem(m_hWnd, kResolutionId);
    const int previous = Selection(kResolutionId);
    const bool hadEntries = ::SendMessageW(combo, CB_GETCOUNT, 0, 0) > 0;
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    AddText(combo, LangMgr::GetText(L"auto"));
    if (hadEntries)
        ::SendMessageW(combo, CB_SETCURSEL, previous, 0);
}

void CParamWnd::FillLevels(int comboId)
{
    HWND combo = ::GetDlgItem(m_hWnd, comboId);
    const int previous = Selection(comboId);
    const bool hadEntries = ::SendMessageW(combo, CB_GETCOUNT, 0, 0) > 0;
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (LPCWSTR key : kLevelKeys)
        AddText(combo, LangMgr::GetText(key));
    if (hadEntries)
        ::SendMessageW(combo, CB_SETCURSEL, previous, 0);
}

void CParamWnd::FillVideoQualityList()
{
    FillLevels(kVideoQualityId);
}

void CParamWnd::FillAudioQualityList()
{
    FillLevels(kAudioQualityId);
}

void CParamWnd::FillSubtitleList(bool reset)
{
    HWND combo = ::GetDlgItem(m_hWnd, kSubtitleId);
    const int previous = Selection(kSubtitleId);
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (LPCWSTR key : kSubtitleKeys)
        AddText(combo, LangMgr::GetText(key));
    ::SendMessageW(combo, CB_SETCURSEL, reset ? 0 : previous, 0);
}

void CParamWnd::FillSplitList()
{
    HWND combo = ::GetDlgItem(m_hWnd, kSplitId);
    const int previous = Selection(kSplitId);
    const bool hadEntries = ::SendMessageW(combo, CB_GETCOUNT, 0, 0) > 0;
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    AddText(combo, LangMgr::GetText(L"nosplit"));
    // The item data is the preset's number; its byte limit comes from the split table.
    for (int preset = 1; preset <= CSplitOption::kPresetCount; ++preset)
        AddText(combo, CSplitOption::PresetText(preset), preset);
    AddText(combo, LangMgr::GetText(L"custom_size") + L"...", 1);
    AddText(combo, LangMgr::GetText(L"custom_time") + L"...", 1);
    if (hadEntries && previous < ::SendMessageW(combo, CB_GETCOUNT, 0, 0))
        ::SendMessageW(combo, CB_SETCURSEL, previous, 0);
}

void CParamWnd::SetTasks(const std::vector<int>& ids)
{
    m_ids = ids;
    if (!m_ids.empty())
    {
        LoadFromTasks();
        Refresh();
        return;
    }
    ::SetDlgItemTextW(m_hWnd, kFileNameId, L"");
    EnableControls(false);
}

void CParamWnd::LoadFromTasks()
{
    ConvertTask* task = nullptr;
    if (!CVideoManager::FindTask(m_ids[0], &task))
        return;
    m_working = *task;
    for (size_t i = 1; i < m_ids.size(); ++i)
    {
        if (!CVideoManager::FindTask(m_ids[i], &task))
            continue;
        m_working.m_setting.MergeFrom(task->m_setting);
        if (m_working.m_subtitleMode != kMixed &&
            (m_working.m_subtitleMode != task->m_subtitleMode || m_working.m_subtitleFile != task->m_subtitleFile))
            m_working.m_subtitleMode = kMixed;
        if (m_working.m_keepAspect >= 0 && m_working.m_keepAspect != task->m_keepAspect)
            m_working.m_keepAspect = -1;
    }
}

void CParamWnd::Refresh()
{
    ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
    EnableControls(true);
    ShowResolution();
    ShowVideoQuality();
    ShowAudioQuality();
    ShowSubtitle();
    ShowSplit();
    ShowVolume();
    const int check =
        m_working.m_keepAspect == 0 ? BST_UNCHECKED : (m_working.m_keepAspect > 0 ? BST_CHECKED : BST_INDETERMINATE);
    ::SendDlgItemMessageW(m_hWnd, kRatioId, BM_SETCHECK, check, 0);
    ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

bool CParamWnd::FindParam(LPCWSTR group, LPCWSTR name, SubParameters& out) const
{
    return m_working.m_setting.FindParam(group, name, out);
}

void CParamWnd::ShowResolution()
{
    HWND combo = ::GetDlgItem(m_hWnd, kResolutionId);
    ResetCombo(combo);
    SubParameters param;
    if (!FindParam(L"video", L"s", param))
    {
        ::EnableWindow(combo, FALSE);
        return;
    }
    const CStringArray& texts = param.m_displayList.GetSize() > 0 ? param.m_displayList : param.m_valueList;
    for (INT_PTR i = 0; i < texts.GetSize(); ++i)
        AddText(combo, texts[i] == L"0x0" ? LangMgr::GetText(L"auto") : texts[i]);
    const CString custom = LangMgr::GetText(L"custom_frame_size");
    AddText(combo, custom + L"...");
    int selection = -1;
    if (!param.m_value.IsEmpty())
    {
        selection = FindInStringArray(param.m_valueList, param.m_value);
        if (selection < 0)
        {
            AddText(combo, custom + L" - (" + param.m_value + L")");
            selection = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0)) - 1;
        }
    }
    ::SendMessageW(combo, CB_SETCURSEL, selection, 0);
}

void CParamWnd::ShowQuality(int comboId, LPCWSTR group, LPCWSTR name, LPCWSTR customKey, bool videoFallback)
{
    HWND combo = ::GetDlgItem(m_hWnd, comboId);
    ResetCombo(combo);
    SubParameters param;
    if (FindParam(group, name, param))
    {
        FillLevels(comboId);
        ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        if (param.m_value.IsEmpty())
            return;
        int selection = FindInStringArray(param.m_valueList, param.m_value);
        if (selection < 0)
        {
            CString text;
            text.Format(L"%s - (%d)", static_cast<LPCWSTR>(LangMgr::GetText(customKey)),
                        ReadLeadingInt(param.m_value) / kKilo);
            AddText(combo, text);
            selection = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0)) - 1;
        }
        ::SendMessageW(combo, CB_SETCURSEL, selection, 0);
        return;
    }
    if (videoFallback && FindParam(L"normal", L"target", param))
    {
        const CStringArray& texts = param.m_displayList.GetSize() > 0 ? param.m_displayList : param.m_valueList;
        for (INT_PTR i = 0; i < texts.GetSize(); ++i)
            AddText(combo, texts[i]);
        ::SendMessageW(combo, CB_SETCURSEL, FindInStringArray(param.m_valueList, param.m_value), 0);
        return;
    }
    ::EnableWindow(combo, FALSE);
}

void CParamWnd::ShowVideoQuality()
{
    ShowQuality(kVideoQualityId, L"video", L"vb", L"custom_video_quality", true);
}

void CParamWnd::ShowAudioQuality()
{
    ShowQuality(kAudioQualityId, L"audio", L"ab", L"custom_audio_quality", false);
}

void CParamWnd::ShowSubtitle()
{
    FillSubtitleList(true);
    HWND combo = ::GetDlgItem(m_hWnd, kSubtitleId);
    switch (m_working.m_subtitleMode)
    {
    case kTaskSubtitleAuto:
    case kTaskSubtitleKeep:
        ::SendMessageW(combo, CB_SETCURSEL, m_working.m_subtitleMode, 0);
        break;
    case kTaskSubtitleFile:
        AddText(combo, m_working.m_subtitleFile);
        ::SendMessageW(combo, CB_SETCURSEL, kSubtitleFileEntry, 0);
        break;
    default:
        ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        break;
    }
}

void CParamWnd::ShowSplit()
{
    FillSplitList();
    HWND combo = ::GetDlgItem(m_hWnd, kSplitId);
    SubParameters param;
    if (FindParam(L"normal", L"t", param) && !param.m_value.IsEmpty())
    {
        // Whole minutes as they are, a fraction (0.1 minutes is 6 seconds) with one decimal.
        const LONGLONG seconds = CSplitOption::ReadValue(param.m_value);
        CString minutes;
        if (seconds % CSplitOption::kSecondsPerMinute == 0)
            minutes.Format(L"%I64d", seconds / CSplitOption::kSecondsPerMinute);
        else
            minutes.Format(L"%0.1f", static_cast<double>(seconds) / CSplitOption::kSecondsPerMinute);
        CString text;
        text.Format(L"%s - %s %s", static_cast<LPCWSTR>(LangMgr::GetText(L"custom_time")),
                    static_cast<LPCWSTR>(minutes), static_cast<LPCWSTR>(LangMgr::GetText(L"customsplit_time_size")));
        AddText(combo, text);
        ::SendMessageW(combo, CB_SETCURSEL, ::SendMessageW(combo, CB_GETCOUNT, 0, 0) - 1, 0);
        return;
    }
    if (FindParam(L"normal", L"fs", param) && !param.m_value.IsEmpty())
    {
        const LONGLONG bytes = CSplitOption::ReadValue(param.m_value);
        int selection = CSplitOption::PresetIndex(bytes);
        if (selection < 0)
        {
            CString text;
            const CString custom = LangMgr::GetText(L"custom_size");
            if (bytes % CSplitOption::kMegabyte != 0 && bytes < CSplitOption::kGigabyte)
                text.Format(L"%s - %0.1f MB", static_cast<LPCWSTR>(custom),
                            static_cast<double>(bytes) / CSplitOption::kMegabyte);
            else if (bytes <= CSplitOption::kGigabyte)
                text.Format(L"%s - %I64d MB", static_cast<LPCWSTR>(custom), bytes / CSplitOption::kMegabyte);
            else
                text.Format(L"%s - %0.1f GB", static_cast<LPCWSTR>(custom),
                            static_cast<double>(bytes) / CSplitOption::kGigabyte);
            AddText(combo, text);
            selection = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0)) - 1;
        }
        ::SendMessageW(combo, CB_SETCURSEL, selection, 0);
        return;
    }
    ::SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

void CParamWnd::ShowVolume()
{
    SubParameters param;
    const bool has = FindParam(L"audio", L"vol", param);
    ::EnableWindow(::GetDlgItem(m_hWnd, kVolumeId), has ? TRUE : FALSE);
    ::EnableWindow(::GetDlgItem(m_hWnd, kVolumeSpinId), has ? TRUE : FALSE);
    if (!has)
        return;
    if (param.m_value.IsEmpty())
        ::SetDlgItemTextW(m_hWnd, kVolumeId, L"");
    else
        ::SendDlgItemMessageW(m_hWnd, kVolumeSpinId, UDM_SETPOS, 0,
                              MAKELPARAM(static_cast<short>(ReadLeadingInt(param.m_value)), 0));
}

void CParamWnd::SendParamValue(LPCWSTR name, const CString& value)
{
    if (CWnd* frame = AfxGetMainWnd())
        ::SendMessageW(frame->GetSafeHwnd(), kParamValueMessage, reinterpret_cast<WPARAM>(name),
                       reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(value)));
    m_working.m_setting.SetParamValue(name, value);
    Refresh();
}

void CParamWnd::SendParamChoice(LPCWSTR name, int index)
{
    if (CWnd* frame = AfxGetMainWnd())
        ::SendMessageW(frame->GetSafeHwnd(), kParamChoiceMessage, reinterpret_cast<WPARAM>(name), index);
    m_working.m_setting.SetParamChoice(name, index);
    Refresh();
}

void CParamWnd::OnResolutionChange()
{
    const int index = Selection(kResolutionId);
    if (index < 0)
    {
        SendParamValue(L"s", CString());
        return;
    }
    SubParameters param;
    FindParam(L"video", L"s", param);
    if (index < param.m_valueList.GetSize())
    {
        SendParamValue(L"s", param.m_valueList[index]);
        return;
    }
    int width = 0;
    int height = 0;
    const int x = param.m_value.Find(L'x');
    if (x > 0)
    {
        width = ReadLeadingInt(param.m_value.Left(x));
        height = ReadLeadingInt(param.m_value.Mid(x + 1));
    }
    if (s_resolutionDialog(&width, &height) != IDOK)
    {
        ShowResolution();
        return;
    }
    CString value;
    value.Format(L"%dx%d", width, height);
    SendParamValue(L"s", value);
}

void CParamWnd::OnVideoQualityChange()
{
    const int index = Selection(kVideoQualityId);
    SubParameters param;
    if (FindParam(L"video", L"vb", param))
    {
        if (index >= 0 && index < param.m_valueList.GetSize())
            SendParamChoice(L"vb", index);
        return;
    }
    if (FindParam(L"normal", L"target", param) && index >= 0 && index < param.m_valueList.GetSize())
        SendParamChoice(L"target", index);
}

void CParamWnd::OnAudioQualityChange()
{
    const int index = Selection(kAudioQualityId);
    SubParameters param;
    if (FindParam(L"audio", L"ab", param) && index >= 0 && index < param.m_valueList.GetSize())
        SendParamChoice(L"ab", index);
}

void CParamWnd::OnSubtitleChange()
{
    const int index = Selection(kSubtitleId);
    if (index == kSubtitleFileEntry)
        return;
    if (index == kSubtitleBrowseEntry)
    {
        const CString file = s_subtitleDialog(m_hWnd);
        if (file.IsEmpty())
            ShowSubtitle();
        else
            ApplySubtitle(file, kTaskSubtitleFile);
        return;
    }
    ApplySubtitle(CString(), index);
}

void CParamWnd::ApplySubtitle(const CString& file, int mode)
{
    for (int id : m_ids)
    {
        ConvertTask* task = nullptr;
        if (CVideoManager::FindTask(id, &task))
        {
            task->m_subtitleMode = static_cast<UINT>(mode);
            task->m_subtitleFile = file;
        }
    }
    m_working.m_subtitleMode = static_cast<UINT>(mode);
    m_working.m_subtitleFile = file;
    ShowSubtitle();
}

void CParamWnd::OnSplitChange()
{
    const int index = Selection(kSplitId);
    if (index <= 0)
    {
        SendParamValue(L"t", CString());
        SendParamValue(L"fs", CString());
        return;
    }
    if (index <= CSplitOption::kPresetCount)
    {
        SendParamValue(L"t", CString());
        SendParamValue(L"fs", CSplitOption::PresetValue(index));
        return;
    }
    if (index != kSplitCustomSize && index != kSplitCustomTime)
        return;
    const bool size = index == kSplitCustomSize;
    CString text;
    double number = 0;
    if (s_splitDialog(size ? CCustomSplitDlg::kSizeMode : CCustomSplitDlg::kTimeMode, &text) != IDOK ||
        !CSplitOption::ParseInput(text, &number))
    {
        ShowSplit();
        return;
    }
    if (size)
    {
        SendParamValue(L"t", CString());
        SendParamValue(L"fs", CSplitOption::SizeValue(number));
    }
    else
    {
        SendParamValue(L"fs", CString());
        SendParamValue(L"t", CSplitOption::TimeValue(number));
    }
}

void CParamWnd::OnVolumeChange()
{
    CString text;
    GetDlgItemText(kVolumeId, text);
    if (!text.IsEmpty())
        SendParamValue(L"vol", text);
}

void CParamWnd::OnKeepAspect()
{
    const LRESULT state = ::SendDlgItemMessageW(m_hWnd, kRatioId, BM_GETCHECK, 0, 0);
    // A click never leaves the mixed state behind: the tasks now agree.
    if (state == BST_INDETERMINATE)
        ::SendDlgItemMessageW(m_hWnd, kRatioId, BM_SETCHECK, BST_UNCHECKED, 0);
    const int flag = state == BST_CHECKED ? 1 : 0;
    for (int id : m_ids)
    {
        ConvertTask* task = nullptr;
        if (CVideoManager::FindTask(id, &task))
            task->m_keepAspect = flag;
    }
    m_working.m_keepAspect = flag;
}
