// Per-thread and per-process framework objects. A CThreadLocal<T> gives each thread its own T,
// created on first use and deleted when the thread ends (through fiber-local storage callbacks,
// since a Winelib program gets no thread-detach notification); the slot itself is released by an
// exit handler. A CProcessLocal<T> holds one T for the process, created on first use under a
// lock and deleted by an exit handler. Both are meant to be static objects.
#pragma once

#include "platform/mfc/Afx.h"

#include <atomic>
#include <mutex>

// Base of objects kept in thread-local or process-local storage.
class CNoTrackObject
{
  public:
    virtual ~CNoTrackObject() = default;
};

typedef CNoTrackObject* (*AFX_NOTRACK_FACTORY)();

class CThreadLocalObject
{
  public:
    // The calling thread's object, created with pfnCreateObject when it has none yet.
    CNoTrackObject* GetData(AFX_NOTRACK_FACTORY pfnCreateObject);
    // The calling thread's object, or null.
    CNoTrackObject* GetDataNA();
    // Deletes every thread's object of this slot; later use starts afresh.
    void ReleaseSlot();

  protected:
    CThreadLocalObject();
    // Static destructors run after Wine has detached its DLLs: the exit handler did the work.
    ~CThreadLocalObject() = default;

  private:
    static void ExitHandler(void* context);
    int m_nSlot;
};

class CProcessLocalObject
{
  public:
    CNoTrackObject* GetData(AFX_NOTRACK_FACTORY pfnCreateObject);
    CNoTrackObject* GetDataNA() const
    {
        return m_pObject.load();
    }

  protected:
    CProcessLocalObject();
    ~CProcessLocalObject() = default;

  private:
    static void ExitHandler(void* context);
    std::atomic<CNoTrackObject*> m_pObject;
    std::mutex m_createLock;
};

// The typed face of either storage: the object of type TYPE, created with new on first use.
template <class BASE, class TYPE> class CTypedLocalStorage : public BASE
{
  public:
    TYPE* GetData()
    {
        return static_cast<TYPE*>(BASE::GetData(&CreateObject));
    }
    TYPE* GetDataNA()
    {
        return static_cast<TYPE*>(BASE::GetDataNA());
    }
    operator TYPE*()
    {
        return GetData();
    }
    TYPE* operator->()
    {
        return GetData();
    }

    static CNoTrackObject* CreateObject()
    {
        return new TYPE;
    }
};

template <class TYPE> class CThreadLocal : public CTypedLocalStorage<CThreadLocalObject, TYPE>
{
};

template <class TYPE> class CProcessLocal : public CTypedLocalStorage<CProcessLocalObject, TYPE>
{
};
