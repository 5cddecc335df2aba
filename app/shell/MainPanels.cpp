#include "app/shell/MainPanels.h"

#include "app/shell/ButtonBarWnd.h"
#include "app/shell/ListWnd.h"
#include "app/shell/MainFrame.h"
#include "app/shell/MainWnd.h"
#include "app/shell/ParamWnd.h"
#include "app/shell/PlayerWnd.h"
#include "resources/resource.h"

#include <memory>

namespace
{
// The panels whose class makes its own window from its template.
template <class Panel> CDialog* CreatePanel(CWnd* frame)
{
    std::unique_ptr<Panel> panel(new Panel);
    if (!panel->Create(frame))
        return nullptr;
    return panel.release();
}

// The preview panel keeps its volume, sound and snapshot folder in the main frame's settings.
CDialog* CreatePlayerPanel(CWnd* frame)
{
    CMainFrame* mainFrame = dynamic_cast<CMainFrame*>(frame);
    if (!mainFrame)
        return nullptr;
    std::unique_ptr<CPlayerWnd> panel(new CPlayerWnd(&mainFrame->Preview()));
    if (!panel->Create(frame))
        return nullptr;
    return panel.release();
}

// The panels in creation order. A panel class replaces its slot's factory here.
MainPanelSlot g_slots[kMainPanelCount] = {
    {IDD_BUTTONBAR, L"err_create_buttonwnd", CreatePanel<CButtonBarWnd>},
    {IDD_LISTWND, L"err_create_listwnd", CreatePanel<CListWnd>},
    {IDD_MAINWND, L"err_create_mainwnd", CreatePanel<CMainWnd>},
    {IDD_PARAMWND, L"err_create_paramwnd", CreatePanel<CParamWnd>},
    {IDD_PLAYERWND, L"err_create_playerwnd", CreatePlayerPanel},
};
} // namespace

const MainPanelSlot& GetMainPanelSlot(MainPanel panel)
{
    return g_slots[panel];
}

MainPanelFactory SetMainPanelFactory(MainPanel panel, MainPanelFactory factory)
{
    MainPanelFactory previous = g_slots[panel].factory;
    g_slots[panel].factory = factory;
    return previous;
}

CDialog* CreateMainPanel(MainPanel panel, CWnd* frame)
{
    MainPanelFactory factory = g_slots[panel].factory;
    return factory ? factory(frame) : nullptr;
}

CPlaceholderPanel::CPlaceholderPanel(UINT templateId) : CDialog(templateId)
{
}
