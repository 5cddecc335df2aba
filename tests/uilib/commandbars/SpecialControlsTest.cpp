// The ready-made controls of menus and bars: the window list, the tool-bars list, the recent
// files and the OLE verbs expand into items of their menu at each layout; labels, markup labels
// and links measure and draw themselves; the control collection makes them by type and id.
#include "RwTest.h"

#include "DibCanvas.h"
#include "VerbObject.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/ControlBitmap.h"
#include "uilib/commandbars/ControlCheckBox.h"
#include "uilib/commandbars/ControlHyperlink.h"
#include "uilib/commandbars/ControlLabel.h"
#include "uilib/commandbars/ControlMarkupLabel.h"
#include "uilib/commandbars/ControlOleItems.h"
#include "uilib/commandbars/ControlPopup.h"
#include "uilib/commandbars/ControlRadioButton.h"
#include "uilib/commandbars/ControlRecentFileList.h"
#include "uilib/commandbars/ControlSelector.h"
#include "uilib/commandbars/ControlToolbars.h"
#include "uilib/commandbars/ControlWindowList.h"
#include "uilib/commandbars/ControlWorkspaceActions.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/ListControlItems.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/PopupBar.h"
#include "uilib/foundation/ImageManager.h"

#include <set>
#include <string>
#include <vector>

namespace
{
const UINT IDM_SPECIAL = 300;
enum MenuIndex
{
    kWindowMenu = 0,
    kViewMenu = 1,
    kFileMenu = 2,
    kEditMenu = 3,
};

std::string Narrow(const CString& text)
{
    return std::string(CStringA(text).GetString());
}

void EnsureApp()
{
    static CWinApp* app = nullptr;
    if (!app)
    {
        app = new CWinApp(L"RwSpecialControls");
        AfxWinInit(::GetModuleHandleW(nullptr), nullptr, ::GetCommandLineW(), SW_SHOW);
    }
}

// A manager sited on a frame and a popup bar loaded with one submenu of the suite's menu.
struct MenuFixture
{
    CWVPCommandBarManager* manager = new CWVPCommandBarManager;
    CWVPPopupBar* popup = nullptr;

    MenuFixture(HWND site, int menuIndex)
    {
        manager->SetSite(site);
        popup = CWVPPopupBar::CreatePopupBar(manager);
        CMenu menu;
        EXPECT_TRUE(menu.LoadMenu(IDM_SPECIAL));
        popup->LoadMenu(CMenu::FromHandle(::GetSubMenu(menu.GetSafeHmenu(), menuIndex)), TRUE);
    }
    ~MenuFixture()
    {
        popup->InternalRelease();
        manager->InternalRelease();
    }
    MenuFixture(const MenuFixture&) = delete;
    MenuFixture& operator=(const MenuFixture&) = delete;

    CWVPControls* Controls() const
    {
        return popup->GetControls();
    }
    void Layout()
    {
        popup->CalcPopupLayout(0);
    }
    // The captions of the controls a layout would show, in order.
    std::vector<std::string> Shown() const
    {
        std::vector<std::string> captions;
        for (int i = 0; i < Controls()->GetCount(); ++i)
            if (Controls()->GetAt(i)->IsVisible())
                captions.push_back(Narrow(Controls()->GetAt(i)->GetCaption()));
        return captions;
    }
};

class CTestMDIFrame : public CMDIFrameWnd
{
};

class CTestChild : public CMDIChildWnd
{
};
} // namespace

TEST(SpecialControlsTest, MenusAndTypesMakeTheReadyMadeControls)
{
    MenuFixture fixture(nullptr, kWindowMenu);
    CWVPControls* controls = fixture.Controls();
    controls->RemoveAll();
    struct Case
    {
        int type, id;
        CRuntimeClass* expected;
    } cases[] = {
        {wvpControlButton, WVP_ID_WINDOWLIST, RUNTIME_CLASS(CWVPControlWindowList)},
        {wvpControlButton, WVP_ID_WORKSPACEACTIONS, RUNTIME_CLASS(CWVPControlWorkspaceActions)},
        {wvpControlButton, WVP_ID_TOOLBARLIST, RUNTIME_CLASS(CWVPControlToolbars)},
        {wvpControlButton, WVP_ID_RECENTFILELIST, RUNTIME_CLASS(CWVPControlRecentFileList)},
        {wvpControlButton, WVP_ID_FILE_MRU_FIRST, RUNTIME_CLASS(CWVPControlButton)},
        {wvpControlButton, 0x8E00, RUNTIME_CLASS(CWVPControlButton)},
        {wvpControlLabel, 0x8E01, RUNTIME_CLASS(CWVPControlLabel)},
        {wvpControlCheckBox, 0x8E02, RUNTIME_CLASS(CWVPControlCheckBox)},
        {wvpControlRadioButton, 0x8E03, RUNTIME_CLASS(CWVPControlRadioButton)},
    };
    for (const Case& c : cases)
    {
        CWVPControl* control = controls->AddByType(c.type, c.id);
        ASSERT_NE(nullptr, control) << c.id;
        EXPECT_EQ(c.expected, control->GetRuntimeClass()) << c.id;
        EXPECT_EQ(c.type, control->GetType()) << c.id;
        EXPECT_EQ(c.id, control->GetID()) << c.id;
        // A copy is of the same class.
        CWVPControl* clone = control->Clone();
        EXPECT_EQ(c.expected, clone->GetRuntimeClass()) << c.id;
        clone->InternalRelease();
    }
    const CWVPControl* label = controls->GetAt(6);
    EXPECT_EQ(0x1Au, label->GetFlags());
    EXPECT_EQ(0, label->GetSelected());

    // From menus: the recent files come from their first command id, the verbs from their caption.
    struct MenuCase
    {
        int menu;
        int index;
        CRuntimeClass* expected;
    } menuCases[] = {
        {kWindowMenu, 1, RUNTIME_CLASS(CWVPControlWindowList)},
        {kViewMenu, 0, RUNTIME_CLASS(CWVPControlToolbars)},
        {kFileMenu, 0, RUNTIME_CLASS(CWVPControlRecentFileList)},
        {kEditMenu, 1, RUNTIME_CLASS(CWVPControlOleItems)},
    };
    for (const MenuCase& c : menuCases)
    {
        MenuFixture menu(nullptr, c.menu);
        EXPECT_EQ(c.expected, menu.Controls()->GetAt(c.index)->GetRuntimeClass()) << c.menu;
    }
}

TEST(SpecialControlsTest, ListCaptionsEscapeAmpersandsAndNumberTheFirstNine)
{
    struct Case
    {
        const WCHAR* text;
        int number;
        const char* expected;
    } cases[] = {
        {L"Clip", 1, "&1 Clip"},  {L"A & B", 9, "&9 A && B"}, {L"Clip", 10, "1&0 Clip"},
        {L"Clip", 11, "11 Clip"}, {L"R&D", 0, "R&&D"},        {L"", 2, "&2 "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Narrow(WVPFormatMenuCaption(c.text, c.number))) << c.expected;
}

TEST(SpecialControlsTest, TheWindowListShowsTheFirstNineVisibleChildrenOfTheFrame)
{
    EnsureApp();
    CTestMDIFrame* frame = new CTestMDIFrame;
    ASSERT_TRUE(frame->Create(nullptr, L"mdi", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 500, 400)));
    // Twelve children; the third is hidden, the fifth has an ampersand in its title.
    std::vector<CTestChild*> children;
    for (int i = 0; i < 12; ++i)
    {
        CString title;
        title.Format(i == 4 ? L"Clip %d & more" : L"Clip %d", i + 1);
        CTestChild* child = new CTestChild;
        ASSERT_TRUE(child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                  CRect(i * 4, i * 4, 200 + i * 4, 150 + i * 4), frame));
        children.push_back(child);
    }
    children[2]->ShowWindow(SW_HIDE);
    frame->MDIActivate(children[3]);

    MenuFixture fixture(frame->GetSafeHwnd(), kWindowMenu);
    CWVPControl* list = fixture.Controls()->GetAt(1);
    for (int pass = 0; pass < 2; ++pass) // a second layout replaces the items
    {
        fixture.Layout();
        EXPECT_FALSE(list->IsVisible());
        const std::vector<std::string> expected = {"&Cascade",          "&1 Clip 1", "&2 Clip 2", "&3 Clip 4",
                                                   "&4 Clip 5 && more", "&5 Clip 6", "&6 Clip 7", "&7 Clip 8",
                                                   "&8 Clip 9",         "&9 Clip 10"};
        EXPECT_EQ(expected, fixture.Shown());
        ASSERT_EQ(11, fixture.Controls()->GetCount());
    }
    for (int i = 2; i < 11; ++i)
    {
        CWVPControl* item = fixture.Controls()->GetAt(i);
        EXPECT_TRUE(item->IsTemporary());
        EXPECT_EQ(i == 2, item->GetBeginGroup()) << i;
        EXPECT_EQ(i == 4, item->GetChecked() == 1) << i; // "Clip 4" is the active child
        EXPECT_EQ(0xEF1F, item->GetHelpId());
        EXPECT_EQ("Activate Window", Narrow(item->GetTooltip()));
        EXPECT_EQ(::GetDlgCtrlID(children[i < 4 ? i - 2 : i - 1]->GetSafeHwnd()), item->GetID()) << i;
    }

    // In customize mode the list is its own placeholder.
    fixture.manager->SetCustomizeMode(TRUE);
    fixture.Layout();
    EXPECT_EQ((std::vector<std::string>{"&Cascade", "Windows"}), fixture.Shown());
    fixture.manager->SetCustomizeMode(FALSE);
    frame->DestroyWindow();

    // Without an MDI frame the placeholder shows and nothing is generated.
    CWnd plain;
    ASSERT_TRUE(plain.CreateEx(0, AfxRegisterWndClass(0), L"plain", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    MenuFixture lone(plain.GetSafeHwnd(), kWindowMenu);
    lone.Layout();
    EXPECT_EQ((std::vector<std::string>{"&Cascade", "Windows"}), lone.Shown());
    plain.DestroyWindow();
}

TEST(SpecialControlsTest, TheToolBarsListTogglesTheManagersToolBars)
{
    EnsureApp();
    CFrameWnd* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, L"frame", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300)));
    MenuFixture fixture(frame->GetSafeHwnd(), kViewMenu);

    struct BarSpec
    {
        const WCHAR* title;
        BOOL visible;
    } specs[] = {{L"Standard", TRUE}, {L"Clips && Tracks", FALSE}};
    std::vector<CWVPCommandBar*> bars;
    for (const BarSpec& spec : specs)
    {
        CWVPCommandBar* bar = static_cast<CWVPCommandBar*>(CWVPCommandBar::CreateObject());
        bar->SetCommandBars(fixture.manager);
        bar->SetTitle(spec.title);
        bar->CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | (spec.visible ? WS_VISIBLE : 0), 0, 0, 100, 24,
                      frame->GetSafeHwnd(), nullptr);
        fixture.manager->AddBar(bar);
        bars.push_back(bar);
    }
    fixture.manager->AddBar(fixture.popup); // popups are not listed

    fixture.Layout();
    EXPECT_EQ((std::vector<std::string>{"Standard", "Clips &&&& Tracks", "&Status Bar"}), fixture.Shown());
    CWVPControl* second = fixture.Controls()->GetAt(2);
    EXPECT_EQ(&CWVPControlToolbars::CWVPControlToolbar::classCWVPControlToolbar, second->GetRuntimeClass());
    EXPECT_EQ(1, fixture.Controls()->GetAt(1)->GetChecked());
    EXPECT_EQ(0, second->GetChecked());
    EXPECT_EQ(1u, second->GetTag());

    second->OnExecute();
    EXPECT_TRUE(::IsWindowVisible(bars[1]->GetSafeHwnd()));
    fixture.Layout();
    EXPECT_EQ(1, fixture.Controls()->GetAt(2)->GetChecked());
    EXPECT_EQ(4, fixture.Controls()->GetCount());

    // Asked by a bar's own list, the customize command follows when the program offers it.
    fixture.manager->m_bCustomizeAvail = TRUE;
    CWVPControlToolbars::AddToolbarItems(fixture.popup, fixture.Controls()->GetCount(), WVP_ID_TOOLBARLIST, TRUE, TRUE);
    CWVPControl* last = fixture.Controls()->GetAt(fixture.Controls()->GetCount() - 1);
    EXPECT_EQ(WVP_ID_CUSTOMIZE, last->GetID());
    EXPECT_TRUE(last->GetBeginGroup());

    fixture.manager->RemoveBar(fixture.popup);
    for (CWVPCommandBar* bar : bars)
    {
        fixture.manager->RemoveBar(bar);
        bar->DestroyWindow();
        bar->InternalRelease();
    }
    frame->DestroyWindow();
}

TEST(SpecialControlsTest, RecentFilesBecomeNumberedItemsOrADisabledPlaceholder)
{
    EnsureApp();
    const CString longName = L"C:\\clips\\" + CString(L'x', 5000) + L".mp4";
    struct Case
    {
        const char* name;
        std::vector<CString> entries;
        std::vector<std::string> shown;
        BOOL placeholderEnabled;
    } cases[] = {
        {"two files",
         {L"C:\\clips\\a.mp4", L"C:\\R&D\\b.avi", L"", L"C:\\after\\gap.mp4"},
         {"&1 C:\\clips\\a.mp4", "&2 C:\\R&&D\\b.avi", "E&xit"},
         TRUE},
        {"an empty list", {L"", L"C:\\clips\\a.mp4"}, {"Recent File", "E&xit"}, FALSE},
        {"an over-long name", {longName}, {"&1 ...xxxxxxxxxxxxxxxxxxxxxxxxx.mp4", "E&xit"}, TRUE},
    };
    for (const Case& c : cases)
    {
        CRecentFileList list(WVP_ID_FILE_MRU_FIRST, L"Recent", L"File%d", 4);
        for (size_t i = 0; i < c.entries.size(); ++i)
            list[int(i)] = c.entries[i];
        AfxGetApp()->m_pRecentFileList = &list;
        MenuFixture fixture(nullptr, kFileMenu);
        fixture.Layout();
        fixture.Layout();
        EXPECT_EQ(c.shown, fixture.Shown()) << c.name;
        CWVPControl* placeholder = fixture.Controls()->GetAt(0);
        if (placeholder->IsVisible())
            EXPECT_FALSE(placeholder->GetEnabled()) << c.name;
        for (int i = 1; i < fixture.Controls()->GetCount() - 1; ++i)
        {
            EXPECT_EQ(int(WVP_ID_FILE_MRU_FIRST) + i - 1, fixture.Controls()->GetAt(i)->GetID()) << c.name;
            // The list control opens its menu: its items begin no group.
            EXPECT_FALSE(fixture.Controls()->GetAt(i)->GetBeginGroup()) << c.name;
        }
        AfxGetApp()->m_pRecentFileList = nullptr;
        // Without a list nothing changes, not even the items of the last layout.
        const std::vector<std::string> before = fixture.Shown();
        fixture.Layout();
        EXPECT_EQ(before, fixture.Shown()) << c.name;
    }
}

namespace
{
class CSelectingView : public CView
{
  public:
    const CObject* m_selected = nullptr;
    BOOL IsSelected(const CObject* item) const override
    {
        return item == m_selected;
    }
};
} // namespace

TEST(SpecialControlsTest, TheOleVerbsOfTheSelectedItemBecomeOnePopup)
{
    EnsureApp();
    ::OleInitialize(nullptr);
    CFrameWnd* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, L"frame", WS_POPUP, CRect(0, 0, 300, 200)));
    COleDocument document;
    CCreateContext context = {};
    context.m_pCurrentDoc = &document;
    CSelectingView* view = new CSelectingView;
    view->m_bAutoDelete = TRUE;
    ASSERT_TRUE(
        view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), frame, AFX_IDW_PANE_FIRST, &context));
    frame->SetActiveView(view);

    MenuFixture fixture(frame->GetSafeHwnd(), kEditMenu);
    // An empty document: the placeholder stays hidden.
    fixture.Layout();
    EXPECT_EQ((std::vector<std::string>{"&Copy"}), fixture.Shown());

    CTestVerbObject twoVerbs({L"&Play", L"&Edit"}, L"Clip");
    CTestVerbObject oneVerb({L"&Play"}, L"Clip");
    struct Case
    {
        const char* name;
        IOleObject* object;
        OLE_OBJTYPE type;
        BOOL selected;
        std::vector<std::string> shown;
    } cases[] = {
        {"two verbs", &twoVerbs, OT_EMBEDDED, TRUE, {"&Copy", "Clip &Object"}},
        {"not selected", &twoVerbs, OT_EMBEDDED, FALSE, {"&Copy"}},
        {"a static picture", &twoVerbs, OT_STATIC, TRUE, {"&Copy"}},
        {"a single verb", &oneVerb, OT_LINK, TRUE, {"&Copy"}},
    };
    COleClientItem item(&document);
    for (const Case& c : cases)
    {
        item.Attach(c.object, c.type);
        view->m_selected = c.selected ? &item : nullptr;
        fixture.Layout();
        fixture.Layout();
        EXPECT_EQ(c.shown, fixture.Shown()) << c.name;
    }

    item.Attach(&twoVerbs, OT_EMBEDDED);
    view->m_selected = &item;
    fixture.Layout();
    ASSERT_EQ(3, fixture.Controls()->GetCount());
    CWVPControl* popup = fixture.Controls()->GetAt(2);
    ASSERT_TRUE(popup->IsKindOf(RUNTIME_CLASS(CWVPControlPopup)));
    EXPECT_EQ(wvpControlPopup, popup->GetType());
    EXPECT_EQ("OLEMENUPOPUP", Narrow(popup->GetParameter()));
    CWVPCommandBar* verbs = static_cast<CWVPControlPopup*>(popup)->GetCommandBar();
    ASSERT_NE(nullptr, verbs);
    ASSERT_EQ(2, verbs->GetControls()->GetCount());
    EXPECT_EQ("&Play", Narrow(verbs->GetControls()->GetAt(0)->GetCaption()));
    EXPECT_EQ(int(WVP_ID_OLEVERBS), verbs->GetControls()->GetAt(0)->GetID());
    EXPECT_EQ("&Edit", Narrow(verbs->GetControls()->GetAt(1)->GetCaption()));
    EXPECT_EQ(int(WVP_ID_OLEVERBS) + 1, verbs->GetControls()->GetAt(1)->GetID());

    // Customizing shows the placeholder alone.
    fixture.manager->SetCustomizeMode(TRUE);
    fixture.Layout();
    EXPECT_EQ((std::vector<std::string>{"&Copy", "<<OLE VERBS GO HERE>>"}), fixture.Shown());
    fixture.manager->SetCustomizeMode(FALSE);
    item.Release();
    frame->DestroyWindow();
}

namespace
{
// How many pixels of the canvas inside the rectangle are near the colour.
int CountColour(const DibCanvas& canvas, const CRect& rc, COLORREF colour)
{
    int count = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
        {
            const COLORREF c = canvas.At(x, y);
            if (abs(GetRValue(c) - GetRValue(colour)) < 40 && abs(GetGValue(c) - GetGValue(colour)) < 40 &&
                abs(GetBValue(c) - GetBValue(colour)) < 40)
                ++count;
        }
    return count;
}

INT_PTR g_openShow = -1;
CString g_openAddress;
HWND g_openOwner = nullptr;
INT_PTR RecordShellOpen(HWND owner, LPCWSTR address, int show)
{
    g_openOwner = owner;
    g_openAddress = address;
    g_openShow = show;
    return 42;
}
} // namespace

TEST(SpecialControlsTest, AMarkupLabelMeasuresAndRendersItsMarkup)
{
    CWVPControlMarkupLabel label;
    label.SetCaption(L"<TextBlock><Run Foreground='#00C000'>Green </Run><Bold>and bold</Bold></TextBlock>");
    ASSERT_NE(nullptr, label.GetMarkupElement());
    DibCanvas canvas(200, 40);
    CDC* dc = CDC::FromHandle(canvas.dc());
    const CSize size = label.GetSize(dc);
    EXPECT_GT(size.cx, 40);
    EXPECT_LT(size.cx, 200);
    EXPECT_GT(size.cy, 8);
    label.SetRect(CRect(CPoint(4, 4), size));
    label.Draw(dc);
    // The run keeps its own colour; the rest takes the bar's text colour (dark on a light menu).
    const int green = CountColour(canvas, CRect(0, 0, 200, 40), RGB(0, 192, 0));
    const int dark = CountColour(canvas, CRect(0, 0, 200, 40), RGB(0, 0, 0));
    EXPECT_GT(green, 10);
    EXPECT_GT(dark, 10);
    EXPECT_EQ(0, CountColour(canvas, CRect(size.cx + 6, 0, 200, 40), RGB(0, 192, 0)));

    // A caption that is not markup has no element and draws as a plain control.
    label.SetCaption(L"<TextBlock>unclosed");
    EXPECT_EQ(nullptr, label.GetMarkupElement());
    // A copy parses its own caption.
    CWVPControlMarkupLabel source;
    source.SetCaption(L"<TextBlock>copy</TextBlock>");
    CWVPControl* copy = source.Clone();
    EXPECT_NE(nullptr, static_cast<CWVPControlMarkupLabel*>(copy)->GetMarkupElement());
    EXPECT_NE(source.GetMarkupElement(), static_cast<CWVPControlMarkupLabel*>(copy)->GetMarkupElement());
    copy->InternalRelease();
}

TEST(SpecialControlsTest, ALinkDrawsInItsStateColourAndOpensItsAddressThroughItsOpener)
{
    CWVPControlHyperlink link;
    link.SetCaption(L"reelwright.example");
    link.SetTooltip(L"https://reelwright.example/help");
    DibCanvas canvas(200, 30);
    CDC* dc = CDC::FromHandle(canvas.dc());
    const CSize size = link.GetSize(dc);
    EXPECT_GT(size.cx, 40);
    link.SetRect(CRect(CPoint(2, 2), size));

    struct Case
    {
        const char* name;
        int enabled;
        int selected;
        COLORREF colour;
    } cases[] = {
        {"normal", TRUE, 0, RGB(0, 0, 255)},
        {"selected", TRUE, 1, RGB(255, 0, 0)},
        {"disabled", FALSE, 0, ::GetSysColor(COLOR_GRAYTEXT)},
    };
    for (const Case& c : cases)
    {
        canvas.Fill(RGB(255, 255, 255));
        link.SetEnabled(c.enabled);
        link.SetSelectedState(c.selected);
        link.Draw(dc);
        EXPECT_GT(CountColour(canvas, CRect(0, 0, 200, 30), c.colour), 10) << c.name;
        EXPECT_EQ(0, CountColour(canvas, CRect(size.cx + 4, 0, 200, 30), c.colour)) << c.name;
    }

    CWVPControlHyperlink::ShellOpenFn saved = CWVPControlHyperlink::s_shellOpen;
    CWVPControlHyperlink::s_shellOpen = RecordShellOpen;
    link.SetEnabled(FALSE);
    link.OnClick(TRUE);
    EXPECT_EQ(-1, g_openShow); // a disabled link opens nothing
    link.SetEnabled(TRUE);
    link.OnClick(FALSE, CPoint(3, 3));
    CWVPControlHyperlink::s_shellOpen = saved;
    EXPECT_EQ("https://reelwright.example/help", Narrow(g_openAddress));
    EXPECT_EQ(SW_SHOW, g_openShow);
}

namespace
{
std::vector<UINT> g_notifications;
LRESULT CALLBACK RecordNotifications(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WVP_WM_CONTROLNOTIFY)
    {
        g_notifications.push_back(reinterpret_cast<NMWVPCONTROL*>(lParam)->hdr.code);
        return 1;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// Sets or clears the left button in the thread's key state, as GetKeyState reads it.
void SetLeftButtonState(BOOL down)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_LBUTTON] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
}
} // namespace

TEST(SpecialControlsTest, TheGridSelectorSelectsDrawsGrowsAndExecutes)
{
    EnsureApp();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecordNotifications;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RwSelectorOwner";
    ::RegisterClassW(&wc);
    const HWND owner =
        ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    MenuFixture fixture(owner, kWindowMenu);
    fixture.Controls()->RemoveAll();
    CWVPControlSelector* selector = new CWVPControlSelector;
    fixture.Controls()->AddControl(selector, 0x8E10);
    fixture.Layout();
    EXPECT_EQ(CSize(5, 4), selector->GetGrid());
    EXPECT_EQ(CSize(5 * 28, 4 * 28), selector->GetRect().Size());
    const CPoint origin = selector->GetRect().TopLeft();

    // The selection covers the columns and rows that start before the pointer.
    struct Case
    {
        CPoint at;
        CSize selection;
    } cases[] = {
        {{1, 1}, {1, 1}}, {{29, 1}, {2, 1}}, {{28, 28}, {1, 1}}, {{139, 111}, {5, 4}}, {{0, 0}, {0, 0}},
    };
    for (const Case& c : cases)
    {
        selector->OnMouseMove(origin + c.at);
        EXPECT_EQ(c.selection, selector->GetSelection()) << c.at.x << "," << c.at.y;
    }

    // Selected cells take the highlight colour, the others the window colour.
    g_notifications.clear();
    selector->SetSelection(2, 1);
    selector->SetSelection(2, 1); // unchanged: no notification
    EXPECT_EQ(std::vector<UINT>{WVP_NOTIFY_SELECTOR_SELCHANGE}, g_notifications);
    DibCanvas canvas(origin.x + 5 * 28 + 4, origin.y + 4 * 28 + 4, RGB(1, 2, 3));
    selector->Draw(CDC::FromHandle(canvas.dc()));
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    for (int column = 0; column < 5; ++column)
        for (int row = 0; row < 4; ++row)
        {
            const CPoint centre = origin + CPoint(column * 28 + 14, row * 28 + 14);
            EXPECT_EQ(column < 2 && row < 1 ? highlight : window, canvas.At(centre.x, centre.y)) << column << row;
        }

    // The release executes with the selection as the chosen size.
    selector->OnLButtonUp(origin + CPoint(40, 10));
    EXPECT_EQ(CSize(2, 1), selector->GetChosen());

    // Leaving the grid to the right with the button held grows it up to the pointer's column.
    ASSERT_TRUE(fixture.popup->Create());
    ::SetWindowPos(fixture.popup->GetSafeHwnd(), nullptr, 50, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CPoint screen = selector->GetRect().TopLeft() + CPoint(7 * 28 + 10, 10);
    ::ClientToScreen(fixture.popup->GetSafeHwnd(), &screen);
    ::SetCursorPos(screen.x, screen.y);
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ASSERT_EQ(screen, cursor);
    selector->OnSetSelected(1);
    SetLeftButtonState(TRUE);
    selector->OnSetSelected(0);
    SetLeftButtonState(FALSE);
    EXPECT_EQ(CSize(8, 4), selector->GetGrid());
    EXPECT_EQ(CSize(8, 1), selector->GetSelection());
    // Without the button the grid stays and the selection clears; the next layout resets the grid.
    selector->OnSetSelected(1);
    selector->OnSetSelected(0);
    EXPECT_EQ(CSize(8, 4), selector->GetGrid());
    EXPECT_EQ(CSize(0, 0), selector->GetSelection());
    fixture.Layout();
    EXPECT_EQ(CSize(5, 4), selector->GetGrid());
    fixture.popup->DestroyWindow();
    ::DestroyWindow(owner);
}

TEST(SpecialControlsTest, APictureLabelShowsTheIconOfItsIdInItsOwnSize)
{
    const UINT kPictureId = 0x8E20;
    const COLORREF kPictureColour = RGB(0, 128, 255);
    DWORD* bits = nullptr;
    HBITMAP bitmap = CWVPImageManager::CreateDIBSection32(nullptr, 24, 20, reinterpret_cast<void**>(&bits));
    for (int i = 0; i < 24 * 20; ++i)
        bits[i] = 0xFF000000 | (GetRValue(kPictureColour) << 16) | (GetGValue(kPictureColour) << 8) |
                  GetBValue(kPictureColour);
    ASSERT_TRUE(WVPImageManager()->SetIconsFromBitmap(bitmap, &kPictureId, 1, 24, 20, 0, FALSE));
    ::DeleteObject(bitmap);
    MenuFixture fixture(nullptr, kWindowMenu);
    CWVPControl* picture = fixture.Controls()->AddControl(new CWVPControlBitmap, int(kPictureId));
    CWVPControl* missing = fixture.Controls()->AddControl(new CWVPControlBitmap, int(kPictureId + 1));
    DibCanvas canvas(60, 40);
    CDC* dc = CDC::FromHandle(canvas.dc());
    EXPECT_EQ(CSize(0, 0), missing->GetSize(dc));
    ASSERT_EQ(CSize(24, 20), picture->GetSize(dc));
    picture->SetRect(CRect(10, 5, 50, 35)); // drawn at the corner, in its own size
    picture->Draw(dc);
    EXPECT_EQ(kPictureColour, canvas.At(10, 5));
    EXPECT_EQ(kPictureColour, canvas.At(33, 24));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(34, 24));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(33, 25));
}
