#include "uilib/commandbars/MenuSoundPlayer.h"

#include <mmsystem.h>

namespace
{
// How often the idle thread looks for a request.
const DWORD kPollInterval = 5;
// How long the exit waits for a sound that is still playing.
const DWORD kStopTimeout = 2000;

CWVPMenuSoundPlayer* g_pPlayer = nullptr;

void DestroyPlayer(void*)
{
    delete g_pPlayer;
    g_pPlayer = nullptr;
}
} // namespace

CWVPMenuSoundPlayer::CWVPMenuSoundPlayer(PlayFunction play)
    : m_nPending(kNoSound), m_bEnabled(TRUE), m_hThread(nullptr), m_bStop(FALSE),
      m_pfnPlay(play ? play : &CWVPMenuSoundPlayer::PlaySystemSound)
{
}

CWVPMenuSoundPlayer::~CWVPMenuSoundPlayer()
{
    StopThread();
}

void CWVPMenuSoundPlayer::RequestSound(LONG sound)
{
    if (!m_bEnabled)
        return;
    if (!m_hThread)
        StartThread();
    ::InterlockedExchange(&m_nPending, sound);
}

void CWVPMenuSoundPlayer::StartThread()
{
    m_nPending = kNoSound;
    m_bStop = FALSE;
    m_hThread = ::CreateThread(nullptr, 0, &CWVPMenuSoundPlayer::ThreadProc, this, CREATE_SUSPENDED, nullptr);
    if (!m_hThread)
        return; // the next request tries again
    ::SetThreadPriority(m_hThread, THREAD_PRIORITY_BELOW_NORMAL);
    ::ResumeThread(m_hThread);
}

void CWVPMenuSoundPlayer::StopThread()
{
    if (!m_hThread)
        return;
    ::InterlockedExchange(&m_bStop, TRUE);
    if (::WaitForSingleObject(m_hThread, kStopTimeout) != WAIT_OBJECT_0)
    {
        // A sound driver that never returns: the thread ends with the process.
        ::OutputDebugStringA("Reelwright: the menu sound thread did not end in time\n");
    }
    ::CloseHandle(m_hThread);
    m_hThread = nullptr;
}

DWORD WINAPI CWVPMenuSoundPlayer::ThreadProc(LPVOID parameter)
{
    CWVPMenuSoundPlayer* self = static_cast<CWVPMenuSoundPlayer*>(parameter);
    try
    {
        while (!::InterlockedCompareExchange(&self->m_bStop, FALSE, FALSE))
        {
            // The request is taken and cleared in one step: one that arrives while this sound
            // plays stays pending and plays next.
            const LONG sound = ::InterlockedExchange(&self->m_nPending, kNoSound);
            if (sound != kNoSound)
                self->m_pfnPlay(sound);
            else
                ::Sleep(kPollInterval);
        }
        if (self->m_pfnPlay == &CWVPMenuSoundPlayer::PlaySystemSound)
            ::PlaySoundW(nullptr, nullptr, SND_PURGE);
    }
    catch (...)
    {
        ::OutputDebugStringA("Reelwright: the menu sound thread failed\n");
    }
    return 0;
}

void CWVPMenuSoundPlayer::PlaySystemSound(LONG sound)
{
    LPCWSTR alias = sound == kCommandSound ? L"MenuCommand" : sound == kPopupSound ? L"MenuPopup" : nullptr;
    if (alias)
        ::PlaySoundW(alias, nullptr, SND_ALIAS | SND_NODEFAULT | SND_NOWAIT);
}

CWVPMenuSoundPlayer* AFX_CDECL WVPMenuSoundPlayer()
{
    if (!g_pPlayer)
    {
        g_pPlayer = new CWVPMenuSoundPlayer();
        AfxRegisterExitHandler(&DestroyPlayer, nullptr);
    }
    return g_pPlayer;
}
