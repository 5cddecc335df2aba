#pragma once
// The preview panel of the main window: plays the selected task's source in its picture area,
// with a position slider, elapsed time and duration, play/pause, stop, sound and snapshot
// buttons and a volume slider. The task list tells it the task to show; the engine's preview
// player does the playing.
#include "app/shell/BaseWnd.h"
#include "app/shell/ButtonST.h"
#include "app/shell/PreviewSession.h"

class CPlayerWnd : public CDialog
{
  public:
    enum
    {
        IDD = 136,
        kTimeId = 1036,
        kPositionId = 1032,
        kPlayId = 1022,
        kStopId = 1025,
        kSoundId = 1028,
        kVolumeId = 1034,
        kSnapshotId = 1030,
        kPlayBitmap = 148,
        kPauseBitmap = 427,
        kStopBitmap = 428,
        kSoundOnBitmap = 149,
        kSoundOffBitmap = 429,
        kSnapshotBitmap = 430,
    };
    static const UINT_PTR kPositionTimer = 102;
    static const UINT kPositionPeriodMs = 500;
    static const int kSkipTicksAfterSeek = 2;
    static const int kAreaMargin = 10;
    static const int kAreaBottom = 60;
    static const int kButtonCount = 4;
    // The colour of the button pictures' background, drawn transparent.
    static const COLORREF kTransparentColour = RGB(255, 0, 255);

    explicit CPlayerWnd(PreviewSettings* settings);
    ~CPlayerWnd() override;

    BOOL Create(CWnd* parent);
    // The task to show (-1 for none); a running preview goes on with its own task.
    void ShowTask(int taskId);
    void ReloadTexts();

    afx_msg void OnPlayPause();
    afx_msg void OnStop();
    afx_msg void OnMute();
    afx_msg void OnSnapshot();

    CPreviewSession& Session()
    {
        return m_session;
    }
    CBaseWnd& PictureArea()
    {
        return m_picture;
    }
    // The picture button of a control id (play, stop, sound or snapshot).
    CButtonST& Button(int id);
    int ShownTaskId() const
    {
        return m_shownTaskId;
    }
    // The device frame picture shown while nothing plays.
    static CString DevicePicture();

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnHScroll(UINT code, UINT position, CScrollBar* bar);
    afx_msg void OnPositionReleased(NMHDR* header, LRESULT* result);
    afx_msg BOOL OnToolTipNeedText(UINT id, NMHDR* header, LRESULT* result);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnPanelReloadTexts(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

  private:
    ConvertTask* ShownTask() const;
    void SetButton(int id, int bitmap, LPCWSTR tipKey);
    void SetTimeText(int seconds);
    // The shown task's time, position range and thumbnail, as when it is selected with nothing playing.
    void ShowShownClip();
    void SetPositionRange(int seconds);
    void JumpToClick(HWND slider);
    void Repaint();
    void EnableItem(int id, bool enable);
    HWND Item(int id) const
    {
        return ::GetDlgItem(m_hWnd, id);
    }

    PreviewSettings* m_settings;
    CPreviewSession m_session;
    CBaseWnd m_picture;
    CButtonST m_buttons[kButtonCount];
    int m_shownTaskId;
    BOOL m_dragging;
    int m_skipTicks;
};
