// The markup engine's flat entry points: the rest of the library (themed buttons, markup labels of
// the command bars, tabs and markup tooltips) creates contexts, parses markup, measures, renders
// and relays window messages only through these. Every one of them accepts null arguments.
#pragma once

#include <windows.h>

class CWVPMarkupContext;
class CWVPMarkupUIElement;

// A new context for the host window (may be null) with one reference; null when out of memory.
CWVPMarkupContext* MarkupCreateContext(HWND hwnd);
// Releases one reference of *context and sets it to null.
void MarkupReleaseContext(CWVPMarkupContext** context);
// Releases one reference of *element and sets it to null. The element holds its context, so
// contexts and elements may be released in either order.
void MarkupReleaseElement(CWVPMarkupUIElement** element);
// The root element of the markup with one reference; null for a null context or text, a syntax
// error or a root that is not a UI element.
CWVPMarkupUIElement* MarkupParseText(CWVPMarkupContext* context, LPCWSTR text);
// The element's context without a reference.
CWVPMarkupContext* MarkupGetElementContext(CWVPMarkupUIElement* element);
// Sets the default font when a font is given, and the default text colour unless it is -1.
void MarkupSetDefaultFont(CWVPMarkupContext* context, HFONT font, COLORREF textColor);
// TRUE when the element's context handled a message of its host window.
BOOL MarkupRelayMessage(CWVPMarkupUIElement* element, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
// The desired size under the available size (2147483647 for an unbounded extent); (0, 0) without
// element.
SIZE MarkupMeasureElement(CWVPMarkupUIElement* element, int availableWidth, int availableHeight);
// Arranges the element into the rectangle and draws it on the device context. FALSE when an
// argument is missing or the rectangle is empty (nothing is drawn then).
BOOL MarkupRenderElement(CWVPMarkupUIElement* element, HDC dc, const RECT* rect);
