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
