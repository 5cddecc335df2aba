#include "RwTest.h"
#include "uilib/commandbars/PaintManager.h"
#include <string>
#include <vector>

namespace
{
const COLORREF kInk = RGB(200, 10, 30);
const int kSide = 20;

// A white 32-bit picture with its memory DC; rows of '#' (ink) and '.' (anything else) read it back.
struct Canvas
{
    CDC dc;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* bits = nullptr;

    Canvas()
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kSide;
        info.bmiHeader.biHeight = -kSide;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        dc.Attach(::CreateCompatibleDC(nullptr));
        old = ::SelectObject(dc.GetSafeHdc(), bitmap);
        for (int i = 0; i < kSide * kSide; ++i)
            bits[i] = 0xFFFFFF;
    }
    ~Canvas()
    {
        ::SelectObject(dc.GetSafeHdc(), old);
        ::DeleteDC(dc.Detach());
        ::DeleteObject(bitmap);
    }
    std::string Row(int y) const
    {
        ::GdiFlush();
        std::string row;
        const DWORD ink = DWORD(GetRValue(kInk)) << 16 | DWORD(GetGValue(kInk)) << 8 | GetBValue(kInk);
        for (int x = 0; x < kSide; ++x)
            row += (bits[y * kSide + x] & 0xFFFFFF) == ink ? '#' : '.';
        return row;
    }
};
} // namespace

// A downward triangle: five pixels, three, one, outline included; a degenerate one is a line.
TEST(PaintManagerTest, TriangleFillsExactlyItsPixels)
{
    struct Case
    {
        const char* name;
        CPoint p0, p1, p2;
        std::vector<std::string> rows; // rows 9 .. 13, columns 8 .. 16
    } cases[] = {
        {"downward", {10, 10}, {14, 10}, {12, 12}, {".........", "..#####..", "...###...", "....#....", "........."}},
        {"on one line",
         {10, 11},
         {12, 11},
         {14, 11},
         {".........", ".........", "..#####..", ".........", "........."}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        CWVPPaintManager::DrawTriangle(&canvas.dc, c.p0, c.p1, c.p2, kInk);
        for (int y = 0; y < kSide; ++y)
        {
            const std::string row = canvas.Row(y);
            if (y >= 9 && y <= 13)
                EXPECT_EQ(c.rows[y - 9], row.substr(8, 9)) << "row " << y;
            const std::string outside = y >= 9 && y <= 13 ? row.substr(0, 8) + row.substr(17) : row;
            EXPECT_EQ(std::string::npos, outside.find('#')) << "row " << y;
        }
    }
}

// The pen and brush that were selected before are selected again.
TEST(PaintManagerTest, TriangleRestoresTheDeviceContext)
{
    Canvas canvas;
    HPEN pen = ::CreatePen(PS_SOLID, 3, RGB(1, 2, 3));
    HBRUSH brush = ::CreateSolidBrush(RGB(4, 5, 6));
    HGDIOBJ oldPen = ::SelectObject(canvas.dc.GetSafeHdc(), pen);
    HGDIOBJ oldBrush = ::SelectObject(canvas.dc.GetSafeHdc(), brush);
    CWVPPaintManager::DrawTriangle(&canvas.dc, {1, 1}, {5, 1}, {3, 3}, kInk);
    EXPECT_EQ(pen, ::GetCurrentObject(canvas.dc.GetSafeHdc(), OBJ_PEN));
    EXPECT_EQ(brush, ::GetCurrentObject(canvas.dc.GetSafeHdc(), OBJ_BRUSH));
    ::SelectObject(canvas.dc.GetSafeHdc(), oldPen);
    ::SelectObject(canvas.dc.GetSafeHdc(), oldBrush);
    ::DeleteObject(pen);
    ::DeleteObject(brush);
}
