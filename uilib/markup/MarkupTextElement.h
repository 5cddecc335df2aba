// The formatting shared by every piece of text: background and foreground brushes, the font's
// size, weight, family, style and quality, and decorations. They are attached properties inherited
// along the logical tree, so a panel or a span can set them for all the text below it.
#pragma once

#include "uilib/markup/MarkupFrameworkContentElement.h"

class CWVPMarkupBrush;

class CWVPMarkupTextElement : public CWVPMarkupFrameworkContentElement
{
    DECLARE_MARKUP_TYPE()
  public:
    // FontStyle values.
    enum
    {
        styleNormal = 0,
        styleItalic = 1
    };
    // TextDecorations values.
    enum
    {
        decorationNone = 0,
        decorationUnderline = 1,
        decorationStrikethrough = 2
    };

    // Effective (inherited) brushes of any element, or null.
    static CWVPMarkupBrush* GetBackground(const CWVPMarkupObject* element);
    static CWVPMarkupBrush* GetForeground(const CWVPMarkupObject* element);
    // Local values set by the formatting spans.
    void SetFontWeight(int weight);
    void SetFontStyle(int style);
    void SetTextDecorations(int decorations);

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pBackgroundProperty;
    static CWVPMarkupDependencyProperty* s_pForegroundProperty;
    static CWVPMarkupDependencyProperty* s_pFontSizeProperty;
    static CWVPMarkupDependencyProperty* s_pFontWeightProperty;
    static CWVPMarkupDependencyProperty* s_pFontFamilyProperty;
    static CWVPMarkupDependencyProperty* s_pFontStyleProperty;
    static CWVPMarkupDependencyProperty* s_pTextDecorationsProperty;
    static CWVPMarkupDependencyProperty* s_pFontQualityProperty;
};
