#include "uilib/controls/ToolTipContext.h"

#include <cstdlib>
#include <new>

#include "uilib/foundation/ColorManager.h"
#include "uilib/foundation/DrawHelpers.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/ModuleHandle.h"

namespace
{

// The last common-controls version without balloon tips and tooltip titles.
const DWORD kComCtl579 = MAKELONG(79, 5);
// The default text colour of the Office 2007 look.
const COLORREF kOffice2007TipText = RGB(76, 76, 76);
const int kNormalWeight = FW_NORMAL;
const int kBoldWeight = FW_BOLD;
// How long a window of this process may take to say whether it is transparent for tooltips.
const UINT kTransparencyTimeout = 200;
// Key messages that hide the tip: WM_KEYDOWN to WM_SYSDEADCHAR and the one after it.
const UINT kLastKeyMessage = 0x108;

LPWSTR DuplicateText(LPCWSTR text)
{
    int length = text ? ::lstrlenW(text) : 0;
    LPWSTR copy = static_cast<LPWSTR>(std::calloc(length + 1, sizeof(WCHAR)));
    if (copy && length)
        ::CopyMemory(copy, text, length * sizeof(WCHAR));
    return copy;
}

// A text the record owns: neither the callback mark nor a resource id.
bool IsOwnedText(const TOOLINFOW& info)
{
    return info.lpszText && info.lpszText != LPSTR_TEXTCALLBACKW && !IS_INTRESOURCE(info.lpszText) && !info.hinst;
}

void FreeText(LPWSTR& text)
{
    std::free(text);
    text = nullptr;
}

// The parent of a child window of this process that answers 1 to WM_WVP_TOOLTIPTRANSPARENT; the
// window itself otherwise. Windows of other processes give the private message no meaning.
HWND SkipTransparentChild(HWND hwnd)
{
    if (!hwnd || !(::GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD))
        return hwnd;
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    if (process != ::GetCurrentProcessId())
        return hwnd;
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutW(hwnd, WM_WVP_TOOLTIPTRANSPARENT, 0, 0, SMTO_ABORTIFHUNG, kTransparencyTimeout, &answer) &&
        answer == 1)
    {
        HWND parent = ::GetParent(hwnd);
        if (parent)
            return parent;
    }
    return hwnd;
}

bool IsMouseButtonDown()
{
    return ::GetKeyState(VK_LBUTTON) < 0 || ::GetKeyState(VK_RBUTTON) < 0 || ::GetKeyState(VK_MBUTTON) < 0;
}

void CreateStatusFont(CFont& font, const LOGFONTW& base, int weight)
{
    LOGFONTW logFont = base;
    logFont.lfWeight = weight;
    font.CreateFontIndirect(&logFont);
}

} // namespace

LRESULT CWVPToolTipContext::CStandardToolTip::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CToolTipCtrl::WindowProc(message, wParam, lParam);
    if (message == TTM_WINDOWFROMPOINT)
        result = reinterpret_cast<LRESULT>(SkipTransparentChild(reinterpret_cast<HWND>(result)));
    return result;
}

CWVPToolTipContext::CWVPToolTipContext()
    : m_bShowTitleAndDescription(FALSE), m_bShowImage(FALSE), m_nImageWidth(1), m_nImageBase(0), m_nStyle(0),
      m_dwComCtlVersion(WVPGetComCtlVersion()), m_nTitleIcon(1), m_nMaxTipWidth(::GetSystemMetrics(SM_CXSCREEN) / 2),
      m_dwStyleFlags(TTS_NOPREFIX), m_rcMargin(), m_nInitialDelay(-1), m_nReshowDelay(-1), m_nAutoPopDelay(-1),
      m_pToolTip(nullptr), m_lastInfo(), m_clrTipBack(CLR_NONE), m_clrTipText(CLR_NONE)
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(metrics.lfStatusFont), &metrics.lfStatusFont);
    CreateStatusFont(m_fntNormal, metrics.lfStatusFont, kNormalWeight);
    CreateStatusFont(m_fntBold, metrics.lfStatusFont, kBoldWeight);
}

CWVPToolTipContext::~CWVPToolTipContext()
{
    DestroyToolTip();
}

BOOL CWVPToolTipContext::SetStyle(int style)
{
    if (style == m_nStyle)
        return FALSE;
    if (style == StyleBalloon && m_dwComCtlVersion <= kComCtl579)
        return FALSE;
    m_nStyle = style;
    DestroyToolTip();
    SetStyleFlags(WVP_TTS_RAISEDBORDER | WVP_TTS_NOSHADOW,
                  style == StyleOwnRaised ? WVP_TTS_RAISEDBORDER | WVP_TTS_NOSHADOW : 0);
    SetStyleFlags(WVP_TTS_OFFICE2007, style == StyleOffice2007 ? WVP_TTS_OFFICE2007 : 0);
    return TRUE;
}

void CWVPToolTipContext::SetStyleFlags(DWORD mask, DWORD value)
{
    DWORD flags = value | (m_dwStyleFlags & ~mask);
    if (flags == m_dwStyleFlags)
        return;
    m_dwStyleFlags = flags;
    DestroyToolTip();
}

COLORREF CWVPToolTipContext::GetTipBkColor() const
{
    return m_clrTipBack == CLR_NONE ? WVPColorManager()->GetColor(COLOR_INFOBK) : m_clrTipBack;
}

COLORREF CWVPToolTipContext::GetTipTextColor() const
{
    if (m_clrTipText != CLR_NONE)
        return m_clrTipText;
    if (m_dwStyleFlags & WVP_TTS_OFFICE2007)
        return kOffice2007TipText;
    return WVPColorManager()->GetColor(COLOR_INFOTEXT);
}

void CWVPToolTipContext::RelayToolTipMessage(CWnd* owner, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!owner || !owner->GetSafeHwnd())
        return;
    MSG msg = {};
    msg.hwnd = owner->GetSafeHwnd();
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = ::GetMessageTime();
    ::GetCursorPos(&msg.pt);
    FilterToolTipMessage(owner, &msg);
}

void CWVPToolTipContext::FilterToolTipMessage(CWnd* owner, MSG* msg)
{
    if (!owner || !owner->GetSafeHwnd() || !msg)
        return;
    switch (msg->message)
    {
    case WM_NCMOUSEMOVE:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSELEAVE:
        // A move with a button held belongs to a drag or a press: no tip shows or follows it.
        if (!IsMouseButtonDown())
            FilterMouseMessage(owner, msg);
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        CancelToolTips();
        break;
    default:
        if (msg->message >= WM_KEYDOWN && msg->message <= kLastKeyMessage)
            CancelToolTips();
        break;
    }
}

void CWVPToolTipContext::FilterMouseMessage(CWnd* owner, MSG* msg)
{
    HWND ownerWnd = owner->GetSafeHwnd();
    HWND tipWnd = m_pToolTip ? m_pToolTip->GetSafeHwnd() : nullptr;
    if (tipWnd && ::IsWindowVisible(tipWnd) && !CWVPDrawHelpers::IsTopParentActive(ownerWnd))
    {
        m_pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
        return;
    }

    // One tooltip window per top-level owner: it moves with the owner by being made again.
    CWnd* parentOwner = owner->GetParentOwner();
    if (tipWnd && ::GetWindow(tipWnd, GW_OWNER) != parentOwner->GetSafeHwnd())
        m_pToolTip->DestroyWindow();
    if (!EnsureToolTipWindow(parentOwner))
        return;

    POINT point = msg->pt;
    ::ScreenToClient(ownerWnd, &point);
    BOOL extended = m_bShowTitleAndDescription || m_bShowImage;
    WVP_TOOLTIP_EXTRA extra = {};
    TOOLINFOW info = {};
    info.cbSize = extended ? WVP_TOOLINFO_EX_SIZE : WVP_TOOLINFO_SIZE;
    info.lParam = reinterpret_cast<LPARAM>(&extra);
    INT_PTR id = OnToolHitTest(owner, point, &info);

    if (m_bShowTitleAndDescription && extra.pszDescription && extra.pszTitle &&
        ::lstrcmpW(extra.pszDescription, extra.pszTitle) == 0)
        FreeText(extra.pszDescription);
    if (!(m_dwStyleFlags & TTS_NOPREFIX))
    {
        if (IsOwnedText(info))
            CWVPDrawHelpers::RemoveMnemonicMarks(info.lpszText);
        CWVPDrawHelpers::RemoveMnemonicMarks(extra.pszTitle);
    }

    bool sameTool = info.hwnd == m_lastInfo.hwnd && info.uId == m_lastInfo.uId;
    if (sameTool && ::EqualRect(&info.rect, &m_lastInfo.rect))
    {
        if (id != -1)
            RelayToToolTip(msg);
    }
    else
    {
        if (sameTool)
            RemoveLastTool();
        if (id == -1)
            m_pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
        else
        {
            TOOLINFOW add = info;
            add.uFlags &= ~WVP_TTF_PRIVATE;
            m_pToolTip->SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&add));
            SetTitleAndImage(add, extra, id);
            if ((info.uFlags & WVP_TTF_FORCEACTIVATE) || CWVPDrawHelpers::IsTopParentActive(ownerWnd))
            {
                m_pToolTip->SendMessage(TTM_ACTIVATE, TRUE);
                ::SetWindowPos(m_pToolTip->GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0,
                               SWP_NOOWNERZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
            }
        }
        RelayToToolTip(msg);
        if (!sameTool)
            RemoveLastTool();
        // The texts are freed below; the record is kept only to name the tool to the window.
        m_lastInfo = info;
        m_lastInfo.lpszText = nullptr;
        m_lastInfo.lParam = 0;
    }

    if (IsOwnedText(info))
        FreeText(info.lpszText);
    FreeText(extra.pszDescription);
    FreeText(extra.pszTitle);
}

BOOL CWVPToolTipContext::EnsureToolTipWindow(CWnd* parentOwner)
{
    if (!m_pToolTip)
        m_pToolTip = CreateToolTip(parentOwner);
    if (!m_pToolTip)
        return FALSE;
    if (m_pToolTip->GetSafeHwnd())
        return TRUE;

    // The library's own tooltip windows make their window themselves; a common-control tooltip
    // is made here, for the owner's top-level window.
    CToolTipCtrl* control = dynamic_cast<CToolTipCtrl*>(m_pToolTip);
    if (!control)
        return FALSE;
    DWORD style = m_dwStyleFlags | TTS_ALWAYSTIP | TTS_NOPREFIX;
    if (m_nStyle == StyleBalloon)
        style |= TTS_BALLOON;
    if (!control->Create(parentOwner, style))
        return FALSE;

    // A new window knows no tool yet: the next hit test adds its tool whatever came before.
    ::ZeroMemory(&m_lastInfo, sizeof(m_lastInfo));
    m_pToolTip->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_fntNormal)), TRUE);
    m_pToolTip->SendMessage(TTM_SETMAXTIPWIDTH, 0, m_nMaxTipWidth);
    m_pToolTip->SendMessage(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&m_rcMargin));
    if (m_clrTipBack != CLR_NONE)
        m_pToolTip->SendMessage(TTM_SETTIPBKCOLOR, m_clrTipBack);
    if (m_clrTipText != CLR_NONE)
        m_pToolTip->SendMessage(TTM_SETTIPTEXTCOLOR, m_clrTipText);
    const struct
    {
        WPARAM which;
        int delay;
    } delays[] = {{TTDT_RESHOW, m_nReshowDelay}, {TTDT_INITIAL, m_nInitialDelay}, {TTDT_AUTOPOP, m_nAutoPopDelay}};
    for (const auto& delay : delays)
        if (delay.delay != -1)
            m_pToolTip->SendMessage(TTM_SETDELAYTIME, delay.which, LOWORD(delay.delay));
    m_pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
    return TRUE;
}

void CWVPToolTipContext::SetTitleAndImage(const TOOLINFOW& info, const WVP_TOOLTIP_EXTRA& extra, INT_PTR id)
{
    // The rich-text, HTML and markup windows draw the tool's text as it is; the oldest common
    // controls know no titles.
    bool titles = m_nStyle != StyleRichEdit && m_nStyle != StyleHTML && m_nStyle != StyleMarkup &&
                  !(m_nStyle == StyleStandard && m_dwComCtlVersion <= kComCtl579);
    if (titles)
    {
        if (m_bShowTitleAndDescription && extra.pszDescription && extra.pszTitle)
        {
            m_pToolTip->SendMessage(TTM_SETTITLEW, m_nTitleIcon, reinterpret_cast<LPARAM>(extra.pszTitle));
            TOOLINFOW update = info;
            update.lpszText = extra.pszDescription;
            m_pToolTip->SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&update));
        }
        else
            m_pToolTip->SendMessage(TTM_SETTITLEW, 0, 0);
    }
    if (m_bShowImage)
    {
        CWVPImageManagerIcon* image =
            extra.pImageManager ? extra.pImageManager->GetImage(UINT(m_nImageBase + id), m_nImageWidth) : nullptr;
        m_pToolTip->SendMessage(WM_WVP_TOOLTIPIMAGE, 0, reinterpret_cast<LPARAM>(image));
    }
}

void CWVPToolTipContext::RelayToToolTip(const MSG* msg)
{
    MSG relay = *msg;
    POINT point = msg->pt;
    HWND under =
        reinterpret_cast<HWND>(m_pToolTip->SendMessage(TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&point)));
    if (under)
        relay.hwnd = under;
    if (relay.message >= WM_MOUSEFIRST && relay.message <= WM_MOUSEWHEEL)
    {
        ::ScreenToClient(relay.hwnd, &point);
        relay.lParam = MAKELPARAM(point.x, point.y);
    }
    m_pToolTip->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
}

void CWVPToolTipContext::RemoveLastTool()
{
    if (m_lastInfo.cbSize >= WVP_TOOLINFO_SIZE && m_pToolTip && m_pToolTip->GetSafeHwnd())
        m_pToolTip->SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&m_lastInfo));
}

void CWVPToolTipContext::CancelToolTips()
{
    if (m_pToolTip && m_pToolTip->GetSafeHwnd())
        m_pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
}

void CWVPToolTipContext::InitToolInfo(TOOLINFOW* info, HWND hwnd, int left, int top, int right, int bottom, INT_PTR id,
                                      LPCWSTR text)
{
    if (!info || info->cbSize < WVP_TOOLINFO_SIZE)
        return;
    ::SetRect(&info->rect, left, top, right, bottom);
    info->hwnd = hwnd;
    info->uId = static_cast<UINT_PTR>(id);
    info->lpszText = DuplicateText(text);
}

void CWVPToolTipContext::InitToolInfoEx(TOOLINFOW* info, HWND hwnd, const RECT& rect, INT_PTR id, LPCWSTR text,
                                        LPCWSTR title, LPCWSTR description, CWVPImageManager* imageManager)
{
    InitToolInfo(info, hwnd, rect, id, text);
    if (!info || info->cbSize != WVP_TOOLINFO_EX_SIZE || !info->lParam)
        return;
    WVP_TOOLTIP_EXTRA* extra = reinterpret_cast<WVP_TOOLTIP_EXTRA*>(info->lParam);
    if (title && *title && description && *description)
    {
        extra->pszDescription = DuplicateText(description);
        extra->pszTitle = DuplicateText(title);
    }
    extra->pImageManager = imageManager;
}

HWND CWVPToolTipContext::WindowFromPoint(POINT point)
{
    return SkipTransparentChild(::WindowFromPoint(point));
}

CWnd* CWVPToolTipContext::CreateToolTip(CWnd*)
{
    // Every style gets the common-control tooltip for now: the library's own tooltip windows
    // (raised, rich-text, Luna, Office 2007, HTML and markup) are not part of the library yet, and
    // the balloon look comes from the window style that the context adds when it creates it.
    return new (std::nothrow) CStandardToolTip;
}

INT_PTR CWVPToolTipContext::OnToolHitTest(CWnd* owner, CPoint point, TOOLINFOW* info)
{
    return owner ? owner->OnToolHitTest(point, info) : -1;
}

void CWVPToolTipContext::DestroyToolTip()
{
    if (m_pToolTip && m_pToolTip->GetSafeHwnd())
        m_pToolTip->DestroyWindow();
    delete m_pToolTip;
    m_pToolTip = nullptr;
}
