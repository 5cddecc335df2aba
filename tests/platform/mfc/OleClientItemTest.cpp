// Client items in an OLE document: they join and leave the document's list, hold a reference to
// their object, and the document names the one item a view has selected.
#include "RwTest.h"

#include "MfcTestApp.h"
#include "VerbObject.h"

#include <set>

namespace
{
// A document item that is not a client item.
class CPlainItem : public CObject
{
};

// A view that selects the items it is told to.
class CSelectingView : public CView
{
  public:
    std::set<const CObject*> m_selected;
    BOOL IsSelected(const CObject* item) const override
    {
        return m_selected.count(item) != 0;
    }
};
} // namespace

TEST(OleClientItem, JoinsItsDocumentAndHoldsItsObject)
{
    CTestVerbObject object({L"&Play"}, L"Clip");
    COleDocument document;
    {
        COleClientItem item(&document);
        EXPECT_EQ(&document, item.GetDocument());
        EXPECT_EQ(OT_UNKNOWN, item.GetType());
        POSITION pos = document.GetStartPosition();
        ASSERT_NE(nullptr, pos);
        EXPECT_EQ(&item, document.GetNextItem(pos));

        item.Attach(&object, OT_EMBEDDED);
        EXPECT_EQ(2, object.m_ref);
        EXPECT_EQ(OT_EMBEDDED, item.GetType());
        EXPECT_EQ(static_cast<IOleObject*>(&object), item.m_lpObject);
        item.Attach(&object, OT_STATIC); // the same object again keeps one reference
        EXPECT_EQ(2, object.m_ref);
        EXPECT_EQ(OT_STATIC, item.GetType());
    }
    EXPECT_EQ(1, object.m_ref);
    EXPECT_EQ(nullptr, document.GetStartPosition());
}

TEST(OleClientItem, TheDocumentNamesTheOneItemTheViewSelects)
{
    COleDocument document;
    COleClientItem first(&document), second(&document);
    CPlainItem other;
    document.AddItem(&other);
    CSelectingView view;

    struct Case
    {
        const char* name;
        std::set<const CObject*> selected;
        COleClientItem* expected;
    } cases[] = {
        {"nothing selected", {}, nullptr},        {"the first", {&first}, &first},
        {"the second", {&second}, &second},       {"two selected", {&first, &second}, nullptr},
        {"only a plain item", {&other}, nullptr}, {"a client item and a plain one", {&other, &second}, &second},
    };
    for (const Case& c : cases)
    {
        view.m_selected = c.selected;
        EXPECT_EQ(c.expected, document.GetPrimarySelectedItem(&view)) << c.name;
    }
    EXPECT_EQ(nullptr, document.GetPrimarySelectedItem(nullptr));
    document.RemoveItem(&other);
}
