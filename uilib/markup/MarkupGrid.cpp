#include "uilib/markup/MarkupGrid.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "uilib/markup/MarkupBuilder.h"
#include "uilib/markup/MarkupConverters.h"
#include "uilib/markup/MarkupDependencyProperty.h"
#include "uilib/markup/MarkupLayoutMath.h"
#include "uilib/markup/MarkupScan.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
const int kNoLimit = 0x7FFFFFFF;
// An available size above this counts as no limit for the grid.
const int kUnboundedAbove = 32000;

// A layout size in floating point as whole pixels, truncated toward zero and kept in range.
int Truncate(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= (double)kNoLimit)
        return kNoLimit;
    if (value <= -(double)kNoLimit)
        return -kNoLimit;
    return static_cast<int>(value);
}

// The star weight of a definition; a negative, infinite or unreadable weight counts as none.
double StarWeight(const CWVPMarkupDefinitionBase* definition)
{
    double weight = definition->GetLengthValue();
    return std::isfinite(weight) && weight > 0 ? weight : 0;
}

BOOL IsStar(const CWVPMarkupDefinitionBase* definition)
{
    return definition->GetLengthUnit() == CWVPMarkupGridLength::unitStar;
}

// The limit a star definition can grow to, relative to its weight: the sort key that serves the
// definitions with the least room first.
double StarKey(const CWVPMarkupDefinitionBase* definition, double weight)
{
    int maximum = definition->GetUserMaxSize();
    double room = (maximum == kNoLimit || maximum < definition->m_nMinSize) ? definition->m_nMinSize : maximum;
    return room / weight;
}

struct StarShare
{
    CWVPMarkupDefinitionBase* definition;
    double weight;
    double key;
};

// Shares space - taken over the star definitions in order of their keys; returns what they took
// and stores each one's size through store.
template <class Store> double ShareStars(std::vector<StarShare>& stars, double space, double taken, Store store)
{
    std::stable_sort(stars.begin(), stars.end(), [](const StarShare& a, const StarShare& b) { return a.key < b.key; });
    double sum = 0;
    for (size_t i = stars.size(); i-- > 0;)
    {
        sum += stars[i].weight;
        stars[i].key = sum;
    }
    for (StarShare& star : stars)
    {
        CWVPMarkupDefinitionBase* d = star.definition;
        int size = d->m_nMinSize;
        if (star.weight != 0)
        {
            size = Truncate(star.weight / star.key * (std::max)(space - taken, 0.0));
            size = (std::max)((std::min)(size, d->GetUserMaxSize()), d->m_nMinSize);
        }
        store(d, size);
        taken += size;
    }
    return taken;
}

std::vector<StarShare> CollectStars(CWVPMarkupDefinitionCollection* definitions, BOOL byKind)
{
    std::vector<StarShare> stars;
    for (int i = 0; i < definitions->GetCount(); ++i)
    {
        CWVPMarkupDefinitionBase* d = definitions->GetDefinition(i);
        if (byKind ? d->m_nSizeKind != CWVPMarkupDefinitionBase::kindStar : !IsStar(d))
            continue;
        double weight = StarWeight(d);
        stars.push_back({d, weight, weight == 0 ? 0 : StarKey(d, weight)});
    }
    return stars;
}

// Gives the star definitions of a measure their share of the available size.
void DistributeStars(CWVPMarkupDefinitionCollection* definitions, double available)
{
    double taken = 0;
    for (int i = 0; i < definitions->GetCount(); ++i)
    {
        CWVPMarkupDefinitionBase* d = definitions->GetDefinition(i);
        if (d->m_nSizeKind == CWVPMarkupDefinitionBase::kindFixed)
            taken += d->m_dMeasureSize;
        else if (d->m_nSizeKind == CWVPMarkupDefinitionBase::kindAuto)
            taken += d->m_nMinSize;
    }
    std::vector<StarShare> stars = CollectStars(definitions, TRUE);
    ShareStars(stars, available, taken, [](CWVPMarkupDefinitionBase* d, int size) { d->m_dMeasureSize = size; });
}

// Resets the layout state of the definitions before a measure.
void PrepareDefinitions(CWVPMarkupDefinitionCollection* definitions, BOOL unbounded)
{
    for (int i = 0; i < definitions->GetCount(); ++i)
    {
        CWVPMarkupDefinitionBase* d = definitions->GetDefinition(i);
        d->m_nMinSize = 0;
        d->m_nSizeKind = 0;
        d->m_dMeasureSize = 0;
        int minimum = d->GetUserMinSize(), maximum = d->GetUserMaxSize(), user = kNoLimit;
        int unit = d->GetLengthUnit();
        if (unit == CWVPMarkupGridLength::unitAuto)
            d->m_nSizeKind = CWVPMarkupDefinitionBase::kindAuto;
        else if (unit == CWVPMarkupGridLength::unitPixel)
        {
            d->m_nSizeKind = CWVPMarkupDefinitionBase::kindFixed;
            user = Truncate(d->GetLengthValue());
            minimum = (std::max)(minimum, (std::min)(user, maximum));
        }
        else
            d->m_nSizeKind = unbounded ? CWVPMarkupDefinitionBase::kindAuto : CWVPMarkupDefinitionBase::kindStar;
        d->m_nMinSize = (std::max)(d->m_nMinSize, minimum);
        d->m_dMeasureSize = (std::max)(minimum, (std::min)(user, maximum));
    }
}

// The final sizes and offsets of the definitions for a final size.
void ComputeFinalSizes(CWVPMarkupDefinitionCollection* definitions, int finalSize)
{
    int count = definitions->GetCount();
    double total = 0;
    for (int i = 0; i < count; ++i)
    {
        CWVPMarkupDefinitionBase* d = definitions->GetDefinition(i);
        if (IsStar(d))
            continue;
        int preferred =
            d->GetLengthUnit() == CWVPMarkupGridLength::unitAuto ? d->m_nMinSize : Truncate(d->GetLengthValue());
        d->m_dFinalSize = (std::max)(d->m_nMinSize, (std::min)(preferred, d->GetUserMaxSize()));
        total += d->m_dFinalSize;
    }
    std::vector<StarShare> stars = CollectStars(definitions, FALSE);
    total = ShareStars(stars, finalSize, total, [](CWVPMarkupDefinitionBase* d, int size) { d->m_dFinalSize = size; });
    if (finalSize < total)
    {
        // Too little room: shrink towards the minimums, those with the least room first.
        std::vector<CWVPMarkupDefinitionBase*> all;
        for (int i = 0; i < count; ++i)
            all.push_back(definitions->GetDefinition(i));
        std::stable_sort(all.begin(), all.end(),
                         [](const CWVPMarkupDefinitionBase* a, const CWVPMarkupDefinitionBase* b) {
                             return a->m_dFinalSize - a->m_nMinSize < b->m_dFinalSize - b->m_nMinSize;
                         });
        double excess = finalSize - total;
        for (int i = 0; i < count; ++i)
        {
            CWVPMarkupDefinitionBase* d = all[i];
            double shrunk = excess / (count - i) + d->m_dFinalSize;
            double size = (std::min)((std::max)(shrunk, (double)d->m_nMinSize), d->m_dFinalSize);
            excess -= size - d->m_dFinalSize;
            d->m_dFinalSize = size;
        }
    }
    int offset = 0;
    for (int i = 0; i < count; ++i)
    {
        CWVPMarkupDefinitionBase* d = definitions->GetDefinition(i);
        d->m_nFinalOffset = offset;
        offset = MarkupAddSize(offset, Truncate(d->m_dFinalSize));
    }
}

// A collection with one default (star) definition, for a grid that defines none in a direction.
CWVPMarkupDefinitionCollection* MakeDefaultDefinitions(BOOL columns)
{
    CWVPMarkupDefinitionCollection* collection;
    if (columns)
    {
        collection = new CWVPMarkupColumnDefinitionCollection();
        collection->Add(new CWVPMarkupColumnDefinition());
    }
    else
    {
        collection = new CWVPMarkupRowDefinitionCollection();
        collection->Add(new CWVPMarkupRowDefinition());
    }
    return collection;
}

// The size of a definition during measure: an auto definition counts with its minimum.
double MeasureSizeOf(const CWVPMarkupDefinitionBase* d)
{
    return d->m_nSizeKind == CWVPMarkupDefinitionBase::kindAuto ? d->m_nMinSize : d->m_dMeasureSize;
}
} // namespace

// ---- Grid length ----------------------------------------------------------------------------
CWVPMarkupObject* CWVPMarkupGridLength::ConvertFrom(CWVPMarkupObject* source)
{
    if (!source || source->GetType() != CWVPMarkupString::Type())
        return nullptr;
    const CWVPMarkupString* text = static_cast<const CWVPMarkupString*>(source);
    int length = text->GetLength();
    if (length < 1)
        return nullptr;
    if (length == 4 && MarkupTextEqualNoCase(text->GetText(), L"Auto"))
        return new CWVPMarkupGridLength(1, unitAuto);
    float value = 0;
    if (MarkupScanFormat(text->GetText(), "%f", &value) != 1)
        value = 0;
    if (text->GetText()[length - 1] == '*')
        return new CWVPMarkupGridLength(length == 1 ? 1.0 : (double)value, unitStar);
    return new CWVPMarkupGridLength(value, unitPixel);
}

// ---- Definitions ----------------------------------------------------------------------------
CWVPMarkupDefinitionBase::CWVPMarkupDefinitionBase(BOOL isColumn)
    : m_bIsColumn(isColumn), m_nMinSize(0), m_nSizeKind(0), m_dMeasureSize(0), m_dFinalSize(0), m_nFinalOffset(0)
{
}

double CWVPMarkupDefinitionBase::GetLengthValue() const
{
    const CWVPMarkupGridLength* length = MarkupCast<CWVPMarkupGridLength>(GetValue(
        m_bIsColumn ? CWVPMarkupColumnDefinition::s_pWidthProperty : CWVPMarkupRowDefinition::s_pHeightProperty));
    return length ? length->m_dValue : 1.0;
}

int CWVPMarkupDefinitionBase::GetLengthUnit() const
{
    const CWVPMarkupGridLength* length = MarkupCast<CWVPMarkupGridLength>(GetValue(
        m_bIsColumn ? CWVPMarkupColumnDefinition::s_pWidthProperty : CWVPMarkupRowDefinition::s_pHeightProperty));
    return length ? length->m_nUnit : CWVPMarkupGridLength::unitStar;
}

int CWVPMarkupDefinitionBase::GetUserMinSize() const
{
    return CWVPMarkupInt::ValueOf(GetValue(m_bIsColumn ? CWVPMarkupColumnDefinition::s_pMinWidthProperty
                                                       : CWVPMarkupRowDefinition::s_pMinHeightProperty),
                                  0);
}

int CWVPMarkupDefinitionBase::GetUserMaxSize() const
{
    return CWVPMarkupInt::ValueOf(GetValue(m_bIsColumn ? CWVPMarkupColumnDefinition::s_pMaxWidthProperty
                                                       : CWVPMarkupRowDefinition::s_pMaxHeightProperty),
                                  kNoLimit);
}

CWVPMarkupRowDefinitionCollection::CWVPMarkupRowDefinitionCollection()
    : CWVPMarkupDefinitionCollection(CWVPMarkupRowDefinition::Type())
{
}

CWVPMarkupColumnDefinitionCollection::CWVPMarkupColumnDefinitionCollection()
    : CWVPMarkupDefinitionCollection(CWVPMarkupColumnDefinition::Type())
{
}

// ---- Grid -----------------------------------------------------------------------------------
CWVPMarkupGrid::CWVPMarkupGrid()
    : m_pRows(new CWVPMarkupRowDefinitionCollection()), m_pColumns(new CWVPMarkupColumnDefinitionCollection()),
      m_pCells(nullptr), m_nCells(0), m_bHasCells(FALSE), m_nGroups{kEndOfList, kEndOfList, kEndOfList, kEndOfList},
      m_bStarColumns(FALSE), m_bStarRows(FALSE), m_bStarColumnsInAutoRow(FALSE), m_pEffectiveColumns(nullptr),
      m_pEffectiveRows(nullptr)
{
    m_pRows->SetLogicalParent(this);
    m_pColumns->SetLogicalParent(this);
}

CWVPMarkupGrid::~CWVPMarkupGrid()
{
    delete[] m_pCells;
    for (CWVPMarkupDefinitionCollection* effective : {m_pEffectiveColumns, m_pEffectiveRows})
        if (effective)
            effective->Release();
    CWVPMarkupDefinitionCollection* own[] = {m_pRows, m_pColumns};
    for (CWVPMarkupDefinitionCollection* collection : own)
    {
        if (collection->GetLogicalParent() == this)
            collection->SetLogicalParent(nullptr);
        collection->Release();
    }
}

void CWVPMarkupGrid::SetDefinitions(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* value)
{
    BOOL columns = property == s_pColumnDefinitionsProperty;
    CWVPMarkupType* type =
        columns ? CWVPMarkupColumnDefinitionCollection::Type() : CWVPMarkupRowDefinitionCollection::Type();
    if (!value || !value->IsKindOf(type))
        CWVPMarkupBuilder::ThrowError(value, columns ? L"CWVPMarkupColumnDefinitionCollection class expected"
                                                     : L"CWVPMarkupRowDefinitionCollection class expected");
    CWVPMarkupDefinitionCollection*& slot = columns ? m_pColumns : m_pRows;
    if (slot->GetLogicalParent() == this)
        slot->SetLogicalParent(nullptr);
    slot->Release();
    slot = static_cast<CWVPMarkupDefinitionCollection*>(value);
    slot->SetLogicalParent(this);
    InvalidateMeasure();
}

CWVPMarkupObject* CWVPMarkupGrid::GetValueCore(CWVPMarkupDependencyProperty* property) const
{
    if (property && property == s_pColumnDefinitionsProperty)
        return m_pColumns;
    if (property && property == s_pRowDefinitionsProperty)
        return m_pRows;
    return CWVPMarkupPanel::GetValueCore(property);
}

void CWVPMarkupGrid::SetPropertyObject(CWVPMarkupBuilder* builder, CWVPMarkupDependencyProperty* property,
                                       CWVPMarkupObject* value)
{
    if (property && (property == s_pColumnDefinitionsProperty || property == s_pRowDefinitionsProperty))
    {
        SetDefinitions(property, value);
        return;
    }
    CWVPMarkupPanel::SetPropertyObject(builder, property, value);
}

void CWVPMarkupGrid::OnCellChanged(CWVPMarkupObject* object, CWVPMarkupPropertyChangedEventArgs*)
{
    if (!object || !object->IsKindOf(CWVPMarkupUIElement::Type()))
        return;
    CWVPMarkupVisual* parent = static_cast<CWVPMarkupUIElement*>(object)->GetVisualParent();
    if (parent && parent->IsKindOf(CWVPMarkupGrid::Type()))
        static_cast<CWVPMarkupGrid*>(parent)->InvalidateMeasure();
}

int CWVPMarkupGrid::CellIndexOf(CWVPMarkupUIElement* child, CWVPMarkupDependencyProperty* property, int count) const
{
    int index = CWVPMarkupInt::ValueOf(child->GetValue(property), 0);
    return (std::max)(0, (std::min)(index, count - 1));
}

void CWVPMarkupGrid::BuildCells()
{
    int count = GetVisualChildrenCount();
    if (m_nCells != count)
    {
        delete[] m_pCells;
        m_pCells = count ? new Cell[count] : nullptr;
        m_nCells = count;
    }
    for (int i = 0; i < count; ++i)
        m_pCells[i] = Cell{0, 0, 0, 0, 0, 0, kEndOfList};
    for (int& head : m_nGroups)
        head = kEndOfList;
    m_bStarColumns = m_bStarRows = m_bStarColumnsInAutoRow = FALSE;
    int columns = m_pEffectiveColumns->GetCount(), rows = m_pEffectiveRows->GetCount();
    for (int i = count - 1; i >= 0; --i)
    {
        CWVPMarkupUIElement* child = GetChildElement(i);
        if (!child)
            continue;
        Cell& cell = m_pCells[i];
        cell.column = CellIndexOf(child, s_pColumnProperty, columns);
        cell.row = CellIndexOf(child, s_pRowProperty, rows);
        cell.columnSpan = (std::min)(1, columns - cell.column);
        cell.rowSpan = (std::min)(1, rows - cell.row);
        for (int c = cell.column; c < cell.column + cell.columnSpan; ++c)
            cell.columnKinds |= m_pEffectiveColumns->GetDefinition(c)->m_nSizeKind;
        for (int r = cell.row; r < cell.row + cell.rowSpan; ++r)
            cell.rowKinds |= m_pEffectiveRows->GetDefinition(r)->m_nSizeKind;
        BOOL starColumns = (cell.columnKinds & CWVPMarkupDefinitionBase::kindStar) != 0;
        BOOL starRows = (cell.rowKinds & CWVPMarkupDefinitionBase::kindStar) != 0;
        BOOL autoColumns = (cell.columnKinds & CWVPMarkupDefinitionBase::kindAuto) != 0;
        int group;
        if (!starColumns && !starRows)
            group = 0;
        else if (starColumns && !starRows)
        {
            group = 2;
            if (cell.rowKinds & CWVPMarkupDefinitionBase::kindAuto)
                m_bStarColumnsInAutoRow = TRUE;
        }
        else if (starRows && autoColumns && !starColumns)
            group = 1;
        else
            group = 3;
        cell.next = m_nGroups[group];
        m_nGroups[group] = i;
        m_bStarColumns |= starColumns;
        m_bStarRows |= starRows;
    }
    m_bHasCells = TRUE;
}

void CWVPMarkupGrid::MeasureCell(CWVPMarkupDrawingContext* dc, int index, BOOL rowsUnbounded)
{
    const Cell& cell = m_pCells[index];
    const int star = CWVPMarkupDefinitionBase::kindStar, autoKind = CWVPMarkupDefinitionBase::kindAuto;
    int width = kNoLimit, height = kNoLimit;
    if (!((cell.columnKinds & autoKind) && !(cell.columnKinds & star)))
    {
        double sum = 0;
        for (int c = cell.column; c < cell.column + cell.columnSpan; ++c)
            sum += MeasureSizeOf(m_pEffectiveColumns->GetDefinition(c));
        width = Truncate(sum);
    }
    if (!rowsUnbounded && !((cell.rowKinds & autoKind) && !(cell.rowKinds & star)))
    {
        double sum = 0;
        for (int r = cell.row; r < cell.row + cell.rowSpan; ++r)
            sum += MeasureSizeOf(m_pEffectiveRows->GetDefinition(r));
        height = Truncate(sum);
    }
    GetChildElement(index)->Measure(dc, width, height);
}

void CWVPMarkupGrid::MeasureGroup(CWVPMarkupDrawingContext* dc, int head, BOOL keepColumns, BOOL rowsUnbounded)
{
    for (int i = head; i != kEndOfList; i = m_pCells[i].next)
    {
        MeasureCell(dc, i, rowsUnbounded);
        SIZE desired = GetChildElement(i)->GetDesiredSize();
        const Cell& cell = m_pCells[i];
        if (!keepColumns)
        {
            CWVPMarkupDefinitionBase* column = m_pEffectiveColumns->GetDefinition(cell.column);
            column->m_nMinSize = (std::max)(column->m_nMinSize, (int)desired.cx);
        }
        if (!rowsUnbounded)
        {
            CWVPMarkupDefinitionBase* row = m_pEffectiveRows->GetDefinition(cell.row);
            row->m_nMinSize = (std::max)(row->m_nMinSize, (int)desired.cy);
        }
    }
}

SIZE CWVPMarkupGrid::MeasureOverride(CWVPMarkupDrawingContext* dc, int W, int H)
{
    int count = GetVisualChildrenCount();
    if (m_pColumns->GetCount() == 0 && m_pRows->GetCount() == 0)
    {
        m_bHasCells = FALSE;
        SIZE largest = {0, 0};
        for (int i = 0; i < count; ++i)
        {
            CWVPMarkupUIElement* child = GetChildElement(i);
            if (!child)
                continue;
            child->Measure(dc, W, H);
            largest.cx = (std::max)(largest.cx, child->GetDesiredSize().cx);
            largest.cy = (std::max)(largest.cy, child->GetDesiredSize().cy);
        }
        return largest;
    }
    CWVPMarkupDefinitionCollection* columns = m_pColumns->GetCount() ? m_pColumns : MakeDefaultDefinitions(TRUE);
    CWVPMarkupDefinitionCollection* rows = m_pRows->GetCount() ? m_pRows : MakeDefaultDefinitions(FALSE);
    if (columns == m_pColumns)
        columns->AddRef();
    if (rows == m_pRows)
        rows->AddRef();
    if (m_pEffectiveColumns)
        m_pEffectiveColumns->Release();
    if (m_pEffectiveRows)
        m_pEffectiveRows->Release();
    m_pEffectiveColumns = columns;
    m_pEffectiveRows = rows;

    PrepareDefinitions(columns, W > kUnboundedAbove);
    PrepareDefinitions(rows, H > kUnboundedAbove);
    BuildCells();
    MeasureGroup(dc, m_nGroups[0], FALSE, FALSE);
    // Cells in star columns are measured once the columns have their shares; the order depends
    // on whether such cells also sit in auto rows, whose heights then come from them.
    auto shareRows = [&] {
        if (m_bStarRows)
            DistributeStars(rows, H);
    };
    auto measureStarColumns = [&] {
        if (m_bStarColumns)
            DistributeStars(columns, W);
        MeasureGroup(dc, m_nGroups[2], FALSE, FALSE);
    };
    if (!m_bStarColumnsInAutoRow)
    {
        shareRows();
        MeasureGroup(dc, m_nGroups[1], FALSE, FALSE);
        measureStarColumns();
    }
    else if (m_nGroups[1] == kEndOfList)
    {
        measureStarColumns();
        shareRows();
    }
    else
    {
        MeasureGroup(dc, m_nGroups[1], FALSE, TRUE);
        measureStarColumns();
        shareRows();
        MeasureGroup(dc, m_nGroups[1], TRUE, FALSE);
    }
    MeasureGroup(dc, m_nGroups[3], FALSE, FALSE);

    SIZE desired = {0, 0};
    for (int c = 0; c < columns->GetCount(); ++c)
        desired.cx = MarkupAddSize(desired.cx, columns->GetDefinition(c)->m_nMinSize);
    for (int r = 0; r < rows->GetCount(); ++r)
        desired.cy = MarkupAddSize(desired.cy, rows->GetDefinition(r)->m_nMinSize);
    return desired;
}

SIZE CWVPMarkupGrid::ArrangeOverride(int W, int H)
{
    int count = GetVisualChildrenCount();
    BOOL plain = (m_pColumns->GetCount() == 0 && m_pRows->GetCount() == 0) || !m_bHasCells;
    if (!plain)
    {
        ComputeFinalSizes(m_pEffectiveColumns, W);
        ComputeFinalSizes(m_pEffectiveRows, H);
    }
    for (int i = 0; i < count; ++i)
    {
        CWVPMarkupUIElement* child = GetChildElement(i);
        if (!child)
            continue;
        if (plain)
        {
            child->Arrange({0, 0, W, H});
            continue;
        }
        CWVPMarkupDefinitionBase* column =
            m_pEffectiveColumns->GetDefinition(CellIndexOf(child, s_pColumnProperty, m_pEffectiveColumns->GetCount()));
        CWVPMarkupDefinitionBase* row =
            m_pEffectiveRows->GetDefinition(CellIndexOf(child, s_pRowProperty, m_pEffectiveRows->GetCount()));
        RECT r = {column->m_nFinalOffset, row->m_nFinalOffset, 0, 0};
        r.right = MarkupAddSize(r.left, Truncate(column->m_dFinalSize));
        r.bottom = MarkupAddSize(r.top, Truncate(row->m_dFinalSize));
        child->Arrange(r);
    }
    return {W, H};
}
