// The grid panel and its definitions: children are placed in the cells of a table whose rows and
// columns are fixed in pixels, follow their content ("Auto") or share the remaining space in
// proportions ("*" lengths), within each definition's minimum and maximum.
#pragma once

#include "uilib/markup/MarkupPanel.h"

class CWVPMarkupPropertyChangedEventArgs;

// The length of a row or column: a pixel count, "Auto" or a star weight.
class CWVPMarkupGridLength : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    enum
    {
        unitAuto = 0,
        unitPixel = 1,
        unitStar = 2
    };
    CWVPMarkupGridLength(double value = 0, int unit = unitPixel) : m_dValue(value), m_nUnit(unit)
    {
    }
    CWVPMarkupObject* ConvertFrom(CWVPMarkupObject* source) override;
    double m_dValue;
    int m_nUnit;
};

// What rows and columns share: their length and limits, and the layout state the grid keeps in
// them between its measure and arrange.
class CWVPMarkupDefinitionBase : public CWVPMarkupObject
{
  public:
    enum
    {
        kindFixed = 1,
        kindAuto = 2,
        kindStar = 4
    };
    explicit CWVPMarkupDefinitionBase(BOOL isColumn);
    // Width or Height (one star when unset).
    double GetLengthValue() const;
    int GetLengthUnit() const;
    int GetUserMinSize() const;
    int GetUserMaxSize() const;

    BOOL m_bIsColumn;
    int m_nMinSize;
    int m_nSizeKind;
    double m_dMeasureSize;
    double m_dFinalSize;
    int m_nFinalOffset;
};

class CWVPMarkupColumnDefinition : public CWVPMarkupDefinitionBase
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupColumnDefinition() : CWVPMarkupDefinitionBase(TRUE)
    {
    }
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pWidthProperty;
    static CWVPMarkupDependencyProperty* s_pMinWidthProperty;
    static CWVPMarkupDependencyProperty* s_pMaxWidthProperty;
};

class CWVPMarkupRowDefinition : public CWVPMarkupDefinitionBase
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupRowDefinition() : CWVPMarkupDefinitionBase(FALSE)
    {
    }
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pHeightProperty;
    static CWVPMarkupDependencyProperty* s_pMinHeightProperty;
    static CWVPMarkupDependencyProperty* s_pMaxHeightProperty;
};

class CWVPMarkupDefinitionCollection : public CWVPMarkupCollection
{
    DECLARE_MARKUP_TYPE()
  public:
    explicit CWVPMarkupDefinitionCollection(CWVPMarkupType* elementType = nullptr) : CWVPMarkupCollection(elementType)
    {
    }
    CWVPMarkupDefinitionBase* GetDefinition(int index) const
    {
        return static_cast<CWVPMarkupDefinitionBase*>(GetItem(index));
    }
};

class CWVPMarkupRowDefinitionCollection : public CWVPMarkupDefinitionCollection
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupRowDefinitionCollection();
};

class CWVPMarkupColumnDefinitionCollection : public CWVPMarkupDefinitionCollection
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupColumnDefinitionCollection();
};

class CWVPMarkupGrid : public CWVPMarkupPanel
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupGrid();
    ~CWVPMarkupGrid() override;
    // ColumnDefinitions and RowDefinitions are kept in the grid's own fields, read through here.
    CWVPMarkupObject* GetValueCore(CWVPMarkupDependencyProperty* property) const override;
    void SetPropertyObject(CWVPMarkupBuilder* builder, CWVPMarkupDependencyProperty* property,
                           CWVPMarkupObject* value) override;
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    SIZE ArrangeOverride(int finalWidth, int finalHeight) override;

    CWVPMarkupColumnDefinitionCollection* GetColumnDefinitions() const
    {
        return static_cast<CWVPMarkupColumnDefinitionCollection*>(m_pColumns);
    }
    CWVPMarkupRowDefinitionCollection* GetRowDefinitions() const
    {
        return static_cast<CWVPMarkupRowDefinitionCollection*>(m_pRows);
    }
    // The definitions of the last layout (the grid's own, or one default star definition).
    CWVPMarkupDefinitionCollection* GetEffectiveColumns() const
    {
        return m_pEffectiveColumns;
    }
    CWVPMarkupDefinitionCollection* GetEffectiveRows() const
    {
        return m_pEffectiveRows;
    }

    // Grid.Column and Grid.Row change callback: the child's grid measures again.
    static void OnCellChanged(CWVPMarkupObject* object, CWVPMarkupPropertyChangedEventArgs* args);
    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pColumnDefinitionsProperty;
    static CWVPMarkupDependencyProperty* s_pRowDefinitionsProperty;
    static CWVPMarkupDependencyProperty* s_pColumnProperty;
    static CWVPMarkupDependencyProperty* s_pRowProperty;

  private:
    static const int kEndOfList = 0x7FFFFFFF;
    struct Cell
    {
        int column, row, columnSpan, rowSpan, columnKinds, rowKinds, next;
    };

    // Takes a value given for ColumnDefinitions or RowDefinitions in place of the grid's own.
    void SetDefinitions(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* value);
    void BuildCells();
    void MeasureCell(CWVPMarkupDrawingContext* dc, int index, BOOL rowsUnbounded);
    void MeasureGroup(CWVPMarkupDrawingContext* dc, int head, BOOL keepColumns, BOOL rowsUnbounded);
    int CellIndexOf(CWVPMarkupUIElement* child, CWVPMarkupDependencyProperty* property, int count) const;

    CWVPMarkupDefinitionCollection* m_pRows;
    CWVPMarkupDefinitionCollection* m_pColumns;
    // One record per child (owned), rebuilt by every measure that uses definitions.
    Cell* m_pCells;
    int m_nCells;
    BOOL m_bHasCells;
    int m_nGroups[4];
    BOOL m_bStarColumns;
    BOOL m_bStarRows;
    BOOL m_bStarColumnsInAutoRow;
    CWVPMarkupDefinitionCollection* m_pEffectiveColumns;
    CWVPMarkupDefinitionCollection* m_pEffectiveRows;
};
