#include "uilib/markup/MarkupPanel.h"

#include "uilib/markup/MarkupBrush.h"
#include "uilib/markup/MarkupDrawingContext.h"
#include "uilib/markup/MarkupType.h"

CWVPMarkupUIElementCollection::CWVPMarkupUIElementCollection() : CWVPMarkupCollection(CWVPMarkupUIElement::Type())
{
}

CWVPMarkupPanel::CWVPMarkupPanel() : m_pChildren(new CWVPMarkupUIElementCollection())
{
    m_pChildren->SetLogicalParent(this);
}

CWVPMarkupPanel::~CWVPMarkupPanel()
{
    m_pChildren->SetLogicalParent(nullptr);
    m_pChildren->Release();
}

void CWVPMarkupPanel::SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content)
{
    m_pChildren->SetContentObject(builder, content);
}

BOOL CWVPMarkupPanel::HasContentObject() const
{
    return m_pChildren->HasContentObject();
}

int CWVPMarkupPanel::GetVisualChildrenCount() const
{
    return m_pChildren->GetCount();
}

CWVPMarkupVisual* CWVPMarkupPanel::GetVisualChild(int index) const
{
    return GetChildElement(index);
}

CWVPMarkupUIElement* CWVPMarkupPanel::GetChildElement(int index) const
{
    if (index < 0 || index >= m_pChildren->GetCount())
        return nullptr;
    return static_cast<CWVPMarkupUIElement*>(m_pChildren->GetItem(index));
}

void CWVPMarkupPanel::OnRender(CWVPMarkupDrawingContext* dc)
{
    CWVPMarkupBrush* background = MarkupCast<CWVPMarkupBrush>(GetValue(s_pBackgroundProperty));
    if (background && m_szRender.cx >= 1 && m_szRender.cy >= 1)
        dc->FillRect(background, {0, 0, m_szRender.cx, m_szRender.cy});
}

CWVPMarkupInputElement* CWVPMarkupPanel::InputHitTestCore(POINT)
{
    return GetValue(s_pBackgroundProperty) ? this : nullptr;
}
