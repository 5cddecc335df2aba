#pragma once
// Plays the system's menu sounds (opening a popup, running a command) on a background thread of
// its own, so that the bars never wait for the sound driver. One instance per process
// (WVPMenuSoundPlayer); its thread starts with the first request and ends in the exit sequence.
#include "platform/mfc/Mfc.h"

class CWVPMenuSoundPlayer
{
  public:
    enum
    {
        kNoSound = 0,
        kCommandSound = 1,
        kPopupSound = 2,
    };

    // Plays one sound to its end; the default plays the system sound alias of the sound.
    typedef void (*PlayFunction)(LONG sound);

    explicit CWVPMenuSoundPlayer(PlayFunction play = nullptr);
    ~CWVPMenuSoundPlayer();
    CWVPMenuSoundPlayer(const CWVPMenuSoundPlayer&) = delete;
    CWVPMenuSoundPlayer& operator=(const CWVPMenuSoundPlayer&) = delete;

    // Starts the thread on first use and makes the sound the pending one: a newer request
    // replaces one that has not been played yet. Ignored while the player is disabled.
    void RequestSound(LONG sound);
    // Ends the thread (it finishes the sound it plays) and closes its handle.
    void StopThread();

    void EnableSound(BOOL enable)
    {
        m_bEnabled = enable;
    }
    BOOL IsSoundEnabled() const
    {
        return m_bEnabled;
    }
    // The sound thread, null while none runs.
    HANDLE GetThreadHandle() const
    {
        return m_hThread;
    }

  private:
    // What the player and its thread share. Both hold a reference, so that a thread that outlives
    // the player (a sound driver that never returns) still finds it.
    struct CShared
    {
        volatile LONG nPending;
        volatile LONG bStop;
        volatile LONG nRefs;
        PlayFunction pfnPlay;
        void Release();
    };

    void StartThread();
    static DWORD WINAPI ThreadProc(LPVOID parameter);
    static void PlaySystemSound(LONG sound);

    CShared* m_pShared;
    BOOL m_bEnabled;
    HANDLE m_hThread;
    PlayFunction m_pfnPlay;
};

// The process-wide player, made on first use; the exit sequence stops its thread.
CWVPMenuSoundPlayer* AFX_CDECL WVPMenuSoundPlayer();
