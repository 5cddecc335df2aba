// Message maps: the tables through which command targets and windows bind window messages,
// commands, update requests and notifications to member functions. Each entry carries a small
// thunk that unpacks the message and calls the member with its natural parameters, so handler
// signatures are checked by the compiler.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CCmdTarget;

// Codes of command routing (the nCode of OnCmdMsg).
const int CN_COMMAND = 0;
const int CN_UPDATE_COMMAND_UI = -1;

// Command ids (menus, tool bars, accelerators) start here; below are plain control ids.
const UINT AFX_FIRST_COMMAND_ID = 0x8000;
inline bool IS_COMMAND_ID(UINT id)
{
    return id >= AFX_FIRST_COMMAND_ID;
}

// Reflected messages come back to the control as this base plus the message number.
const UINT WM_REFLECT_BASE = 0xBC00;
// The catch-all colour message of control colour handlers.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif
// Entries of registered messages carry this number and a pointer to the registered value.
const UINT AFX_REGISTERED_MESSAGE = 0xC000;

// What a handler thunk receives.
struct AFX_MSGCALL
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT nID;        // command or control id for commands and notifications
    void* pExtra;    // CCmdUI* for update requests, AFX_NOTIFY* for notifications
    LRESULT result;  // the answer to a window message
    BOOL bHandled;   // cleared by the handlers that may decline (the _EX forms)
};

typedef void (*AFX_MSGTHUNK)(CCmdTarget* target, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;      // window message; WM_COMMAND or WM_NOTIFY for command entries
    UINT nCode;         // control notification or routing code
    UINT nID;           // first control or command id
    UINT nLastID;       // last id of a range
    const UINT* pnRegistered; // registered message number for ON_REGISTERED_MESSAGE
    AFX_MSGTHUNK pfn;   // null ends the table
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// The one matching rule of message-map entries. A registered-message entry matches its
// registered number; any other entry matches its message, its code (notification codes may be
// negative numbers stored in 16 or 32 bits) and an id within its range. Window messages are looked
// up with code 0 and id 0, reflected notifications with id 0.
inline bool AfxEntryMatches(const AFX_MSGMAP_ENTRY& entry, UINT message, UINT code, UINT id)
{
    if (entry.pnRegistered)
        return message >= AFX_REGISTERED_MESSAGE && *entry.pnRegistered == message;
    if (entry.nMessage != message)
        return false;
    if (entry.nCode != code && (UINT)(int)(short)LOWORD(entry.nCode) != code)
        return false;
    return id >= entry.nID && id <= entry.nLastID;
}

// Walks a class's message map and its bases' in order and offers each matching entry to
// `visit`; stops at the first entry that `visit` takes (answers true) and returns it.
template <class Visit>
const AFX_MSGMAP_ENTRY* AfxWalkMessageMap(const AFX_MSGMAP* map, UINT message, UINT code, UINT id, Visit visit)
{
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn; ++entry)
        {
            if (AfxEntryMatches(*entry, message, code, id) && visit(*entry))
                return entry;
        }
    }
    return nullptr;
}

// The notification record of WM_NOTIFY routing.
struct AFX_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Filled by OnCmdMsg when asked only whether a handler exists.
struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
    const AFX_MSGMAP_ENTRY* pEntry;
};

// Leaves the class in protected access, where handlers usually follow.
#define DECLARE_MESSAGE_MAP()                                                                                         \
protected:                                                                                                            \
    static const AFX_MSGMAP* GetThisMessageMap();                                                                     \
    virtual const AFX_MSGMAP* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                                                 \
    {                                                                                                                 \
        return GetThisMessageMap();                                                                                   \
    }                                                                                                                 \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                            \
    {                                                                                                                 \
        typedef theClass ThisClass;                                                                                   \
        typedef baseClass TheBaseClass;                                                                               \
        (void)sizeof(ThisClass*);                                                                                     \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                             \
    {0, 0, 0, 0, nullptr, nullptr}                                                                                    \
    }                                                                                                                 \
    ;                                                                                                                 \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};                     \
    return &messageMap;                                                                                               \
    }

// The thunk of an entry: `T` is the handler's class, `call` the AFX_MSGCALL, `body` uses `self`.
#define AFX_THUNK(body) [](CCmdTarget* target_, AFX_MSGCALL& call) { ThisClass* self = static_cast<ThisClass*>(target_); (void)self; (void)call; body; }

#define AFX_MSG_ENTRY(msg, body) {msg, 0, 0, 0, nullptr, AFX_THUNK(body)},

// Generic messages
#define ON_MESSAGE(message, memberFxn) AFX_MSG_ENTRY(message, call.result = self->memberFxn(call.wParam, call.lParam))
// A message whose handler takes no parameters and answers nothing (the result is 0).
#define ON_MESSAGE_VOID(message, memberFxn) AFX_MSG_ENTRY(message, self->memberFxn())
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                                             \
    {AFX_REGISTERED_MESSAGE, 0, 0, 0, &nMessageVariable,                                                              \
     AFX_THUNK(call.result = self->memberFxn(call.wParam, call.lParam))},
#define ON_THREAD_MESSAGE(message, memberFxn) AFX_MSG_ENTRY(message, self->memberFxn(call.wParam, call.lParam))
#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn)                                                      \
    {AFX_REGISTERED_MESSAGE, 0, 0, 0, &nMessageVariable, AFX_THUNK(self->memberFxn(call.wParam, call.lParam))},

// Commands
#define ON_COMMAND(id, memberFxn) {WM_COMMAND, (UINT)CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, AFX_THUNK(self->memberFxn())},
#define ON_COMMAND_EX(id, memberFxn)                                                                                  \
    {WM_COMMAND, (UINT)CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, AFX_THUNK(call.bHandled = self->memberFxn(call.nID))},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                                       \
    {WM_COMMAND, (UINT)CN_COMMAND, (UINT)(id), (UINT)(idLast), nullptr, AFX_THUNK(self->memberFxn(call.nID))},
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn)                                                                    \
    {WM_COMMAND, (UINT)CN_COMMAND, (UINT)(id), (UINT)(idLast), nullptr,                                               \
     AFX_THUNK(call.bHandled = self->memberFxn(call.nID))},
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                                           \
    {WM_COMMAND, (UINT)CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), nullptr,                                         \
     AFX_THUNK(self->memberFxn(static_cast<CCmdUI*>(call.pExtra)))},
// A control's update request reflected back to it (code 0xBD11FFFF): the control updates itself.
#define ON_UPDATE_COMMAND_UI_REFLECT(memberFxn)                                                                        \
    {WM_REFLECT_BASE + WM_COMMAND,                                                                                     \
     (UINT)CN_UPDATE_COMMAND_UI,                                                                                       \
     0,                                                                                                                \
     0,                                                                                                                \
     nullptr,                                                                                                          \
     AFX_THUNK(self->memberFxn(static_cast<CCmdUI*>(call.pExtra)))},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                                             \
    {WM_COMMAND, (UINT)CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(idLast), nullptr,                                     \
     AFX_THUNK(self->memberFxn(static_cast<CCmdUI*>(call.pExtra)))},

// Control notifications carried by WM_COMMAND
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                                        \
    {WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr, AFX_THUNK(self->memberFxn())},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                                          \
    {WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr, AFX_THUNK(self->memberFxn(call.nID))},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_ERRSPACE(id, memberFxn) ON_CONTROL(EN_ERRSPACE, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn) ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// WM_NOTIFY
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                                         \
    {WM_NOTIFY, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr,                                                 \
     AFX_THUNK(AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(call.pExtra); self->memberFxn(n->pNMHDR, n->pResult))},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                                           \
    {WM_NOTIFY, (UINT)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr,                                             \
     AFX_THUNK(AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(call.pExtra); self->memberFxn(call.nID, n->pNMHDR, n->pResult))},
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                                                      \
    {WM_NOTIFY, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr,                                                 \
     AFX_THUNK(AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(call.pExtra);                                                 \
               call.bHandled = self->memberFxn(call.nID, n->pNMHDR, n->pResult))},
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn)                                                        \
    {WM_NOTIFY, (UINT)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr,                                             \
     AFX_THUNK(AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(call.pExtra);                                                 \
               call.bHandled = self->memberFxn(call.nID, n->pNMHDR, n->pResult))},

// Reflection: notifications and messages that the parent hands back to the control
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                                     \
    {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(wNotifyCode), 0, 0, nullptr,                                                 \
     AFX_THUNK(AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(call.pExtra); self->memberFxn(n->pNMHDR, n->pResult))},
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                                                  \
    {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(wNotifyCode), 0, 0, nullptr,                                                 \
     AFX_THUNK(AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(call.pExtra);                                                 \
               call.bHandled = self->memberFxn(n->pNMHDR, n->pResult))},
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                                    \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(wNotifyCode), 0, 0, nullptr, AFX_THUNK(self->memberFxn())},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                                                 \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(wNotifyCode), 0, 0, nullptr, AFX_THUNK(call.bHandled = self->memberFxn())},
#define ON_WM_CTLCOLOR_REFLECT()                                                                                      \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR,                                                                      \
                  AFX_CTLCOLOR* c = reinterpret_cast<AFX_CTLCOLOR*>(call.lParam);                                     \
                  call.result = (LRESULT)self->CtlColor(CDC::FromHandle(c->hDC), c->nCtlType))
#define ON_WM_DRAWITEM_REFLECT()                                                                                      \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM,                                                                      \
                  self->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(call.lParam)); call.result = TRUE)
#define ON_WM_MEASUREITEM_REFLECT()                                                                                   \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_MEASUREITEM,                                                                   \
                  self->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(call.lParam)); call.result = TRUE)
#define ON_WM_COMPAREITEM_REFLECT()                                                                                   \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_COMPAREITEM,                                                                   \
                  call.result = self->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(call.lParam)))
#define ON_WM_DELETEITEM_REFLECT()                                                                                    \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_DELETEITEM,                                                                    \
                  self->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(call.lParam)); call.result = TRUE)
#define ON_WM_HSCROLL_REFLECT()                                                                                       \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_HSCROLL, self->HScroll(LOWORD(call.wParam), HIWORD(call.wParam)))
#define ON_WM_VSCROLL_REFLECT()                                                                                       \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_VSCROLL, self->VScroll(LOWORD(call.wParam), HIWORD(call.wParam)))
#define ON_WM_PARENTNOTIFY_REFLECT()                                                                                  \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_PARENTNOTIFY, self->ParentNotify(LOWORD(call.wParam), call.lParam))

// The record that the colour messages reach handlers through.
struct AFX_CTLCOLOR
{
    HWND hWnd;
    HDC hDC;
    UINT nCtlType;
};

// Window messages with their usual handlers
#define AFX_PT(l) CPoint((int)(short)LOWORD(l), (int)(short)HIWORD(l))
#define ON_WM_CREATE()                                                                                                \
    AFX_MSG_ENTRY(WM_CREATE, call.result = self->OnCreate(reinterpret_cast<LPCREATESTRUCT>(call.lParam)))
#define ON_WM_NCCREATE()                                                                                              \
    AFX_MSG_ENTRY(WM_NCCREATE, call.result = self->OnNcCreate(reinterpret_cast<LPCREATESTRUCT>(call.lParam)))
#define ON_WM_DESTROY() AFX_MSG_ENTRY(WM_DESTROY, self->OnDestroy())
#define ON_WM_NCDESTROY() AFX_MSG_ENTRY(WM_NCDESTROY, self->OnNcDestroy())
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, self->OnClose())
#define ON_WM_SIZE()                                                                                                  \
    AFX_MSG_ENTRY(WM_SIZE, self->OnSize((UINT)call.wParam, (short)LOWORD(call.lParam), (short)HIWORD(call.lParam)))
#define ON_WM_SIZING() AFX_MSG_ENTRY(WM_SIZING, self->OnSizing((UINT)call.wParam, (LPRECT)call.lParam); call.result = TRUE)
#define ON_WM_MOVE() AFX_MSG_ENTRY(WM_MOVE, self->OnMove((short)LOWORD(call.lParam), (short)HIWORD(call.lParam)))
#define ON_WM_MOVING() AFX_MSG_ENTRY(WM_MOVING, self->OnMoving((UINT)call.wParam, (LPRECT)call.lParam); call.result = TRUE)
#define ON_WM_ENTERSIZEMOVE() AFX_MSG_ENTRY(WM_ENTERSIZEMOVE, self->OnEnterSizeMove())
#define ON_WM_EXITSIZEMOVE() AFX_MSG_ENTRY(WM_EXITSIZEMOVE, self->OnExitSizeMove())
#define ON_WM_GETMINMAXINFO() AFX_MSG_ENTRY(WM_GETMINMAXINFO, self->OnGetMinMaxInfo((MINMAXINFO*)call.lParam))
#define ON_WM_WINDOWPOSCHANGING() AFX_MSG_ENTRY(WM_WINDOWPOSCHANGING, self->OnWindowPosChanging((WINDOWPOS*)call.lParam))
#define ON_WM_WINDOWPOSCHANGED() AFX_MSG_ENTRY(WM_WINDOWPOSCHANGED, self->OnWindowPosChanged((WINDOWPOS*)call.lParam))
#define ON_WM_SHOWWINDOW() AFX_MSG_ENTRY(WM_SHOWWINDOW, self->OnShowWindow((BOOL)call.wParam, (UINT)call.lParam))
#define ON_WM_STYLECHANGING()                                                                                         \
    AFX_MSG_ENTRY(WM_STYLECHANGING, self->OnStyleChanging((int)call.wParam, (LPSTYLESTRUCT)call.lParam))
#define ON_WM_STYLECHANGED()                                                                                          \
    AFX_MSG_ENTRY(WM_STYLECHANGED, self->OnStyleChanged((int)call.wParam, (LPSTYLESTRUCT)call.lParam))
#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, self->OnPaint())
#define ON_WM_NCPAINT() AFX_MSG_ENTRY(WM_NCPAINT, self->OnNcPaint())
#define ON_WM_ERASEBKGND() AFX_MSG_ENTRY(WM_ERASEBKGND, call.result = self->OnEraseBkgnd(CDC::FromHandle((HDC)call.wParam)))
#define ON_WM_SETFOCUS() AFX_MSG_ENTRY(WM_SETFOCUS, self->OnSetFocus(CWnd::FromHandle((HWND)call.wParam)))
#define ON_WM_KILLFOCUS() AFX_MSG_ENTRY(WM_KILLFOCUS, self->OnKillFocus(CWnd::FromHandle((HWND)call.wParam)))
#define ON_WM_ENABLE() AFX_MSG_ENTRY(WM_ENABLE, self->OnEnable((BOOL)call.wParam))
#define ON_WM_CANCELMODE() AFX_MSG_ENTRY(WM_CANCELMODE, self->OnCancelMode())
#define ON_WM_GETDLGCODE() AFX_MSG_ENTRY(WM_GETDLGCODE, call.result = self->OnGetDlgCode())
#define ON_WM_CAPTURECHANGED() AFX_MSG_ENTRY(WM_CAPTURECHANGED, self->OnCaptureChanged(CWnd::FromHandle((HWND)call.lParam)))
#define ON_WM_SYSCOLORCHANGE() AFX_MSG_ENTRY(WM_SYSCOLORCHANGE, self->OnSysColorChange())
#define ON_WM_SETTINGCHANGE() AFX_MSG_ENTRY(WM_SETTINGCHANGE, self->OnSettingChange((UINT)call.wParam, (LPCWSTR)call.lParam))
#define ON_WM_WININICHANGE() AFX_MSG_ENTRY(WM_WININICHANGE, self->OnWinIniChange((LPCWSTR)call.lParam))
#define ON_WM_FONTCHANGE() AFX_MSG_ENTRY(WM_FONTCHANGE, self->OnFontChange())
#define ON_WM_TIMECHANGE() AFX_MSG_ENTRY(WM_TIMECHANGE, self->OnTimeChange())
#define ON_WM_TIMER() AFX_MSG_ENTRY(WM_TIMER, self->OnTimer((UINT_PTR)call.wParam))
#define ON_WM_ACTIVATE()                                                                                              \
    AFX_MSG_ENTRY(WM_ACTIVATE, self->OnActivate(LOWORD(call.wParam), CWnd::FromHandle((HWND)call.lParam),           \
                                                (BOOL)HIWORD(call.wParam)))
#define ON_WM_ACTIVATEAPP() AFX_MSG_ENTRY(WM_ACTIVATEAPP, self->OnActivateApp((BOOL)call.wParam, (DWORD)call.lParam))
#define ON_WM_NCACTIVATE() AFX_MSG_ENTRY(WM_NCACTIVATE, call.result = self->OnNcActivate((BOOL)call.wParam))
#define ON_WM_MOUSEACTIVATE()                                                                                         \
    AFX_MSG_ENTRY(WM_MOUSEACTIVATE, call.result = self->OnMouseActivate(CWnd::FromHandle((HWND)call.wParam),        \
                                                                        LOWORD(call.lParam), HIWORD(call.lParam)))
#define ON_WM_CHILDACTIVATE() AFX_MSG_ENTRY(WM_CHILDACTIVATE, self->OnChildActivate())
#define ON_WM_SETCURSOR()                                                                                             \
    AFX_MSG_ENTRY(WM_SETCURSOR, call.result = self->OnSetCursor(CWnd::FromHandle((HWND)call.wParam),                \
                                                                LOWORD(call.lParam), HIWORD(call.lParam)))
#define ON_WM_MOUSEMOVE() AFX_MSG_ENTRY(WM_MOUSEMOVE, self->OnMouseMove((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_LBUTTONDOWN() AFX_MSG_ENTRY(WM_LBUTTONDOWN, self->OnLButtonDown((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_LBUTTONUP() AFX_MSG_ENTRY(WM_LBUTTONUP, self->OnLButtonUp((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_LBUTTONDBLCLK() AFX_MSG_ENTRY(WM_LBUTTONDBLCLK, self->OnLButtonDblClk((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_RBUTTONDOWN() AFX_MSG_ENTRY(WM_RBUTTONDOWN, self->OnRButtonDown((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_RBUTTONUP() AFX_MSG_ENTRY(WM_RBUTTONUP, self->OnRButtonUp((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_RBUTTONDBLCLK() AFX_MSG_ENTRY(WM_RBUTTONDBLCLK, self->OnRButtonDblClk((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_MBUTTONDOWN() AFX_MSG_ENTRY(WM_MBUTTONDOWN, self->OnMButtonDown((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_MBUTTONUP() AFX_MSG_ENTRY(WM_MBUTTONUP, self->OnMButtonUp((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_MBUTTONDBLCLK() AFX_MSG_ENTRY(WM_MBUTTONDBLCLK, self->OnMButtonDblClk((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_MOUSEWHEEL()                                                                                            \
    AFX_MSG_ENTRY(WM_MOUSEWHEEL, call.result = self->OnMouseWheel(LOWORD(call.wParam), (short)HIWORD(call.wParam),  \
                                                                  AFX_PT(call.lParam)))
#define ON_WM_MOUSEHWHEEL()                                                                                           \
    AFX_MSG_ENTRY(0x020E, self->OnMouseHWheel(LOWORD(call.wParam), (short)HIWORD(call.wParam), AFX_PT(call.lParam)))
#define ON_WM_MOUSELEAVE() AFX_MSG_ENTRY(WM_MOUSELEAVE, self->OnMouseLeave())
#define ON_WM_MOUSEHOVER() AFX_MSG_ENTRY(WM_MOUSEHOVER, self->OnMouseHover((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_NCMOUSELEAVE() AFX_MSG_ENTRY(0x02A2, self->OnNcMouseLeave())
#define ON_WM_KEYDOWN()                                                                                               \
    AFX_MSG_ENTRY(WM_KEYDOWN, self->OnKeyDown((UINT)call.wParam, LOWORD(call.lParam), HIWORD(call.lParam)))
#define ON_WM_KEYUP() AFX_MSG_ENTRY(WM_KEYUP, self->OnKeyUp((UINT)call.wParam, LOWORD(call.lParam), HIWORD(call.lParam)))
#define ON_WM_CHAR() AFX_MSG_ENTRY(WM_CHAR, self->OnChar((UINT)call.wParam, LOWORD(call.lParam), HIWORD(call.lParam)))
#define ON_WM_SYSKEYDOWN()                                                                                            \
    AFX_MSG_ENTRY(WM_SYSKEYDOWN, self->OnSysKeyDown((UINT)call.wParam, LOWORD(call.lParam), HIWORD(call.lParam)))
#define ON_WM_SYSKEYUP()                                                                                              \
    AFX_MSG_ENTRY(WM_SYSKEYUP, self->OnSysKeyUp((UINT)call.wParam, LOWORD(call.lParam), HIWORD(call.lParam)))
#define ON_WM_SYSCHAR()                                                                                               \
    AFX_MSG_ENTRY(WM_SYSCHAR, self->OnSysChar((UINT)call.wParam, LOWORD(call.lParam), HIWORD(call.lParam)))
#define ON_WM_SYSCOMMAND() AFX_MSG_ENTRY(WM_SYSCOMMAND, self->OnSysCommand((UINT)call.wParam, call.lParam))
#define ON_WM_NCHITTEST() AFX_MSG_ENTRY(WM_NCHITTEST, call.result = self->OnNcHitTest(AFX_PT(call.lParam)))
#define ON_WM_NCCALCSIZE()                                                                                            \
    AFX_MSG_ENTRY(WM_NCCALCSIZE, self->OnNcCalcSize((BOOL)call.wParam, (NCCALCSIZE_PARAMS*)call.lParam))
#define ON_WM_NCMOUSEMOVE() AFX_MSG_ENTRY(WM_NCMOUSEMOVE, self->OnNcMouseMove((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_NCLBUTTONDOWN()                                                                                         \
    AFX_MSG_ENTRY(WM_NCLBUTTONDOWN, self->OnNcLButtonDown((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_NCLBUTTONUP() AFX_MSG_ENTRY(WM_NCLBUTTONUP, self->OnNcLButtonUp((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_NCLBUTTONDBLCLK()                                                                                       \
    AFX_MSG_ENTRY(WM_NCLBUTTONDBLCLK, self->OnNcLButtonDblClk((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_NCRBUTTONDOWN()                                                                                         \
    AFX_MSG_ENTRY(WM_NCRBUTTONDOWN, self->OnNcRButtonDown((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_NCRBUTTONUP() AFX_MSG_ENTRY(WM_NCRBUTTONUP, self->OnNcRButtonUp((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_NCRBUTTONDBLCLK()                                                                                        \
    AFX_MSG_ENTRY(WM_NCRBUTTONDBLCLK, self->OnNcRButtonDblClk((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_NCMBUTTONDOWN()                                                                                          \
    AFX_MSG_ENTRY(WM_NCMBUTTONDOWN, self->OnNcMButtonDown((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_NCMBUTTONUP() AFX_MSG_ENTRY(WM_NCMBUTTONUP, self->OnNcMButtonUp((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_NCMBUTTONDBLCLK()                                                                                        \
    AFX_MSG_ENTRY(WM_NCMBUTTONDBLCLK, self->OnNcMButtonDblClk((UINT)call.wParam, AFX_PT(call.lParam)))
#define ON_WM_QUERYDRAGICON() AFX_MSG_ENTRY(WM_QUERYDRAGICON, call.result = (LRESULT)self->OnQueryDragIcon())
// An MDI child hears whether it is the one being activated and which windows gain and lose.
#define ON_WM_MDIACTIVATE()                                                                                            \
    AFX_MSG_ENTRY(WM_MDIACTIVATE,                                                                                      \
                  self->OnMDIActivate((HWND)call.lParam == self->m_hWnd, CWnd::FromHandle((HWND)call.lParam),          \
                                      CWnd::FromHandle((HWND)call.wParam)))
#define ON_WM_UPDATEUISTATE()                                                                                          \
    AFX_MSG_ENTRY(WM_UPDATEUISTATE, self->OnUpdateUIState(LOWORD(call.wParam), HIWORD(call.wParam)))
#define ON_WM_CTLCOLOR()                                                                                              \
    AFX_MSG_ENTRY(WM_CTLCOLOR,                                                                                        \
                  AFX_CTLCOLOR* c = reinterpret_cast<AFX_CTLCOLOR*>(call.lParam);                                     \
                  call.result = (LRESULT)self->OnCtlColor(CDC::FromHandle(c->hDC), CWnd::FromHandle(c->hWnd),        \
                                                          c->nCtlType))
#define ON_WM_DRAWITEM()                                                                                              \
    AFX_MSG_ENTRY(WM_DRAWITEM, self->OnDrawItem((int)call.wParam, (LPDRAWITEMSTRUCT)call.lParam); call.result = TRUE)
#define ON_WM_MEASUREITEM()                                                                                           \
    AFX_MSG_ENTRY(WM_MEASUREITEM, self->OnMeasureItem((int)call.wParam, (LPMEASUREITEMSTRUCT)call.lParam);          \
                  call.result = TRUE)
#define ON_WM_COMPAREITEM()                                                                                           \
    AFX_MSG_ENTRY(WM_COMPAREITEM, call.result = self->OnCompareItem((int)call.wParam, (LPCOMPAREITEMSTRUCT)call.lParam))
#define ON_WM_DELETEITEM()                                                                                            \
    AFX_MSG_ENTRY(WM_DELETEITEM, self->OnDeleteItem((int)call.wParam, (LPDELETEITEMSTRUCT)call.lParam); call.result = TRUE)
#define ON_WM_HSCROLL()                                                                                               \
    AFX_MSG_ENTRY(WM_HSCROLL, self->OnHScroll(LOWORD(call.wParam), (short)HIWORD(call.wParam),                      \
                                              (CScrollBar*)CWnd::FromHandle((HWND)call.lParam)))
#define ON_WM_VSCROLL()                                                                                               \
    AFX_MSG_ENTRY(WM_VSCROLL, self->OnVScroll(LOWORD(call.wParam), (short)HIWORD(call.wParam),                      \
                                              (CScrollBar*)CWnd::FromHandle((HWND)call.lParam)))
#define ON_WM_CONTEXTMENU()                                                                                           \
    AFX_MSG_ENTRY(WM_CONTEXTMENU, self->OnContextMenu(CWnd::FromHandle((HWND)call.wParam), AFX_PT(call.lParam)))
#define ON_WM_DROPFILES() AFX_MSG_ENTRY(WM_DROPFILES, self->OnDropFiles((HDROP)call.wParam))
#define ON_WM_PALETTECHANGED() AFX_MSG_ENTRY(WM_PALETTECHANGED, self->OnPaletteChanged(CWnd::FromHandle((HWND)call.wParam)))
#define ON_WM_PALETTEISCHANGING()                                                                                     \
    AFX_MSG_ENTRY(WM_PALETTEISCHANGING, self->OnPaletteIsChanging(CWnd::FromHandle((HWND)call.wParam)))
#define ON_WM_QUERYNEWPALETTE() AFX_MSG_ENTRY(WM_QUERYNEWPALETTE, call.result = self->OnQueryNewPalette())
#define ON_WM_INITMENU() AFX_MSG_ENTRY(WM_INITMENU, self->OnInitMenu(CMenu::FromHandle((HMENU)call.wParam)))
#define ON_WM_INITMENUPOPUP()                                                                                         \
    AFX_MSG_ENTRY(WM_INITMENUPOPUP, self->OnInitMenuPopup(CMenu::FromHandle((HMENU)call.wParam),                    \
                                                          LOWORD(call.lParam), (BOOL)HIWORD(call.lParam)))
#define ON_WM_MENUSELECT()                                                                                            \
    AFX_MSG_ENTRY(WM_MENUSELECT, self->OnMenuSelect(LOWORD(call.wParam), HIWORD(call.wParam), (HMENU)call.lParam))
#define ON_WM_MENUCHAR()                                                                                              \
    AFX_MSG_ENTRY(WM_MENUCHAR, call.result = self->OnMenuChar(LOWORD(call.wParam), HIWORD(call.wParam),             \
                                                              CMenu::FromHandle((HMENU)call.lParam)))
#define ON_WM_ENTERMENULOOP() AFX_MSG_ENTRY(WM_ENTERMENULOOP, self->OnEnterMenuLoop((BOOL)call.wParam))
#define ON_WM_EXITMENULOOP() AFX_MSG_ENTRY(WM_EXITMENULOOP, self->OnExitMenuLoop((BOOL)call.wParam))
#define ON_WM_ENTERIDLE() AFX_MSG_ENTRY(WM_ENTERIDLE, self->OnEnterIdle((UINT)call.wParam, CWnd::FromHandle((HWND)call.lParam)))
#define ON_WM_PARENTNOTIFY() AFX_MSG_ENTRY(WM_PARENTNOTIFY, self->OnParentNotify(LOWORD(call.wParam), call.lParam))
#define ON_WM_HELPINFO() AFX_MSG_ENTRY(WM_HELPINFO, call.result = self->OnHelpInfo((HELPINFO*)call.lParam))
#define ON_WM_COPYDATA()                                                                                              \
    AFX_MSG_ENTRY(WM_COPYDATA, call.result = self->OnCopyData(CWnd::FromHandle((HWND)call.wParam),                 \
                                                              (COPYDATASTRUCT*)call.lParam))
#define ON_WM_QUERYENDSESSION() AFX_MSG_ENTRY(WM_QUERYENDSESSION, call.result = self->OnQueryEndSession())
#define ON_WM_ENDSESSION() AFX_MSG_ENTRY(WM_ENDSESSION, self->OnEndSession((BOOL)call.wParam))
#define ON_WM_DISPLAYCHANGE() AFX_MSG_ENTRY(WM_DISPLAYCHANGE, call.result = self->OnDisplayChange(call.wParam, call.lParam))
#define ON_WM_THEMECHANGED() AFX_MSG_ENTRY(0x031A, call.result = self->OnThemeChanged())
#define ON_WM_PRINTCLIENT() AFX_MSG_ENTRY(WM_PRINTCLIENT, call.result = self->OnPrintClient(call.wParam, call.lParam))
#define ON_WM_SETTEXT() AFX_MSG_ENTRY(WM_SETTEXT, call.result = self->OnSetText(call.wParam, call.lParam))
#define ON_WM_SETFONT() AFX_MSG_ENTRY(WM_SETFONT, self->OnSetFont(CFont::FromHandle((HFONT)call.wParam), (BOOL)call.lParam))
#define ON_WM_GETFONT() AFX_MSG_ENTRY(WM_GETFONT, call.result = (LRESULT)self->OnGetFont())
#define ON_WM_NOTIFYFORMAT()                                                                                          \
    AFX_MSG_ENTRY(WM_NOTIFYFORMAT, call.result = self->OnNotifyFormat(CWnd::FromHandle((HWND)call.wParam), (UINT)call.lParam))
#define ON_WM_INITDIALOG_HANDLER(memberFxn) AFX_MSG_ENTRY(WM_INITDIALOG, call.result = self->memberFxn(call.wParam, call.lParam))

#ifndef AFXAPI
#define AFXAPI
#endif
