// The framework's synchronisation objects over Win32 handles and critical sections, and
// CSingleLock, the scoped owner of one lock.
#pragma once

#include "platform/mfc/Object.h"

class CSyncObject : public CObject
{
    DECLARE_DYNAMIC(CSyncObject)
  public:
    explicit CSyncObject(LPCTSTR pstrName);
    ~CSyncObject() override;

    operator HANDLE() const
    {
        return m_hObject;
    }
    // Waits for the object; TRUE when it was acquired within the time-out.
    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;
    virtual BOOL Unlock(LONG lCount, LPLONG lpPrevCount = nullptr);

    HANDLE m_hObject;
};

class CCriticalSection : public CSyncObject
{
    DECLARE_DYNAMIC(CCriticalSection)
  public:
    CCriticalSection();
    ~CCriticalSection() override;

    operator CRITICAL_SECTION*()
    {
        return &m_sect;
    }
    BOOL Lock();
    // A time-out other than INFINITE tries once without waiting.
    BOOL Lock(DWORD dwTimeout) override;
    BOOL Unlock() override;
    using CSyncObject::Unlock;

    CRITICAL_SECTION m_sect;
};

class CMutex : public CSyncObject
{
    DECLARE_DYNAMIC(CMutex)
  public:
    explicit CMutex(BOOL bInitiallyOwn = FALSE, LPCTSTR lpszName = nullptr,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    BOOL Unlock() override;
    using CSyncObject::Unlock;
};

class CEvent : public CSyncObject
{
    DECLARE_DYNAMIC(CEvent)
  public:
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCTSTR lpszName = nullptr,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    BOOL SetEvent();
    BOOL PulseEvent();
    BOOL ResetEvent();
    BOOL Unlock() override;
    using CSyncObject::Unlock;
};

class CSemaphore : public CSyncObject
{
    DECLARE_DYNAMIC(CSemaphore)
  public:
    explicit CSemaphore(LONG lInitialCount = 1, LONG lMaxCount = 1, LPCTSTR pstrName = nullptr,
                        LPSECURITY_ATTRIBUTES lpsaAttributes = nullptr);
    BOOL Unlock() override;
    BOOL Unlock(LONG lCount, LPLONG lprevCount = nullptr) override;
};

// Holds one synchronisation object locked for a scope.
class CSingleLock
{
  public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock();
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock(DWORD dwTimeOut = INFINITE);
    BOOL Unlock();
    BOOL Unlock(LONG lCount, LPLONG lPrevCount = nullptr);
    BOOL IsLocked() const
    {
        return m_bAcquired;
    }

  protected:
    CSyncObject* m_pObject;
    BOOL m_bAcquired;
};
