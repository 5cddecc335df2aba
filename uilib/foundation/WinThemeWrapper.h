// One visual-style theme handle over the UXTHEME.DLL functions bound by name at run time, and the
// two desktop-composition functions of dwmapi.dll: a missing library, a missing function or a
// fault inside the system call becomes the operation's failure value. The colour manager, the
// header and button themes and the skin framework embed one per window class they draw.
#pragma once

#include <windows.h>
extern "C"
{
#include <uxtheme.h>
}

class CWVPWinThemeWrapper
{
  public:
    // followLoadedModule: use the shared table that rebinds whenever the module loaded under the
    // name UXTHEME.DLL changes (the library's own controls, so that they follow a skin's module);
    // otherwise the table that keeps the module it loaded itself.
    explicit CWVPWinThemeWrapper(BOOL followLoadedModule = TRUE);
    virtual ~CWVPWinThemeWrapper();
    CWVPWinThemeWrapper(const CWVPWinThemeWrapper&) = delete;
    CWVPWinThemeWrapper& operator=(const CWVPWinThemeWrapper&) = delete;

    HTHEME OpenThemeData(HWND hwnd, LPCWSTR classList);
    void CloseThemeData();
    HRESULT DrawThemeBackground(HDC dc, int part, int state, const RECT* rect, const RECT* clip);
    HRESULT DrawThemeTextEx(HDC dc, int part, int state, LPCWSTR text, int length, DWORD flags, RECT* rect,
                            const DTTOPTS* options);
    HRESULT GetThemeColor(int part, int state, int property, COLORREF* color);
    HRESULT GetThemeInt(int part, int state, int property, int* value);
    HRESULT GetThemePartSize(HDC dc, int part, int state, RECT* rect, THEMESIZE kind, SIZE* size);
    BOOL GetThemeSysBool(int boolId);
    BOOL IsThemeUsable();

    BOOL IsThemeActive();
    BOOL IsVisualStyleReady();
    BOOL IsThemeOpen() const
    {
        return m_hTheme != nullptr;
    }
    HTHEME GetThemeHandle() const
    {
        return m_hTheme;
    }
    HRESULT GetCurrentThemeName(LPWSTR fileName, int fileChars, LPWSTR colorName, int colorChars, LPWSTR sizeName,
                                int sizeChars);
    HPAINTBUFFER BeginBufferedPaint(HDC target, const RECT* rect, BP_BUFFERFORMAT format, BP_PAINTPARAMS* params,
                                    HDC* paintDC);
    void EndBufferedPaint(HPAINTBUFFER buffer, BOOL updateTarget);
    HRESULT DwmDefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    HRESULT DwmExtendFrameIntoClientArea(HWND hwnd, int left, int top, int right, int bottom);

    // Seams for systems this one is not: the shared table's module (null: no visual styles), one
    // entry point of a table or of the composition table by its function name, and dropping every
    // table so that the next use binds afresh.
    static void OverrideSharedModule(BOOL followLoadedModule, HMODULE module);
    static void OverrideEntryPoint(BOOL followLoadedModule, LPCSTR name, FARPROC proc);
    static void OverrideCompositionModule(HMODULE module);
    static void OverrideCompositionEntryPoint(LPCSTR name, FARPROC proc);
    static void ResetSharedTables();

  private:
    struct SharedTable;
    static SharedTable* s_ownTable;    // keeps the module it loaded
    static SharedTable* s_followTable; // follows the module loaded under the name
    SharedTable& Table() const;
    FARPROC Bind(int function) const;
    void RefreshModuleBinding() const;

    HTHEME m_hTheme;
    BOOL m_bFollowLoadedModule;
};
