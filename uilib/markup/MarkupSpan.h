// Spans group inlines and format them: a plain span, and bold, italic and underline spans that set
// the matching text property locally (markup can override it).
#pragma once

#include "uilib/markup/MarkupInline.h"

class CWVPMarkupSpan : public CWVPMarkupInlineContent<CWVPMarkupInline>
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupInline* GetFirstInline() override;
};

class CWVPMarkupBold : public CWVPMarkupSpan
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupBold();
};

class CWVPMarkupItalic : public CWVPMarkupSpan
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupItalic();
};

class CWVPMarkupUnderline : public CWVPMarkupSpan
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupUnderline();
};
