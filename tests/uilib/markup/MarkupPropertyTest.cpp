// Objects, types and dependency properties: reference counting, the type registry, inheritance
// through a property registered here, change notification, refused values, collections.
#include "MarkupFixture.h"

#include <vector>

#include "platform/mfc/Exception.h"
#include "uilib/markup/MarkupStyle.h"

namespace
{
CWVPMarkupDependencyProperty* g_inherited;
CWVPMarkupDependencyProperty* g_plain;

// Notifications seen by elements of the test's owner type.
std::vector<std::string>* g_seen;

void OnChanged(CWVPMarkupObject* object, CWVPMarkupPropertyChangedEventArgs* args)
{
    if (g_seen)
        g_seen->push_back(markuptest::ClassName(object) + ":" + markuptest::ValueText(args->m_pOldValue) + "->" +
                          markuptest::ValueText(args->m_pNewValue));
}

// Registers the test's properties once the types are registered.
void RegisterTestProperties()
{
    if (g_inherited)
        return;
    markuptest::Context context;
    g_inherited = CWVPMarkupDependencyProperty::Register(
        L"TestInherited", CWVPMarkupInt::Type(), CWVPMarkupTextBlock::Type(),
        new CWVPMarkupPropertyMetadata(new CWVPMarkupInt(-1), OnChanged, MetadataInherits));
    g_plain = CWVPMarkupDependencyProperty::Register(L"TestPlain", CWVPMarkupInt::Type(), CWVPMarkupTextBlock::Type(),
                                                     new CWVPMarkupPropertyMetadata(new CWVPMarkupInt(-2), 0));
}
} // namespace

TEST(MarkupProperty, TypesAreRegisteredOnceWithTheirTags)
{
    markuptest::Context context;
    int count = 0, tagged = 0;
    for (CWVPMarkupType* t = CWVPMarkupType::GetFirstType(); t; t = t->GetNext())
    {
        ++count;
        EXPECT_TRUE(t->IsRegistered()) << rwtest::Utf8(t->GetClassName());
        if (t->GetTag() && *t->GetTag())
        {
            ++tagged;
            EXPECT_EQ(t, CWVPMarkupType::FindTypeByTag(t->GetTag()));
        }
    }
    EXPECT_EQ(74, count);
    EXPECT_EQ(40, tagged);
    EXPECT_EQ(CWVPMarkupTextBlock::Type(), CWVPMarkupType::FindTypeByTag(L"TextBlock"));
    EXPECT_EQ(nullptr, CWVPMarkupType::FindTypeByTag(L"textblock"));
    EXPECT_EQ(nullptr, CWVPMarkupType::FindTypeByTag(L"CWVPMarkupTextBlock"));

    CWVPMarkupObject* box = CWVPMarkupCheckBox::Type()->CreateObject();
    for (CWVPMarkupType* t : {CWVPMarkupToggleButton::Type(), CWVPMarkupButtonBase::Type(),
                              CWVPMarkupContentControl::Type(), CWVPMarkupControl::Type(),
                              CWVPMarkupFrameworkElement::Type(), CWVPMarkupUIElement::Type(), CWVPMarkupVisual::Type(),
                              CWVPMarkupInputElement::Type(), CWVPMarkupObject::Type()})
        EXPECT_TRUE(box->IsKindOf(t)) << rwtest::Utf8(t->GetClassName());
    EXPECT_FALSE(box->IsKindOf(CWVPMarkupPanel::Type()));
    EXPECT_FALSE(box->IsKindOf(nullptr));
    box->Release();

    // A second context registers nothing again.
    int before = CWVPMarkupDependencyProperty::GetRegisteredCount();
    markuptest::Context second;
    EXPECT_EQ(before, CWVPMarkupDependencyProperty::GetRegisteredCount());
}

TEST(MarkupProperty, ReferenceCountsAndSharedValues)
{
    markuptest::Context context;
    CWVPMarkupObject* o = new CWVPMarkupInt(3);
    EXPECT_EQ(2, o->AddRef());
    EXPECT_EQ(1, o->Release());
    LONG live = CWVPMarkupObject::GetLiveObjectCount();
    EXPECT_EQ(0, o->Release());
    EXPECT_EQ(live - 1, CWVPMarkupObject::GetLiveObjectCount());

    CWVPMarkupString* a = CWVPMarkupString::CreateValue(L" ");
    CWVPMarkupString* b = CWVPMarkupString::CreateValue(L" ", -1);
    EXPECT_EQ(a, b);
    CWVPMarkupString* c = CWVPMarkupString::CreateValue(L"a");
    CWVPMarkupString* d = CWVPMarkupString::CreateValue(L"a");
    EXPECT_NE(c, d);
    EXPECT_TRUE(c->IsEqual(d));
    EXPECT_EQ(c->GetHashCode(), d->GetHashCode());
    for (CWVPMarkupObject* x : {(CWVPMarkupObject*)a, (CWVPMarkupObject*)b, (CWVPMarkupObject*)c, (CWVPMarkupObject*)d})
        x->Release();

    CWVPMarkupEnum* e2 = CWVPMarkupEnum::CreateValue(2);
    CWVPMarkupEnum* f2 = CWVPMarkupEnum::CreateValue(2);
    CWVPMarkupEnum* e8 = CWVPMarkupEnum::CreateValue(8);
    CWVPMarkupEnum* f8 = CWVPMarkupEnum::CreateValue(8);
    EXPECT_EQ(e2, f2);
    EXPECT_NE(e8, f8);
    for (CWVPMarkupObject* x : {(CWVPMarkupObject*)e2, (CWVPMarkupObject*)f2, (CWVPMarkupObject*)e8, (CWVPMarkupObject*)f8})
        x->Release();

    CWVPMarkupInt three(3), other(3);
    EXPECT_TRUE(three.IsEqual(&other));
    EXPECT_NE(three.GetHashCode(), other.GetHashCode());
    CWVPMarkupBool t1(TRUE), t2(TRUE);
    EXPECT_EQ(t1.GetHashCode(), t2.GetHashCode());

    CWVPMarkupThickness six(6, 6, 6, 6);
    RECT r = CWVPMarkupThickness::DeflateRect({0, 0, 10, 10}, &six);
    EXPECT_EQ(6, r.left);
    EXPECT_EQ(6, r.right);
    EXPECT_EQ(6, r.bottom);
}

TEST(MarkupProperty, InheritanceAndChangeNotification)
{
    RegisterTestProperties();
    markuptest::Context context;
    std::vector<std::string> seen;
    g_seen = &seen;
    // A text block below a border below a panel: the border is not of the owner type.
    CWVPMarkupObject* root = context.Parse(
        L"<StackPanel><Border><TextBlock/></Border><TextBlock/></StackPanel>");
    ASSERT_NE(nullptr, root) << context.Error();
    CWVPMarkupPanel* panel = static_cast<CWVPMarkupPanel*>(root);
    CWVPMarkupObject* border = panel->GetChildren()->GetItem(0);
    CWVPMarkupObject* inner = static_cast<CWVPMarkupBorder*>(border)->GetChild();
    CWVPMarkupObject* outer = panel->GetChildren()->GetItem(1);

    EXPECT_EQ("Int:-1", markuptest::ValueText(inner->GetValue(g_inherited)));
    seen.clear();
    panel->SetValue(g_inherited, new CWVPMarkupInt(7));
    EXPECT_EQ("Int:7", markuptest::ValueText(inner->GetValue(g_inherited)));
    EXPECT_EQ("Int:7", markuptest::ValueText(outer->GetValue(g_inherited)));
    EXPECT_EQ(panel, inner->FindValueSource(g_inherited));
    // The panel itself is told (it has the callback through the metadata), then both text blocks.
    std::vector<std::string> expected = {"StackPanel:Int:-1->Int:7", "TextBlock:Int:-1->Int:7",
                                         "TextBlock:Int:-1->Int:7"};
    EXPECT_EQ(expected, seen);

    // An element with its own value is still told; a non-inheriting property reads its default.
    inner->SetValue(g_inherited, new CWVPMarkupInt(9));
    panel->SetValue(g_plain, new CWVPMarkupInt(5));
    EXPECT_EQ("Int:-2", markuptest::ValueText(inner->GetValue(g_plain)));
    seen.clear();
    panel->SetValue(g_inherited, nullptr);
    EXPECT_EQ("Int:9", markuptest::ValueText(inner->GetValue(g_inherited)));
    EXPECT_EQ("Int:-1", markuptest::ValueText(outer->GetValue(g_inherited)));
    EXPECT_EQ(3u, seen.size());

    // Clearing a property with a default on an object without store notifies with the default twice.
    CWVPMarkupObject* lone = context->CreateObject(CWVPMarkupTextBlock::Type());
    seen.clear();
    lone->SetValue(g_inherited, nullptr);
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ("TextBlock:Int:-1->Int:-1", seen[0]);
    lone->Release();
    g_seen = nullptr;
    root->Release();
}

TEST(MarkupProperty, RefusedValuesAreReleased)
{
    markuptest::Context context;
    CWVPMarkupObject* block = context->CreateObject(CWVPMarkupTextBlock::Type());
    CWVPMarkupString* text = new CWVPMarkupString(L"Collapsed");
    text->AddRef();
    block->SetValue(CWVPMarkupUIElement::s_pVisibilityProperty, text);
    EXPECT_EQ(1, text->GetRefCount()); // the refused value gave its reference back
    EXPECT_EQ(nullptr, block->GetValue(CWVPMarkupUIElement::s_pVisibilityProperty));
    text->Release();
    block->Release();
}

TEST(MarkupProperty, PropertiesByNameAndOwner)
{
    markuptest::Context context;
    CWVPMarkupDependencyProperty* padding =
        CWVPMarkupDependencyProperty::FindProperty(CWVPMarkupBorder::Type(), L"Padding");
    ASSERT_NE(nullptr, padding);
    EXPECT_EQ(padding, CWVPMarkupDependencyProperty::FindProperty(CWVPMarkupButton::Type(), L"Padding"));
    EXPECT_EQ(nullptr, CWVPMarkupDependencyProperty::FindProperty(CWVPMarkupBorder::Type(), L"padding"));
    EXPECT_EQ(nullptr, CWVPMarkupDependencyProperty::FindProperty(nullptr, L"Padding"));
    // Found through the base types.
    EXPECT_EQ(CWVPMarkupFrameworkElement::s_pWidthProperty,
              CWVPMarkupDependencyProperty::FindProperty(CWVPMarkupCheckBox::Type(), L"Width"));
    // Events take no store slot.
    CWVPMarkupDependencyProperty* click =
        CWVPMarkupDependencyProperty::FindProperty(CWVPMarkupButton::Type(), L"Click");
    ASSERT_NE(nullptr, click);
    EXPECT_TRUE(click->IsEvent());
    EXPECT_EQ(-1, click->GetIndex());
    EXPECT_EQ(click, CWVPMarkupDependencyProperty::FindProperty(CWVPMarkupHyperlink::Type(), L"Click"));
}

TEST(MarkupProperty, CollectionsParentAndCheckTheirItems)
{
    markuptest::Context context;
    CWVPMarkupGradientStops* stops = new CWVPMarkupGradientStops();
    CWVPMarkupObject* stop = CWVPMarkupGradientStop::Type()->CreateObject();
    stop->AddRef();
    stops->Add(stop);
    EXPECT_EQ(stops, stop->GetLogicalParent());
    stops->Add(new CWVPMarkupInt(1)); // wrong type: ignored
    stops->Add(nullptr);
    EXPECT_EQ(1, stops->GetCount());
    stops->RemoveAt(5);
    stops->RemoveAt(0);
    EXPECT_EQ(nullptr, stop->GetLogicalParent());
    EXPECT_EQ(1, stop->GetRefCount());
    BOOL thrown = FALSE;
    try
    {
        stops->GetItem(0);
    }
    catch (CException* e)
    {
        thrown = TRUE;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
    stop->Release();
    stops->Release();
}
