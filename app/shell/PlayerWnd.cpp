#include "app/shell/PlayerWnd.h"

#include "app/core/Helpers.h"
#include "app/core/LangMgr.h"
#include "app/core/VideoManager.h"
#include "app/shell/MainPanels.h"

namespace
{
const WCHAR kDevicePicture[] = L"devicepic\\device.bmp";
const WCHAR kZeroTime[] = L"00:00:00";
const int kVolumeMax = 100;

// The picture buttons, in the order of the panel's button array.
const int kButtons[CPlayerWnd::kButtonCount] = {CPlayerWnd::kPlayId, CPlayerWnd::kStopId, CPlayerWnd::kSoundId,
                                                CPlayerWnd::kSnapshotId};
} // namespace

BEGIN_MESSAGE_MAP(CPlayerWnd, CDialog)
ON_BN_CLICKED(CPlayerWnd::kPlayId, OnPlayPause)
ON_BN_CLICKED(CPlayerWnd::kStopId, OnStop)
ON_BN_CLICKED(CPlayerWnd::kSoundId, OnMute)
ON_BN_CLICKED(CPlayerWnd::kSnapshotId, OnSnapshot)
ON_NOTIFY(NM_RELEASEDCAPTURE, CPlayerWnd::kPositionId, OnPositionReleased)
ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFFFFFF, OnToolTipNeedText)
ON_WM_TIMER()
ON_WM_HSCROLL()
ON_WM_DESTROY()
ON_MESSAGE(WM_RW_PANEL_RELOADTEXTS, OnPanelReloadTexts)
END_MESSAGE_MAP()

CPlayerWnd::CPlayerWnd(PreviewSettings* settings)
    : CDialog(IDD), m_settings(settings), m_session(settings), m_shownTaskId(-1), m_dragging(FALSE), m_skipTicks(0)
{
}

CPlayerWnd::~CPlayerWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CPlayerWnd::Create(CWnd* parent)
{
    return CDialog::Create(IDD, parent);
}

CString CPlayerWnd::DevicePicture()
{
    return GetAppDir() + kDevicePicture;
}

ConvertTask* CPlayerWnd::ShownTask() const
{
    ConvertTask* task = nullptr;
    return m_shownTaskId > 0 && CVideoManager::FindTask(m_shownTaskId, &task) ? task : nullptr;
}

void CPlayerWnd::EnableItem(int id, bool enable)
{
    ::EnableWindow(Item(id), enable ? TRUE : FALSE);
}

void CPlayerWnd::Repaint()
{
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::UpdateWindow(m_hWnd);
}

CButtonST& CPlayerWnd::Button(int id)
{
    for (int i = 0; i < kButtonCount; ++i)
        if (kButtons[i] == id)
            return m_buttons[i];
    return m_buttons[0];
}

void CPlayerWnd::SetButton(int id, int bitmap, LPCWSTR tipKey)
{
    CButtonST& button = Button(id);
    if (!button.GetSafeHwnd())
        return;
    // Each button owns its strip: play and pause, sound on and off take turns on one button.
    HBITMAP strip = static_cast<HBITMAP>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(bitmap), IMAGE_BITMAP,
                                                      0, 0, LR_CREATEDIBSECTION));
    if (strip)
        button.SetBitmap(strip);
    button.SetTooltipText(LangMgr::GetText(tipKey));
    button.Invalidate(FALSE);
}

void CPlayerWnd::SetTimeText(int seconds)
{
    // A running preview is described by its own clip, whichever row is selected meanwhile.
    ConvertTask* task = m_session.PreviewId() > 0 ? m_session.PlayingTask() : ShownTask();
    const CString duration = task ? task->m_durationText : CString(kZeroTime);
    CString text;
    text.Format(L"%s / %s", static_cast<LPCWSTR>(seconds < 0 ? CString(kZeroTime) : FormatDuration(seconds)),
                static_cast<LPCWSTR>(duration));
    ::SetDlgItemTextW(m_hWnd, kTimeId, text);
}

void CPlayerWnd::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    for (int i = 0; i < kButtonCount; ++i)
        DDX_Control(dx, kButtons[i], m_buttons[i]);
}

BOOL CPlayerWnd::OnInitDialog()
{
    CDialog::OnInitDialog();
    CRect area;
    ::GetClientRect(m_hWnd, &area);
    area.DeflateRect(kAreaMargin, kAreaMargin);
    area.bottom -= kAreaBottom;
    m_picture.Create(this);
    m_picture.LoadBitmapFile(DevicePicture());
    ::MoveWindow(m_picture.GetSafeHwnd(), area.left, area.top, area.Width(), area.Height(), TRUE);

    ::SendDlgItemMessageW(m_hWnd, kVolumeId, TBM_SETRANGE, FALSE, MAKELPARAM(0, kVolumeMax));
    ::SendDlgItemMessageW(m_hWnd, kVolumeId, TBM_SETPOS, TRUE, m_settings->volume);
    SetTimeText(-1);

    for (CButtonST& button : m_buttons)
    {
        button.m_bTransparent = TRUE;
        button.m_crTransparent = kTransparentColour;
    }
    ReloadTexts();
    EnableItem(kPlayId, false);
    EnableItem(kStopId, false);
    EnableItem(kSnapshotId, false);
    EnableItem(kPositionId, false);
    return TRUE;
}

LRESULT CPlayerWnd::OnPanelReloadTexts(WPARAM, LPARAM)
{
    ReloadTexts();
    return 0;
}

void CPlayerWnd::ReloadTexts()
{
    const bool playing = m_session.GetState() == CPreviewSession::kPlaying;
    SetButton(kPlayId, playing ? kPauseBitmap : kPlayBitmap, playing ? L"tip_player_pause" : L"tip_player_play");
    SetButton(kStopId, kStopBitmap, L"tip_player_stop");
    SetButton(kSoundId, m_settings->silent ? kSoundOffBitmap : kSoundOnBitmap,
              m_settings->silent ? L"tip_player_voice_no" : L"tip_player_voice");
    SetButton(kSnapshotId, kSnapshotBitmap, L"tip_player_snap");
}

void CPlayerWnd::OnOK()
{
}

void CPlayerWnd::OnCancel()
{
}

void CPlayerWnd::ShowTask(int taskId)
{
    if (taskId == -1)
    {
        m_shownTaskId = -1;
        OnStop();
        EnableItem(kPlayId, false);
        EnableItem(kStopId, false);
        EnableItem(kSnapshotId, false);
        m_picture.LoadBitmapFile(DevicePicture());
        m_picture.ReleasePicture();
        SetTimeText(-1);
        ::InvalidateRect(m_picture.GetSafeHwnd(), nullptr, TRUE);
        return;
    }
    ConvertTask* task = nullptr;
    if (!CVideoManager::FindTask(taskId, &task))
    {
        EnableItem(kPlayId, false);
        EnableItem(kStopId, false);
        EnableItem(kSnapshotId, false);
        m_picture.LoadBitmapFile(DevicePicture());
        m_shownTaskId = -1;
        SetTimeText(-1);
        return;
    }
    m_shownTaskId = taskId;
    EnableItem(kPlayId, true);
    EnableItem(kSnapshotId, true);
    EnableItem(kPositionId, false);
    // A running preview goes on in the picture area, its time and its slider; the selected clip
    // shows once it stops.
    if (m_session.PreviewId() > 0)
        return;
    ShowShownClip();
}

void CPlayerWnd::ShowShownClip()
{
    ConvertTask* task = ShownTask();
    SetTimeText(-1);
    SetPositionRange(task ? static_cast<int>(task->m_mediaInfo.duration / 1000000) : 0);
    m_picture.LoadBitmapFile(task ? CVideoManager::GetThumbnail(m_shownTaskId) : DevicePicture());
    ::RedrawWindow(m_picture.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CPlayerWnd::SetPositionRange(int seconds)
{
    // Thumb and channel drawn anew at once, so that no thumb of the old range is left standing.
    HWND slider = Item(kPositionId);
    ::SendMessageW(slider, TBM_SETRANGE, FALSE, MAKELPARAM(0, seconds));
    ::SendMessageW(slider, TBM_SETPOS, FALSE, 0);
    ::RedrawWindow(slider, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CPlayerWnd::OnPlayPause()
{
    switch (m_session.GetState())
    {
    case CPreviewSession::kPlaying:
        if (!m_session.Pause())
        {
            OnStop();
            return;
        }
        ::KillTimer(m_hWnd, kPositionTimer);
        SetButton(kPlayId, kPlayBitmap, L"tip_player_play");
        break;
    case CPreviewSession::kPaused:
        if (!m_session.Resume())
        {
            OnStop();
            return;
        }
        ::SetTimer(m_hWnd, kPositionTimer, kPositionPeriodMs, nullptr);
        SetButton(kPlayId, kPauseBitmap, L"tip_player_pause");
        break;
    default:
        if (!m_session.Start(m_shownTaskId, m_picture.GetSafeHwnd()))
            return;
        EnableItem(kStopId, true);
        EnableItem(kPositionId, true);
        SetPositionRange(m_session.PlayingSeconds());
        ::SetTimer(m_hWnd, kPositionTimer, kPositionPeriodMs, nullptr);
        SetButton(kPlayId, kPauseBitmap, L"tip_player_pause");
        break;
    }
    Repaint();
}

void CPlayerWnd::OnStop()
{
    if (m_session.PreviewId() < 1)
        return;
    CWaitCursor wait;
    ::KillTimer(m_hWnd, kPositionTimer);
    EnableItem(kPositionId, false);
    const int stoppedTaskId = m_session.PlayingTaskId();
    m_session.Stop();
    SetButton(kPlayId, kPlayBitmap, L"tip_player_play");
    if (stoppedTaskId != m_shownTaskId && ShownTask())
        ShowShownClip(); // another row was selected while it played
    else
    {
        SetPositionRange(ShownTask() ? static_cast<int>(ShownTask()->m_mediaInfo.duration / 1000000) : 0);
        m_picture.LoadBitmapFile(DevicePicture());
        SetTimeText(-1);
    }
    EnableItem(kPlayId, ShownTask() != nullptr);
    EnableItem(kStopId, false);
    Repaint();
}

void CPlayerWnd::OnMute()
{
    m_session.SetSilent(!m_settings->silent);
    SetButton(kSoundId, m_settings->silent ? kSoundOffBitmap : kSoundOnBitmap,
              m_settings->silent ? L"tip_player_voice_no" : L"tip_player_voice");
    Repaint();
}

void CPlayerWnd::OnSnapshot()
{
    // Without a preview there is no picture to save, and nothing to say.
    if (m_session.Snapshot() || !m_session.PlayingTask())
        return;
    const bool folderMade = CPreviewSession::EnsureFolder(m_session.SnapshotFolder());
    AfxMessageBox(LangMgr::GetText(folderMade ? L"err_snapshot" : L"err_create_dir"), MB_OK);
}

void CPlayerWnd::JumpToClick(HWND slider)
{
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(slider, &cursor);
    RECT channel = {};
    ::SendMessageW(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const int low = static_cast<int>(::SendMessageW(slider, TBM_GETRANGEMIN, 0, 0));
    const int high = static_cast<int>(::SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
    const int width = channel.right - channel.left;
    if (width <= 0)
        return;
    const int position = low + (cursor.x - channel.left) * (high - low) / width;
    ::SendMessageW(slider, TBM_SETPOS, TRUE, position);
}

void CPlayerWnd::OnHScroll(UINT code, UINT position, CScrollBar* bar)
{
    HWND slider = bar ? bar->GetSafeHwnd() : nullptr;
    if (!ShownTask())
        return;
    if (slider == Item(kPositionId))
    {
        if (m_session.PreviewId() > 0 ? m_session.PlayingSeconds() <= 0
                                      : ShownTask()->m_mediaInfo.duration / 1000000 <= 0)
            return;
        m_dragging = TRUE;
        if (code == TB_PAGEUP || code == TB_PAGEDOWN)
            JumpToClick(slider);
        else if (code == TB_THUMBTRACK || code == TB_ENDTRACK)
            SetTimeText(static_cast<int>(::SendMessageW(slider, TBM_GETPOS, 0, 0)));
    }
    else if (slider == Item(kVolumeId))
    {
        if (code == TB_PAGEUP || code == TB_PAGEDOWN)
            JumpToClick(slider);
        // Always stored, so that the next preview starts at the chosen volume.
        if (code == TB_ENDTRACK || code == TB_PAGEUP || code == TB_PAGEDOWN || code == TB_THUMBPOSITION)
            m_session.SetVolume(static_cast<int>(::SendMessageW(slider, TBM_GETPOS, 0, 0)));
    }
    CDialog::OnHScroll(code, position, bar);
}

void CPlayerWnd::OnPositionReleased(NMHDR*, LRESULT* result)
{
    *result = 0;
    HWND slider = Item(kPositionId);
    if (m_session.PreviewId() < 1)
    {
        ::SendMessageW(slider, TBM_SETPOS, TRUE, 0);
        m_dragging = FALSE;
        return;
    }
    m_session.Seek(static_cast<int>(::SendMessageW(slider, TBM_GETPOS, 0, 0)));
    m_skipTicks = kSkipTicksAfterSeek;
    m_dragging = FALSE;
}

void CPlayerWnd::OnTimer(UINT_PTR id)
{
    if (id == kPositionTimer && !m_dragging)
    {
        if (m_skipTicks > 0)
            --m_skipTicks;
        else
        {
            const int seconds = m_session.PollPosition();
            if (seconds >= 0)
            {
                ::SendDlgItemMessageW(m_hWnd, kPositionId, TBM_SETPOS, TRUE, seconds);
                SetTimeText(seconds);
            }
            else
                OnStop();
        }
    }
    CDialog::OnTimer(id);
}

BOOL CPlayerWnd::PreTranslateMessage(MSG* pMsg)
{
    // Disabled buttons get no mouse messages of their own: relay them, so their tips still show.
    for (CButtonST& button : m_buttons)
        if (button.GetSafeHwnd())
            button.RelayToolTipForDisabled(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

BOOL CPlayerWnd::OnToolTipNeedText(UINT, NMHDR* header, LRESULT* result)
{
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    HWND volume = Item(kVolumeId);
    if ((info->uFlags & TTF_IDISHWND) && reinterpret_cast<HWND>(header->idFrom) == volume)
    {
        const int low = static_cast<int>(::SendMessageW(volume, TBM_GETRANGEMIN, 0, 0));
        const int high = static_cast<int>(::SendMessageW(volume, TBM_GETRANGEMAX, 0, 0));
        const int position = static_cast<int>(::SendMessageW(volume, TBM_GETPOS, 0, 0));
        CString text;
        text.Format(L"%d%%", high > low ? position * 100 / (high - low) : 0);
        ::lstrcpynW(info->szText, text, sizeof(info->szText) / sizeof(info->szText[0]));
    }
    *result = 0;
    return TRUE;
}

void CPlayerWnd::OnDestroy()
{
    ::KillTimer(m_hWnd, kPositionTimer);
    m_session.Stop();
    CDialog::OnDestroy();
}
