// The library's lock: a critical section and its scope guard. The skin framework guards its maps
// and the image manager its bitmap pools with them.
#pragma once

#include <windows.h>

class CWVPCriticalSection
{
  public:
    CWVPCriticalSection();
    ~CWVPCriticalSection();
    CWVPCriticalSection(const CWVPCriticalSection&) = delete;
    CWVPCriticalSection& operator=(const CWVPCriticalSection&) = delete;

    void Enter();
    void Leave();
    operator CRITICAL_SECTION*()
    {
        return &m_section;
    }

  private:
    CRITICAL_SECTION m_section;
};

// Enters the section on construction and leaves it on destruction; Lock and Unlock in between.
class CWVPLockGuard
{
  public:
    explicit CWVPLockGuard(CWVPCriticalSection& section);
    ~CWVPLockGuard();
    CWVPLockGuard(const CWVPLockGuard&) = delete;
    CWVPLockGuard& operator=(const CWVPLockGuard&) = delete;

    void Lock();
    void Unlock();

  private:
    CWVPCriticalSection* m_section;
    bool m_locked;
};
