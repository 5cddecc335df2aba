// CItemList: the task list panel's list control. It keeps one record per row (the row's task id
// and its progress), draws a progress bar with its percentage over the status cell of a running
// task, and can paint its rows over a tiled background picture.
#pragma once

#include "platform/mfc/Mfc.h"
#include "uilib/controls/ListCtrl.h"

#include <new>
#include <vector>

class CItemList : public CWVListCtrl
{
  public:
    // One row's record, kept as the row's item data.
    struct AppendData
    {
        int row = -1;
        int progressColumn = -1;
        COLORREF barColour = 0;
        CString barText;
        int barShown = 0;
        float percent = 0;
        int taskId = 0;
        int shownState = -1; // the task state the row shows; -1 before the first
    };

    static constexpr int kStatusColumn = 4;
    static constexpr COLORREF kBarColour = RGB(100, 135, 180);
    static constexpr UINT kBackgroundBitmapId = 159;

    CItemList();
    ~CItemList() override;

    CPalette m_palette;
    CBitmap m_background;
    int m_nBitmapWidth = 0;
    int m_nBitmapHeight = 0;

    // Inserts a row with a new record; the row's index, or -1.
    int InsertRow(const LVITEMW& item);
    // The row's record, or null for a row without one.
    AppendData* RecordOf(int row) const;
    void InitProgressData(int row);
    void ShowProgress(int row, int shown);
    void SetProgress(int row, float percent);
    // Frees every row's record, then deletes the rows.
    BOOL DeleteAllItems();
    // Frees one row's record and deletes the row.
    BOOL DeleteRow(int row);
    bool LoadBackground();
    // Draws a bar of a percentage over a cell: a black frame, the filled part and the percentage.
    static void DrawProgressBar(HDC dc, const RECT& cell, float percent, COLORREF colour);

    virtual void DrawProgressCell(NMLVCUSTOMDRAW* draw, LRESULT* result);

  protected:
    void OnCustomDraw(NMHDR* header, LRESULT* result) override;
    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg LRESULT OnQueryNewPalette(WPARAM, LPARAM);
    afx_msg LRESULT OnPaletteChanged(WPARAM changer, LPARAM);
    DECLARE_MESSAGE_MAP()

  private:
    // Repaints the row's progress cell only.
    void InvalidateProgressCell(int row, const AppendData& record);
};
