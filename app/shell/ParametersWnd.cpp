#include "app/shell/ParametersWnd.h"

#include "app/core/Helpers.h"
#include "app/core/LangMgr.h"
#include "uilib/foundation/CaptureLoop.h"

#include <algorithm>

namespace
{
const int kCategoryItemHeight = 25;
const int kProfileItemHeight = 48;
const UINT kIdleUpdateMessage = 0x036A;
const UINT kMouseMessageSpan = 14;

bool IsMouseMessage(UINT message)
{
    return message >= WM_MOUSEFIRST && message <= WM_MOUSEFIRST + kMouseMessageSpan;
}
} // namespace

BEGIN_MESSAGE_MAP(ParametersWnd, CWnd)
ON_WM_KILLFOCUS()
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
ON_WM_KEYDOWN()
ON_CONTROL(CStyleMenu::kNotifyHot, ParametersWnd::kCategoryListId, OnCategoryHot)
ON_CONTROL(CStyleMenu::kNotifyClick, ParametersWnd::kProfileListId, OnProfileClick)
ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

ParametersWnd::ParametersWnd(const CategoryArray& categories) : m_categories(categories)
{
    m_categoryList.m_nItemHeight = kCategoryItemHeight;
    m_profileList.m_nItemHeight = kProfileItemHeight;
}

ParametersWnd::~ParametersWnd()
{
    if (m_hWnd)
        DestroyWindow();
}

int ParametersWnd::Popup(int x, int y, int width)
{
    const DWORD style = WS_POPUP | WS_CHILD | WS_VISIBLE | WS_BORDER;
    if (!CreateEx(WS_EX_TOOLWINDOW, nullptr, L"ParametersWnd", style, x, y, width, kHeight, nullptr, nullptr))
        return -1;
    if (!m_categoryList.Create(CRect(0, 0, kCategoryWidth, kHeight), this, kCategoryListId) ||
        !m_profileList.Create(CRect(kCategoryWidth + 1, 0, width, kHeight), this, kProfileListId))
    {
        DestroyWindow();
        return -1;
    }

    const CString appDir = GetAppDir();
    for (INT_PTR i = 0; i < m_categories.GetSize(); ++i)
    {
        LeftShowItem category;
        category.CopyFrom(m_categories[i]);
        m_categoryList.AddItem(appDir + category.m_icon, LangMgr::GetNameText(category.m_name),
                               LangMgr::GetNameText(category.m_description), L"");
    }
    FitToCategories(width);
    m_categoryList.SelectItem(m_nCategory);
    FillProfiles(m_nCategory);
    m_profileList.SelectItem(m_nProfile);

    // The pop-up is neither activated nor focused by itself: without the focus, no key reaches it.
    m_pListUnderMouse = &m_categoryList;
    SetFocus();
    m_bRunning = true;
    if (m_onOpened)
        m_onOpened(*this);
    RunModal();
    if (m_hWnd)
        DestroyWindow();
    return 0;
}

void ParametersWnd::FitToCategories(int width)
{
    // Every category shows whole: the picker grows upwards from its bottom edge, as far as the
    // screen allows (the list scrolls beyond that).
    const int wanted = std::max<int>(kHeight, m_categoryList.m_nContentHeight);
    if (wanted <= kHeight)
        return;
    CRect window;
    GetWindowRect(&window);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const CRect work(monitor.rcWork);
    const int height = std::min<int>(wanted, work.Height());
    const int top = std::max<int>(work.top, std::min<int>(window.bottom, work.bottom) - height);
    SetWindowPos(nullptr, window.left, top, window.Width(), height, SWP_NOZORDER | SWP_NOACTIVATE);
    m_categoryList.MoveWindow(0, 0, kCategoryWidth, height);
    m_profileList.MoveWindow(kCategoryWidth + 1, 0, width - kCategoryWidth - 1, height);
}

void ParametersWnd::FillProfiles(int category)
{
    if (category < 0 || category >= (int)m_categories.GetSize())
        return;
    LeftShowItem item;
    item.CopyFrom(m_categories[category]);
    m_profileList.RemoveAll();
    const CString appDir = GetAppDir();
    for (INT_PTR i = 0; i < item.m_profiles.GetSize(); ++i)
    {
        const ConvertSetting& profile = item.m_profiles[i];
        const CString title = LangMgr::GetNameText(profile.m_name) + L"(*." + profile.m_extension + L")";
        m_profileList.AddItem(appDir + profile.m_icon, title, LangMgr::GetNameText(profile.m_description), L"");
    }
    m_profileList.SelectItem(m_nProfile);
}

void ParametersWnd::RunModal()
{
    // The picker's loop: it ends once a handler clears m_bRunning, and leaves a click on another
    // window's frame queued for that window.
    class CPickerLoop : public CWVPCaptureLoop
    {
      public:
        explicit CPickerLoop(ParametersWnd& picker) : CWVPCaptureLoop(picker.m_hWnd, FALSE), m_picker(picker)
        {
        }

      protected:
        BOOL OnNextMessage(const MSG& msg) override
        {
            if (msg.message == WM_NCLBUTTONDOWN && msg.hwnd != m_picker.m_hWnd)
            {
                m_picker.m_bRunning = false;
                return FALSE;
            }
            if (IsMouseMessage(msg.message))
            {
                if (msg.hwnd == m_picker.m_categoryList.m_hWnd)
                    m_picker.m_pListUnderMouse = &m_picker.m_categoryList;
                else if (msg.hwnd == m_picker.m_profileList.m_hWnd)
                    m_picker.m_pListUnderMouse = &m_picker.m_profileList;
            }
            return TRUE;
        }
        BOOL KeepRunning() override
        {
            return m_picker.m_bRunning;
        }
        BOOL OnMessage(MSG& msg) override
        {
            if (msg.message == kIdleUpdateMessage)
                return TRUE;
            CWinThread* thread = AfxGetThread();
            return thread && thread->PreTranslateMessage(&msg);
        }

      private:
        ParametersWnd& m_picker;
    };

    CPickerLoop loop(*this);
    if (loop.Run() == CWVPCaptureLoop::Quit)
    {
        // The application is ending: the quit is handed on and the picker stops at once.
        m_bQuit = true;
    }
    m_bRunning = false;
}

void ParametersWnd::OnKillFocus(CWnd* next)
{
    Default();
    if (!next || !::IsChild(m_hWnd, next->m_hWnd))
        m_bRunning = false;
}

BOOL ParametersWnd::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->MoveTo(kCategoryWidth, 0);
    dc->LineTo(kCategoryWidth, client.Height());
    return TRUE;
}

void ParametersWnd::OnDestroy()
{
    if (m_categoryList.m_hWnd)
        m_categoryList.DestroyWindow();
    if (m_profileList.m_hWnd)
        m_profileList.DestroyWindow();
    Default();
}

void ParametersWnd::ChooseHotProfile()
{
    const int hot = m_profileList.GetHotItem();
    if (hot < 0 || hot >= (int)m_profileList.m_items.size())
        return;
    m_nProfile = hot;
    m_bChosen = true;
    m_bRunning = false;
}

void ParametersWnd::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_ESCAPE)
        m_bRunning = false;
    else if (key == VK_RETURN)
        ChooseHotProfile();
    else if (m_pListUnderMouse && m_pListUnderMouse->m_hWnd)
        m_pListUnderMouse->SendMessage(WM_KEYDOWN, key, (LPARAM)(((flags & 0xFF) << 8) | (repeat & 0xFF)));
    Default();
}

void ParametersWnd::OnCategoryHot()
{
    const int hot = m_categoryList.GetHotItem();
    // Below the last category nothing is hot; the profiles shown stay those of the last category,
    // so that a click on one of them still names a profile.
    if (hot < 0 || hot >= (int)m_categories.GetSize())
        return;
    m_nCategory = hot;
    m_nProfile = -1;
    FillProfiles(m_nCategory);
}

void ParametersWnd::OnProfileClick()
{
    ChooseHotProfile();
}

BOOL ParametersWnd::OnMouseWheel(UINT flags, short delta, CPoint point)
{
    if (m_pListUnderMouse && m_pListUnderMouse->m_hWnd)
        return (BOOL)m_pListUnderMouse->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(flags, delta),
                                                    MAKELPARAM(point.x, point.y));
    return (BOOL)Default();
}
