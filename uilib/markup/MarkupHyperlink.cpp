#include "uilib/markup/MarkupHyperlink.h"

#include "uilib/markup/MarkupElements.h"

CWVPMarkupHyperlink::CWVPMarkupHyperlink() : m_bPressed(FALSE)
{
}

void CWVPMarkupHyperlink::OnMouseLeftButtonDown(CWVPMarkupMouseEventArgs* args)
{
    m_bPressed = TRUE;
    if (args)
        args->m_bHandled = TRUE;
}

void CWVPMarkupHyperlink::OnMouseLeftButtonUp(CWVPMarkupMouseEventArgs* args)
{
    if (!m_bPressed)
        return;
    m_bPressed = FALSE;
    OnClick();
    if (args)
        args->m_bHandled = TRUE;
}

void CWVPMarkupHyperlink::OnClick()
{
    CWVPMarkupRoutedEventArgs args(CWVPMarkupButtonBase::s_pClickEvent, this);
    RaiseEvent(&args);
}
