#pragma once
// The main window's icon in the shell's notification area while the window is hidden there:
// its tooltip, the callback message that brings the shell's mouse notifications to the main
// frame, the minimise animation toward the notification area and re-adding the icon when the
// task bar is re-created. The main frame owns one.
#include "app/core/PrivateMessages.h"
#include "platform/mfc/Mfc.h"

#include <shellapi.h>

#include <vector>

// What the notification-area search reads of the desktop; tests give their own.
class CTrayDesktop
{
  public:
    struct Child
    {
        CString className;
        RECT rect;
    };
    virtual ~CTrayDesktop() = default;
    // The task bar window's rectangle and its descendants in the shell's order; false when the
    // desktop has no task bar window.
    virtual bool TaskBarWindow(RECT* rect, std::vector<Child>* children) const;
    // The task bar's edge (ABE_*) and rectangle as the shell reports them.
    virtual bool TaskBarPosition(UINT* edge, RECT* rect) const;
    virtual bool WorkArea(RECT* rect) const;
};

// The screen rectangle of the notification area; false when nothing at all can be found.
bool FindTrayRect(RECT* rect, const CTrayDesktop& desktop = CTrayDesktop());

class CTrayIcon : public CCmdTarget
{
  public:
    static const UINT kCallbackMessage = WM_RW_TRAY_NOTIFY;
    static const UINT kIconResource = 128;
    static const int kTipLength = 127;
    typedef BOOL(WINAPI* NotifyFunction)(DWORD message, PNOTIFYICONDATAW data);

    explicit CTrayIcon(NotifyFunction notify = ::Shell_NotifyIconW);
    ~CTrayIcon() override;

    BOOL Create(CWnd* owner);
    BOOL SetIcon();
    BOOL SetTooltip(LPCWSTR text);
    // Animates the owner toward the notification area and adds the icon; the owner is hidden
    // only once the shell took the icon, so that it can always be brought back. True when shown.
    BOOL MinimiseToTray();
    virtual int AddIcon();
    // Takes the icon out of the notification area (restore, close); true when the shell agreed.
    BOOL RemoveIcon();
    // The task bar was re-created (its registered "TaskbarCreated" message): the icon goes back
    // in when it was shown.
    void OnTaskbarCreated();
    static UINT TaskbarCreatedMessage();

    BOOL IsShown() const
    {
        return m_shown;
    }
    const CString& GetTooltip() const
    {
        return m_tooltip;
    }
    const NOTIFYICONDATAW& Data() const
    {
        return m_data;
    }
    POINT m_lastRightClick;

  private:
    NotifyFunction m_notify;
    NOTIFYICONDATAW m_data;
    HICON m_icon;
    CString m_tooltip;
    BOOL m_shown;
};
