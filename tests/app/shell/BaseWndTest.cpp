#include <fstream>
#include <vector>

#include "RwTest.h"
#include "DibCanvas.h"
#include "WideText.h"
#include "app/shell/BaseWnd.h"

namespace
{
// Writes a bottom-up 24-bit BMP file of one colour.
void WriteSolidBmp(const std::string& path, int width, int height, COLORREF colour)
{
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER bfh = {};
    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof(bih);
    bih.biWidth = width;
    bih.biHeight = height;
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bfh.bfType = 0x4D42;
    bfh.bfOffBits = sizeof(bfh) + sizeof(bih);
    bfh.bfSize = bfh.bfOffBits + stride * height;
    std::vector<BYTE> pixels(size_t(stride) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            BYTE* p = &pixels[size_t(y) * stride + x * 3];
            p[0] = GetBValue(colour);
            p[1] = GetGValue(colour);
            p[2] = GetRValue(colour);
        }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&bfh), sizeof(bfh));
    out.write(reinterpret_cast<const char*>(&bih), sizeof(bih));
    out.write(reinterpret_cast<const char*>(pixels.data()), pixels.size());
}

const COLORREF kBackground = RGB(10, 20, 30);
const COLORREF kPicture = RGB(200, 0, 0);

class BaseWndTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, 0, 0, 400, 400,
                                      nullptr, nullptr));
        m_area.SetBkColor(kBackground);
        ASSERT_TRUE(m_area.Create(&m_parent));
        ::MoveWindow(m_area.GetSafeHwnd(), 0, 0, 400, 400, TRUE);
        m_scratch = rwtest::ScratchDir("BaseWndTest");
    }
    void TearDown() override
    {
        m_area.DestroyWindow();
        m_parent.DestroyWindow();
    }
    CString Win32(const std::string& unixPath)
    {
        return CString(rwtest::ToWin32Path(unixPath).c_str());
    }
    CWnd m_parent;
    CBaseWnd m_area;
    std::string m_scratch;
};
} // namespace

// Height first; the width decides when the picture would be too wide; sizes even, centred.
TEST(BaseWndFitTest, FitsAndCentres)
{
    struct Case
    {
        int w, h, bw, bh;
        CRect expected;
    } cases[] = {
        {400, 400, 320, 240, CRect(0, 50, 400, 350)},
        {400, 300, 100, 300, CRect(150, 0, 250, 300)},
        {401, 300, 301, 300, CRect(50, 0, 350, 300)}, // 301 made even, centred by truncation
        {100, 100, 0, 0, CRect(0, 0, 0, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CBaseWnd::FitPicture(c.w, c.h, c.bw, c.bh)) << c.w << "x" << c.h;
}

// The picture is stretched into its place; the rest shows the background colour.
TEST_F(BaseWndTest, DrawsPictureLetterboxedOnBackground)
{
    std::string file = m_scratch + "/pic.bmp";
    WriteSolidBmp(file, 320, 240, kPicture);
    ASSERT_TRUE(m_area.LoadBitmapFile(Win32(file)));
    DibCanvas canvas(400, 400, RGB(255, 255, 255));
    m_area.Draw(CDC::FromHandle(canvas.dc()));
    EXPECT_EQ(kBackground, canvas.At(200, 49));
    EXPECT_EQ(kPicture, canvas.At(200, 50));
    EXPECT_EQ(kPicture, canvas.At(0, 200));
    EXPECT_EQ(kPicture, canvas.At(399, 349));
    EXPECT_EQ(kBackground, canvas.At(200, 350));
}

// A file that cannot be loaded leaves only the background; so does a released picture; with the
// draw flag cleared nothing is painted.
TEST_F(BaseWndTest, MissingPictureShowsBackgroundOnly)
{
    std::string file = m_scratch + "/pic.bmp";
    WriteSolidBmp(file, 32, 32, kPicture);
    ASSERT_TRUE(m_area.LoadBitmapFile(Win32(file)));
    EXPECT_FALSE(m_area.LoadBitmapFile(Win32(m_scratch + "/missing.bmp")));
    DibCanvas canvas(400, 400, RGB(255, 255, 255));
    m_area.Draw(CDC::FromHandle(canvas.dc()));
    EXPECT_EQ(kBackground, canvas.At(200, 200));

    ASSERT_TRUE(m_area.LoadBitmapFile(Win32(file)));
    m_area.ReleasePicture();
    canvas.Fill(RGB(255, 255, 255));
    m_area.Draw(CDC::FromHandle(canvas.dc()));
    EXPECT_EQ(kBackground, canvas.At(200, 200));

    m_area.m_drawEnabled = 0;
    canvas.Fill(RGB(255, 255, 255));
    m_area.Draw(CDC::FromHandle(canvas.dc()));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(200, 200));
}

// The window keeps the font it is given and answers it back.
TEST_F(BaseWndTest, KeepsItsFont)
{
    HWND hwnd = m_area.GetSafeHwnd();
    EXPECT_EQ(::GetStockObject(DEFAULT_GUI_FONT), reinterpret_cast<HGDIOBJ>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    HGDIOBJ font = ::GetStockObject(SYSTEM_FONT);
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(font, reinterpret_cast<HGDIOBJ>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    WCHAR text[16] = {};
    ::GetWindowTextW(hwnd, text, 16);
    EXPECT_EQ("BaseWnd", rwtest::Utf8(text));
}
