// A run of text in one font, and the line break (a run of one line feed). A run's positions are
// the addresses of its characters through the terminating zero; its font is derived from the
// context's default font by the inherited text properties and taken from the context's font cache.
#pragma once

#include "uilib/markup/MarkupInline.h"

class CWVPMarkupFont;

class CWVPMarkupRun : public CWVPMarkupInline
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupRun();
    ~CWVPMarkupRun() override;
    void OnFinalRelease() override;
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override;
    BOOL HasContentObject() const override;

    MarkupTextPosition GetFirstPosition() const override;
    void GetNextPosition(MarkupTextPosition& position) const override;
    BOOL IsWordBreakPosition(MarkupTextPosition position) const override;
    BOOL IsLineBreakPosition(MarkupTextPosition position) const override;
    BOOL IsWhiteSpacePosition(MarkupTextPosition position) const override;
    SIZE MeasureRange(CWVPMarkupDrawingContext* dc, MarkupTextPosition first, MarkupTextPosition last) override;
    void RenderRange(CWVPMarkupDrawingContext* dc, const RECT& rect, MarkupTextPosition first,
                     MarkupTextPosition last) override;
    void PrepareMeasure(CWVPMarkupDrawingContext* dc) override;
    int GetBaselineOffset() const override;
    // The font this run draws with: the context's default font changed by the text properties.
    virtual void GetLogFont(LOGFONTW* font) const;

    LPCWSTR GetText() const;
    CWVPMarkupFont* GetFont() const
    {
        return m_pFont;
    }

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pTextProperty;

  private:
    // The characters of a valid stretch (first up to last within the current text), or FALSE.
    BOOL GetStretch(MarkupTextPosition first, MarkupTextPosition last, LPCWSTR* text, int* length) const;
    void ReleaseFont();

    int m_nDescent;
    CWVPMarkupFont* m_pFont;
};

class CWVPMarkupLineBreak : public CWVPMarkupRun
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupLineBreak();
};
