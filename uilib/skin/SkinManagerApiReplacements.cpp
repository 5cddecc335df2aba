// The replacements of the hooked system functions. Each one runs inside whatever module called
// it (Wine's own DLLs among them): it catches every C++ exception, and reaches the real function
// through the hook manager, or the system's own when the hook is gone.
#include "uilib/skin/SkinManagerApiReplacements.h"

#include "uilib/skin/SkinDCGuards.h"
#include "uilib/skin/SkinDrawHelpers.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerApiHook.h"
#include "uilib/skin/SkinManagerSchema.h"
#include "uilib/skin/SkinObject.h"
#include "uilib/skin/SkinObjectFrame.h"
#include "uilib/skin/SkinSchemaNames.h"

#include <new>

extern "C"
{
#include <uxtheme.h>
}

namespace
{

const int kLastSkinColor = COLOR_MENUBAR;
// SPI_GETNONCLIENTMETRICS records: without the padded-border member (500 bytes), and Wine's
// layout of the same record (504 bytes).
const UINT kNonClientMetricsSizes[] = {500, 504};
const UINT kIconTitleLogFontSize = sizeof(LOGFONTW);
// Skin font properties of class SYSMETRICS.
const int kPropCaptionFont = 801;
const int kPropSmallCaptionFont = 802;
const int kPropMenuFont = 803;
const int kPropStatusFont = 804;
const int kPropIconTitleFont = 806;

CWVPSkinManager* LoadedManager()
{
    CWVPSkinManager* manager = WVPActiveSkinManager();
    return manager && manager->IsSkinLoaded() ? manager : nullptr;
}

CWVPSkinObjectFrame* FrameOf(HWND hWnd)
{
    CWVPSkinManager* manager = LoadedManager();
    CWVPSkinObject* object = manager ? manager->Lookup(hWnd) : nullptr;
    return object && object->IsKindOf(RUNTIME_CLASS(CWVPSkinObjectFrame)) ? static_cast<CWVPSkinObjectFrame*>(object)
                                                                          : nullptr;
}

bool IsUxThemeName(LPCSTR lpszName)
{
    return lpszName && ::lstrcmpiA(lpszName, "UxTheme.dll") == 0;
}

// Runs the skin's part of a replacement: TRUE when it answered. The replacements run inside
// whatever module called them, Wine's own libraries among them, where no C++ exception may unwind:
// a throw counts as no answer, and the caller's real function answers instead.
template <class Part> bool SkinPart(Part part)
{
    try
    {
        return part();
    }
    catch (...)
    {
        return false;
    }
}

// --- Libraries and procedures -----------------------------------------------------------------

HMODULE LoadedLibrary(HMODULE hModule, DWORD dwFlags)
{
    SkinPart([&] {
        WVPSkinManagerApiHook()->OnLoadLibrary(hModule, dwFlags);
        return true;
    });
    return hModule;
}

HMODULE WINAPI SkinLoadLibraryA(LPCSTR lpszName)
{
    return LoadedLibrary(WVPSkinOriginal(kApiLoadLibraryA, &::LoadLibraryA)(lpszName), 0);
}

HMODULE WINAPI SkinLoadLibraryW(LPCWSTR lpszName)
{
    return LoadedLibrary(WVPSkinOriginal(kApiLoadLibraryW, &::LoadLibraryW)(lpszName), 0);
}

HMODULE WINAPI SkinLoadLibraryExA(LPCSTR lpszName, HANDLE hFile, DWORD dwFlags)
{
    return LoadedLibrary(WVPSkinOriginal(kApiLoadLibraryExA, &::LoadLibraryExA)(lpszName, hFile, dwFlags), dwFlags);
}

HMODULE WINAPI SkinLoadLibraryExW(LPCWSTR lpszName, HANDLE hFile, DWORD dwFlags)
{
    return LoadedLibrary(WVPSkinOriginal(kApiLoadLibraryExW, &::LoadLibraryExW)(lpszName, hFile, dwFlags), dwFlags);
}

FARPROC WINAPI SkinGetProcAddress(HMODULE hModule, LPCSTR lpszName)
{
    auto real = WVPSkinOriginal(kApiGetProcAddress, &::GetProcAddress);
    if (reinterpret_cast<ULONG_PTR>(lpszName) <= 0xFFFF)
        return real(hModule, lpszName);
    FARPROC replacement = nullptr;
    bool answered = SkinPart([&] {
        CWVPSkinManagerApiHook* hook = WVPSkinManagerApiHook();
        if (hModule == WVP_SKIN_UXTHEME_HANDLE)
        {
            CWVPSkinManagerApiFunction* function = hook->FindHook("UXTHEME.DLL", lpszName);
            replacement = function ? function->GetReplacement() : nullptr;
            return true;
        }
        char path[MAX_PATH] = "";
        if (!::GetModuleFileNameA(hModule, path, MAX_PATH))
            return false;
        LPCSTR baseName = path;
        for (LPCSTR p = path; *p; ++p)
        {
            if (*p == '\\')
                baseName = p + 1;
        }
        // The real visual-style library keeps its real functions.
        CWVPSkinManagerApiFunction* function = IsUxThemeName(baseName) ? nullptr : hook->FindHook(baseName, lpszName);
        replacement = function ? function->GetReplacement() : nullptr;
        return replacement != nullptr;
    });
    return answered ? replacement : real(hModule, lpszName);
}

HMODULE WINAPI SkinGetModuleHandleA(LPCSTR lpszName)
{
    if (SkinPart([&] {
            CWVPSkinManager* manager = WVPActiveSkinManager();
            return IsUxThemeName(lpszName) && manager && (manager->GetApplyOptions() & CWVPSkinManager::kApplyColors);
        }))
        return WVP_SKIN_UXTHEME_HANDLE;
    return WVPSkinOriginal(kApiGetModuleHandleA, &::GetModuleHandleA)(lpszName);
}

// The replacement of a default procedure registered as a class's procedure gives way to the real
// function of its kind.
template <class WNDCLASS_T> void SwapDefProc(WNDCLASS_T& wndClass, const int (&pairs)[4][2])
{
    CWVPSkinManagerApiHook* hook = WVPSkinManagerApiHook();
    for (const auto& pair : pairs)
    {
        if (reinterpret_cast<FARPROC>(wndClass.lpfnWndProc) == WVPSkinApiReplacement(pair[0]).pfnReplacement)
        {
            FARPROC real = hook->GetOriginalFunction(pair[0]);
            if (real)
                wndClass.lpfnWndProc = reinterpret_cast<WNDPROC>(real);
            return;
        }
    }
}

const int kDefProcsA[4][2] = {
    {kApiDefWindowProcA, 0}, {kApiDefFrameProcA, 0}, {kApiDefMDIChildProcA, 0}, {kApiDefDlgProcA, 0}};
const int kDefProcsW[4][2] = {
    {kApiDefWindowProcW, 0}, {kApiDefFrameProcW, 0}, {kApiDefMDIChildProcW, 0}, {kApiDefDlgProcW, 0}};

template <class WNDCLASS_T, class R>
ATOM RegisterSwapped(int nIndex, R pfnSystem, const WNDCLASS_T* lpWndClass, const int (&pairs)[4][2])
{
    WNDCLASS_T copy = {};
    bool swapped = lpWndClass && SkinPart([&] {
                       copy = *lpWndClass;
                       SwapDefProc(copy, pairs);
                       return true;
                   });
    return WVPSkinOriginal(nIndex, pfnSystem)(swapped ? &copy : lpWndClass);
}

ATOM WINAPI SkinRegisterClassA(const WNDCLASSA* lpWndClass)
{
    return RegisterSwapped(kApiRegisterClassA, &::RegisterClassA, lpWndClass, kDefProcsA);
}

ATOM WINAPI SkinRegisterClassW(const WNDCLASSW* lpWndClass)
{
    return RegisterSwapped(kApiRegisterClassW, &::RegisterClassW, lpWndClass, kDefProcsW);
}

// A thread started while skinned gets the creation hook before its own routine runs.
struct ThreadStart
{
    LPTHREAD_START_ROUTINE pfnRoutine;
    LPVOID lpParameter;
};

DWORD WINAPI SkinThreadStub(LPVOID lpParameter)
{
    ThreadStart start = *static_cast<ThreadStart*>(lpParameter);
    delete static_cast<ThreadStart*>(lpParameter);
    SkinPart([] {
        if (CWVPSkinManager* manager = WVPActiveSkinManager())
            manager->InstallThreadHook();
        return true;
    });
    return start.pfnRoutine(start.lpParameter);
}

HANDLE WINAPI SkinCreateThread(LPSECURITY_ATTRIBUTES lpAttributes, SIZE_T dwStackSize,
                               LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter, DWORD dwCreationFlags,
                               LPDWORD lpThreadId)
{
    auto real = WVPSkinOriginal(kApiCreateThread, &::CreateThread);
    ThreadStart* start = nullptr;
    SkinPart([&] {
        CWVPSkinManager* manager = LoadedManager();
        if (manager && manager->IsApplyToNewThreads() && lpStartAddress)
            start = new ThreadStart{lpStartAddress, lpParameter};
        return start != nullptr;
    });
    if (!start)
        return real(lpAttributes, dwStackSize, lpStartAddress, lpParameter, dwCreationFlags, lpThreadId);
    HANDLE thread = real(lpAttributes, dwStackSize, &SkinThreadStub, start, dwCreationFlags, lpThreadId);
    if (!thread)
        delete start;
    return thread;
}

// --- Colours, brushes and drawing ------------------------------------------------------------

DWORD WINAPI SkinGetSysColor(int nIndex)
{
    COLORREF color = CLR_INVALID;
    if (SkinPart([&] {
            CWVPSkinManager* manager = LoadedManager();
            if (manager && nIndex >= 0 && nIndex <= kLastSkinColor)
                color = manager->GetMetrics()->GetColor(nIndex);
            return color != CLR_INVALID;
        }))
        return color;
    return WVPSkinOriginal(kApiGetSysColor, &::GetSysColor)(nIndex);
}

HBRUSH WINAPI SkinGetSysColorBrush(int nIndex)
{
    HBRUSH brush = nullptr;
    if (SkinPart([&] {
            CWVPSkinManager* manager = LoadedManager();
            if (manager && nIndex > 0 && nIndex <= kLastSkinColor)
                brush = manager->GetMetrics()->GetBrush(nIndex);
            return brush != nullptr;
        }))
        return brush;
    return WVPSkinOriginal(kApiGetSysColorBrush, &::GetSysColorBrush)(nIndex);
}

BOOL WINAPI SkinDrawEdge(HDC hDC, LPRECT lpRect, UINT nEdge, UINT nFlags)
{
    return SkinPart([&] { return WVPSkinDrawEdge(hDC, lpRect, nEdge, nFlags) != FALSE; });
}

BOOL WINAPI SkinDrawFrameControl(HDC hDC, LPRECT lpRect, UINT nType, UINT nState)
{
    if (SkinPart([&] { return WVPSkinDrawFrameControl(hDC, lpRect, nType, nState) != FALSE; }))
        return TRUE;
    return WVPSkinOriginal(kApiDrawFrameControl, &::DrawFrameControl)(hDC, lpRect, nType, nState);
}

int WINAPI SkinFillRect(HDC hDC, const RECT* lpRect, HBRUSH hBrush)
{
    SkinPart([&] {
        ULONG_PTR value = reinterpret_cast<ULONG_PTR>(hBrush);
        CWVPSkinManager* manager = LoadedManager();
        HBRUSH brush = manager && value >= 1 && value <= ULONG_PTR(kLastSkinColor)
                           ? manager->GetMetrics()->GetBrush(int(value - 1))
                           : nullptr;
        if (brush)
            hBrush = brush;
        return brush != nullptr;
    });
    return WVPSkinOriginal(kApiFillRect, &::FillRect)(hDC, lpRect, hBrush);
}

BOOL WINAPI SkinDeleteObject(HGDIOBJ hObject)
{
    // The skin's own brushes are not the caller's to delete.
    if (SkinPart([&] {
            CWVPSkinManager* manager = WVPActiveSkinManager();
            return manager && hObject && manager->GetMetrics()->IsMetricObject(hObject);
        }))
        return FALSE;
    return WVPSkinOriginal(kApiDeleteObject, &::DeleteObject)(hObject);
}

// --- Scroll bars --------------------------------------------------------------------------------

int WINAPI SkinSetScrollInfo(HWND hWnd, int nBar, LPCSCROLLINFO lpsi, BOOL bRedraw)
{
    auto real = WVPSkinOriginal(kApiSetScrollInfo, &::SetScrollInfo);
    CWVPSkinObjectFrame* frame = nullptr;
    SkinPart([&] {
        frame = nBar != SB_CTL && bRedraw ? FrameOf(hWnd) : nullptr;
        return frame != nullptr;
    });
    if (!frame)
        return real(hWnd, nBar, lpsi, bRedraw);
    int result = real(hWnd, nBar, lpsi, FALSE);
    SkinPart([&] {
        frame->RedrawScrollBarIndex(nBar == SB_VERT ? 1 : 0);
        return true;
    });
    return result;
}

int WINAPI SkinSetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw)
{
    auto real = WVPSkinOriginal(kApiSetScrollPos, &::SetScrollPos);
    bool skinned = SkinPart([&] {
        CWVPSkinManager* manager = LoadedManager();
        return manager && manager->Lookup(hWnd);
    });
    if (!skinned)
        return real(hWnd, nBar, nPos, bRedraw);
    int previous = real(hWnd, nBar, nPos, FALSE);
    if (bRedraw)
        SkinPart([&] {
            if (nBar == SB_CTL)
                ::InvalidateRect(hWnd, nullptr, FALSE);
            else if (CWVPSkinObjectFrame* frame = FrameOf(hWnd))
                frame->RedrawScrollBarIndex(nBar == SB_VERT ? 1 : 0);
            return true;
        });
    return previous;
}

BOOL WINAPI SkinGetScrollInfo(HWND hWnd, int nBar, LPSCROLLINFO lpsi)
{
    BOOL result = WVPSkinOriginal(kApiGetScrollInfo, &::GetScrollInfo)(hWnd, nBar, lpsi);
    SkinPart([&] {
        int trackPos = 0;
        CWVPSkinObjectFrame* frame = result && lpsi && (lpsi->fMask & SIF_TRACKPOS) ? FrameOf(hWnd) : nullptr;
        if (frame && frame->GetTrackPos(nBar, trackPos))
            lpsi->nTrackPos = trackPos;
        return true;
    });
    return result;
}

BOOL WINAPI SkinEnableScrollBar(HWND hWnd, UINT nBar, UINT nArrows)
{
    BOOL result = WVPSkinOriginal(kApiEnableScrollBar, &::EnableScrollBar)(hWnd, nBar, nArrows);
    SkinPart([&] {
        if (CWVPSkinObjectFrame* frame = FrameOf(hWnd))
        {
            if (nBar == SB_HORZ || nBar == SB_BOTH)
                frame->RedrawScrollBarIndex(0);
            if (nBar == SB_VERT || nBar == SB_BOTH)
                frame->RedrawScrollBarIndex(1);
        }
        return true;
    });
    return result;
}

// --- Metrics --------------------------------------------------------------------------------------

void ReplaceFont(CWVPSkinManager* manager, int nPropertyId, LOGFONTW& font)
{
    LOGFONTW skinFont;
    if (manager->GetSchema() &&
        SUCCEEDED(manager->GetSchema()->GetFontProperty(kSkinClassSysMetrics, 0, 0, nPropertyId, skinFont)))
        font = skinFont;
}

BOOL WINAPI SkinSystemParametersInfoW(UINT nAction, UINT nParam, PVOID pvParam, UINT nWinIni)
{
    BOOL result =
        WVPSkinOriginal(kApiSystemParametersInfoW, &::SystemParametersInfoW)(nAction, nParam, pvParam, nWinIni);
    SkinPart([&] {
        CWVPSkinManager* manager = LoadedManager();
        if (!manager || !pvParam)
            return false;
        if (nAction == SPI_GETICONTITLELOGFONT && nParam == kIconTitleLogFontSize)
            ReplaceFont(manager, kPropIconTitleFont, *static_cast<LOGFONTW*>(pvParam));
        bool ncmSize = nParam == kNonClientMetricsSizes[0] || nParam == kNonClientMetricsSizes[1];
        if (nAction == SPI_GETNONCLIENTMETRICS && ncmSize)
        {
            NONCLIENTMETRICSW* ncm = static_cast<NONCLIENTMETRICSW*>(pvParam);
            ReplaceFont(manager, kPropMenuFont, ncm->lfMenuFont);
            ReplaceFont(manager, kPropStatusFont, ncm->lfStatusFont);
            ReplaceFont(manager, kPropCaptionFont, ncm->lfCaptionFont);
        }
        return true;
    });
    return result;
}

BOOL WINAPI SkinAdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle)
{
    // Decided before the real function runs, so that it runs once whatever happens in the skin.
    RECT borders = {};
    int captionGrowth = 0;
    bool skinFrame = false;
    SkinPart([&] {
        CWVPSkinManager* manager = LoadedManager();
        if (!manager || !(manager->GetApplyOptions() & CWVPSkinManager::kApplyMetrics) || !lpRect)
            return false;
        if (!bMenu && (dwStyle & WS_THICKFRAME) &&
            ((dwStyle & WS_CHILD) || (dwStyle & (WS_CAPTION | WS_MAXIMIZE)) != (WS_CAPTION | WS_MAXIMIZE)) &&
            manager->GetSchema())
        {
            borders = manager->GetSchema()->CalcFrameBorders(dwStyle, dwExStyle);
            skinFrame = true;
        }
        else if ((dwStyle & WS_CAPTION) == WS_CAPTION)
        {
            const CWVPSkinManagerMetrics* m = manager->GetMetrics();
            bool tool = (dwExStyle & WS_EX_TOOLWINDOW) != 0;
            captionGrowth = tool ? m->m_cySmallCaption - m->m_cyOsSmallCaption : m->m_cyCaption - m->m_cyOsCaption;
        }
        return true;
    });
    if (skinFrame)
    {
        lpRect->left -= borders.left;
        lpRect->top -= borders.top;
        lpRect->right += borders.right;
        lpRect->bottom += borders.bottom;
        return TRUE;
    }
    BOOL result = WVPSkinOriginal(kApiAdjustWindowRectEx, &::AdjustWindowRectEx)(lpRect, dwStyle, bMenu, dwExStyle);
    if (result && lpRect)
        lpRect->top -= captionGrowth;
    return result;
}

// --- Default procedures ---------------------------------------------------------------------------

template <class R>
LRESULT RouteDefProc(int nIndex, R pfnSystem, int nKind, HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    R real = WVPSkinOriginal(nIndex, pfnSystem);
    LRESULT result = 0;
    if (SkinPart([&] {
            return CWVPSkinObject::OnHookDefProc(hWnd, reinterpret_cast<FARPROC>(real), nKind, nullptr, nMessage,
                                                 wParam, lParam, result) != FALSE;
        }))
        return result;
    return real(hWnd, nMessage, wParam, lParam);
}

LRESULT WINAPI SkinDefWindowProcA(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return RouteDefProc(kApiDefWindowProcA, &::DefWindowProcA, CWVPSkinObject::kDefProcDefWindowProc, hWnd, nMessage,
                        wParam, lParam);
}

LRESULT WINAPI SkinDefWindowProcW(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return RouteDefProc(kApiDefWindowProcW, &::DefWindowProcW, CWVPSkinObject::kDefProcDefWindowProc, hWnd, nMessage,
                        wParam, lParam);
}

LRESULT WINAPI SkinDefMDIChildProcA(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return RouteDefProc(kApiDefMDIChildProcA, &::DefMDIChildProcA, CWVPSkinObject::kDefProcDefMDIChildProc, hWnd,
                        nMessage, wParam, lParam);
}

LRESULT WINAPI SkinDefMDIChildProcW(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return RouteDefProc(kApiDefMDIChildProcW, &::DefMDIChildProcW, CWVPSkinObject::kDefProcDefMDIChildProc, hWnd,
                        nMessage, wParam, lParam);
}

LRESULT WINAPI SkinDefDlgProcA(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return RouteDefProc(kApiDefDlgProcA, &::DefDlgProcA, CWVPSkinObject::kDefProcDefDlgProc, hWnd, nMessage, wParam,
                        lParam);
}

LRESULT WINAPI SkinDefDlgProcW(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return RouteDefProc(kApiDefDlgProcW, &::DefDlgProcW, CWVPSkinObject::kDefProcDefDlgProc, hWnd, nMessage, wParam,
                        lParam);
}

template <class R>
LRESULT RouteFrameProc(int nIndex, R pfnSystem, HWND hWnd, HWND hWndMDIClient, UINT nMessage, WPARAM wParam,
                       LPARAM lParam)
{
    R real = WVPSkinOriginal(nIndex, pfnSystem);
    LRESULT result = 0;
    if (SkinPart([&] {
            return CWVPSkinObject::OnHookDefProc(hWnd, reinterpret_cast<FARPROC>(real),
                                                 CWVPSkinObject::kDefProcDefFrameProc, hWndMDIClient, nMessage, wParam,
                                                 lParam, result) != FALSE;
        }))
        return result;
    return real(hWnd, hWndMDIClient, nMessage, wParam, lParam);
}

LRESULT WINAPI SkinDefFrameProcA(HWND hWnd, HWND hWndMDIClient, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return RouteFrameProc(kApiDefFrameProcA, &::DefFrameProcA, hWnd, hWndMDIClient, nMessage, wParam, lParam);
}

LRESULT WINAPI SkinDefFrameProcW(HWND hWnd, HWND hWndMDIClient, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return RouteFrameProc(kApiDefFrameProcW, &::DefFrameProcW, hWnd, hWndMDIClient, nMessage, wParam, lParam);
}

template <class R>
LRESULT RouteCallWindowProc(int nIndex, R pfnSystem, WNDPROC pfnPrev, HWND hWnd, UINT nMessage, WPARAM wParam,
                            LPARAM lParam)
{
    R real = WVPSkinOriginal(nIndex, pfnSystem);
    LRESULT result = 0;
    if (pfnPrev && SkinPart([&] {
            return CWVPSkinObject::OnHookDefProc(
                       hWnd, reinterpret_cast<FARPROC>(real), CWVPSkinObject::kDefProcCallWindowProc,
                       reinterpret_cast<LPVOID>(pfnPrev), nMessage, wParam, lParam, result) != FALSE;
        }))
        return result;
    return real(pfnPrev, hWnd, nMessage, wParam, lParam);
}

LRESULT WINAPI SkinCallWindowProcA(WNDPROC pfnPrev, HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return RouteCallWindowProc(kApiCallWindowProcA, &::CallWindowProcA, pfnPrev, hWnd, nMessage, wParam, lParam);
}

LRESULT WINAPI SkinCallWindowProcW(WNDPROC pfnPrev, HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return RouteCallWindowProc(kApiCallWindowProcW, &::CallWindowProcW, pfnPrev, hWnd, nMessage, wParam, lParam);
}

// --- Visual styles --------------------------------------------------------------------------------

CWVPSkinManagerClass* ThemeClass(HTHEME hTheme)
{
    CWVPSkinManager* manager = WVPActiveSkinManager();
    return manager && hTheme ? manager->FromHandle(hTheme) : nullptr;
}

HTHEME WINAPI SkinOpenThemeData(HWND, LPCWSTR lpszClassList)
{
    HTHEME theme = nullptr;
    SkinPart([&] {
        CWVPSkinManager* manager = LoadedManager();
        theme = manager ? reinterpret_cast<HTHEME>(manager->GetSkinClass(lpszClassList)) : nullptr;
        return true;
    });
    return theme;
}

HRESULT WINAPI SkinDrawThemeBackground(HTHEME hTheme, HDC hDC, int nPartId, int nStateId, const RECT* pRect,
                                       const RECT* pClipRect)
{
    bool drawn = SkinPart([&] {
        CWVPSkinManagerClass* skinClass = ThemeClass(hTheme);
        CWVPSkinManager* manager = WVPActiveSkinManager();
        if (!skinClass || !pRect || !manager->GetSchema())
            return false;
        bool clipped = pClipRect && !::EqualRect(pClipRect, pRect);
        if (!clipped)
            return manager->GetSchema()->DrawThemeBackground(hDC, skinClass, nPartId, nStateId, pRect) != FALSE;
        CWVPSkinSavedDC saved(hDC);
        ::IntersectClipRect(hDC, pClipRect->left, pClipRect->top, pClipRect->right, pClipRect->bottom);
        return manager->GetSchema()->DrawThemeBackground(hDC, skinClass, nPartId, nStateId, pRect) != FALSE;
    });
    return drawn ? S_OK : E_FAIL;
}

HRESULT WINAPI SkinCloseThemeData(HTHEME)
{
    return S_OK;
}

HRESULT WINAPI SkinGetThemeColor(HTHEME hTheme, int nPartId, int nStateId, int nPropId, COLORREF* pColor)
{
    bool found = SkinPart([&] {
        CWVPSkinManagerClass* skinClass = ThemeClass(hTheme);
        COLORREF color =
            skinClass && pColor ? skinClass->GetThemeColor(nPartId, nStateId, nPropId, CLR_INVALID) : CLR_INVALID;
        if (color == CLR_INVALID)
            return false;
        *pColor = color;
        return true;
    });
    return found ? S_OK : E_FAIL;
}

BOOL WINAPI SkinIsAppThemed()
{
    return TRUE;
}

BOOL WINAPI SkinIsThemeActive()
{
    return TRUE;
}

// The colour-scheme name visual-style clients expect of the skin's INI name.
struct SchemeName
{
    LPCWSTR lpszContains;
    LPCWSTR lpszScheme;
};
const SchemeName kSchemeNames[] = {{L"METALLIC", L"metallic"}, {L"BLUE", L"normalcolor"}, {L"HOMESTEAD", L"homestead"}};

bool ContainsAfterFirst(const CString& text, LPCWSTR lpszPart)
{
    int found = text.Find(lpszPart, 1);
    return found > 0;
}

HRESULT WINAPI SkinGetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                                       int cchMaxColorChars, LPWSTR, int)
{
    bool answered = SkinPart([&] {
        CWVPSkinManager* manager = WVPActiveSkinManager();
        CWVPSkinManagerResourceFile* file = manager ? manager->GetResourceFile() : nullptr;
        if (!file)
            return false;
        CString path = file->GetResourcePath();
        if (pszThemeFileName && path.GetLength() < cchMaxNameChars)
            ::lstrcpynW(pszThemeFileName, path, cchMaxNameChars);
        CString color = file->GetIniFileName();
        color.MakeUpper();
        for (const SchemeName& scheme : kSchemeNames)
        {
            if (ContainsAfterFirst(color, scheme.lpszContains))
                color = scheme.lpszScheme;
        }
        if (pszColorBuff && color.GetLength() < cchMaxColorChars)
            ::lstrcpynW(pszColorBuff, color, cchMaxColorChars);
        return true;
    });
    return answered ? S_OK : E_FAIL;
}

BOOL WINAPI SkinGetThemeSysBool(HTHEME, int nBoolId)
{
    return SkinPart([&] {
        CWVPSkinManager* manager = WVPActiveSkinManager();
        return manager && manager->GetThemeSysBool(nBoolId);
    });
}

COLORREF WINAPI SkinGetThemeSysColor(HTHEME, int nColorId)
{
    COLORREF color = CLR_INVALID;
    SkinPart([&] {
        CWVPSkinManager* manager = WVPActiveSkinManager();
        color = manager ? manager->GetThemeSysColor(nColorId) : CLR_INVALID;
        return true;
    });
    return color;
}

HRESULT WINAPI SkinGetThemePartSize(HTHEME hTheme, HDC, int nPartId, int nStateId, LPCRECT pRect, int eSize,
                                    SIZE* pSize)
{
    bool answered = SkinPart([&] {
        CWVPSkinManagerClass* skinClass = ThemeClass(hTheme);
        return skinClass && pSize && skinClass->GetThemePartSize(nPartId, nStateId, pRect, eSize, *pSize);
    });
    return answered ? S_OK : E_FAIL;
}

#define RW_SKIN_API(index, dll, name, option)                                                                          \
    {                                                                                                                  \
        index, dll, #name, option, reinterpret_cast<FARPROC>(&Skin##name)                                              \
    }

const DWORD kAlways = 0;
const DWORD kColors = CWVPSkinManager::kApplyColors;
const DWORD kScroll = CWVPSkinManager::kApplyScrollBars;
const DWORD kMetrics = CWVPSkinManager::kApplyMetrics;

// Indexed by WVPSkinApiIndex.
const WVP_SKIN_API_REPLACEMENT kReplacements[kApiCount] = {
    RW_SKIN_API(kApiLoadLibraryA, "KERNEL32.DLL", LoadLibraryA, kAlways),
    RW_SKIN_API(kApiLoadLibraryW, "KERNEL32.DLL", LoadLibraryW, kAlways),
    RW_SKIN_API(kApiLoadLibraryExA, "KERNEL32.DLL", LoadLibraryExA, kAlways),
    RW_SKIN_API(kApiLoadLibraryExW, "KERNEL32.DLL", LoadLibraryExW, kAlways),
    RW_SKIN_API(kApiGetProcAddress, "KERNEL32.DLL", GetProcAddress, kAlways),
    RW_SKIN_API(kApiGetModuleHandleA, "KERNEL32.DLL", GetModuleHandleA, kAlways),
    RW_SKIN_API(kApiRegisterClassA, "USER32.DLL", RegisterClassA, kAlways),
    RW_SKIN_API(kApiRegisterClassW, "USER32.DLL", RegisterClassW, kAlways),
    RW_SKIN_API(kApiGetSysColor, "USER32.DLL", GetSysColor, kColors),
    RW_SKIN_API(kApiGetSysColorBrush, "USER32.DLL", GetSysColorBrush, kColors),
    RW_SKIN_API(kApiDrawEdge, "USER32.DLL", DrawEdge, kColors),
    RW_SKIN_API(kApiDrawFrameControl, "USER32.DLL", DrawFrameControl, kColors),
    RW_SKIN_API(kApiSetScrollInfo, "USER32.DLL", SetScrollInfo, kScroll),
    RW_SKIN_API(kApiSetScrollPos, "USER32.DLL", SetScrollPos, kScroll),
    RW_SKIN_API(kApiGetScrollInfo, "USER32.DLL", GetScrollInfo, kScroll),
    RW_SKIN_API(kApiEnableScrollBar, "USER32.DLL", EnableScrollBar, kScroll),
    RW_SKIN_API(kApiOpenThemeData, "UXTHEME.DLL", OpenThemeData, kColors),
    RW_SKIN_API(kApiDrawThemeBackground, "UXTHEME.DLL", DrawThemeBackground, kColors),
    RW_SKIN_API(kApiCloseThemeData, "UXTHEME.DLL", CloseThemeData, kColors),
    RW_SKIN_API(kApiGetThemeColor, "UXTHEME.DLL", GetThemeColor, kColors),
    RW_SKIN_API(kApiIsAppThemed, "UXTHEME.DLL", IsAppThemed, kColors),
    RW_SKIN_API(kApiIsThemeActive, "UXTHEME.DLL", IsThemeActive, kColors),
    RW_SKIN_API(kApiGetCurrentThemeName, "UXTHEME.DLL", GetCurrentThemeName, kColors),
    RW_SKIN_API(kApiGetThemeSysBool, "UXTHEME.DLL", GetThemeSysBool, kColors),
    RW_SKIN_API(kApiGetThemeSysColor, "UXTHEME.DLL", GetThemeSysColor, kColors),
    RW_SKIN_API(kApiGetThemePartSize, "UXTHEME.DLL", GetThemePartSize, kColors),
    RW_SKIN_API(kApiSystemParametersInfoW, "USER32.DLL", SystemParametersInfoW, kMetrics),
    RW_SKIN_API(kApiDefWindowProcA, "USER32.DLL", DefWindowProcA, kAlways),
    RW_SKIN_API(kApiDefWindowProcW, "USER32.DLL", DefWindowProcW, kAlways),
    RW_SKIN_API(kApiDefMDIChildProcA, "USER32.DLL", DefMDIChildProcA, kAlways),
    RW_SKIN_API(kApiDefMDIChildProcW, "USER32.DLL", DefMDIChildProcW, kAlways),
    RW_SKIN_API(kApiDefFrameProcA, "USER32.DLL", DefFrameProcA, kAlways),
    RW_SKIN_API(kApiDefFrameProcW, "USER32.DLL", DefFrameProcW, kAlways),
    RW_SKIN_API(kApiDefDlgProcA, "USER32.DLL", DefDlgProcA, kAlways),
    RW_SKIN_API(kApiDefDlgProcW, "USER32.DLL", DefDlgProcW, kAlways),
    RW_SKIN_API(kApiCallWindowProcA, "USER32.DLL", CallWindowProcA, kAlways),
    RW_SKIN_API(kApiCallWindowProcW, "USER32.DLL", CallWindowProcW, kAlways),
    RW_SKIN_API(kApiCreateThread, "KERNEL32.DLL", CreateThread, kAlways),
    RW_SKIN_API(kApiFillRect, "USER32.DLL", FillRect, kColors),
    RW_SKIN_API(kApiDeleteObject, "GDI32.DLL", DeleteObject, kColors),
    RW_SKIN_API(kApiAdjustWindowRectEx, "USER32.DLL", AdjustWindowRectEx, kMetrics),
};

} // namespace

const WVP_SKIN_API_REPLACEMENT& WVPSkinApiReplacement(int nIndex)
{
    return kReplacements[nIndex];
}
