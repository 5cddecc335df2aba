// Drawing wrappers on a 32-bit DIB: selecting objects answers the previous ones and selecting
// them back restores the context; fills, frames, 3-D rectangles and drag rectangles put the
// right pixels; saved states come back; temporary GDI objects go at idle time.
#include "RwTest.h"

#include "MfcTestApp.h"
#include "platform/mfc/ThreadState.h"

namespace
{
const int kSize = 40;

class DrawingTest : public ::testing::Test
{
protected:
    CDC m_dc;
    CBitmap m_dib;
    CBitmap* m_previousBitmap = nullptr;
    DWORD* m_bits = nullptr;

    void SetUp() override
    {
        TestApp();
        ASSERT_TRUE(m_dc.CreateCompatibleDC(nullptr));
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kSize;
        info.bmiHeader.biHeight = -kSize;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        ASSERT_TRUE(m_dib.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)));
        m_bits = static_cast<DWORD*>(bits);
        m_previousBitmap = m_dc.SelectObject(&m_dib);
        ASSERT_NE(nullptr, m_previousBitmap);
        m_dc.FillSolidRect(0, 0, kSize, kSize, RGB(255, 255, 255));
    }
    void TearDown() override
    {
        m_dc.SelectObject(m_previousBitmap);
        m_dc.DeleteDC();
    }

    int Inverted(const CRect& area)
    {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += Pixel(x, y) != RGB(255, 255, 255);
        return count;
    }

    COLORREF Pixel(int x, int y)
    {
        ::GdiFlush();
        DWORD bgr = m_bits[y * kSize + x];
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }
};

TEST_F(DrawingTest, SelectingAnswersThePreviousObjectAndSelectingItBackRestores)
{
    HGDIOBJ originalPen = ::GetCurrentObject(m_dc, OBJ_PEN);
    HGDIOBJ originalBrush = ::GetCurrentObject(m_dc, OBJ_BRUSH);
    HGDIOBJ originalFont = ::GetCurrentObject(m_dc, OBJ_FONT);
    {
        CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
        CBrush brush(RGB(0, 0, 255));
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(90, L"Tahoma", &m_dc));

        CPen* oldPen = m_dc.SelectObject(&pen);
        CBrush* oldBrush = m_dc.SelectObject(&brush);
        CFont* oldFont = m_dc.SelectObject(&font);
        EXPECT_EQ(originalPen, oldPen->m_hObject);
        EXPECT_EQ(originalBrush, oldBrush->m_hObject);
        EXPECT_EQ(originalFont, oldFont->m_hObject);
        EXPECT_EQ(pen.m_hObject, m_dc.GetCurrentPen()->m_hObject);
        EXPECT_EQ(&pen, m_dc.GetCurrentPen()); // the permanent object, not a temporary one

        m_dc.Rectangle(5, 5, 15, 15);
        EXPECT_EQ(RGB(255, 0, 0), Pixel(5, 5));
        EXPECT_EQ(RGB(0, 0, 255), Pixel(10, 10));

        m_dc.SelectObject(oldPen);
        m_dc.SelectObject(oldBrush);
        m_dc.SelectObject(oldFont);
    }
    EXPECT_EQ(originalPen, ::GetCurrentObject(m_dc, OBJ_PEN));
    EXPECT_EQ(originalBrush, ::GetCurrentObject(m_dc, OBJ_BRUSH));
    EXPECT_EQ(originalFont, ::GetCurrentObject(m_dc, OBJ_FONT));
    EXPECT_EQ(m_dib.m_hObject, ::GetCurrentObject(m_dc, OBJ_BITMAP));

    // A saved state comes back with its objects.
    int saved = m_dc.SaveDC();
    m_dc.SelectStockObject(WHITE_PEN);
    m_dc.SetTextColor(RGB(1, 2, 3));
    EXPECT_TRUE(m_dc.RestoreDC(saved));
    EXPECT_EQ(originalPen, ::GetCurrentObject(m_dc, OBJ_PEN));
    EXPECT_NE(RGB(1, 2, 3), m_dc.GetTextColor());
}

TEST_F(DrawingTest, FillsAndFramesPutTheirColoursAndLeaveTheContextAsItWas)
{
    m_dc.SetBkColor(RGB(9, 9, 9));
    m_dc.FillSolidRect(CRect(2, 2, 8, 8), RGB(10, 200, 30));
    EXPECT_EQ(RGB(10, 200, 30), Pixel(2, 2));
    EXPECT_EQ(RGB(10, 200, 30), Pixel(7, 7));
    EXPECT_EQ(RGB(255, 255, 255), Pixel(8, 8));
    EXPECT_EQ(RGB(9, 9, 9), m_dc.GetBkColor());

    const COLORREF light = RGB(250, 0, 0);
    const COLORREF dark = RGB(0, 0, 120);
    m_dc.Draw3dRect(CRect(10, 10, 20, 20), light, dark);
    struct Probe
    {
        int x, y;
        COLORREF colour;
    };
    const Probe probes[] = {{10, 10, light}, {18, 10, light}, {10, 18, light}, {19, 10, dark},
                            {19, 19, dark},  {10, 19, dark},  {15, 15, RGB(255, 255, 255)}};
    for (const Probe& p : probes)
        EXPECT_EQ(p.colour, Pixel(p.x, p.y)) << p.x << "," << p.y;
}

TEST_F(DrawingTest, DragRectanglesEraseThemselvesWhenDrawnAgain)
{
    CRect first(5, 5, 25, 25);
    CSize thick(2, 2);
    // The halftone frame inverts every other pixel of its band.
    m_dc.DrawDragRect(&first, thick, nullptr, thick);
    EXPECT_GT(Inverted(CRect(5, 5, 25, 7)), 0);
    EXPECT_EQ(0, Inverted(CRect(7, 7, 23, 23))); // the inside stays

    // Moving the rectangle erases the old frame where it is not part of the new one.
    CRect second(10, 10, 30, 30);
    m_dc.DrawDragRect(&second, thick, &first, thick);
    EXPECT_EQ(0, Inverted(CRect(5, 5, 10, 10)));
    EXPECT_GT(Inverted(CRect(10, 28, 30, 30)), 0);

    m_dc.DrawDragRect(&second, CSize(0, 0), &second, thick); // erase
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            ASSERT_EQ(RGB(255, 255, 255), Pixel(x, y)) << x << "," << y;
}

TEST_F(DrawingTest, TextMeasuresAndTemporaryObjectsAreCleanedAtIdle)
{
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, L"Tahoma", &m_dc));
    CFont* old = m_dc.SelectObject(&font);
    CSize one = m_dc.GetTextExtent(L"W");
    CSize two = m_dc.GetTextExtent(L"WW");
    EXPECT_GT(one.cx, 0);
    EXPECT_EQ(one.cy, two.cy);
    EXPECT_GT(two.cx, one.cx);
    CRect box(0, 0, 0, 0);
    m_dc.DrawText(L"WW", &box, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(two.cx, box.Width());
    m_dc.SelectObject(old);

    // The stock pen's wrapper was made for the question and goes at idle time.
    CGdiObject* stock = m_dc.SelectStockObject(NULL_PEN);
    ASSERT_NE(nullptr, stock);
    m_dc.SelectObject(stock);
    EXPECT_GT(AfxGetThreadState()->m_pmapHGDIOBJ->GetTemporaryCount(), 0u);
    RunIdle();
    EXPECT_EQ(0u, AfxGetThreadState()->m_pmapHGDIOBJ->GetTemporaryCount());
}

TEST(GeometryTest, PointsSizesAndRectanglesCombine)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(100, r.Width());
    EXPECT_EQ(50, r.Height());
    EXPECT_EQ(CPoint(60, 45), r.CenterPoint());
    EXPECT_EQ(CRect(15, 25, 115, 75), r + CPoint(5, 5));
    const RECT margins = {2, 2, 2, 2};
    EXPECT_EQ(CRect(12, 22, 108, 68), r - &margins);
    EXPECT_EQ(CRect(50, 20, 110, 70), r & CRect(50, 0, 200, 200));
    EXPECT_EQ(CRect(0, 0, 110, 70), r | CRect(0, 0, 5, 5));
    EXPECT_EQ(CSize(3, 4), CPoint(5, 7) - CPoint(2, 3));
    EXPECT_EQ(CPoint(7, 10), CPoint(5, 7) + CSize(2, 3));
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(110, 70)));
    CRect flipped(30, 40, 10, 20);
    flipped.NormalizeRect();
    EXPECT_EQ(CRect(10, 20, 30, 40), flipped);
    r.MoveToXY(0, 0);
    EXPECT_EQ(CRect(0, 0, 100, 50), r);
    EXPECT_EQ(CPoint(-3, 4), CPoint((LPARAM)MAKELPARAM(-3, 4)));
}
}
