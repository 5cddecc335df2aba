// The shapes of the markup language: framework elements that draw one figure with GDI in their
// own coordinates (polygon, polyline, rectangle, ellipse, line) from a fill brush, a stroke brush
// and a stroke thickness, and the point list that polygons and polylines are written with.
#pragma once

#include "uilib/markup/MarkupFrameworkElement.h"

class CWVPMarkupBrush;

class CWVPMarkupShape : public CWVPMarkupFrameworkElement
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupBrush* GetFill() const;
    CWVPMarkupBrush* GetStroke() const;
    // The outline width where a stroke is drawn: StrokeThickness, 1 when unset.
    int GetStrokeWidth() const;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pFillProperty;
    static CWVPMarkupDependencyProperty* s_pStrokeProperty;
    static CWVPMarkupDependencyProperty* s_pStrokeThicknessProperty;
    static CWVPMarkupDependencyProperty* s_pStretchProperty;
};

// A list of points written as "x,y x,y ...", with the box from (0, 0) to the largest coordinates.
class CWVPMarkupPointCollection : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupPointCollection();
    ~CWVPMarkupPointCollection() override;
    CWVPMarkupObject* ConvertFrom(CWVPMarkupObject* source) override;

    // Reads the point list; false for text that is not one (the list is left empty then).
    BOOL Parse(LPCWSTR text, int length);

    const POINT* GetPoints() const { return m_pPoints; }
    int GetCount() const { return m_nCount; }
    // Left and top are 0; right and bottom the largest x and y, at least 0.
    const RECT& GetBounds() const { return m_rcBounds; }

  private:
    // The array is the collection's own (markup headers stay free of the C++ library, which
    // cannot follow the Win32 headers' min and max).
    POINT* m_pPoints;
    int m_nCount;
    RECT m_rcBounds;

    CWVPMarkupPointCollection(const CWVPMarkupPointCollection&) = delete;
    CWVPMarkupPointCollection& operator=(const CWVPMarkupPointCollection&) = delete;
};

class CWVPMarkupPolygon : public CWVPMarkupShape
{
    DECLARE_MARKUP_TYPE()
  public:
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    void OnRender(CWVPMarkupDrawingContext* dc) override;
    CWVPMarkupPointCollection* GetPoints() const;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pPointsProperty;
};

class CWVPMarkupPolyline : public CWVPMarkupShape
{
    DECLARE_MARKUP_TYPE()
  public:
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    void OnRender(CWVPMarkupDrawingContext* dc) override;
    CWVPMarkupPointCollection* GetPoints() const;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pPointsProperty;
};

class CWVPMarkupRectangle : public CWVPMarkupShape
{
    DECLARE_MARKUP_TYPE()
  public:
    void OnRender(CWVPMarkupDrawingContext* dc) override;
};

class CWVPMarkupEllipse : public CWVPMarkupShape
{
    DECLARE_MARKUP_TYPE()
  public:
    void OnRender(CWVPMarkupDrawingContext* dc) override;
    CWVPMarkupInputElement* InputHitTestCore(POINT point) override;
};

class CWVPMarkupLine : public CWVPMarkupShape
{
    DECLARE_MARKUP_TYPE()
  public:
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    void OnRender(CWVPMarkupDrawingContext* dc) override;
    CWVPMarkupInputElement* InputHitTestCore(POINT point) override;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pX1Property;
    static CWVPMarkupDependencyProperty* s_pY1Property;
    static CWVPMarkupDependencyProperty* s_pX2Property;
    static CWVPMarkupDependencyProperty* s_pY2Property;

  private:
    POINT GetStart() const;
    POINT GetEnd() const;
};
