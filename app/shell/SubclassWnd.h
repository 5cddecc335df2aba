// Window subclassing without a framework window object: any number of hooks per window, each
// seeing the window's messages before the window's own procedure (newest hook first). The menu
// bar watches its frame's messages through one. UI thread only.
#pragma once

#include "platform/mfc/Mfc.h"

class CSubclassWnd
{
  public:
    CSubclassWnd();
    virtual ~CSubclassWnd();
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    // Hooks the window (the newest hook of it from now on); null removes this hook.
    BOOL HookWindow(HWND window);
    BOOL IsHooked() const
    {
        return m_hWnd != nullptr;
    }
    // Handles one message; the default passes it on to the next hook or the window's procedure.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Passes the current message on (for overrides that add to the default).
    LRESULT Default();

    HWND m_hWnd;
    WNDPROC m_pOldWndProc;
    CSubclassWnd* m_pNext;

    // The facility's window procedure, installed once per hooked window.
    static LRESULT CALLBACK HookWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void Unhook();
};

// Window handle -> newest hook of that window; one per process, made on first use and destroyed
// by the exit sequence.
class CSubclassWndMap
{
  public:
    static CSubclassWndMap& Get();
    CSubclassWnd* Lookup(HWND window) const;
    void Add(HWND window, CSubclassWnd* hook);
    void Remove(CSubclassWnd* hook);
    void RemoveAll(HWND window);

  private:
    CSubclassWndMap();
    CMapPtrToPtr m_map;
};
