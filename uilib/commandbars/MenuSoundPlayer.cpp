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

void CWVPMenuSoundPlayer::CShared::Release()
{
    if (::InterlockedDecrement(&nRefs) == 0)
        delete this;
}

CWVPMenuSoundPlayer::CWVPMenuSoundPlayer(PlayFunction play)
    : m_pShared(nullptr), m_bEnabled(TRUE), m_hThread(nullptr),
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
    if (m_pShared)
        ::InterlockedExchange(&m_pShared->nPending, sound);
}

void CWVPMenuSoundPlayer::StartThread()
{
    CShared* shared = new CShared{kNoSound, FALSE, 2, m_pfnPlay};
    m_hThread = ::CreateThread(nullptr, 0, &CWVPMenuSoundPlayer::ThreadProc, shared, CREATE_SUSPENDED, nullptr);
    if (!m_hThread)
    {
        // The next request tries again.
        delete shared;
        return;
    }
    m_pShared = shared;
    ::SetThreadPriority(m_hThread, THREAD_PRIORITY_BELOW_NORMAL);
    ::ResumeThread(m_hThread);
}

void CWVPMenuSoundPlayer::StopThread()
{
    if (!m_hThread)
        return;
    ::InterlockedExchange(&m_pShared->bStop, TRUE);
    if (::WaitForSingleObject(m_hThread, kStopTimeout) != WAIT_OBJECT_0)
    {
        // A sound driver that does not return: the thread ends when it does, or with the process.
        ::OutputDebugStringA("Reelwright: the menu sound thread did not end in time\n");
    }
    ::CloseHandle(m_hThread);
    m_hThread = nullptr;
    m_pShared->Release();
    m_pShared = nullptr;
}

DWORD WINAPI CWVPMenuSoundPlayer::ThreadProc(LPVOID parameter)
{
    CShared* shared = static_cast<CShared*>(parameter);
    try
    {
        while (!::InterlockedCompareExchange(&shared->bStop, FALSE, FALSE))
        {
            // The request is taken and cleared in one step: one that arrives while this sound
            // plays stays pending and plays next.
            const LONG sound = ::InterlockedExchange(&shared->nPending, kNoSound);
            if (sound != kNoSound)
                shared->pfnPlay(sound);
            else
                ::Sleep(kPollInterval);
        }
        if (shared->pfnPlay == &CWVPMenuSoundPlayer::PlaySystemSound)
            ::PlaySoundW(nullptr, nullptr, SND_PURGE);
    }
    catch (...)
    {
        ::OutputDebugStringA("Reelwright: the menu sound thread failed\n");
    }
    shared->Release();
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
