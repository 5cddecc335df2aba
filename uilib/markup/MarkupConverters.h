// Attribute-text conversion: named and system colours, the enumeration converters that element
// properties register, and the system colour and brush keys used by the markup extensions.
#pragma once

#include "uilib/markup/MarkupDependencyProperty.h"

class CWVPMarkupContext;

// Texts equal ignoring the case of ASCII letters.
BOOL MarkupTextEqualNoCase(LPCWSTR a, LPCWSTR b);

// Nonzero when the name is one of the 140 named colours (case-insensitive); stores its COLORREF.
BOOL WVPMarkupNamedColor(LPCWSTR name, COLORREF* color);
// The system colour index of a key name ("Window", "ControlText", ...), matched as a prefix in
// alphabetical order; -1 when none.
int WVPMarkupSystemColorIndex(LPCWSTR name, int length);

// Property converters: each takes a string value and returns a new value object, or null.
CWVPMarkupObject* MarkupConvertTextDecorations(CWVPMarkupContext* context, CWVPMarkupObject* value);
CWVPMarkupObject* MarkupConvertFontWeight(CWVPMarkupContext* context, CWVPMarkupObject* value);
CWVPMarkupObject* MarkupConvertFontStyle(CWVPMarkupContext* context, CWVPMarkupObject* value);
CWVPMarkupObject* MarkupConvertFontQuality(CWVPMarkupContext* context, CWVPMarkupObject* value);
CWVPMarkupObject* MarkupConvertHorizontalAlignment(CWVPMarkupContext* context, CWVPMarkupObject* value);
CWVPMarkupObject* MarkupConvertVerticalAlignment(CWVPMarkupContext* context, CWVPMarkupObject* value);
CWVPMarkupObject* MarkupConvertVisibility(CWVPMarkupContext* context, CWVPMarkupObject* value);
CWVPMarkupObject* MarkupConvertTextWrapping(CWVPMarkupContext* context, CWVPMarkupObject* value);
CWVPMarkupObject* MarkupConvertTextTrimming(CWVPMarkupContext* context, CWVPMarkupObject* value);
CWVPMarkupObject* MarkupConvertTextAlignment(CWVPMarkupContext* context, CWVPMarkupObject* value);
CWVPMarkupObject* MarkupConvertOrientation(CWVPMarkupContext* context, CWVPMarkupObject* value);
CWVPMarkupObject* MarkupConvertBaselineAlignment(CWVPMarkupContext* context, CWVPMarkupObject* value);
CWVPMarkupObject* MarkupConvertScrollBarVisibility(CWVPMarkupContext* context, CWVPMarkupObject* value);
CWVPMarkupObject* MarkupConvertStretch(CWVPMarkupContext* context, CWVPMarkupObject* value);
CWVPMarkupObject* MarkupConvertCursor(CWVPMarkupContext* context, CWVPMarkupObject* value);
CWVPMarkupObject* MarkupConvertTabNavigation(CWVPMarkupContext* context, CWVPMarkupObject* value);
CWVPMarkupObject* MarkupConvertIsChecked(CWVPMarkupContext* context, CWVPMarkupObject* value);

// A resource key standing for a system colour.
class CWVPMarkupColorKey : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    explicit CWVPMarkupColorKey(int index = 0) : m_nIndex(index) {}
    int m_nIndex;
};

// A resource key standing for a system brush.
class CWVPMarkupBrushKey : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    explicit CWVPMarkupBrushKey(int index = 0) : m_nIndex(index) {}
    int m_nIndex;
};
