#include "uilib/markup/MarkupEntryPoints.h"

#include "uilib/markup/MarkupContext.h"
#include "uilib/markup/MarkupDrawingContext.h"
#include "uilib/markup/MarkupUIElement.h"

#include <algorithm>
#include <new>

namespace
{
const COLORREF kKeepTextColor = static_cast<COLORREF>(-1);
} // namespace

CWVPMarkupContext* MarkupCreateContext(HWND hwnd)
{
    try
    {
        return new CWVPMarkupContext(hwnd);
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

void MarkupReleaseContext(CWVPMarkupContext** context)
{
    if (!context || !*context)
        return;
    CWVPMarkupContext* released = *context;
    *context = nullptr;
    released->Release();
}

void MarkupReleaseElement(CWVPMarkupUIElement** element)
{
    if (!element || !*element)
        return;
    CWVPMarkupUIElement* released = *element;
    *element = nullptr;
    released->Release();
}

CWVPMarkupUIElement* MarkupParseText(CWVPMarkupContext* context, LPCWSTR text)
{
    if (!context || !text)
        return nullptr;
    CWVPMarkupObject* root = context->Parse(text);
    if (!root)
        return nullptr;
    if (!root->IsKindOf(CWVPMarkupUIElement::Type()))
    {
        root->Release();
        return nullptr;
    }
    return static_cast<CWVPMarkupUIElement*>(root);
}

CWVPMarkupContext* MarkupGetElementContext(CWVPMarkupUIElement* element)
{
    return element ? element->GetMarkupContext() : nullptr;
}

void MarkupSetDefaultFont(CWVPMarkupContext* context, HFONT font, COLORREF textColor)
{
    if (!context)
        return;
    if (font)
        context->SetDefaultFont(font);
    if (textColor != kKeepTextColor)
        context->SetDefaultTextColor(textColor);
}

BOOL MarkupRelayMessage(CWVPMarkupUIElement* element, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    CWVPMarkupContext* context = MarkupGetElementContext(element);
    if (!context)
        return FALSE;
    LRESULT ignored = 0;
    return context->OnWndMsg(element, message, wParam, lParam, result ? result : &ignored);
}

SIZE MarkupMeasureElement(CWVPMarkupUIElement* element, int availableWidth, int availableHeight)
{
    SIZE size = {0, 0};
    if (!element)
        return size;
    CWVPMarkupDrawingContext dc;
    element->Measure(&dc, (std::max)(availableWidth, 0), (std::max)(availableHeight, 0));
    return element->GetDesiredSize();
}

BOOL MarkupRenderElement(CWVPMarkupUIElement* element, HDC dc, const RECT* rect)
{
    if (!element || !dc || !rect || ::IsRectEmpty(rect))
        return FALSE;
    element->Arrange(*rect);
    // The caller's device context gets its mode, origin and clipping back.
    const int saved = ::SaveDC(dc);
    {
        CWVPMarkupDrawingContext drawing(dc);
        element->Render(&drawing);
    }
    ::RestoreDC(dc, saved);
    return TRUE;
}
