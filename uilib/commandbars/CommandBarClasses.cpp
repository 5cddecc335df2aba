// The run-time classes of the command bars, registered from one function so that a stream can
// name any of them even in a program that refers to none directly (the linker drops the object
// files of a static library that nothing refers to, and their registrations with them).
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/ControlButton.h"
#include "uilib/commandbars/ControlPopup.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/PopupBar.h"

void AFX_CDECL WVPRegisterCommandBarClasses()
{
    static CRuntimeClass* const classes[] = {
        RUNTIME_CLASS(CWVPControl),      RUNTIME_CLASS(CWVPControlButton), RUNTIME_CLASS(CWVPControlPopup),
        RUNTIME_CLASS(CWVPControls),     RUNTIME_CLASS(CWVPOriginalControls), RUNTIME_CLASS(CWVPCommandBar),
        RUNTIME_CLASS(CWVPPopupBar),
    };
    for (CRuntimeClass* runtimeClass : classes)
        AfxClassInit(runtimeClass);
}
