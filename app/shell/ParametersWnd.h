// ParametersWnd: the profile picker, a two-column popup with the categories on the left and the
// profiles of the category under the mouse on the right. The target panel runs it (it has its own
// message loop) and reads the chosen category and profile afterwards; it changes nothing itself.
#pragma once

#include "app/core/LeftShowItem.h"
#include "app/shell/StyleMenu.h"

#include <functional>

class ParametersWnd : public CWnd
{
  public:
    static constexpr int kHeight = 254;
    static constexpr int kCategoryWidth = 150;
    static constexpr UINT kCategoryListId = 1000;
    static constexpr UINT kProfileListId = 2000;

    explicit ParametersWnd(const CategoryArray& categories);
    ~ParametersWnd() override;

    CStyleMenu m_categoryList;
    CStyleMenu m_profileList;
    bool m_bRunning = false;
    // The caller may preset both before Popup; read them after it.
    int m_nCategory = 0;
    int m_nProfile = -1;
    CStyleMenu* m_pListUnderMouse = nullptr;
    // Runs once the windows exist, just before the loop starts (tests drive the picker from here).
    std::function<void(ParametersWnd&)> m_onOpened;

    // Runs the picker at a screen position; 0 once it has closed, -1 when a window cannot be made.
    int Popup(int x, int y, int width);
    // True when the user chose a profile (a click or Enter), not merely closed the picker.
    bool WasChosen() const
    {
        return m_bChosen;
    }
    // True when the loop ended on WM_QUIT (posted again): the caller's windows may be gone.
    bool QuitReceived() const
    {
        return m_bQuit;
    }
    void FillProfiles(int category);
    // Makes the picker tall enough for every category.
    void FitToCategories(int width);

  protected:
    afx_msg void OnKillFocus(CWnd* next);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnDestroy();
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg void OnCategoryHot();
    afx_msg void OnProfileClick();
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    DECLARE_MESSAGE_MAP()

  private:
    const CategoryArray& m_categories;
    bool m_bChosen = false;
    bool m_bQuit = false;

    void RunModal();
    void ChooseHotProfile();
};
