// The image manager's icon store: pools that reuse their cells, icon sets by width, adding icons
// from strips and image lists with the id rules, the state images and the made variants (faded,
// shadow, disabled) with the pixels they must have, and drawing clipped at the top.
#include "RwTest.h"

#include <vector>

#include "DibCanvas.h"
#include "uilib/foundation/ColorManager.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/ImageManagerIcon.h"
#include "uilib/foundation/ImageManagerResource.h"

namespace
{
CString Fixture(const char* name)
{
    return CString(rwtest::ToWin32Path(std::string(RW_FOUNDATION_FIXTURES) + "/" + name).c_str());
}

// A bottom-up 32-bit bitmap filled with one BGRA word.
HBITMAP Solid(int width, int height, DWORD word)
{
    void* bits = nullptr;
    HBITMAP bitmap = CWVPImageManager::CreateDIBSection32(nullptr, width, height, &bits);
    for (int i = 0; i < width * height; ++i)
        static_cast<DWORD*>(bits)[i] = word;
    return bitmap;
}

DWORD FirstWord(HBITMAP bitmap)
{
    BITMAPINFOHEADER header;
    std::vector<BYTE> pixels;
    EXPECT_TRUE(CWVPImageManager::GetBitmapBits32(bitmap, header, pixels));
    DWORD word = 0;
    memcpy(&word, pixels.data(), 4);
    return word;
}

// An alpha image owned by the caller's manager-less image.
void AlphaImage(CWVPImageManagerIconImage& image, int width, int height, DWORD word)
{
    image.SetBitmap(Solid(width, height, word));
}
} // namespace

TEST(ImageStore, PoolReusesCellsAndEmptiesWhenAllAreFree)
{
    CWVPImageManager manager;
    CWVPImageManagerResource* pool = manager.GetResource(CSize(16, 16));
    EXPECT_EQ(pool, manager.GetResource(CSize(16, 16)));
    CWVPImageManagerIconImage image;
    AlphaImage(image, 16, 16, 0xFF204060);
    std::vector<WVP_IMAGERESOURCE_INFO*> cells;
    for (int i = 0; i < 4; ++i)
        cells.push_back(pool->Add(image));
    for (int i = 0; i < 4; ++i)
    {
        ASSERT_NE(nullptr, cells[i]);
        EXPECT_EQ(16 * i, cells[i]->rcImage.left);
        EXPECT_TRUE(cells[i]->bAlpha);
    }
    EXPECT_EQ(64, pool->GetUsedWidth());
    pool->FreeBitmap(cells[1]);
    WVP_IMAGERESOURCE_INFO* fifth = pool->Add(image);
    ASSERT_NE(nullptr, fifth);
    EXPECT_EQ(16, fifth->rcImage.left);
    EXPECT_EQ(64, pool->GetUsedWidth());
    CWVPImageManagerIconImage wrongSize;
    AlphaImage(wrongSize, 8, 16, 0xFF000000);
    EXPECT_EQ(nullptr, pool->Add(wrongSize));
    for (WVP_IMAGERESOURCE_INFO* cell : {cells[0], fifth, cells[2], cells[3]})
        pool->FreeBitmap(cell);
    EXPECT_EQ(0, pool->GetUsedWidth());

    // A copied-out cell holds the premultiplied pixels.
    WVP_IMAGERESOURCE_INFO* cell = pool->Add(image);
    CWVPImageManagerIconImage out;
    pool->CopyImage(out, cell);
    ASSERT_NE(nullptr, out.GetBitmap());
    EXPECT_EQ(0xFF204060u, FirstWord(out.GetBitmap()));
    pool->FreeBitmap(cell);
}

TEST(ImageStore, IconSetsChooseByWidth)
{
    CWVPImageManager manager;
    CWVPImageManagerIconImage narrowImage, wideImage;
    AlphaImage(narrowImage, 16, 16, 0xFF000000);
    AlphaImage(wideImage, 32, 32, 0xFF000000);
    EXPECT_FALSE(manager.SetIcon(narrowImage, 7, 0, 0, wvpImageHot)); // no set yet
    EXPECT_EQ(nullptr, manager.GetIconSet(7));
    ASSERT_TRUE(manager.SetIcon(narrowImage, 7));
    ASSERT_TRUE(manager.SetIcon(wideImage, 7));
    EXPECT_TRUE(manager.SetIcon(narrowImage, 7, 0, 0, wvpImageHot));
    CWVPImageManagerIconSet* set = manager.GetIconSet(7);
    ASSERT_NE(nullptr, set);
    CWVPImageManagerIcon* nearest = set->GetIcon(24, TRUE);
    ASSERT_NE(nullptr, nearest);
    EXPECT_TRUE(nearest->GetWidth() == 16 || nearest->GetWidth() == 32);
    EXPECT_EQ(16, set->GetIcon(20, TRUE)->GetWidth());
    EXPECT_EQ(16, set->GetIcon(0, TRUE)->GetWidth());
    EXPECT_EQ(32, set->GetIcon(1, TRUE)->GetWidth());
    EXPECT_EQ(nullptr, set->GetIcon(24, FALSE));
    EXPECT_TRUE(manager.Lookup(7, 32));
    EXPECT_FALSE(manager.Lookup(7, 24));
    EXPECT_TRUE(manager.Lookup(7, 0));
    EXPECT_FALSE(manager.Lookup(8, 16));
    EXPECT_EQ(nullptr, manager.GetImage(8, 16));
    EXPECT_EQ(32, manager.GetImage(7, 30)->GetWidth());
    CWVPImageManagerIconImage empty;
    EXPECT_FALSE(manager.SetIcon(empty, 9));
}

TEST(ImageStore, StripsFollowTheIdRules)
{
    CWVPImageManager manager;
    BOOL alpha = TRUE;
    HBITMAP strip = CWVPImageManager::LoadBitmapFile(Fixture("strip24.bmp"), &alpha);
    ASSERT_NE(nullptr, strip);
    EXPECT_FALSE(alpha);
    const UINT ids[] = {100, 0, 101, 102};
    ASSERT_TRUE(manager.SetIconsFromBitmap(strip, ids, 4, CSize(16, 15), wvpImageNormal, FALSE));
    EXPECT_FALSE(manager.Lookup(0, 16));
    for (UINT id : {100u, 101u, 102u})
        ASSERT_NE(nullptr, manager.GetImage(id, 16)) << id;
    // The strip's corner colour is transparent; each image keeps its own colour.
    DibCanvas canvas(16, 15, RGB(0, 0, 0));
    struct Expected
    {
        UINT id;
        COLORREF centre;
    };
    for (Expected e : {Expected{100, RGB(0, 0, 192)}, Expected{101, RGB(0, 192, 0)}, Expected{102, RGB(192, 0, 0)}})
    {
        canvas.Fill(RGB(0, 0, 0));
        manager.GetImage(e.id, 16)->Draw(canvas.dc(), CPoint(0, 0));
        EXPECT_EQ(RGB(0, 0, 0), canvas.At(0, 0)) << e.id;
        EXPECT_EQ(e.centre, canvas.At(8, 7)) << e.id;
    }
    // As many ids as images: the 0 takes the second image.
    const UINT three[] = {200, 0, 201};
    ASSERT_TRUE(manager.SetIconsFromBitmap(strip, three, 3, 0, 0, wvpImageNormal, FALSE));
    EXPECT_TRUE(manager.Lookup(0, 16));
    EXPECT_TRUE(manager.Lookup(201, 16));
    ::DeleteObject(strip);

    // Alpha strips must be a whole number of images wide.
    manager.RemoveAll();
    HBITMAP odd = Solid(70, 16, 0xFF000000);
    EXPECT_FALSE(manager.SetIconsFromBitmap(odd, nullptr, 0, 16, 16, wvpImageNormal, TRUE));
    ::DeleteObject(odd);
    HBITMAP alphaStrip = Solid(32, 16, 0x80404040);
    const UINT two[] = {300, 0, 301};
    ASSERT_TRUE(manager.SetIconsFromBitmap(alphaStrip, two, 3, 16, 16, wvpImageNormal, TRUE));
    EXPECT_TRUE(manager.Lookup(300, 16));
    EXPECT_TRUE(manager.Lookup(301, 16));
    EXPECT_FALSE(manager.Lookup(0, 16));
    EXPECT_TRUE(manager.GetImage(300, 16)->IsAlpha());
    ::DeleteObject(alphaStrip);
    EXPECT_FALSE(manager.SetIconsFromBitmap(nullptr, nullptr, 0, 16, 16, wvpImageNormal, FALSE));
}

// Negative counts and sizes are refused, and nothing is stored for them.
TEST(ImageStore, NegativeCountsAndSizesAreRefused)
{
    CWVPImageManager manager;
    CWVPImageManagerIconImage image;
    AlphaImage(image, 16, 16, 0xFF000000);
    HBITMAP strip = Solid(32, 16, 0xFF404040);
    HIMAGELIST list = ::ImageList_Create(16, 16, ILC_COLOR32, 2, 0);
    ASSERT_EQ(0, ::ImageList_Add(list, strip, nullptr));
    const UINT ids[] = {10, 11};
    const struct
    {
        const char* call;
        BOOL result;
    } cases[] = {
        {"SetIcon width -5", manager.SetIcon(image, 10, -5, 16)},
        {"SetIcon height -5", manager.SetIcon(image, 10, 16, -5)},
        {"SetIconsFromBitmap count -1", manager.SetIconsFromBitmap(strip, ids, -1, 16, 16, wvpImageNormal, FALSE)},
        {"SetIconsFromBitmap alpha count -1", manager.SetIconsFromBitmap(strip, ids, -1, 16, 16, wvpImageNormal, TRUE)},
        {"SetIconsFromBitmap height -16", manager.SetIconsFromBitmap(strip, ids, 2, 16, -16, wvpImageNormal, TRUE)},
        {"SetIconsFromImageList count -2", manager.SetIconsFromImageList(list, ids, -2, 16, 16)},
        {"SetIconsFromImageList width -16", manager.SetIconsFromImageList(list, ids, 2, -16, 16)},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(c.result) << c.call;
    EXPECT_EQ(nullptr, manager.GetIconSet(10));
    EXPECT_EQ(nullptr, manager.GetIconSet(11));
    EXPECT_EQ(nullptr, manager.GetImage(10, 16));
    ::ImageList_Destroy(list);
    ::DeleteObject(strip);
}

TEST(ImageStore, StateImagesAndTheirFallBacks)
{
    CWVPImageManager manager;
    CWVPImageManagerIconImage normal, hot, pressed;
    AlphaImage(normal, 16, 16, 0xFF102030);
    AlphaImage(hot, 16, 16, 0xFF405060);
    AlphaImage(pressed, 16, 16, 0xFF708090);
    ASSERT_TRUE(manager.SetIcon(normal, 1));
    CWVPImageManagerIcon* icon = manager.GetImage(1, 16);
    EXPECT_EQ(&icon->GetNormalIcon(), &icon->GetHotIcon());
    EXPECT_EQ(&icon->GetNormalIcon(), &icon->GetCheckedIcon());
    ASSERT_TRUE(manager.SetIcon(hot, 1, 16, 16, wvpImageHot));
    ASSERT_TRUE(manager.SetIcon(pressed, 1, 16, 16, wvpImagePressed));
    EXPECT_EQ(&icon->GetHotIcon(), &icon->GetCheckedIcon());
    EXPECT_NE(&icon->GetHotIcon(), &icon->GetPressedIcon());
    EXPECT_EQ(&icon->GetPressedIcon(), &icon->GetIcon(wvpImagePressed));
    EXPECT_EQ(&icon->GetHotIcon(), &icon->GetIcon(wvpImageHot));
    EXPECT_EQ(&icon->GetNormalIcon(), &icon->GetIcon(99));
    EXPECT_FALSE(icon->HasDisabledIcon());
    EXPECT_FALSE(icon->GetIcon(wvpImageDisabled).IsEmpty()); // made on request
    EXPECT_TRUE(icon->IsAlpha());
    EXPECT_EQ(CSize(16, 16), icon->GetExtent());

    // Each state draws its own pixels (blended over black they show the premultiplied colour).
    DibCanvas canvas(16, 16, RGB(0, 0, 0));
    icon->DrawImage(canvas.dc(), CPoint(0, 0), icon->GetPressedIcon());
    EXPECT_EQ(RGB(0x70, 0x80, 0x90), canvas.At(3, 3));
    icon->DrawImage(canvas.dc(), CPoint(0, 0), icon->GetHotIcon());
    EXPECT_EQ(RGB(0x40, 0x50, 0x60), canvas.At(3, 3));
}

TEST(ImageStore, MadeVariantsHaveTheirPixels)
{
    CWVPImageManager manager;
    manager.SetUseResources(FALSE); // images keep their bitmaps, so their pixels can be read
    // Grey 128 and black at alpha 255, and grey 128 at alpha 128 (premultiplied to 64 first).
    struct Case
    {
        DWORD pixel;
        DWORD disabled, faded;
    };
    COLORREF base = WVPColorManager()->GetColor(31);
    DWORD shadow = RGB((int)(GetBValue(base) * 0.75), (int)(GetGValue(base) * 0.75), (int)(GetRValue(base) * 0.75));
    const Case cases[] = {
        {0xFF808080, 0xFFB4B4B4, 0xFFA6A6A6}, // gamma: trunc(sqrt(128/255)*255) = 180; fade: 0.3*255+0.7*128
        {0xFF000000, 0xFF000000, 0xFF4C4C4C},
        // Unpremultiplied 127 -> grey 179 -> premultiplied 89; fade: 0.3*128+0.7*64 = 83.
        {0x80808080, 0x80595959, 0x80535353},
    };
    UINT id = 1;
    for (const Case& c : cases)
    {
        CWVPImageManagerIconImage image;
        AlphaImage(image, 4, 4, c.pixel);
        ASSERT_TRUE(manager.SetIcon(image, id));
        CWVPImageManagerIcon* icon = manager.GetImage(id, 4);
        ASSERT_NE(nullptr, icon);
        EXPECT_EQ(c.disabled, FirstWord(icon->GetDisabledIcon().GetBitmap())) << std::hex << c.pixel;
        EXPECT_EQ(c.faded, FirstWord(icon->GetFadedIcon().GetBitmap())) << std::hex << c.pixel;
        DWORD alpha = c.pixel >> 24;
        DWORD expectedShadow = (alpha << 24) | (((shadow >> 16) & 0xFF) * alpha / 255 << 16) |
                               (((shadow >> 8) & 0xFF) * alpha / 255 << 8) | ((shadow & 0xFF) * alpha / 255);
        if (alpha == 255)
            EXPECT_EQ(expectedShadow, FirstWord(icon->GetShadowIcon().GetBitmap())) << std::hex << c.pixel;
        ++id;
    }
    // Colour mode: between the dark and the light colour by luminance.
    CWVPImageManagerIconImage white;
    AlphaImage(white, 4, 4, 0xFFFFFFFF);
    ASSERT_TRUE(manager.SetIcon(white, 50));
    CWVPImageManagerIcon* icon = manager.GetImage(50, 4);
    icon->CreateDisabledIcon(RGB(200, 100, 50), RGB(0, 0, 0));
    EXPECT_EQ(0xFFC86432u, FirstWord(icon->GetDisabledIcon().GetBitmap()));

    // A new normal image drops the made variants of the set.
    CWVPImageManagerIcon* grey = manager.GetImage(1, 4);
    EXPECT_EQ(0xFFA6A6A6u, FirstWord(grey->GetFadedIcon().GetBitmap()));
    CWVPImageManagerIconImage black;
    AlphaImage(black, 4, 4, 0xFF000000);
    grey->SetNormalIcon(black);
    EXPECT_EQ(0xFF4C4C4Cu, FirstWord(grey->GetFadedIcon().GetBitmap()));
}

TEST(ImageStore, IconImagesFadeShadowAndDisable)
{
    CWVPImageManager manager;
    BOOL alpha = FALSE;
    HBITMAP strip = CWVPImageManager::LoadBitmapFile(Fixture("strip24.bmp"), &alpha);
    const UINT ids[] = {10, 11, 12};
    ASSERT_TRUE(manager.SetIconsFromBitmap(strip, ids, 3, 0, 0, wvpImageNormal, FALSE));
    ::DeleteObject(strip);
    CWVPImageManagerIcon* icon = manager.GetImage(12, 16); // red 192 in the middle
    ASSERT_NE(nullptr, icon);
    EXPECT_FALSE(icon->IsAlpha());
    DibCanvas canvas(16, 15, RGB(0, 255, 0));
    struct Case
    {
        const char* name;
        CWVPImageManagerIconImage* image;
        COLORREF centre;
    };
    COLORREF base = WVPColorManager()->GetColor(31);
    COLORREF shadow = RGB((int)(GetRValue(base) * 0.75), (int)(GetGValue(base) * 0.75), (int)(GetBValue(base) * 0.75));
    int grey = (int)(sqrt(0.299 * 192 / 255.0) * 255);
    const Case cases[] = {
        {"normal", &icon->GetNormalIcon(), RGB(192, 0, 0)},
        {"faded", &icon->GetFadedIcon(), RGB(210, 76, 76)}, // trunc(0.3*255 + 0.7*c)
        {"shadow", &icon->GetShadowIcon(), shadow},
        {"disabled", &icon->GetDisabledIcon(), RGB(grey, grey, grey)},
    };
    for (const Case& c : cases)
    {
        canvas.Fill(RGB(0, 255, 0));
        icon->DrawImage(canvas.dc(), CPoint(0, 0), *c.image);
        EXPECT_EQ(RGB(0, 255, 0), canvas.At(0, 0)) << c.name; // still transparent
        EXPECT_EQ(c.centre, canvas.At(8, 7)) << c.name;
    }
}

// The mono form paints the icon's non-white pixels in one colour and leaves the rest alone; an alpha
// image is not drawn.
TEST(ImageStore, MonoDrawingPaintsOnlyThePicture)
{
    CWVPImageManager manager;
    BOOL alpha = FALSE;
    HBITMAP strip = CWVPImageManager::LoadBitmapFile(Fixture("strip24.bmp"), &alpha);
    const UINT ids[] = {10, 11, 12};
    ASSERT_TRUE(manager.SetIconsFromBitmap(strip, ids, 3, 0, 0, wvpImageNormal, FALSE));
    ::DeleteObject(strip);
    CWVPImageManagerIcon* icon = manager.GetImage(12, 16);
    ASSERT_NE(nullptr, icon);
    DibCanvas canvas(16, 15, RGB(0, 255, 0));
    icon->DrawMono(canvas.dc(), CPoint(0, 0), icon->GetNormalIcon(), CSize(0, 0), RGB(0, 0, 200));
    EXPECT_EQ(RGB(0, 255, 0), canvas.At(0, 0)); // transparent corner
    EXPECT_EQ(RGB(0, 0, 200), canvas.At(8, 7)); // the red middle, now in the colour

    CWVPImageManagerIconImage alphaImage;
    AlphaImage(alphaImage, 16, 15, 0xFF0000FF);
    canvas.Fill(RGB(0, 255, 0));
    icon->DrawMono(canvas.dc(), CPoint(0, 0), alphaImage, CSize(16, 15), RGB(0, 0, 200));
    EXPECT_EQ(0, canvas.Painted());
}

TEST(ImageStore, AlphaImageAboveTheTopDrawsOnlyItsLowerRows)
{
    CWVPImageManager manager;
    manager.SetUseResources(FALSE);
    // Rows from the top: 0..9 red, 10..15 blue (the bitmap is bottom-up).
    void* bits = nullptr;
    HBITMAP bitmap = CWVPImageManager::CreateDIBSection32(nullptr, 4, 16, &bits);
    for (int row = 0; row < 16; ++row)
        for (int x = 0; x < 4; ++x)
            static_cast<DWORD*>(bits)[row * 4 + x] = row < 6 ? 0xFF0000FF : 0xFFFF0000;
    CWVPImageManagerIconImage image;
    image.SetBitmap(bitmap);
    DibCanvas canvas(4, 16, RGB(0, 255, 0));
    image.Draw(canvas.dc(), 0, -5, 4, 16, FALSE);
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(1, 0));  // source row 5
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(1, 4));  // source row 9
    EXPECT_EQ(RGB(0, 0, 255), canvas.At(1, 5));  // source row 10
    EXPECT_EQ(RGB(0, 0, 255), canvas.At(1, 10)); // source row 15
    EXPECT_EQ(RGB(0, 255, 0), canvas.At(1, 11)); // below the image
    canvas.Fill(RGB(0, 255, 0));
    image.Draw(canvas.dc(), 0, -16, 4, 16, FALSE);
    EXPECT_EQ(RGB(0, 255, 0), canvas.At(1, 0));
}
