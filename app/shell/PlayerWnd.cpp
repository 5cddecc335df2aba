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

struct ButtonPicture
{
    int id;
    int bitmap;
};

// The pictures loaded once, in the order of the panel's bitmap array.
const int kBitmapIds[] = {CPlayerWnd::kPlayBitmap,    CPlayerWnd::kPauseBitmap,    CPlayerWnd::kStopBitmap,
                          CPlayerWnd::kSoundOnBitmap, CPlayerWnd::kSoundOffBitmap, CPlayerWnd::kSnapshotBitmap};
const int kButtons[] = {CPlayerWnd::kPlayId, CPlayerWnd::kStopId, CPlayerWnd::kSoundId, CPlayerWnd::kSnapshotId};
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
    : CDialog(IDD), m_settings(settings), m_session(settings), m_bitmaps(), m_shownTaskId(-1), m_dragging(FALSE),
      m_skipTicks(0)
{
}

CPlayerWnd::~CPlayerWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    for (HBITMAP bitmap : m_bitmaps)
        if (bitmap)
            ::DeleteObject(bitmap);
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

void CPlayerWnd::SetButton(int id, int bitmap, LPCWSTR tipKey)
{
    for (size_t i = 0; i < sizeof(kBitmapIds) / sizeof(kBitmapIds[0]); ++i)
        if (kBitmapIds[i] == bitmap && m_bitmaps[i])
            ::SendMessageW(Item(id), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_bitmaps[i]));
    if (m_tips.GetSafeHwnd())
        m_tips.UpdateTipText(LangMgr::GetText(tipKey), CWnd::FromHandle(Item(id)));
}

void CPlayerWnd::SetTimeText(int seconds)
{
    ConvertTask* task = ShownTask();
    const CString duration = task ? task->m_durationText : CString(kZeroTime);
    CString text;
    text.Format(L"%s / %s", static_cast<LPCWSTR>(seconds < 0 ? CString(kZeroTime) : FormatDuration(seconds)),
                static_cast<LPCWSTR>(duration));
    ::SetDlgItemTextW(m_hWnd, kTimeId, text);
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

    HINSTANCE instance = AfxGetResourceHandle();
    for (size_t i = 0; i < sizeof(kBitmapIds) / sizeof(kBitmapIds[0]); ++i)
        m_bitmaps[i] = static_cast<HBITMAP>(
            ::LoadImageW(instance, MAKEINTRESOURCEW(kBitmapIds[i]), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    for (int id : kButtons)
        ::SetWindowLongPtrW(Item(id), GWL_STYLE, ::GetWindowLongPtrW(Item(id), GWL_STYLE) | BS_BITMAP);
    if (m_tips.Create(this, TTS_ALWAYSTIP))
        for (int id : kButtons)
            m_tips.AddTool(CWnd::FromHandle(Item(id)), L"");
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
        OnStop();
        EnableItem(kPlayId, false);
        EnableItem(kStopId, false);
        EnableItem(kSnapshotId, false);
        m_picture.LoadBitmapFile(DevicePicture());
        m_picture.ReleasePicture();
        m_shownTaskId = -1;
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
    SetTimeText(-1);
    const int seconds = static_cast<int>(task->m_mediaInfo.duration / 1000000);
    ::SendDlgItemMessageW(m_hWnd, kPositionId, TBM_SETRANGE, FALSE, MAKELPARAM(0, seconds));
    EnableItem(kPlayId, true);
    EnableItem(kSnapshotId, true);
    m_picture.LoadBitmapFile(CVideoManager::GetThumbnail(taskId));
    EnableItem(kPositionId, false);
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
        ::SendDlgItemMessageW(m_hWnd, kPositionId, TBM_SETRANGE, FALSE, MAKELPARAM(0, m_session.PlayingSeconds()));
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
    m_session.Stop();
    ::SendDlgItemMessageW(m_hWnd, kPositionId, TBM_SETPOS, TRUE, 0);
    SetButton(kPlayId, kPlayBitmap, L"tip_player_play");
    m_picture.LoadBitmapFile(DevicePicture());
    SetTimeText(-1);
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
    if (m_session.Snapshot())
        return;
    // Tell the user only when the folder is what failed.
    if (m_session.PlayingTask() && !CPreviewSession::EnsureFolder(m_session.SnapshotFolder()))
        AfxMessageBox(LangMgr::GetText(L"err_create_dir"), MB_OK);
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
    if (m_tips.GetSafeHwnd() && pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST)
        m_tips.RelayEvent(pMsg);
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
