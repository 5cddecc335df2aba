#include "uilib/markup/MarkupFrameworkContentElement.h"

#include "uilib/markup/MarkupFrameworkElement.h"
#include "uilib/markup/MarkupType.h"

CWVPMarkupFrameworkElement* CWVPMarkupFrameworkContentElement::GetHost() const
{
    for (CWVPMarkupObject* p = GetLogicalParent(); p; p = p->GetLogicalParent())
        if (p->IsKindOf(CWVPMarkupFrameworkElement::Type()))
            return static_cast<CWVPMarkupFrameworkElement*>(p);
    return nullptr;
}

void CWVPMarkupFrameworkContentElement::OnPropertyChanged(CWVPMarkupDependencyProperty* property,
                                                          CWVPMarkupObject* oldValue, CWVPMarkupObject* newValue)
{
    CWVPMarkupObject::OnPropertyChanged(property, oldValue, newValue);
    UpdateTriggers(property, newValue);
    CWVPMarkupFrameworkElement* host = GetHost();
    if (!host || !property)
        return;
    DWORD flags = property->GetFlags();
    if (flags & MetadataAffectsMeasure)
        host->InvalidateMeasure();
    if (flags & MetadataAffectsArrange)
        host->InvalidateArrange();
    if (flags & MetadataAffectsRender)
        host->InvalidateVisual();
}

CWVPMarkupInputElement* CWVPMarkupFrameworkContentElement::InputHitTest(POINT)
{
    return this;
}
