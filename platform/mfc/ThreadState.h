// The window layer's per-thread state: the message being handled, the window being created,
// the handle maps and the tool-tip bookkeeping of one UI thread.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/mfc/HandleMap.h"

class CWnd;
class CDC;
class CGdiObject;
class CMenu;
class CImageList;
class CFrameWnd;
class CToolTipCtrl;

class _AFX_THREAD_STATE
{
public:
    _AFX_THREAD_STATE();
    ~_AFX_THREAD_STATE();
    _AFX_THREAD_STATE(const _AFX_THREAD_STATE&) = delete;
    _AFX_THREAD_STATE& operator=(const _AFX_THREAD_STATE&) = delete;

    // The message the window procedure is handling now (Default and GetCurrentMessage use it).
    MSG m_lastSentMsg;
    // The message the loop took from the queue last.
    MSG m_msgCur;
    // The last mouse message seen by the idle check (repeated mouse moves are not activity).
    POINT m_ptCursorLast;
    UINT m_nMsgLast;

    // Creation hook: the object that the next window created on this thread belongs to.
    CWnd* m_pWndInit;
    HHOOK m_hHookOldCbtFilter;

    // Handle maps, made on first use by the classes that own them.
    CHandleMap<CWnd, HWND>* m_pmapHWND;
    CHandleMap<CDC, HDC>* m_pmapHDC;
    CHandleMap<CGdiObject, HGDIOBJ>* m_pmapHGDIOBJ;
    CHandleMap<CMenu, HMENU>* m_pmapHMENU;
    CHandleMap<CImageList, HIMAGELIST>* m_pmapHIMAGELIST;

    // The frame whose command routing is under way (for nested routing).
    CFrameWnd* m_pRoutingFrame;

    // Tool tips of EnableToolTips.
    CToolTipCtrl* m_pToolTip;
    CWnd* m_pLastHit;
    INT_PTR m_nLastHit;
    TOOLINFOW m_lastInfo;
    int m_nLastStatus;

    // Status line help of menus.
    UINT m_nLastMenuStatus;
};

// The calling thread's state, made on first use.
_AFX_THREAD_STATE* AfxGetThreadState();

// Frees the calling thread's window state (its handle maps and temporary objects); a thread of the
// framework calls it as it ends.
void AfxTermThreadState();

// True once the process's exit handlers have run: static destructors come after Wine has
// detached its DLLs, so the wrappers' destructors then let their handles go without Win32 calls.
bool AfxWindowLayerTerminated();
// Marks the window layer as running (again) and arranges for the mark above at exit.
void AfxStartWindowLayer();

// Deletes the calling thread's temporary window, device-context, GDI, menu and image-list objects.
void AfxDeleteTempMaps();
