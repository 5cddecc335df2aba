#include "uilib/foundation/CriticalSection.h"

CWVPCriticalSection::CWVPCriticalSection()
{
    ::InitializeCriticalSection(&m_section);
}

CWVPCriticalSection::~CWVPCriticalSection()
{
    ::DeleteCriticalSection(&m_section);
}

void CWVPCriticalSection::Enter()
{
    ::EnterCriticalSection(&m_section);
}

void CWVPCriticalSection::Leave()
{
    ::LeaveCriticalSection(&m_section);
}

CWVPLockGuard::CWVPLockGuard(CWVPCriticalSection& section) : m_section(&section), m_locked(false)
{
    Lock();
}

CWVPLockGuard::~CWVPLockGuard()
{
    Unlock();
}

void CWVPLockGuard::Lock()
{
    if (!m_locked)
    {
        m_section->Enter();
        m_locked = true;
    }
}

void CWVPLockGuard::Unlock()
{
    if (m_locked)
    {
        m_section->Leave();
        m_locked = false;
    }
}
