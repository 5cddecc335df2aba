#include "uilib/foundation/WinThemeWrapper.h"

#include <wine/exception.h>

#include "uilib/foundation/ModuleHandle.h"

namespace
{
// Entry points of a shared table, in the order of kThemeFunctionNames.
enum ThemeFunction
{
    FnOpenThemeData,
    FnCloseThemeData,
    FnDrawThemeBackground,
    FnDrawThemeTextEx,
    FnGetThemeColor,
    FnGetThemeInt,
    FnGetThemePartSize,
    FnGetThemeSysBool,
    FnIsAppThemed,
    FnIsThemeActive,
    FnGetCurrentThemeName,
    FnBeginBufferedPaint,
    FnEndBufferedPaint,
    FnThemeFunctionCount
};
const char* const kThemeFunctionNames[FnThemeFunctionCount] = {
    "OpenThemeData",       "CloseThemeData",     "DrawThemeBackground", "DrawThemeTextEx", "GetThemeColor",
    "GetThemeInt",         "GetThemePartSize",   "GetThemeSysBool",     "IsAppThemed",     "IsThemeActive",
    "GetCurrentThemeName", "BeginBufferedPaint", "EndBufferedPaint"};

enum CompositionFunction
{
    FnDwmDefWindowProc,
    FnDwmExtendFrameIntoClientArea,
    FnCompositionFunctionCount
};
const char* const kCompositionFunctionNames[FnCompositionFunctionCount] = {"DwmDefWindowProc",
                                                                           "DwmExtendFrameIntoClientArea"};

const WCHAR kThemeModuleName[] = L"UXTHEME.DLL";
const char kThemeModuleNameA[] = "UXTHEME.DLL";
const WCHAR kCompositionModuleName[] = L"dwmapi.dll";
const DWORD kComCtlVersion6 = 0x60000;

typedef HTHEME(WINAPI* OpenThemeDataProc)(HWND, LPCWSTR);
typedef HRESULT(WINAPI* CloseThemeDataProc)(HTHEME);
typedef HRESULT(WINAPI* DrawThemeBackgroundProc)(HTHEME, HDC, int, int, const RECT*, const RECT*);
typedef HRESULT(WINAPI* DrawThemeTextExProc)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, RECT*, const DTTOPTS*);
typedef HRESULT(WINAPI* GetThemeColorProc)(HTHEME, int, int, int, COLORREF*);
typedef HRESULT(WINAPI* GetThemeIntProc)(HTHEME, int, int, int, int*);
typedef HRESULT(WINAPI* GetThemePartSizeProc)(HTHEME, HDC, int, int, RECT*, THEMESIZE, SIZE*);
typedef BOOL(WINAPI* GetThemeSysBoolProc)(HTHEME, int);
typedef BOOL(WINAPI* NoArgumentBoolProc)();
typedef HRESULT(WINAPI* GetCurrentThemeNameProc)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
typedef HPAINTBUFFER(WINAPI* BeginBufferedPaintProc)(HDC, const RECT*, BP_BUFFERFORMAT, BP_PAINTPARAMS*, HDC*);
typedef HRESULT(WINAPI* EndBufferedPaintProc)(HPAINTBUFFER, BOOL);
typedef HRESULT(WINAPI* DwmDefWindowProcProc)(HWND, UINT, WPARAM, LPARAM, LRESULT*);
typedef HRESULT(WINAPI* DwmExtendFrameProc)(HWND, const MARGINS*);

int IndexOf(const char* const* names, int count, LPCSTR name)
{
    for (int i = 0; i < count; ++i)
        if (lstrcmpA(names[i], name) == 0)
            return i;
    return -1;
}
} // namespace

// One process-wide table of bound entry points; never freed, nor is the module it loaded.
struct CWVPWinThemeWrapper::SharedTable
{
    bool created;
    HMODULE module;
    DWORD comCtlVersion;
    FARPROC slots[FnThemeFunctionCount];

    void Create()
    {
        if (created)
            return;
        for (FARPROC& slot : slots)
            slot = nullptr;
        module = ::LoadLibraryW(kThemeModuleName);
        comCtlVersion = WVPGetComCtlVersion();
        created = true;
    }
};

namespace
{
struct CompositionTable
{
    bool created;
    HMODULE module;
    FARPROC slots[FnCompositionFunctionCount];

    void Create()
    {
        if (created)
            return;
        for (FARPROC& slot : slots)
            slot = nullptr;
        module = ::LoadLibraryW(kCompositionModuleName);
        created = true;
    }
    FARPROC Bind(int function)
    {
        Create();
        if (module && !slots[function])
            slots[function] = ::GetProcAddress(module, kCompositionFunctionNames[function]);
        return slots[function];
    }
};
CompositionTable g_composition = {};
} // namespace

CWVPWinThemeWrapper::SharedTable* CWVPWinThemeWrapper::s_ownTable = nullptr;
CWVPWinThemeWrapper::SharedTable* CWVPWinThemeWrapper::s_followTable = nullptr;

CWVPWinThemeWrapper::CWVPWinThemeWrapper(BOOL followLoadedModule)
    : m_hTheme(nullptr), m_bFollowLoadedModule(followLoadedModule)
{
}

CWVPWinThemeWrapper::~CWVPWinThemeWrapper()
{
    CloseThemeData();
}

CWVPWinThemeWrapper::SharedTable& CWVPWinThemeWrapper::Table() const
{
    SharedTable*& table = m_bFollowLoadedModule ? s_followTable : s_ownTable;
    if (!table)
        table = new SharedTable{};
    table->Create();
    return *table;
}

FARPROC CWVPWinThemeWrapper::Bind(int function) const
{
    SharedTable& table = Table();
    if (table.module && !table.slots[function])
        table.slots[function] = ::GetProcAddress(table.module, kThemeFunctionNames[function]);
    return table.slots[function];
}

void CWVPWinThemeWrapper::RefreshModuleBinding() const
{
    if (!m_bFollowLoadedModule)
        return;
    SharedTable& table = Table();
    HMODULE loaded = ::GetModuleHandleA(kThemeModuleNameA);
    if (loaded != table.module)
    {
        table.module = loaded;
        for (FARPROC& slot : table.slots)
            slot = nullptr;
    }
}

HTHEME CWVPWinThemeWrapper::OpenThemeData(HWND hwnd, LPCWSTR classList)
{
    RefreshModuleBinding();
    CloseThemeData();
    OpenThemeDataProc proc = reinterpret_cast<OpenThemeDataProc>(Bind(FnOpenThemeData));
    if (!proc)
        return nullptr;
    HTHEME theme = nullptr;
    __TRY
    {
        theme = proc(hwnd, classList);
    }
    __EXCEPT_ALL
    {
        theme = nullptr;
    }
    __ENDTRY
    m_hTheme = theme;
    return m_hTheme;
}

void CWVPWinThemeWrapper::CloseThemeData()
{
    if (!m_hTheme)
        return;
    CloseThemeDataProc proc = reinterpret_cast<CloseThemeDataProc>(Bind(FnCloseThemeData));
    HTHEME theme = m_hTheme;
    m_hTheme = nullptr;
    if (!proc)
        return;
    __TRY
    {
        proc(theme);
    }
    __EXCEPT_ALL
    {
    }
    __ENDTRY
}

// Calls a bound function; a missing function or a fault inside it gives the failure value.
#define WVP_GUARDED_CALL(type, function, failure, arguments)                                                           \
    type proc = reinterpret_cast<type>(Bind(function));                                                                \
    if (!proc)                                                                                                         \
        return failure;                                                                                                \
    auto result = failure;                                                                                             \
    __TRY                                                                                                              \
    {                                                                                                                  \
        result = proc arguments;                                                                                       \
    }                                                                                                                  \
    __EXCEPT_ALL                                                                                                       \
    {                                                                                                                  \
        result = failure;                                                                                              \
    }                                                                                                                  \
    __ENDTRY                                                                                                           \
    return result;

HRESULT CWVPWinThemeWrapper::DrawThemeBackground(HDC dc, int part, int state, const RECT* rect, const RECT* clip){
    WVP_GUARDED_CALL(DrawThemeBackgroundProc, FnDrawThemeBackground, E_FAIL, (m_hTheme, dc, part, state, rect, clip))}

HRESULT CWVPWinThemeWrapper::DrawThemeTextEx(HDC dc, int part, int state, LPCWSTR text, int length, DWORD flags,
                                             RECT* rect, const DTTOPTS* options){
    WVP_GUARDED_CALL(DrawThemeTextExProc, FnDrawThemeTextEx, E_FAIL,
                     (m_hTheme, dc, part, state, text, length, flags, rect, options))}

HRESULT CWVPWinThemeWrapper::GetThemeColor(int part, int state, int property, COLORREF* color){
    WVP_GUARDED_CALL(GetThemeColorProc, FnGetThemeColor, E_FAIL, (m_hTheme, part, state, property, color))}

HRESULT CWVPWinThemeWrapper::GetThemeInt(int part, int state, int property, int* value){
    WVP_GUARDED_CALL(GetThemeIntProc, FnGetThemeInt, E_FAIL, (m_hTheme, part, state, property, value))}

HRESULT CWVPWinThemeWrapper::GetThemePartSize(HDC dc, int part, int state, RECT* rect, THEMESIZE kind, SIZE* size){
    WVP_GUARDED_CALL(GetThemePartSizeProc, FnGetThemePartSize, E_FAIL, (m_hTheme, dc, part, state, rect, kind, size))}

BOOL CWVPWinThemeWrapper::GetThemeSysBool(int boolId){
    WVP_GUARDED_CALL(GetThemeSysBoolProc, FnGetThemeSysBool, FALSE, (m_hTheme, boolId))}

BOOL CWVPWinThemeWrapper::IsThemeUsable()
{
    if (!m_hTheme)
        return FALSE;
    WVP_GUARDED_CALL(NoArgumentBoolProc, FnIsAppThemed, FALSE, ())
}

BOOL CWVPWinThemeWrapper::IsThemeActive()
{
    if (!m_hTheme)
        RefreshModuleBinding();
    WVP_GUARDED_CALL(NoArgumentBoolProc, FnIsThemeActive, FALSE, ())
}

BOOL CWVPWinThemeWrapper::IsVisualStyleReady()
{
    return IsThemeActive() && Table().comCtlVersion >= kComCtlVersion6;
}

HRESULT CWVPWinThemeWrapper::GetCurrentThemeName(LPWSTR fileName, int fileChars, LPWSTR colorName, int colorChars,
                                                 LPWSTR sizeName, int sizeChars)
{
    RefreshModuleBinding();
    WVP_GUARDED_CALL(GetCurrentThemeNameProc, FnGetCurrentThemeName, E_FAIL,
                     (fileName, fileChars, colorName, colorChars, sizeName, sizeChars))
}

HPAINTBUFFER CWVPWinThemeWrapper::BeginBufferedPaint(HDC target, const RECT* rect, BP_BUFFERFORMAT format,
                                                     BP_PAINTPARAMS* params, HDC* paintDC)
{
    const HPAINTBUFFER none = nullptr;
    WVP_GUARDED_CALL(BeginBufferedPaintProc, FnBeginBufferedPaint, none, (target, rect, format, params, paintDC))
}

void CWVPWinThemeWrapper::EndBufferedPaint(HPAINTBUFFER buffer, BOOL updateTarget)
{
    EndBufferedPaintProc proc = reinterpret_cast<EndBufferedPaintProc>(Bind(FnEndBufferedPaint));
    if (!proc)
        return;
    __TRY
    {
        proc(buffer, updateTarget);
    }
    __EXCEPT_ALL
    {
    }
    __ENDTRY
}

HRESULT CWVPWinThemeWrapper::DwmDefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    DwmDefWindowProcProc proc = reinterpret_cast<DwmDefWindowProcProc>(g_composition.Bind(FnDwmDefWindowProc));
    if (!proc)
        return E_FAIL;
    HRESULT hr = E_FAIL;
    __TRY
    {
        hr = proc(hwnd, message, wParam, lParam, result);
    }
    __EXCEPT_ALL
    {
        hr = E_FAIL;
    }
    __ENDTRY
    return hr;
}

HRESULT CWVPWinThemeWrapper::DwmExtendFrameIntoClientArea(HWND hwnd, int left, int top, int right, int bottom)
{
    DwmExtendFrameProc proc = reinterpret_cast<DwmExtendFrameProc>(g_composition.Bind(FnDwmExtendFrameIntoClientArea));
    if (!proc)
        return E_FAIL;
    MARGINS margins;
    margins.cxLeftWidth = left;
    margins.cxRightWidth = right;
    margins.cyTopHeight = top;
    margins.cyBottomHeight = bottom;
    HRESULT hr = E_FAIL;
    __TRY
    {
        hr = proc(hwnd, &margins);
    }
    __EXCEPT_ALL
    {
        hr = E_FAIL;
    }
    __ENDTRY
    return hr;
}

void CWVPWinThemeWrapper::OverrideSharedModule(BOOL followLoadedModule, HMODULE module)
{
    CWVPWinThemeWrapper probe(followLoadedModule);
    SharedTable& table = probe.Table();
    table.module = module;
    for (FARPROC& slot : table.slots)
        slot = nullptr;
}

void CWVPWinThemeWrapper::OverrideEntryPoint(BOOL followLoadedModule, LPCSTR name, FARPROC proc)
{
    int index = IndexOf(kThemeFunctionNames, FnThemeFunctionCount, name);
    if (index < 0)
        return;
    CWVPWinThemeWrapper probe(followLoadedModule);
    probe.Table().slots[index] = proc;
}

void CWVPWinThemeWrapper::OverrideCompositionModule(HMODULE module)
{
    g_composition.Create();
    g_composition.module = module;
    for (FARPROC& slot : g_composition.slots)
        slot = nullptr;
}

void CWVPWinThemeWrapper::OverrideCompositionEntryPoint(LPCSTR name, FARPROC proc)
{
    int index = IndexOf(kCompositionFunctionNames, FnCompositionFunctionCount, name);
    if (index < 0)
        return;
    g_composition.Create();
    g_composition.slots[index] = proc;
}

void CWVPWinThemeWrapper::ResetSharedTables()
{
    if (s_ownTable)
        s_ownTable->created = false;
    if (s_followTable)
        s_followTable->created = false;
    g_composition.created = false;
}
