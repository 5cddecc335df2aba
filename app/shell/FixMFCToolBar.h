// A tool bar that computes its own size from its buttons (rows, wrapping at separators, sizing
// for a length) instead of trusting the common control's version-dependent answers. The flat
// tool bar and the menu bar build on it.
#pragma once

#include "platform/mfc/Mfc.h"

#include <vector>

class CFixMFCToolBar : public CToolBar
{
  public:
    CFixMFCToolBar();
    ~CFixMFCToolBar() override;

    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void OnBarStyleChange(DWORD oldStyle, DWORD newStyle) override;
    // The size a button takes in the layout (wrapped separators and drop-downs count specially).
    virtual CSize GetButtonSize(const std::vector<TBBUTTON>& buttons, int index);

    // Wrapped drop-down buttons keep their width (the menu bar sets it).
    bool m_bKeepWrappedDropDownWidth;

    // The layout steps, public for the tests: wrap at a width (the number of rows), the size of
    // the wrapped buttons, and sizing for a length.
    int WrapToolBar(std::vector<TBBUTTON>& buttons, int width);
    CSize CalcSize(std::vector<TBBUTTON>& buttons);
    void SizeToolBar(std::vector<TBBUTTON>& buttons, int length, bool vertical);
    CSize CalcLayout(DWORD mode, int length = -1);
    std::vector<TBBUTTON> CopyButtons() const;

    afx_msg LRESULT OnSetSizeKept(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetSizeOnly(WPARAM wParam, LPARAM lParam);

  protected:
    DECLARE_MESSAGE_MAP()

  private:
    // Lets the control handle a size message without the flat and transparent styles (they make
    // later controls answer wrong sizes); the control's answer.
    LRESULT SizeFix(UINT message, WPARAM wParam, LPARAM lParam);
};
