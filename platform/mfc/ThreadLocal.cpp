#include "platform/mfc/ThreadLocal.h"

#include "platform/mfc/Exception.h"
#include "platform/mfc/ExitSequence.h"

#include <vector>

namespace
{
// One thread's objects, by slot. Every thread's record is on one list so that a slot can be
// released in all threads at once.
struct ThreadData
{
    std::vector<CNoTrackObject*> values;
    ThreadData* pPrev = nullptr;
    ThreadData* pNext = nullptr;
};

struct SlotRegistry
{
    std::mutex lock;
    ThreadData* pFirst = nullptr;
    int nNextSlot = 0;
    DWORD dwFlsIndex = FLS_OUT_OF_INDEXES;
};

// Never destroyed: threads may end after the static destructors have run.
SlotRegistry& Registry()
{
    static SlotRegistry* registry = new SlotRegistry;
    return *registry;
}

void DeleteObjects(std::vector<CNoTrackObject*>& objects)
{
    for (CNoTrackObject* p : objects)
    {
        try
        {
            delete p;
        }
        catch (CException* e)
        {
            e->Delete();
        }
        catch (...)
        {
        }
    }
    objects.clear();
}

// Runs on a thread that ends (and for the last thread at process exit) with its record.
void WINAPI ThreadEnded(void* pData)
{
    ThreadData* pThreadData = static_cast<ThreadData*>(pData);
    if (!pThreadData)
        return;
    std::vector<CNoTrackObject*> objects;
    {
        SlotRegistry& registry = Registry();
        std::lock_guard<std::mutex> guard(registry.lock);
        (pThreadData->pPrev ? pThreadData->pPrev->pNext : registry.pFirst) = pThreadData->pNext;
        if (pThreadData->pNext)
            pThreadData->pNext->pPrev = pThreadData->pPrev;
        objects.swap(pThreadData->values);
    }
    DeleteObjects(objects);
    delete pThreadData;
}

// The calling thread's record, created (and registered for its thread's end) when create is set.
ThreadData* CurrentThreadData(bool create)
{
    SlotRegistry& registry = Registry();
    DWORD dwIndex;
    {
        std::lock_guard<std::mutex> guard(registry.lock);
        if (registry.dwFlsIndex == FLS_OUT_OF_INDEXES)
        {
            if (!create)
                return nullptr;
            registry.dwFlsIndex = ::FlsAlloc(ThreadEnded);
            if (registry.dwFlsIndex == FLS_OUT_OF_INDEXES)
                AfxThrowMemoryException();
        }
        dwIndex = registry.dwFlsIndex;
    }
    ThreadData* pThreadData = static_cast<ThreadData*>(::FlsGetValue(dwIndex));
    if (pThreadData || !create)
        return pThreadData;
    pThreadData = new ThreadData;
    {
        std::lock_guard<std::mutex> guard(registry.lock);
        pThreadData->pNext = registry.pFirst;
        if (registry.pFirst)
            registry.pFirst->pPrev = pThreadData;
        registry.pFirst = pThreadData;
    }
    ::FlsSetValue(dwIndex, pThreadData);
    return pThreadData;
}
} // namespace

CThreadLocalObject::CThreadLocalObject()
{
    SlotRegistry& registry = Registry();
    {
        std::lock_guard<std::mutex> guard(registry.lock);
        m_nSlot = registry.nNextSlot++;
    }
    AfxRegisterExitHandler(ExitHandler, this);
}

CNoTrackObject* CThreadLocalObject::GetData(AFX_NOTRACK_FACTORY pfnCreateObject)
{
    CNoTrackObject* pObject = GetDataNA();
    if (pObject)
        return pObject;
    ThreadData* pThreadData = CurrentThreadData(true);
    // Created outside the lock: a constructor may use other thread-local objects.
    pObject = pfnCreateObject();
    std::lock_guard<std::mutex> guard(Registry().lock);
    if (pThreadData->values.size() <= size_t(m_nSlot))
        pThreadData->values.resize(m_nSlot + 1, nullptr);
    pThreadData->values[m_nSlot] = pObject;
    return pObject;
}

CNoTrackObject* CThreadLocalObject::GetDataNA()
{
    ThreadData* pThreadData = CurrentThreadData(false);
    if (!pThreadData)
        return nullptr;
    std::lock_guard<std::mutex> guard(Registry().lock);
    return size_t(m_nSlot) < pThreadData->values.size() ? pThreadData->values[m_nSlot] : nullptr;
}

void CThreadLocalObject::ReleaseSlot()
{
    std::vector<CNoTrackObject*> objects;
    {
        SlotRegistry& registry = Registry();
        std::lock_guard<std::mutex> guard(registry.lock);
        for (ThreadData* p = registry.pFirst; p; p = p->pNext)
        {
            if (size_t(m_nSlot) < p->values.size() && p->values[m_nSlot])
            {
                objects.push_back(p->values[m_nSlot]);
                p->values[m_nSlot] = nullptr;
            }
        }
    }
    DeleteObjects(objects);
}

void CThreadLocalObject::ExitHandler(void* context)
{
    static_cast<CThreadLocalObject*>(context)->ReleaseSlot();
}

CProcessLocalObject::CProcessLocalObject() : m_pObject(nullptr)
{
    AfxRegisterExitHandler(ExitHandler, this);
}

CNoTrackObject* CProcessLocalObject::GetData(AFX_NOTRACK_FACTORY pfnCreateObject)
{
    CNoTrackObject* pObject = m_pObject.load();
    if (pObject)
        return pObject;
    std::lock_guard<std::mutex> guard(m_createLock);
    pObject = m_pObject.load();
    if (!pObject)
    {
        pObject = pfnCreateObject();
        m_pObject.store(pObject);
    }
    return pObject;
}

void CProcessLocalObject::ExitHandler(void* context)
{
    CProcessLocalObject* pThis = static_cast<CProcessLocalObject*>(context);
    std::vector<CNoTrackObject*> objects(1, pThis->m_pObject.exchange(nullptr));
    if (objects[0])
        DeleteObjects(objects);
}
