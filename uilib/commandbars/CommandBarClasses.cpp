// The run-time classes of the command bars, registered from one function so that a stream can
// name any of them even in a program that refers to none directly (the linker drops the object
// files of a static library that nothing refers to, and their registrations with them). The same
// function hands the popup-menu function its tracker, so that every program that links the
// command bars shows its popup menus as popup bars.
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/ControlButton.h"
#include "uilib/commandbars/ControlEdit.h"
#include "uilib/commandbars/ControlComboBoxGalleryPopupBar.h"
#include "uilib/commandbars/ControlComboBoxList.h"
#include "uilib/commandbars/ControlComboBox.h"
#include "uilib/commandbars/ControlGallery.h"
#include "uilib/commandbars/ControlPopup.h"
#include "uilib/commandbars/ControlProgress.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/PopupBar.h"
#include "uilib/foundation/PopupMenu.h"

void AFX_CDECL WVPRegisterCommandBarClasses()
{
    static CRuntimeClass* const classes[] = {
        RUNTIME_CLASS(CWVPControl),      RUNTIME_CLASS(CWVPControlButton), RUNTIME_CLASS(CWVPControlPopup),
        RUNTIME_CLASS(CWVPControls),     RUNTIME_CLASS(CWVPOriginalControls), RUNTIME_CLASS(CWVPCommandBar),
        RUNTIME_CLASS(CWVPPopupBar),
        RUNTIME_CLASS(CWVPControlEdit), RUNTIME_CLASS(CWVPEdit),
        RUNTIME_CLASS(CWVPControlComboBox), RUNTIME_CLASS(CWVPControlComboBoxPopupBar),
        RUNTIME_CLASS(CWVPControlComboBoxList), RUNTIME_CLASS(CWVPControlComboBoxGalleryPopupBar),
        RUNTIME_CLASS(CWVPControlGallery), RUNTIME_CLASS(CWVPControlProgress),
    };
    for (CRuntimeClass* runtimeClass : classes)
        AfxClassInit(runtimeClass);
    WVPSetPopupMenuTracker(&CWVPPopupBar::TrackMenu);
}

namespace
{
// Runs the registration when the program starts, before any bar or paint manager exists: the
// paint manager refers to this file, so any program that draws with the command bars has it.
struct StartUpRegistration
{
    StartUpRegistration()
    {
        WVPRegisterCommandBarClasses();
    }
};
const StartUpRegistration g_startUpRegistration;
} // namespace
