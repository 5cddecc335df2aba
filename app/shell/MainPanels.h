// The five panels of the main window and how the frame makes them. Each panel is a child dialog
// of the frame, created by the factory of its slot in the table of MainPanels.cpp: the panel
// classes (tool bar, task list, target, parameter, preview) put their own factory there. Tests
// may put a stand-in panel in a slot (CPlaceholderPanel: a plain panel from the slot's template,
// whose Enter and Escape do nothing).
//
// The frame reaches a panel only through messages, so that any dialog class can fill a slot:
// WM_RW_PANEL_RELOADTEXTS after a language change, WM_RW_PANEL_SHIFT (wParam: a vertical offset
// in pixels, as an int) when the parameter panel's controls must move with its top edge. The
// frame's commands travel to the panels through its command routing (CMainFrame::OnCmdMsg).
#pragma once

#include "app/core/PrivateMessages.h"
#include "platform/mfc/Mfc.h"

enum MainPanel
{
    kToolBarPanel,
    kTaskListPanel,
    kTargetPanel,
    kParamPanel,
    kPreviewPanel,
    kMainPanelCount
};


// Makes the panel object and its window (a child of the frame); null when either fails.
typedef CDialog* (*MainPanelFactory)(CWnd* frame);

struct MainPanelSlot
{
    UINT templateId;
    const WCHAR* errorKey; // the message shown when the panel cannot be made
    MainPanelFactory factory;
};

const MainPanelSlot& GetMainPanelSlot(MainPanel panel);
// Replaces a slot's factory (tests); returns the previous one.
MainPanelFactory SetMainPanelFactory(MainPanel panel, MainPanelFactory factory);
CDialog* CreateMainPanel(MainPanel panel, CWnd* frame);

// The stand-in panel: a plain child dialog from a template.
class CPlaceholderPanel : public CDialog
{
  public:
    explicit CPlaceholderPanel(UINT templateId);
    void OnOK() override
    {
    }
    void OnCancel() override
    {
    }
};
