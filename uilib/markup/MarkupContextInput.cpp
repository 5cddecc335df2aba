// The markup context's share of the host window's mouse messages: hit testing, the hover element
// with its leave and enter notifications, routing of buttons, moves, wheel and cursor queries from
// the innermost element outwards, lost capture, and the tooltip of the element under the mouse.
#include "uilib/markup/MarkupContext.h"

#include "uilib/markup/MarkupElements.h"
#include "uilib/markup/MarkupInputElement.h"
#include "uilib/markup/MarkupInputElementCollection.h"
#include "uilib/markup/MarkupKeyboardNavigation.h"
#include "uilib/markup/MarkupTooltipContext.h"
#include "uilib/markup/MarkupValues.h"

#include <windowsx.h>

namespace
{
// Keeps the context alive through one message: a handler may release the last element of the
// last tree, and with it the context's last reference.
class CContextHold
{
  public:
    explicit CContextHold(CWVPMarkupContext* context) : m_pContext(context)
    {
        m_pContext->AddRef();
    }
    ~CContextHold()
    {
        m_pContext->Release();
    }

  private:
    CWVPMarkupContext* m_pContext;
    CContextHold(const CContextHold&) = delete;
    CContextHold& operator=(const CContextHold&) = delete;
};

// The routed event and the element handler of a button message.
struct ButtonRoute
{
    UINT message;
    CWVPMarkupRoutedEvent** event;
    void (CWVPMarkupInputElement::*handler)(CWVPMarkupMouseEventArgs*);
};

const ButtonRoute kButtonRoutes[] = {
    {WM_LBUTTONDOWN, &CWVPMarkupInputElement::s_pMouseLeftButtonDownEvent,
     &CWVPMarkupInputElement::OnMouseLeftButtonDown},
    {WM_LBUTTONDBLCLK, &CWVPMarkupInputElement::s_pMouseLeftButtonDownEvent,
     &CWVPMarkupInputElement::OnMouseLeftButtonDown},
    {WM_LBUTTONUP, &CWVPMarkupInputElement::s_pMouseLeftButtonUpEvent, &CWVPMarkupInputElement::OnMouseLeftButtonUp},
    {WM_RBUTTONDOWN, &CWVPMarkupInputElement::s_pMouseRightButtonDownEvent,
     &CWVPMarkupInputElement::OnMouseRightButtonDown},
    {WM_RBUTTONUP, &CWVPMarkupInputElement::s_pMouseRightButtonUpEvent, &CWVPMarkupInputElement::OnMouseRightButtonUp},
};

// Raises the event on each element of the chain and, while it stays unhandled, calls the element's
// own handler; the route ends at the first element that handles it.
void RouteMouseEvent(CWVPMarkupContext::CInputElementCollection& chain, CWVPMarkupMouseEventArgs* args,
                     void (CWVPMarkupInputElement::*handler)(CWVPMarkupMouseEventArgs*))
{
    for (int i = 0; i < chain.GetCount() && !args->m_bHandled; ++i)
    {
        CWVPMarkupInputElement* element = chain.GetElement(i);
        element->RaiseEvent(args);
        if (!args->m_bHandled)
            (element->*handler)(args);
    }
}
} // namespace

BOOL CWVPMarkupContext::OnWndMsg(CWVPMarkupUIElement* root, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (!m_hWnd)
        return FALSE;
    if (m_pActiveRoot && m_pActiveRoot != root)
        return FALSE;
    CContextHold hold(this);

    if (message == WM_MOUSEMOVE && root)
        HandleMouseMove(root, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    else if (message == WM_DESTROY || message == WM_MOUSELEAVE)
        SetHoverElement(nullptr, -1, -1);

    if (((message >= WM_MOUSEFIRST && message <= WM_MOUSEWHEEL) || message == WM_MOUSELEAVE) && m_pTooltipContext)
        m_pTooltipContext->RelayToolTipMessage(CWnd::FromHandle(m_hWnd), message, wParam, lParam);

    switch (message)
    {
    case WM_SETCURSOR:
        if (!HandleSetCursor())
            return FALSE;
        *result = 1;
        return TRUE;
    case WM_MOUSEWHEEL:
        if (!HandleMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam)))
            return FALSE;
        *result = 1;
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return HandleMouseButton(message, wParam, lParam);
    case WM_CAPTURECHANGED:
        // A capture that moves to the host window itself is not lost.
        if (m_pCapturedElement && reinterpret_cast<HWND>(lParam) != m_hWnd)
        {
            // Forgotten first, so that a handler may capture the mouse again.
            CWVPMarkupInputElement* captured = m_pCapturedElement;
            m_pCapturedElement = nullptr;
            captured->AddRef();
            CWVPMarkupMouseEventArgs args(CWVPMarkupInputElement::s_pLostMouseCaptureEvent, captured, m_hWnd, 0, 0);
            captured->RaiseEvent(&args);
            if (!args.m_bHandled)
                captured->OnLostMouseCapture(&args);
            captured->Release();
        }
        return FALSE;
    case WM_KEYDOWN:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return m_pKeyboardNavigation ? m_pKeyboardNavigation->OnWndMsg(message, wParam, lParam, result) : FALSE;
    default:
        return FALSE;
    }
}

void CWVPMarkupContext::BuildInputChain(CWVPMarkupInputElement* element, CInputElementCollection* chain)
{
    for (CWVPMarkupObject* o = element; o; o = o->GetLogicalParent())
    {
        if (!o->IsKindOf(CWVPMarkupInputElement::Type()))
            continue;
        o->AddRef();
        chain->Add(o);
    }
}

BOOL CWVPMarkupContext::IsAncestorOrSelf(CWVPMarkupObject* ancestor, CWVPMarkupObject* element)
{
    for (CWVPMarkupObject* o = element; o; o = o->GetLogicalParent())
        if (o == ancestor)
            return TRUE;
    return FALSE;
}

void CWVPMarkupContext::HandleMouseMove(CWVPMarkupUIElement* root, int x, int y)
{
    POINT point = {x, y};
    CWVPMarkupInputElement* hit = root->InputHitTest(point);
    // Under capture only the captured element can be under the mouse.
    if (m_pCapturedElement && hit)
        hit = IsAncestorOrSelf(m_pCapturedElement, hit) ? m_pCapturedElement : nullptr;

    if (hit != m_pHoverElement)
    {
        SetHoverElement(hit, x, y);
        if (m_pHoverElement)
        {
            TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&track);
        }
        if (!HandleSetCursor())
            ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    }
    m_pActiveRoot = m_pHoverElement ? root : nullptr;
    if (!m_pHoverElement)
        return;

    CInputElementCollection chain;
    BuildInputChain(m_pHoverElement, &chain);
    CWVPMarkupMouseEventArgs args(CWVPMarkupInputElement::s_pMouseMoveEvent, m_pHoverElement, m_hWnd, x, y);
    RouteMouseEvent(chain, &args, &CWVPMarkupInputElement::OnMouseMove);
}

void CWVPMarkupContext::SetHoverElement(CWVPMarkupInputElement* element, int x, int y)
{
    if (element == m_pHoverElement)
        return;
    if (!element)
        m_pActiveRoot = nullptr;
    CInputElementCollection oldChain;
    CInputElementCollection newChain;
    BuildInputChain(m_pHoverElement, &oldChain);
    BuildInputChain(element, &newChain);
    // Common ancestors stay under the mouse: they get neither leave nor enter.
    while (oldChain.GetCount() && newChain.GetCount() && oldChain.GetLast() == newChain.GetLast())
    {
        oldChain.RemoveLast();
        newChain.RemoveLast();
    }
    CWVPMarkupMouseEventArgs leave(CWVPMarkupInputElement::s_pMouseLeaveEvent, m_pHoverElement, m_hWnd, x, y);
    CWVPMarkupMouseEventArgs enter(CWVPMarkupInputElement::s_pMouseEnterEvent, element, m_hWnd, x, y);
    // The hover element is no owner: an element's final release clears it (OnElementReleased).
    m_pHoverElement = element;
    RouteMouseEvent(oldChain, &leave, &CWVPMarkupInputElement::OnMouseLeave);
    RouteMouseEvent(newChain, &enter, &CWVPMarkupInputElement::OnMouseEnter);
}

BOOL CWVPMarkupContext::HandleSetCursor()
{
    if (!m_pHoverElement)
        return FALSE;
    CInputElementCollection chain;
    BuildInputChain(m_pHoverElement, &chain);
    CWVPMarkupQueryCursorEventArgs args(nullptr, m_pHoverElement, m_hWnd, 0, 0);
    for (int i = 0; i < chain.GetCount(); ++i)
    {
        chain.GetElement(i)->OnQueryCursor(&args);
        if (!args.m_bHandled)
            continue;
        if (!args.m_hCursor)
            return FALSE;
        ::SetCursor(args.m_hCursor);
        return TRUE;
    }
    return FALSE;
}

BOOL CWVPMarkupContext::HandleMouseWheel(int delta)
{
    if (!m_pHoverElement)
        return FALSE;
    CInputElementCollection chain;
    BuildInputChain(m_pHoverElement, &chain);
    CWVPMarkupMouseWheelEventArgs args(nullptr, m_pHoverElement, m_hWnd, 0, 0);
    args.m_nDelta = delta;
    for (int i = 0; i < chain.GetCount() && !args.m_bHandled; ++i)
        chain.GetElement(i)->OnMouseWheel(&args);
    return args.m_bHandled;
}

BOOL CWVPMarkupContext::HandleMouseButton(UINT message, WPARAM, LPARAM lParam)
{
    CWVPMarkupInputElement* target = m_pCapturedElement ? m_pCapturedElement : m_pHoverElement;
    if (!target)
        return FALSE;
    const ButtonRoute* route = nullptr;
    for (const ButtonRoute& r : kButtonRoutes)
        if (r.message == message)
            route = &r;
    if (!route)
        return FALSE;
    CInputElementCollection chain;
    BuildInputChain(target, &chain);
    CWVPMarkupMouseEventArgs args(*route->event, target, m_hWnd, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    RouteMouseEvent(chain, &args, route->handler);
    return args.m_bHandled;
}

INT_PTR CWVPMarkupContext::HitTestToolTip(POINT, TOOLINFOW* info)
{
    CInputElementCollection chain;
    BuildInputChain(m_pHoverElement, &chain);
    for (int i = 0; i < chain.GetCount(); ++i)
    {
        CWVPMarkupInputElement* element = chain.GetElement(i);
        CWVPMarkupObject* tip = element->GetValue(CWVPMarkupInputElement::s_pToolTipProperty);
        if (!tip || tip->GetType() != CWVPMarkupString::Type())
            continue;
        INT_PTR id = reinterpret_cast<INT_PTR>(element);
        CWVPToolTipContext::InitToolInfo(info, m_hWnd, GetElementRect(element), id,
                                         static_cast<CWVPMarkupString*>(tip)->GetText());
        return id;
    }
    return -1;
}
