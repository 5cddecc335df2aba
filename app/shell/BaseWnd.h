#pragma once
// A plain child window that fills itself with a background colour and shows a bitmap file scaled
// to fit, aspect kept and centred. The preview panel uses one as its picture area, into which the
// preview player also draws.
#include "platform/mfc/Mfc.h"

class CBaseWnd : public CWnd
{
    DECLARE_DYNAMIC(CBaseWnd)

  public:
    CBaseWnd();
    ~CBaseWnd() override;

    BOOL Create(CWnd* parent);
    // Replaces the picture; true when a picture is attached afterwards.
    BOOL LoadBitmapFile(LPCWSTR path);
    // Forgets the picture: the window then shows only its background colour.
    void ReleasePicture();
    BOOL HasPicture() const
    {
        return m_bitmap.GetSafeHandle() != nullptr;
    }

    virtual void SetBkColor(COLORREF color);
    virtual COLORREF GetBkColor() const;
    virtual void DrawPicture(CDC* dc, int left, int top, int right, int bottom);
    virtual void Draw(CDC* dc);

    // Where a bw x bh picture lands in a W x H area: height first, the width decides when the
    // picture would come out too wide; both sides even, centred.
    static CRect FitPicture(int width, int height, int pictureWidth, int pictureHeight);

    int m_drawEnabled;

  protected:
    DECLARE_MESSAGE_MAP()
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);

  private:
    COLORREF m_bkColor;
    HFONT m_font;
    HBRUSH m_bkBrush;
    CBitmap m_bitmap;
};
