// Markup brushes: a solid colour, and a linear gradient of any number of stops computed into a
// 32-bit bitmap of which only the visible part is filled and copied.
#pragma once

#include "uilib/markup/MarkupCollection.h"

class CWVPMarkupDrawingContext;
class CWVPMarkupDependencyProperty;

class CWVPMarkupBrush : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupObject* ConvertFrom(CWVPMarkupObject* source) override;
    virtual void FillRect(CWVPMarkupDrawingContext* dc, RECT rect);
    virtual COLORREF GetColor() const;
};

class CWVPMarkupSolidColorBrush : public CWVPMarkupBrush
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupSolidColorBrush() {}
    explicit CWVPMarkupSolidColorBrush(COLORREF color);
    BOOL IsEqual(const CWVPMarkupObject* other) const override;
    void FillRect(CWVPMarkupDrawingContext* dc, RECT rect) override;
    COLORREF GetColor() const override;
    BOOL HasColor() const;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pColorProperty;
};

class CWVPMarkupGradientStop : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    COLORREF GetColor() const;
    double GetOffset() const;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pColorProperty;
    static CWVPMarkupDependencyProperty* s_pOffsetProperty;
};

class CWVPMarkupGradientStops : public CWVPMarkupCollection
{
  public:
    CWVPMarkupGradientStops();
};

class CWVPMarkupLinearGradientBrush : public CWVPMarkupBrush
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupLinearGradientBrush();
    ~CWVPMarkupLinearGradientBrush() override;
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override;
    BOOL HasContentObject() const override;
    void FillRect(CWVPMarkupDrawingContext* dc, RECT rect) override;
    CWVPMarkupGradientStops* GetStops() const { return m_pStops; }

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pStartPointProperty;
    static CWVPMarkupDependencyProperty* s_pEndPointProperty;

  private:
    CWVPMarkupGradientStops* m_pStops;
};

// Fills a rectangle with one colour: the background colour and an opaque empty text line.
void MarkupFillOpaque(HDC dc, const RECT& rect, COLORREF color);
