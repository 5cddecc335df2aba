#include "platform/mfc/WaitCursor.h"

#include "platform/mfc/WinApp.h"

namespace
{
void WaitCursor(int code)
{
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(code);
}
} // namespace

CWaitCursor::CWaitCursor()
{
    WaitCursor(1);
}

CWaitCursor::~CWaitCursor()
{
    WaitCursor(-1);
}

void CWaitCursor::Restore()
{
    WaitCursor(0);
}
