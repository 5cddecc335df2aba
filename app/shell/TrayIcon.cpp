#include "app/shell/TrayIcon.h"

namespace
{
const WCHAR kTrayClass[] = L"Shell_TrayWnd";
const WCHAR kNotifyClass[] = L"TrayNotifyWnd";
const WCHAR kClockClass[] = L"TrayClockWClass";
// A clock whose bottom lies this far above the bar's bottom sits in a vertical task bar.
const int kVerticalClockGap = 5;
// The box the animation ends in when only the task bar's position is known.
const int kTrayReach = 100;
const int kTrayInset = 16;
// The box in the work area's corner when not even that is known.
const int kFallbackWidth = 150;
const int kFallbackHeight = 30;
// DrawAnimatedRects' caption animation (kCaptionAnimation, absent from these headers).
const int kCaptionAnimation = 3;

struct ChildSearch
{
    std::vector<CTrayDesktop::Child>* children;
};

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<ChildSearch*>(lParam);
    WCHAR name[64] = {};
    ::GetClassNameW(hwnd, name, 64);
    CTrayDesktop::Child child;
    child.className = name;
    ::GetWindowRect(hwnd, &child.rect);
    search->children->push_back(child);
    return TRUE;
}
} // namespace

bool CTrayDesktop::TaskBarWindow(RECT* rect, std::vector<Child>* children) const
{
    HWND tray = ::FindWindowW(kTrayClass, nullptr);
    if (!tray)
        return false;
    ::GetWindowRect(tray, rect);
    ChildSearch search = {children};
    ::EnumChildWindows(tray, CollectChild, reinterpret_cast<LPARAM>(&search));
    return true;
}

bool CTrayDesktop::TaskBarPosition(UINT* edge, RECT* rect) const
{
    APPBARDATA data = {};
    data.cbSize = sizeof(data);
    if (!::SHAppBarMessage(ABM_GETTASKBARPOS, &data))
        return false;
    *edge = data.uEdge;
    *rect = data.rc;
    return true;
}

bool CTrayDesktop::WorkArea(RECT* rect) const
{
    return ::SystemParametersInfoW(SPI_GETWORKAREA, 0, rect, 0) != FALSE;
}

bool FindTrayRect(RECT* rect, const CTrayDesktop& desktop)
{
    std::vector<CTrayDesktop::Child> children;
    if (desktop.TaskBarWindow(rect, &children))
    {
        for (const CTrayDesktop::Child& child : children)
        {
            if (child.className == kNotifyClass)
                *rect = child.rect;
            else if (child.className == kClockClass)
            {
                if (child.rect.bottom < rect->bottom - kVerticalClockGap)
                    rect->top = child.rect.bottom;
                else
                    rect->right = child.rect.left;
                break;
            }
        }
        return true;
    }
    UINT edge = 0;
    RECT bar = {};
    if (!desktop.TaskBarPosition(&edge, &bar))
    {
        RECT work = {};
        if (!desktop.WorkArea(&work))
            return false;
        ::SetRect(rect, work.right - kFallbackWidth, work.bottom - kFallbackHeight, work.right, work.bottom);
        return true;
    }
    switch (edge)
    {
    case ABE_TOP:
    case ABE_BOTTOM:
        ::SetRect(rect, bar.right - kTrayReach, bar.top, bar.right - kTrayInset, bar.bottom);
        break;
    case ABE_LEFT:
    case ABE_RIGHT:
        ::SetRect(rect, bar.left, bar.bottom - kTrayReach, bar.right, bar.bottom - kTrayInset);
        break;
    default:
        break;
    }
    return true;
}

CTrayIcon::CTrayIcon(NotifyFunction notify)
    : m_lastRightClick(), m_notify(notify), m_data(), m_icon(nullptr), m_shown(FALSE)
{
    m_data.cbSize = sizeof(m_data);
}

CTrayIcon::~CTrayIcon()
{
    m_data.uFlags &= ~NIF_ICON;
    m_data.hIcon = nullptr;
    m_icon = nullptr;
}

BOOL CTrayIcon::Create(CWnd* owner)
{
    m_data.hWnd = owner ? owner->GetSafeHwnd() : nullptr;
    m_data.uFlags |= NIF_MESSAGE;
    m_data.uCallbackMessage = kCallbackMessage;
    return TRUE;
}

BOOL CTrayIcon::SetIcon()
{
    m_icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconResource));
    m_data.hIcon = m_icon;
    if (m_icon)
        m_data.uFlags |= NIF_ICON;
    else
        m_data.uFlags &= ~NIF_ICON;
    return TRUE;
}

BOOL CTrayIcon::SetTooltip(LPCWSTR text)
{
    m_tooltip = text ? text : L"";
    const int length = (std::min)(m_tooltip.GetLength(), kTipLength);
    ::ZeroMemory(m_data.szTip, sizeof(m_data.szTip));
    ::CopyMemory(m_data.szTip, static_cast<LPCWSTR>(m_tooltip), length * sizeof(WCHAR));
    if (length > 0)
        m_data.uFlags |= NIF_TIP;
    else
        m_data.uFlags &= ~NIF_TIP;
    m_notify(NIM_MODIFY, &m_data);
    return TRUE;
}

BOOL CTrayIcon::MinimiseToTray()
{
    RECT from = {};
    RECT to = {};
    HWND owner = m_data.hWnd;
    if (owner && ::GetWindowRect(owner, &from) && FindTrayRect(&to))
        ::DrawAnimatedRects(owner, kCaptionAnimation, &from, &to);
    AddIcon();
    if (m_shown && owner)
        ::ShowWindow(owner, SW_HIDE);
    return m_shown;
}

int CTrayIcon::AddIcon()
{
    m_shown = m_notify(NIM_ADD, &m_data);
    return 0;
}

BOOL CTrayIcon::RemoveIcon()
{
    const BOOL removed = m_notify(NIM_DELETE, &m_data);
    if (removed)
        m_shown = FALSE;
    return removed;
}

void CTrayIcon::OnTaskbarCreated()
{
    if (m_shown)
        AddIcon();
}

UINT CTrayIcon::TaskbarCreatedMessage()
{
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}
