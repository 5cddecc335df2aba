// The icons of the image manager: an image (an icon, a 32-bit alpha bitmap or a pool cell), an
// icon of one width with its eight state images (normal, faded, shadow, hot, checked, pressed,
// disabled given and disabled made), and the set of one command's icons by width.
#pragma once

#include <windows.h>

#include <map>

#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/Rect.h"

class CWVPImageManager;
class CWVPImageManagerIconSet;
struct WVP_IMAGERESOURCE_INFO;

// Image states, used to choose an image when drawing and when adding.
enum WVPImageState
{
    wvpImageNormal = 0,
    wvpImageDisabled = 1,
    wvpImageHot = 2,
    wvpImageChecked = 3,
    wvpImagePressed = 4,
};

class CWVPImageManagerIconImage
{
  public:
    explicit CWVPImageManagerIconImage(CWVPImageManager* owner = nullptr);
    ~CWVPImageManagerIconImage();
    CWVPImageManagerIconImage(const CWVPImageManagerIconImage&) = delete;
    CWVPImageManagerIconImage& operator=(const CWVPImageManagerIconImage&) = delete;

    // Wrap a handle without owning it.
    void InitFromIcon(HICON icon);
    void InitFromBitmap(HBITMAP bitmap);
    // Own the handle.
    void SetIcon(HICON icon);
    void SetBitmap(HBITMAP bitmap);
    // Own an alpha bitmap whose pixels (bits) are premultiplied already.
    void SetPremultipliedBitmap(HBITMAP bitmap, BYTE* bits);
    void Clear();
    void Copy(const CWVPImageManagerIconImage& source);
    BOOL LoadFromResource(HMODULE module, LPCWSTR name, int width, int height, BOOL directory);
    void Draw(HDC dc, int x, int y, int width, int height, BOOL composited) const;

    CSize GetExtent() const;
    BOOL IsEmpty() const;
    BOOL IsAlpha() const;
    // The alpha bitmap's premultiplied pixels, made on first call; null without an alpha bitmap.
    BYTE* GetPremultipliedBits();
    HICON GetIcon() const
    {
        return m_hIcon;
    }
    HBITMAP GetBitmap() const
    {
        return m_hBitmap;
    }
    const WVP_IMAGERESOURCE_INFO* GetCell() const
    {
        return m_pCell;
    }

  private:
    friend class CWVPImageManagerResource;
    HICON m_hIcon;
    HBITMAP m_hBitmap;
    BYTE* m_pBits;
    BOOL m_bOwns;
    CWVPImageManager* m_pOwner;
    WVP_IMAGERESOURCE_INFO* m_pCell;
    int m_width;
    int m_height;
};

class CWVPImageManagerIcon : public CCmdTarget
{
  public:
    enum
    {
        ImageNormal,
        ImageFaded,
        ImageShadow,
        ImageHot,
        ImageChecked,
        ImagePressed,
        ImageDisabled,
        ImageDisabledMade,
        ImageCount
    };

    CWVPImageManagerIcon(CWVPImageManagerIconSet* set, UINT id, int width);
    ~CWVPImageManagerIcon() override;

    CWVPImageManagerIconImage& GetNormalIcon();
    CWVPImageManagerIconImage& GetHotIcon();
    CWVPImageManagerIconImage& GetCheckedIcon();
    CWVPImageManagerIconImage& GetPressedIcon();
    CWVPImageManagerIconImage& GetDisabledIcon(BOOL make = TRUE);
    BOOL HasDisabledIcon() const;
    CWVPImageManagerIconImage& GetFadedIcon();
    CWVPImageManagerIconImage& GetShadowIcon();
    CWVPImageManagerIconImage& GetIcon(int state);
    BOOL IsAlpha() const;
    CSize GetExtent() const;
    int GetWidth() const
    {
        return m_width;
    }
    int GetHeight() const
    {
        return m_height;
    }

    void SetNormalIcon(const CWVPImageManagerIconImage& image);
    void SetHotIcon(const CWVPImageManagerIconImage& image);
    void SetCheckedIcon(const CWVPImageManagerIconImage& image);
    void SetPressedIcon(const CWVPImageManagerIconImage& image);
    void SetDisabledIcon(const CWVPImageManagerIconImage& image);
    void ClearVariants();

    void DrawImage(HDC dc, CPoint point, const CWVPImageManagerIconImage& image, CSize size = CSize(0, 0));
    void DrawScaled(HDC dc, CPoint point, CSize size);
    void Draw(HDC dc, CPoint point);
    // The image's non-white pixels in one colour (an image without alpha; an alpha image is not drawn).
    void DrawMono(HDC dc, CPoint point, const CWVPImageManagerIconImage& image, CSize size, COLORREF color);

    // Height, schema and the images as device-independent bitmaps.
    void Serialize(CArchive& ar) override;

    void CreateFadedIcon();
    void CreateShadowIcon();
    // Colour mode with both colours, gamma mode when either is -1.
    void CreateDisabledIcon(COLORREF light = (COLORREF)-1, COLORREF dark = (COLORREF)-1);

    BOOL m_bDrawComposited;

  private:
    void SetStateImage(int slot, const CWVPImageManagerIconImage& image);

    UINT m_id;
    int m_width;
    int m_height;
    CWVPImageManagerIconImage* m_images[ImageCount];
    CWVPImageManagerIconSet* m_pSet;
};

class CWVPImageManagerIconSet : public CCmdTarget
{
  public:
    CWVPImageManagerIconSet(CWVPImageManager* manager, UINT id);
    ~CWVPImageManagerIconSet() override;

    // Width 0: the smallest icon; 1: the largest; else that width, or with nearest allowed the
    // closest one (the first found on equal distance).
    CWVPImageManagerIcon* GetIcon(int width, BOOL allowNearest = TRUE);
    CWVPImageManagerIcon* GetOrCreateIcon(int width);
    void RemoveAll();
    void RefreshAll();
    CWVPImageManager* GetManager() const
    {
        return m_pManager;
    }
    UINT GetId() const
    {
        return m_id;
    }

    // The icons by ascending width.
    const std::map<int, CWVPImageManagerIcon*>& GetIcons() const
    {
        return m_icons;
    }
    // Puts an icon under the width, releasing one held there before.
    void SetIconAt(int width, CWVPImageManagerIcon* icon);

  private:
    UINT m_id;
    CWVPImageManager* m_pManager;
    std::map<int, CWVPImageManagerIcon*> m_icons;
};
