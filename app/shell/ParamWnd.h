#pragma once
// The parameter panel of the main window: shows the common settings of the tasks selected in
// the task list (frame size, video and audio quality, subtitles, splitting, volume, aspect) and
// sends every edit to the main frame, which applies it to each selected task.
#include "app/core/PrivateMessages.h"
#include "app/core/ConvertTask.h"
#include "app/shell/TransparentStatic.h"

#include <vector>

class CParamWnd : public CDialog
{
  public:
    enum
    {
        IDD = 134,
        kFileNameId = 1001,
        kResolutionId = 1002,
        kSuperId = 1003,
        kVideoQualityId = 1005,
        kAudioQualityId = 1007,
        kSubtitleId = 1009,
        kSplitId = 1011,
        kRatioId = 1241,
        kVolumeSpinId = 1244,
        kVolumeLabelId = 1245,
        kVolumeId = 1246,
    };
    // Messages to the main frame: a parameter's new value text, or its chosen value-list entry.
    static constexpr UINT kParamValueMessage = WM_RW_PARAM_VALUE;
    static constexpr UINT kParamChoiceMessage = WM_RW_PARAM_CHOICE;
    static const int kMovableCount = 17;
    static const int kSplitCustomSize = 8;
    static const int kSplitCustomTime = 9;

    CParamWnd();
    ~CParamWnd() override;

    BOOL Create(CWnd* parent);
    void SetTasks(const std::vector<int>& ids);
    void EnableControls(bool enable);
    void ShiftControls(int dy);
    void ReloadTexts();
    void FillVideoQualityList();
    void FillAudioQualityList();
    void FillSubtitleList(bool reset);
    void FillSplitList();
    void FillResolutionList();

    const ConvertTask& WorkingTask() const
    {
        return m_working;
    }
    // The custom dialogs; tests replace them. Each returns IDOK or IDCANCEL.
    typedef INT_PTR (*SplitDialogFunction)(int mode, CString* value);
    typedef INT_PTR (*ResolutionDialogFunction)(int* width, int* height);
    typedef CString (*SubtitleDialogFunction)(HWND owner);
    static SplitDialogFunction s_splitDialog;
    static ResolutionDialogFunction s_resolutionDialog;
    static SubtitleDialogFunction s_subtitleDialog;

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnSubtitleChange();
    afx_msg void OnSplitChange();
    afx_msg void OnResolutionChange();
    afx_msg void OnVideoQualityChange();
    afx_msg void OnAudioQualityChange();
    afx_msg void OnVolumeChange();
    afx_msg void OnKeepAspect();
    afx_msg void OnSuper();
    afx_msg LRESULT OnPanelShift(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPanelReloadTexts(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

  private:
    void LoadFromTasks();
    void Refresh();
    void ShowResolution();
    void ShowVideoQuality();
    void ShowAudioQuality();
    void ShowQuality(int comboId, LPCWSTR group, LPCWSTR name, LPCWSTR customKey, bool videoFallback);
    void ShowSubtitle();
    void ShowSplit();
    void ShowVolume();
    void ApplySubtitle(const CString& file, int mode);
    void SendParamValue(LPCWSTR name, const CString& value);
    void SendParamChoice(LPCWSTR name, int index);
    void SaveControlRects();
    bool FindParam(LPCWSTR group, LPCWSTR name, SubParameters& out) const;
    void FillLevels(int comboId);
    int Selection(int comboId) const;

    CTransparentStatic m_labels[6];
    std::vector<int> m_ids;
    ConvertTask m_working;
    RECT m_saved[kMovableCount];
};
