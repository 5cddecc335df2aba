// Tool bars: buttons and icons from TOOLBAR resources (broken ones included), the frame's dock
// rows laid out through the frame's layout, the chevron's popup, and the bars' saved places.
#include "ArchiveBytes.h"
#include "DibCanvas.h"
#include "RwTest.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/DockBar.h"
#include "uilib/commandbars/DockContext.h"
#include "uilib/commandbars/MouseManager.h"
#include "uilib/commandbars/PopupBar.h"
#include "uilib/commandbars/ToolBar.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/ImageManagerIcon.h"
#include "uilib/foundation/MonitorHelper.h"
#include "uilib/foundation/PropExchangeArchive.h"

#include <vector>

namespace
{
const UINT IDR_GOOD = 3001;
const UINT IDR_SHORT = 3002;
const UINT IDR_NOBITMAP = 3003;

// The colour the bitmap generator gives cell n.
COLORREF CellColour(int n)
{
    return RGB(n * 40 + 40, 0x80, 255 - n * 40);
}

// The icon of the id as the image manager draws it, sampled at its centre; white when none.
COLORREF IconCentre(CWVPImageManager* images, UINT id)
{
    CWVPImageManagerIcon* icon = images->GetImage(id, 16);
    if (!icon)
        return RGB(255, 255, 255);
    DibCanvas canvas(16, 16);
    icon->GetNormalIcon().Draw(canvas.dc(), 0, 0, 16, 16, FALSE);
    return canvas.At(8, 8);
}

std::vector<int> Ids(CWVPCommandBar* bar)
{
    std::vector<int> ids;
    for (int i = 0; i < bar->GetControlCount(); ++i)
        if (!bar->GetControl(i)->IsTemporary())
            ids.push_back(bar->GetControl(i)->GetID());
    return ids;
}
} // namespace

TEST(ToolBarTest, ResourcesGiveButtonsWithTheirIcons)
{
    const COLORREF none = RGB(255, 255, 255);
    struct Case
    {
        UINT resource;
        BOOL loaded;
        std::vector<int> ids;
        std::vector<COLORREF> icons;
        int groupStart; // index of the control that begins a group, -1 none
    } cases[] = {
        {IDR_GOOD, TRUE, {101, 102, 103}, {CellColour(0), CellColour(1), CellColour(2)}, 2},
        // The bitmap has two cells for four buttons: the first two get icons, nothing is read past it.
        {IDR_SHORT, TRUE, {201, 202, 203, 204}, {CellColour(0), CellColour(1), none, none}, -1},
        // No bitmap: the buttons stay, text only, and the load reports the missing bitmap.
        {IDR_NOBITMAP, FALSE, {301, 302}, {none, none}, -1},
        {4000, FALSE, {}, {}, -1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.resource);
        CWVPImageManager* images = new CWVPImageManager();
        CWVPToolBar* bar = static_cast<CWVPToolBar*>(RUNTIME_CLASS(CWVPToolBar)->CreateObject());
        bar->SetImageManager(images);
        EXPECT_EQ(c.loaded, bar->LoadToolBar(c.resource));
        EXPECT_EQ(c.ids, Ids(bar));
        for (size_t i = 0; i < c.ids.size(); ++i)
        {
            EXPECT_EQ(c.icons[i], IconCentre(images, UINT(c.ids[i]))) << "button " << c.ids[i];
            EXPECT_EQ(int(i) == c.groupStart, bar->GetControl(int(i))->GetBeginGroup());
        }
        bar->InternalRelease();
    }
}

namespace
{
// A frame with a client pane and a command-bar manager with its dock bars.
struct DockedFrame
{
    explicit DockedFrame(int width = 480, int height = 320, DWORD style = WS_OVERLAPPEDWINDOW)
    {
        frame = new CFrameWnd();
        frame->Create(nullptr, L"frame", style, CRect(60, 60, 60 + width, 60 + height));
        pane.Create(L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, AFX_IDW_PANE_FIRST);
        EXPECT_TRUE(manager.Create(frame));
        frame->ShowWindow(SW_SHOWNOACTIVATE);
    }
    ~DockedFrame()
    {
        manager.SetSite(nullptr);
        frame->DestroyWindow();
    }
    CWVPToolBar* Add(LPCWSTR title, UINT resource)
    {
        CWVPToolBar* bar = manager.AddToolBar(title, resource);
        EXPECT_TRUE(bar != nullptr);
        bar->LoadToolBar(resource);
        return bar;
    }
    void Layout()
    {
        frame->RecalcLayout();
    }
    // A window's rectangle in the frame's client coordinates.
    CRect InFrame(CWnd* wnd) const
    {
        CRect rc;
        wnd->GetWindowRect(&rc);
        frame->ScreenToClient(&rc);
        return rc;
    }
    CFrameWnd* frame;
    CWnd pane;
    CWVPCommandBarManager manager;
};

std::vector<int> HiddenIds(CWVPCommandBar* bar)
{
    std::vector<int> ids;
    for (int i = 0; i < bar->GetControlCount(); ++i)
        if (bar->GetControl(i)->GetHideFlags() == WVP_HIDE_WRAP)
            ids.push_back(bar->GetControl(i)->GetID());
    return ids;
}
} // namespace

TEST(ToolBarTest, DockRowsTakeTheirSpaceFromTheClientArea)
{
    DockedFrame host;
    CWVPToolBar* first = host.Add(L"First", IDR_GOOD);
    CWVPToolBar* second = host.Add(L"Second", IDR_SHORT);
    CWVPToolBar* side = host.Add(L"Side", IDR_GOOD);
    ASSERT_TRUE(side->SetPosition(wvpBarLeft));
    host.Layout();

    const CRect top = host.InFrame(host.manager.GetDockBar(wvpBarTop));
    const CRect left = host.InFrame(host.manager.GetDockBar(wvpBarLeft));
    const CRect rcFirst = host.InFrame(first), rcSecond = host.InFrame(second), rcSide = host.InFrame(side);
    // Two rows at the top, one bar on the left below them; the pane gets the rest.
    EXPECT_GT(rcFirst.Height(), 16);
    EXPECT_EQ(0, rcFirst.top);
    EXPECT_EQ(rcFirst.bottom, rcSecond.top);
    EXPECT_EQ(rcSecond.bottom, top.bottom);
    EXPECT_EQ(top.bottom, left.top);
    EXPECT_EQ(left.left, rcSide.left);
    EXPECT_GT(rcSide.Height(), rcSide.Width());
    const CRect pane = host.InFrame(&host.pane);
    EXPECT_EQ(top.bottom, pane.top);
    EXPECT_EQ(left.right, pane.left);
    EXPECT_EQ(wvpBarTop, second->GetPosition());
    EXPECT_EQ(wvpBarLeft, side->GetPosition());
    // The dock bar paints its background in the bars' face colour.
    DibCanvas canvas(top.Width(), top.Height(), RGB(1, 2, 3));
    ::SendMessageW(host.manager.GetDockBar(wvpBarTop)->GetSafeHwnd(), WM_PRINTCLIENT, WPARAM(canvas.dc()),
                   PRF_CLIENT);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), canvas.At(top.Width() - 2, top.Height() - 2));

    // A hidden bar gives its row back.
    second->SetVisible(FALSE);
    host.Layout();
    EXPECT_EQ(rcFirst.bottom, host.InFrame(&host.pane).top);
}

TEST(ToolBarTest, ChevronPopupListsExactlyTheHiddenControls)
{
    // A frame without a caption can be made narrower than the bar: two thirds of its width.
    DockedFrame host(480, 200, WS_POPUP);
    CWVPToolBar* bar = host.Add(L"Short", IDR_SHORT);
    host.Layout();
    ASSERT_TRUE(HiddenIds(bar).empty());
    const int natural = host.InFrame(bar).Width();
    host.frame->MoveWindow(60, 60, natural * 2 / 3, 200);
    host.Layout();

    const std::vector<int> hidden = HiddenIds(bar);
    ASSERT_FALSE(hidden.empty());
    ASSERT_LT(hidden.size(), size_t(4));
    CWVPToolBar::CControlButtonExpand* expand = bar->GetExpandButton();
    ASSERT_TRUE(expand != nullptr);
    EXPECT_TRUE(expand->IsVisible());
    EXPECT_TRUE(expand->HasHiddenControls());
    // The chevron sits at the bar's far end, after the last control that fits.
    CRect rcClient;
    bar->GetClientRect(&rcClient);
    EXPECT_LE(expand->GetRect().right, rcClient.right);

    ASSERT_TRUE(expand->OnSetPopup(TRUE));
    CWVPCommandBar* popup = expand->GetCommandBar();
    ASSERT_TRUE(popup != nullptr);
    EXPECT_EQ(hidden, Ids(popup));
    EXPECT_TRUE(::IsWindowVisible(popup->GetSafeHwnd()));
    expand->OnSetPopup(FALSE);
    WVPMouseManager()->CloseTrackedBars();
}

TEST(ToolBarTest, SavedPlacesComeBackAndOffScreenBarsReturnToTheWorkArea)
{
    struct Case
    {
        CPoint floatingAt;
        BOOL offScreen;
    } cases[] = {{{200, 150}, FALSE}, {{5000, 4000}, TRUE}, {{-3000, 100}, TRUE}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.floatingAt.x);
        DockedFrame host;
        CWVPToolBar* first = host.Add(L"First", IDR_GOOD);
        CWVPToolBar* second = host.Add(L"Second", IDR_SHORT);
        CWVPToolBar* third = host.Add(L"Third", IDR_NOBITMAP);
        ASSERT_TRUE(second->SetPosition(wvpBarBottom));
        ASSERT_TRUE(third->SetPosition(wvpBarFloating));
        const CSize floatingSize = third->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
        third->MoveWindow(CRect(c.floatingAt, floatingSize));
        host.Layout();
        const CRect savedFirst = host.InFrame(first), savedSecond = host.InFrame(second);

        const ArchiveBytes bytes = StoreArchiveBytes([&](CArchive& ar) {
            CWVPPropExchangeArchive px(ar);
            host.manager.SaveBarState(&px);
        });

        // Everything moves somewhere else, then the saved state comes back.
        first->SetPosition(wvpBarRight);
        second->SetVisible(FALSE);
        third->SetPosition(wvpBarLeft);
        host.Layout();
        BOOL loaded = FALSE;
        EXPECT_EQ(-1, LoadArchiveBytes(bytes, [&](CArchive& ar) {
                      CWVPPropExchangeArchive px(ar);
                      loaded = host.manager.LoadBarState(&px);
                  }));
        EXPECT_TRUE(loaded);
        host.Layout();

        EXPECT_EQ(wvpBarTop, first->GetPosition());
        EXPECT_EQ(wvpBarBottom, second->GetPosition());
        EXPECT_EQ(wvpBarFloating, third->GetPosition());
        EXPECT_TRUE(second->IsVisible());
        EXPECT_EQ(savedFirst, host.InFrame(first));
        EXPECT_EQ(savedSecond, host.InFrame(second));
        CRect rcThird;
        third->GetWindowRect(&rcThird);
        EXPECT_EQ(floatingSize, rcThird.Size());
        if (!c.offScreen)
            EXPECT_EQ(c.floatingAt, rcThird.TopLeft());
        else
        {
            const CRect work = WVPMonitorHelper().GetWorkAreaAtPoint(rcThird.CenterPoint());
            CRect inside;
            inside.IntersectRect(&rcThird, &work);
            EXPECT_EQ(rcThird, inside);
        }
    }
}

TEST(ToolBarTest, DockingToggleFloatsAtTheDockedPlaceAndDocksBack)
{
    DockedFrame host;
    host.Add(L"First", IDR_GOOD);
    CWVPToolBar* bar = host.Add(L"Second", IDR_SHORT);
    host.Layout();
    CRect docked;
    bar->GetWindowRect(&docked);

    // A bar that never floated floats where it was docked, on the screen.
    ASSERT_TRUE(bar->GetDockContext()->ToggleDocking());
    host.Layout();
    EXPECT_EQ(wvpBarFloating, bar->GetPosition());
    CRect floating;
    bar->GetWindowRect(&floating);
    EXPECT_EQ(docked.TopLeft(), floating.TopLeft());

    // Toggled again it docks back into its row at the top.
    ASSERT_TRUE(bar->GetDockContext()->ToggleDocking());
    host.Layout();
    EXPECT_EQ(wvpBarTop, bar->GetPosition());
    CRect again;
    bar->GetWindowRect(&again);
    EXPECT_EQ(docked, again);

    // Without the float flag a docked bar stays docked.
    bar->SetFlags(bar->GetFlags() & ~WVP_BARFLAG_FLOATING);
    EXPECT_FALSE(bar->GetDockContext()->ToggleDocking());
    EXPECT_EQ(wvpBarTop, bar->GetPosition());
}
