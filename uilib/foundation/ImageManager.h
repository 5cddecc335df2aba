// The library's image work: bitmaps loaded from resources and files with detection of a per-pixel
// alpha channel (PNG and BMP through the one validated readers), 32-bit DIBs and their pixels,
// premultiplication, mirroring and splitting, icon sizes and scaling, and transparent and
// alpha-blended copies with emulations where the system functions are missing or unreliable.
// The image manager's icon store, the skin images and the command-bar themes build on these.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/DC.h"
#include "platform/mfc/Rect.h"

// The 8-byte header of an RT_TOOLBAR resource; the command ids follow it.
struct WVP_TOOLBAR_RESOURCE
{
    WORD version;
    WORD width;
    WORD height;
    WORD count;
};

// The command ids behind a tool-bar resource's header.
const WORD* WVPToolBarResourceItems(const WVP_TOOLBAR_RESOURCE* header);

class CWVPImageManagerIcon;
class CWVPImageManagerIconImage;
class CWVPPropExchange;
class CArchive;
class CWVPImageManagerIconSet;
class CWVPImageManagerResource;

class CWVPImageManager : public CCmdTarget
{
  public:
    CWVPImageManager();
    ~CWVPImageManager() override;

    // Mirroring of drawn images: never, always, or when the device context is right-to-left.
    enum
    {
        DrawRevertedNever = 0,
        DrawRevertedAlways = 1,
        DrawRevertedRightToLeft = 2,
    };

    COLORREF SetMaskColor(COLORREF color);
    COLORREF GetMaskColor() const
    {
        return m_clrMask;
    }
    BOOL IsDrawReverted(HDC dc) const;
    void SetDrawReverted(int mode)
    {
        m_nDrawReverted = mode;
    }
    // Whether images are stored in the shared pools (on from construction).
    void SetUseResources(BOOL use)
    {
        m_bUseResources = use;
    }
    BOOL IsUseResources() const
    {
        return m_bUseResources;
    }

    BOOL SetIcon(const CWVPImageManagerIconImage& image, UINT id, int width = 0, int height = 0, int state = 0);
    BOOL SetIconFromResource(LPCWSTR name, UINT id, int width, int height, int state = 0);
    // Every icon of an icon-group resource (every size when size is 0) under the id.
    BOOL SetIconsFromGroupIconResource(LPCWSTR name, UINT id, int size, int state = 0);
    BOOL SetIconsFromImageList(HIMAGELIST list, const UINT* ids, int count, int width, int height, int state = 0);
    BOOL SetIconsFromBitmap(HBITMAP bitmap, const UINT* ids, int count, int width, int height, int state, BOOL alpha);
    BOOL SetIconsFromBitmap(HBITMAP bitmap, const UINT* ids, int count, CSize size, int state, BOOL alpha);
    BOOL SetIconsFromBitmapResource(LPCWSTR name, const UINT* ids, int count, int width, int height, int state = 0);
    BOOL SetIcons(UINT bitmapId, const UINT* ids, int count, CSize size, int state = 0);
    BOOL LoadToolbar(UINT toolBarId, UINT bitmapId, int state = 0);
    BOOL LoadToolbar(UINT id, int state = 0);
    CWVPImageManagerIcon* GetImage(UINT id, int width);
    BOOL Lookup(UINT id, int width);
    CWVPImageManagerIconSet* GetIconSet(UINT id);
    void RemoveAll();
    void RefreshAll();
    // The pool of images of that size, created on first request.
    CWVPImageManagerResource* GetResource(CSize extent);

    // Alpha states of PremultiplyAlphaBitmap: not yet decided, and any alpha byte counts.
    enum
    {
        AlphaUndecided = 0,
        AlphaUsed = 1,
        AlphaAny = -1,
    };

    static HBITMAP LoadBitmapResource(HMODULE module, LPCWSTR name, BOOL* alpha);
    static HBITMAP LoadBitmapResourceDefault(LPCWSTR name, BOOL* alpha);
    static HBITMAP LoadBitmapFile(LPCWSTR path, BOOL* alpha);
    static HBITMAP LoadAlphaBitmapResource(HMODULE module, LPCWSTR name);
    static BOOL IsPngResource(HMODULE module, LPCWSTR name);
    static BOOL IsPngFile(LPCWSTR path);
    static BOOL IsAlphaBitmapResource(HMODULE module, LPCWSTR name);
    static BOOL IsAlphaBitmapFile(LPCWSTR path);

    // A bottom-up 32-bit DIB section; bits receives its pixels when given.
    static HBITMAP CreateDIBSection32(HDC dc, int width, int height, void** bits);
    // The pixels of a 32-bit bitmap, bottom-up rows of width * 4 bytes; false for other depths.
    static BOOL GetBitmapBits32(HBITMAP bitmap, BITMAPINFOHEADER& header, std::vector<BYTE>& pixels);
    static HBITMAP CopyAlphaBitmap(HBITMAP bitmap, void** bits = nullptr);
    static HBITMAP MirrorBitmap(HBITMAP bitmap);
    // A premultiplied copy. With an alpha state, also decides whether the image uses alpha (an
    // image that does not keeps its colour bytes unchanged).
    static HBITMAP PremultiplyAlphaBitmap(HBITMAP bitmap, int* alphaState = nullptr, void** bits = nullptr);
    // Whether 32-bit pixels use alpha: some alpha byte between 1 and 254, or both 0 and 255
    // (in any order); with AlphaAny, any alpha byte above 0.
    static int DetectAlpha(const BYTE* pixels, size_t count, int state);
    static BOOL SplitBitmap(HBITMAP bitmap, int count, std::vector<HBITMAP>& parts);
    static COLORREF GetBitmapPixel(HBITMAP bitmap, int x, int y);
    static CSize GetIconSize(HICON icon);
    static HICON ScaleIcon(HICON icon, int width, int height, int newWidth);
    // The non-zero command ids of the application's RT_TOOLBAR resource, and its image size.
    static BOOL LoadToolBarResource(UINT id, std::vector<UINT>& ids, CSize& size);

    static BOOL TransparentBlt(HDC dest, const CRect& destRect, HDC source, const CRect& sourceRect,
                               COLORREF transparent);
    static BOOL AlphaBlend(HDC dest, const CRect& destRect, HDC source, const CRect& sourceRect);
    // The emulations used where the system functions are missing or unreliable.
    static BOOL MaskedTransparentBlt(HDC dest, const CRect& destRect, HDC source, const CRect& sourceRect,
                                     COLORREF transparent);
    static BOOL EmulateAlphaBlend(HDC dest, const CRect& destRect, HDC source, const CRect& sourceRect);
    static BOOL IsAlphaBlendSupported();
    static BOOL IsComCtl6();

    // Every icon through the property exchange over the archive; loading replaces all icons.
    void Serialize(CArchive& ar) override;
    void DoPropExchange(CWVPPropExchange* pPX);
    // The icons of one command id (storing writes them by ascending width).
    void DoPropExchangeIcons(UINT id, CWVPPropExchange* pPX);

  private:
    std::map<UINT, CWVPImageManagerIconSet*> m_sets;
    std::map<DWORD, CWVPImageManagerResource*> m_resources;
    COLORREF m_clrMask;
    UINT m_nMaxCommand;
    int m_nDrawReverted;
    BOOL m_bUseResources;
};

// The process-wide image manager, created on first use.
CWVPImageManager* WVPImageManager();
