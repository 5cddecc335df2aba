// The drawing helpers: native and banded gradients against their formulas, the gradient record's
// split, clipping, colour conversions, the device-context guards' restoring, the buffer DCs'
// copies and the small text and pixel helpers.
#include "RwTest.h"

#include "DibCanvas.h"
#include "platform/mfc/DC.h"
#include "uilib/foundation/BitmapHandle.h"
#include "uilib/foundation/BufferDC.h"
#include "uilib/foundation/ColorManager.h"
#include "uilib/foundation/DCGuards.h"
#include "uilib/foundation/DrawHelpers.h"
#include "uilib/foundation/PaintManagerColor.h"

namespace
{
// A CDC over a canvas's memory DC that does not own it.
struct CanvasDC : CDC
{
    explicit CanvasDC(const DibCanvas& canvas)
    {
        m_hDC = m_hAttribDC = canvas.dc();
    }
    ~CanvasDC() override
    {
        m_hDC = m_hAttribDC = nullptr;
    }
};

// Draws with GradientFill unbound for the lifetime of the object.
struct NoGradientFill
{
    NoGradientFill() : saved(WVPDrawHelpers()->m_pfnGradientFill)
    {
        WVPDrawHelpers()->m_pfnGradientFill = nullptr;
    }
    ~NoGradientFill()
    {
        WVPDrawHelpers()->m_pfnGradientFill = saved;
    }
    WVPGradientFillProc saved;
};

int ChannelDistance(COLORREF a, COLORREF b)
{
    return (std::max)({abs((int)GetRValue(a) - GetRValue(b)), abs((int)GetGValue(a) - GetGValue(b)),
                       abs((int)GetBValue(a) - GetBValue(b))});
}

const COLORREF kFrom = RGB(200, 40, 10);
const COLORREF kTo = RGB(10, 180, 250);
} // namespace

TEST(DrawHelpers, BandedGradientFollowsTheFormula)
{
    NoGradientFill absent;
    DibCanvas canvas(40, 20);
    CanvasDC dc(canvas);
    CRect rect(5, 2, 35, 18);
    WVPDrawHelpers()->FillGradient(&dc, &rect, kFrom, kTo, TRUE);
    for (int x = rect.left; x < rect.right; ++x)
    {
        COLORREF expected = CWVPDrawHelpers::InterpolateColor(kFrom, kTo, 1.0 - (x - rect.left) / 30.0);
        EXPECT_EQ(expected, canvas.At(x, 2)) << x;
        EXPECT_EQ(expected, canvas.At(x, 17)) << x;
    }
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(4, 5));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(35, 5));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(10, 18));

    canvas.Fill(RGB(255, 255, 255));
    WVPDrawHelpers()->FillGradient(&dc, &rect, kFrom, kTo, FALSE);
    for (int y = rect.top; y < rect.bottom; ++y)
        EXPECT_EQ(CWVPDrawHelpers::InterpolateColor(kFrom, kTo, 1.0 - (y - rect.top) / 16.0), canvas.At(20, y));

    // Width 1: only the from colour.
    CRect thin(0, 0, 1, 5);
    WVPDrawHelpers()->FillGradient(&dc, &thin, kFrom, kTo, TRUE);
    EXPECT_EQ(kFrom, canvas.At(0, 4));

    // Bands draw only inside the clip box.
    canvas.Fill(RGB(255, 255, 255));
    HRGN clip = ::CreateRectRgn(10, 0, 12, 20);
    ::SelectClipRgn(canvas.dc(), clip);
    WVPDrawHelpers()->FillGradient(&dc, &rect, kFrom, kTo, TRUE);
    ::SelectClipRgn(canvas.dc(), nullptr);
    ::DeleteObject(clip);
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(9, 5));
    EXPECT_EQ(CWVPDrawHelpers::InterpolateColor(kFrom, kTo, 1.0 - 5 / 30.0), canvas.At(10, 5));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(12, 5));
}

TEST(DrawHelpers, NativeGradientMatchesTheBands)
{
    ASSERT_NE(nullptr, WVPDrawHelpers()->m_pfnGradientFill);
    DibCanvas native(64, 8), bands(64, 8);
    CanvasDC nativeDC(native), bandsDC(bands);
    CRect rect(0, 0, 64, 8);
    WVPDrawHelpers()->FillGradient(&nativeDC, &rect, kFrom, kTo, TRUE);
    {
        NoGradientFill absent;
        WVPDrawHelpers()->FillGradient(&bandsDC, &rect, kFrom, kTo, TRUE);
    }
    EXPECT_EQ(kFrom, native.At(0, 0));
    for (int x = 0; x < 64; ++x)
        EXPECT_LE(ChannelDistance(bands.At(x, 3), native.At(x, 3)), 4) << x;
}

TEST(DrawHelpers, SolidFillsAndEmptyRectangles)
{
    DibCanvas canvas(10, 10);
    CanvasDC dc(canvas);
    CRect rect(0, 0, 10, 10);
    WVPDrawHelpers()->FillGradient(&dc, &rect, kTo, kTo, TRUE);
    EXPECT_EQ(kTo, canvas.At(0, 0));
    EXPECT_EQ(kTo, canvas.At(9, 9));
    CWVPColorManager::OverrideDisplayBitsPerPixel(8);
    WVPDrawHelpers()->FillGradient(&dc, &rect, kFrom, kTo, TRUE);
    CWVPColorManager::OverrideDisplayBitsPerPixel(0);
    EXPECT_EQ(kFrom, canvas.At(0, 0));
    EXPECT_EQ(kFrom, canvas.At(9, 9));
    canvas.Fill(RGB(1, 2, 3));
    CRect empty(4, 4, 4, 9);
    WVPDrawHelpers()->FillGradient(&dc, &empty, kFrom, kTo, TRUE);
    WVPDrawHelpers()->FillGradient(&dc, nullptr, kFrom, kTo, TRUE);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(RGB(1, 2, 3), canvas.At(x, 5));
}

TEST(DrawHelpers, GradientRecordSplitsAtItsFactor)
{
    NoGradientFill absent;
    DibCanvas canvas(5, 1);
    CanvasDC dc(canvas);
    CWVPPaintManagerColorGradient gradient;
    gradient.SetDefaults(kFrom, kTo, 0.3f);
    CRect rect(0, 0, 5, 1);
    WVPDrawHelpers()->FillGradientRecord(&dc, &rect, gradient, TRUE);
    COLORREF middle = CWVPDrawHelpers::InterpolateColor(kFrom, kTo, 0.3f);
    // Three pixels from -> middle, two pixels middle -> to.
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(CWVPDrawHelpers::InterpolateColor(kFrom, middle, 1.0 - x / 3.0), canvas.At(x, 0)) << x;
    for (int x = 3; x < 5; ++x)
        EXPECT_EQ(CWVPDrawHelpers::InterpolateColor(middle, kTo, 1.0 - (x - 3) / 2.0), canvas.At(x, 0)) << x;

    // Factor 0.5: one plain gradient.
    gradient.SetDefaults(kFrom, kTo, 0.5f);
    WVPDrawHelpers()->FillGradientRecord(&dc, &rect, gradient, TRUE);
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(CWVPDrawHelpers::InterpolateColor(kFrom, kTo, 1.0 - x / 5.0), canvas.At(x, 0)) << x;
}

TEST(DrawHelpers, ClippedGradientKeepsTheColoursOfTheWholeRectangle)
{
    NoGradientFill absent;
    DibCanvas canvas(20, 4);
    CanvasDC dc(canvas);
    CRect rect(0, 0, 20, 4);
    CRect clip(5, 1, 15, 3);
    WVPDrawHelpers()->FillGradientClipped(&dc, &rect, kFrom, kTo, TRUE, &clip);
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(4, 1));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(15, 1));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(8, 0));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(8, 3));
    EXPECT_EQ(CWVPDrawHelpers::InterpolateColor(kFrom, kTo, 15 / 20.0), canvas.At(5, 1));
    CRect outside(30, 0, 40, 4);
    canvas.Fill(RGB(255, 255, 255));
    WVPDrawHelpers()->FillGradientClipped(&dc, &rect, kFrom, kTo, TRUE, &outside);
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(19, 1));
}

TEST(DrawHelpers, ColourConversions)
{
    DWORD white = CWVPDrawHelpers::ColorToHLS(RGB(255, 255, 255));
    EXPECT_EQ(239u, white & 0xFF);
    EXPECT_EQ(0u, (white >> 8) & 0xFF);
    EXPECT_EQ(240u, (white >> 16) & 0xFF);
    EXPECT_EQ(RGB(255, 255, 255), CWVPDrawHelpers::HLSToColor(white));
    EXPECT_EQ(RGB(127, 127, 127), CWVPDrawHelpers::HLSToColor(120 << 16));
    for (COLORREF c : {RGB(255, 0, 0), RGB(0, 128, 0), RGB(30, 60, 200), RGB(250, 200, 10)})
        EXPECT_LE(ChannelDistance(c, CWVPDrawHelpers::HLSToColor(CWVPDrawHelpers::ColorToHLS(c))), 12) << c;
    // The integer steps of both directions, worked by hand.
    EXPECT_EQ(30u | (228u << 8) | (122u << 16), CWVPDrawHelpers::ColorToHLS(RGB(250, 200, 10)));
    EXPECT_EQ(RGB(249, 189, 9), CWVPDrawHelpers::HLSToColor(30u | (228u << 8) | (122u << 16)));
    EXPECT_EQ(kFrom, CWVPDrawHelpers::InterpolateColor(kFrom, kTo, 1.0));
    EXPECT_EQ(kTo, CWVPDrawHelpers::InterpolateColor(kFrom, kTo, 0.0));
    EXPECT_EQ(RGB(255, 255, 255), CWVPDrawHelpers::InterpolateColor(RGB(255, 255, 255), RGB(255, 255, 255), 1.2));
}

TEST(DrawHelpers, GuardsRestoreTheDeviceContext)
{
    DibCanvas canvas(8, 8);
    CanvasDC dc(canvas);
    HDC h = canvas.dc();
    HGDIOBJ pen = ::GetCurrentObject(h, OBJ_PEN), brush = ::GetCurrentObject(h, OBJ_BRUSH);
    HGDIOBJ font = ::GetCurrentObject(h, OBJ_FONT), bitmap = ::GetCurrentObject(h, OBJ_BITMAP);
    COLORREF text = ::GetTextColor(h);
    {
        CWVPPenDC guard(h, RGB(255, 0, 0));
        EXPECT_NE(pen, ::GetCurrentObject(h, OBJ_PEN));
        guard.SetColor(RGB(0, 255, 0));
        ::MoveToEx(h, 0, 0, nullptr);
        ::LineTo(h, 4, 0);
        EXPECT_EQ(RGB(0, 255, 0), canvas.At(2, 0));
    }
    EXPECT_EQ(pen, ::GetCurrentObject(h, OBJ_PEN));
    {
        CWVPPenDC guard(h);
        ::SelectObject(h, ::GetStockObject(BLACK_PEN));
    }
    EXPECT_EQ(pen, ::GetCurrentObject(h, OBJ_PEN));
    {
        CPen red(PS_SOLID, 1, RGB(255, 0, 0));
        CWVPPenDC guard(&dc, &red);
        EXPECT_EQ(red.m_hObject, ::GetCurrentObject(h, OBJ_PEN));
    }
    EXPECT_EQ(pen, ::GetCurrentObject(h, OBJ_PEN));
    {
        CWVPBrushDC guard(h, RGB(0, 0, 255));
        ::PatBlt(h, 0, 4, 2, 2, PATCOPY);
    }
    EXPECT_EQ(RGB(0, 0, 255), canvas.At(1, 5));
    EXPECT_EQ(brush, ::GetCurrentObject(h, OBJ_BRUSH));
    {
        CFont first, second;
        first.Attach(::CreateFontW(12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma"));
        second.Attach(::CreateFontW(20, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma"));
        {
            CWVPFontDC guard(&dc, &first, RGB(1, 2, 3));
            EXPECT_EQ(first.m_hObject, ::GetCurrentObject(h, OBJ_FONT));
            guard.SetFont(&second);
            EXPECT_EQ(second.m_hObject, ::GetCurrentObject(h, OBJ_FONT));
            EXPECT_EQ(RGB(1, 2, 3), ::GetTextColor(h));
        }
        EXPECT_EQ(font, ::GetCurrentObject(h, OBJ_FONT));
        EXPECT_EQ(text, ::GetTextColor(h));
    }
    HBITMAP other = ::CreateCompatibleBitmap(h, 4, 4);
    {
        CWVPCompatibleDC memory(&dc, other);
        EXPECT_EQ(other, ::GetCurrentObject(memory.m_hDC, OBJ_BITMAP));
    }
    {
        CWVPCompatibleDC screen((CDC*)nullptr, other);
        EXPECT_NE(nullptr, screen.m_hDC);
    }
    HDC scratch = ::CreateCompatibleDC(h);
    HGDIOBJ scratchBitmap = ::GetCurrentObject(scratch, OBJ_BITMAP);
    {
        CWVPBitmapDC guard(scratch, other);
        EXPECT_EQ(other, ::GetCurrentObject(scratch, OBJ_BITMAP));
    }
    EXPECT_EQ(scratchBitmap, ::GetCurrentObject(scratch, OBJ_BITMAP));
    ::DeleteDC(scratch);
    EXPECT_TRUE(::DeleteObject(other)); // no guard kept it selected
    EXPECT_EQ(bitmap, ::GetCurrentObject(h, OBJ_BITMAP));
}

TEST(DrawHelpers, BufferDCCopiesOnlyItsRectangle)
{
    DibCanvas canvas(12, 12);
    CRect rect(2, 3, 6, 9);
    {
        CWVPBufferDC buffer(canvas.dc(), rect);
        ASSERT_NE(nullptr, buffer.m_hDC);
        CRect all(0, 0, 12, 12);
        ::FillRect(buffer.m_hDC, &all, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        EXPECT_EQ(RGB(255, 255, 255), canvas.At(3, 4)); // nothing reaches the target before the end
    }
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(rect.PtInRect(CPoint(x, y)) ? RGB(0, 0, 0) : RGB(255, 255, 255), canvas.At(x, y))
                << x << "," << y;
    canvas.Fill(RGB(255, 255, 255));
    {
        CWVPBufferDC buffer(canvas.dc(), rect);
        ::PatBlt(buffer.m_hDC, 0, 0, 12, 12, BLACKNESS);
        buffer.Discard();
    }
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(3, 4));
    {
        CWVPBufferDCEx buffer(canvas.dc(), rect);
        ::PatBlt(buffer.m_hDC, 0, 0, 12, 12, BLACKNESS);
        ::SetPixel(buffer.m_hDC, 5, 8, RGB(255, 0, 0)); // target coordinates
    }
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(2, 3));
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(5, 8));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(6, 8));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(1, 3));
}

TEST(DrawHelpers, TextAndPixelHelpers)
{
    WCHAR text[] = L"A&&B&C&";
    CWVPDrawHelpers::RemoveMnemonicMarks(text);
    EXPECT_EQ(0, lstrcmpW(L"A&BC", text));
    CString str(L"A&&B&C");
    CWVPDrawHelpers::RemoveMnemonicMarksString(str);
    EXPECT_EQ(CString(L"A&BC"), str);

    DibCanvas canvas(4, 2);
    CanvasDC dc(canvas);
    canvas.Set(0, 0, RGB(100, 0, 50));
    canvas.Set(1, 0, RGB(201, 10, 0));
    canvas.Set(2, 0, RGB(7, 7, 7));
    // Three points: one pair and a lone point that has no offset to read.
    POINT points[3] = {{0, 0}, {1, 0}, {2, 0}};
    CWVPDrawHelpers::AveragePixels(&dc, points, 3);
    EXPECT_EQ(RGB(150, 5, 25), canvas.At(0, 0));
    EXPECT_EQ(RGB(7, 7, 7), canvas.At(2, 0));

    EXPECT_EQ(RGB(150, 55, 37), WVPBlendEdgePixel(&dc, 0, 0, RGB(150, 105, 50), 0, 0.5));
    EXPECT_EQ(RGB(100, 100, 100), WVPBlendEdgePixel(&dc, 0, 0, RGB(0, 0, 0), RGB(200, 200, 200), -0.5));

    DibCanvas strip(4, 4, RGB(150, 5, 25));
    strip.Set(1, 1, RGB(9, 9, 9));
    ::SelectObject(strip.dc(), ::GetStockObject(DEFAULT_GUI_FONT)); // keep the DC, free the bitmap
    HBITMAP loose = (HBITMAP)::CopyImage(strip.bitmap(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    CWVPBitmapHandle corner(loose);
    EXPECT_EQ(RGB(150, 5, 25), corner.GetCornerColor());
    EXPECT_EQ((COLORREF)-1, CWVPBitmapHandle(nullptr).GetCornerColor());
    HICON icon = corner.CreateIcon();
    ASSERT_NE(nullptr, icon);
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(icon, &info));
    {
        DibCanvas mask(4, 4, RGB(0, 0, 0));
        HDC source = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(source, info.hbmMask);
        ::BitBlt(mask.dc(), 0, 0, 4, 4, source, 0, 0, SRCCOPY);
        ::SelectObject(source, old);
        ::DeleteDC(source);
        EXPECT_EQ(RGB(255, 255, 255), mask.At(0, 0)); // the corner colour is transparent
        EXPECT_EQ(RGB(0, 0, 0), mask.At(1, 1));
    }
    ::DeleteObject(info.hbmMask);
    ::DeleteObject(info.hbmColor);
    ::DestroyIcon(icon);
    ::DeleteObject(loose);
    EXPECT_EQ(nullptr, CWVPBitmapHandle(nullptr).CreateIcon());

    EXPECT_TRUE(CWVPDrawHelpers::FontExists(L"tahoma"));
    EXPECT_FALSE(CWVPDrawHelpers::FontExists(L"No Such Face"));
    // Arial is not installed in the test prefix: the stock GUI font's face serves.
    LOGFONTW stock = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    ASSERT_FALSE(CWVPDrawHelpers::FontExists(L"Arial"));
    EXPECT_EQ(CString(stock.lfFaceName), CWVPDrawHelpers::GetDefaultFontName(TRUE));
    EXPECT_EQ(CString(stock.lfFaceName), CWVPDrawHelpers::GetDefaultFontName(FALSE));
}

TEST(DrawHelpers, LayoutAndWindowHelpers)
{
    EXPECT_TRUE(CWVPDrawHelpers::RegisterWindowClass(nullptr, L"RwDrawHelpersTest", 0));
    // Registering again for a second window succeeds; a class of that name with another procedure
    // is not the one asked for.
    EXPECT_TRUE(CWVPDrawHelpers::RegisterWindowClass(nullptr, L"RwDrawHelpersTest", 0));
    WNDCLASSW other = {};
    other.lpfnWndProc = ::DefDlgProcW;
    other.hInstance = ::GetModuleHandleW(nullptr);
    other.lpszClassName = L"RwDrawHelpersOther";
    ASSERT_NE(0, ::RegisterClassW(&other));
    EXPECT_FALSE(CWVPDrawHelpers::RegisterWindowClass(nullptr, L"RwDrawHelpersOther", 0));
    HWND ltr = ::CreateWindowExW(0, L"RwDrawHelpersTest", L"x", WS_POPUP, 100, 50, 40, 30, nullptr, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    HWND rtl = ::CreateWindowExW(WS_EX_LAYOUTRTL, L"RwDrawHelpersTest", L"Title &1", WS_POPUP, 100, 50, 40, 30, nullptr,
                                 nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, ltr);
    ASSERT_NE(nullptr, rtl);
    EXPECT_EQ((UINT)VK_LEFT, CWVPDrawHelpers::MirrorArrowKey(ltr, VK_LEFT));
    EXPECT_EQ((UINT)VK_RIGHT, CWVPDrawHelpers::MirrorArrowKey(rtl, VK_LEFT));
    EXPECT_EQ((UINT)VK_LEFT, CWVPDrawHelpers::MirrorArrowKey(rtl, VK_RIGHT));
    EXPECT_EQ((UINT)VK_UP, CWVPDrawHelpers::MirrorArrowKey(rtl, VK_UP));
    POINT p = {110, 60};
    CWVPDrawHelpers::ScreenToWindowPoint(ltr, p);
    EXPECT_EQ(10, p.x);
    EXPECT_EQ(10, p.y);
    p = {110, 60};
    CWVPDrawHelpers::ScreenToWindowPoint(rtl, p);
    EXPECT_EQ(30, p.x);
    CString title;
    CWVPDrawHelpers::GetDefWindowText(rtl, title);
    EXPECT_EQ(CString(L"Title &1"), title);
    EXPECT_EQ(CRect(100, 50, 140, 80), WVPSafeWindowRect(ltr));
    EXPECT_EQ(CRect(0, 0, 40, 30), WVPSafeClientRect(ltr));
    ::DestroyWindow(ltr);
    ::DestroyWindow(rtl);
    EXPECT_EQ(WVPNullRect(), WVPSafeWindowRect(ltr));
    EXPECT_EQ(WVPNullRect(), WVPSafeClientRectOfWnd(nullptr));

    DibCanvas canvas(4, 4);
    CanvasDC dc(canvas);
    EXPECT_FALSE(CWVPDrawHelpers::IsDCRightToLeft(&dc));
    CWVPDrawHelpers::SetDCLayout(&dc, LAYOUT_RTL);
    EXPECT_TRUE(CWVPDrawHelpers::IsDCRightToLeft(&dc));
    CWVPDrawHelpers::SetDCLayout(&dc, 0);
    EXPECT_FALSE(CWVPDrawHelpers::IsDCRightToLeft(&dc));
}
