#include "platform/mfc/ThreadState.h"

#include "platform/mfc/DC.h"
#include "platform/mfc/GdiObject.h"
#include "platform/mfc/ImageList.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/ToolTipCtrl.h"
#include "platform/mfc/Wnd.h"

#include "platform/mfc/ExitSequence.h"

#include <atomic>

namespace
{
std::atomic<bool> g_terminated{false};
std::atomic<bool> g_markRegistered{false};

void MarkTerminated(void*)
{
    g_terminated = true;
    g_markRegistered = false;
}
}

void AfxStartWindowLayer()
{
    // Registered before anything of the window layer exists, so it runs after every later handler.
    g_terminated = false;
    if (!g_markRegistered.exchange(true))
        AfxRegisterExitHandler(MarkTerminated, nullptr);
}

namespace
{

// Each thread's state lives until the thread's framework object ends it; a thread that never
// calls AfxTermThreadState leaves a small block behind, never a Win32 call after DLL detach.
thread_local _AFX_THREAD_STATE* t_state = nullptr;
}

_AFX_THREAD_STATE::_AFX_THREAD_STATE()
    : m_lastSentMsg(), m_msgCur(), m_ptCursorLast(), m_nMsgLast(0), m_pWndInit(nullptr), m_hHookOldCbtFilter(nullptr),
      m_pmapHWND(nullptr), m_pmapHDC(nullptr), m_pmapHGDIOBJ(nullptr), m_pmapHMENU(nullptr),
      m_pmapHIMAGELIST(nullptr), m_pRoutingFrame(nullptr), m_pToolTip(nullptr), m_pLastHit(nullptr), m_nLastHit(-1),
      m_lastInfo(), m_nLastStatus(-1), m_nLastMenuStatus(0)
{
}

_AFX_THREAD_STATE::~_AFX_THREAD_STATE()
{
    if (m_hHookOldCbtFilter)
        ::UnhookWindowsHookEx(m_hHookOldCbtFilter);
    delete m_pmapHWND;
    delete m_pmapHDC;
    delete m_pmapHGDIOBJ;
    delete m_pmapHMENU;
    delete m_pmapHIMAGELIST;
}

bool AfxWindowLayerTerminated()
{
    return g_terminated;
}

_AFX_THREAD_STATE* AfxGetThreadState()
{
    if (!t_state)
    {
        // The first state of the process starts the layer; a state made after the exit handlers
        // (by a static destructor) must not undo the mark.
        static std::atomic<bool> started{false};
        if (!started.exchange(true))
            AfxStartWindowLayer();
        t_state = new _AFX_THREAD_STATE;
    }
    return t_state;
}

void AfxTermThreadState()
{
    _AFX_THREAD_STATE* state = t_state;
    if (!state)
        return;
    if (state->m_pToolTip)
    {
        CToolTipCtrl* tip = state->m_pToolTip;
        state->m_pToolTip = nullptr;
        tip->DestroyWindow();
        delete tip;
    }
    AfxDeleteTempMaps();
    t_state = nullptr;
    delete state;
}

void AfxDeleteTempMaps()
{
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    CMenu::DeleteTempMap();
    CImageList::DeleteTempMap();
}
