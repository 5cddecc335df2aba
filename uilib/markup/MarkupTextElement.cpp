#include "uilib/markup/MarkupTextElement.h"

#include "uilib/markup/MarkupBrush.h"
#include "uilib/markup/MarkupValues.h"

CWVPMarkupBrush* CWVPMarkupTextElement::GetBackground(const CWVPMarkupObject* element)
{
    return element ? MarkupCast<CWVPMarkupBrush>(element->GetValue(s_pBackgroundProperty)) : nullptr;
}

CWVPMarkupBrush* CWVPMarkupTextElement::GetForeground(const CWVPMarkupObject* element)
{
    return element ? MarkupCast<CWVPMarkupBrush>(element->GetValue(s_pForegroundProperty)) : nullptr;
}

void CWVPMarkupTextElement::SetFontWeight(int weight)
{
    SetValue(s_pFontWeightProperty, CWVPMarkupEnum::CreateValue(weight));
}

void CWVPMarkupTextElement::SetFontStyle(int style)
{
    SetValue(s_pFontStyleProperty, CWVPMarkupEnum::CreateValue(style));
}

void CWVPMarkupTextElement::SetTextDecorations(int decorations)
{
    SetValue(s_pTextDecorationsProperty, CWVPMarkupEnum::CreateValue(decorations));
}
