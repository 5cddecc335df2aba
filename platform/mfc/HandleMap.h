// CHandleMap: one thread's map from Win32 handles to the framework objects that wrap them.
// Permanent entries belong to objects that own or were attached to a handle; temporary entries
// are made on demand by FromHandle for foreign handles and deleted at idle time.
#pragma once

#include <unordered_map>

template <class T, class H>
class CHandleMap
{
public:
    // makeTemp builds a wrapper object bound to the handle; dropTemp unbinds it so that its
    // destructor leaves the handle alone.
    typedef T* (*MakeTempFn)(H handle);
    typedef void (*DropTempFn)(T* object);

    CHandleMap(MakeTempFn makeTemp, DropTempFn dropTemp) : m_makeTemp(makeTemp), m_dropTemp(dropTemp)
    {
    }
    ~CHandleMap() { DeleteTemp(); }
    CHandleMap(const CHandleMap&) = delete;
    CHandleMap& operator=(const CHandleMap&) = delete;

    T* FromHandle(H handle)
    {
        if (!handle)
            return nullptr;
        if (T* object = LookupPermanent(handle))
            return object;
        if (T* object = LookupTemporary(handle))
            return object;
        T* object = m_makeTemp(handle);
        if (object)
            m_temporary[handle] = object;
        return object;
    }

    T* LookupPermanent(H handle) const
    {
        auto it = m_permanent.find(handle);
        return it == m_permanent.end() ? nullptr : it->second;
    }

    T* LookupTemporary(H handle) const
    {
        auto it = m_temporary.find(handle);
        return it == m_temporary.end() ? nullptr : it->second;
    }

    void SetPermanent(H handle, T* object)
    {
        // A temporary wrapper of the same handle gives way to the permanent one.
        auto it = m_temporary.find(handle);
        if (it != m_temporary.end())
        {
            T* temp = it->second;
            m_temporary.erase(it);
            m_dropTemp(temp);
            delete temp;
        }
        m_permanent[handle] = object;
    }

    // Removes the handle from both maps when it maps to this object.
    void RemoveHandle(H handle, T* object)
    {
        auto it = m_permanent.find(handle);
        if (it != m_permanent.end() && it->second == object)
            m_permanent.erase(it);
        it = m_temporary.find(handle);
        if (it != m_temporary.end() && it->second == object)
            m_temporary.erase(it);
    }

    void DeleteTemp()
    {
        while (!m_temporary.empty())
        {
            auto it = m_temporary.begin();
            T* temp = it->second;
            m_temporary.erase(it);
            m_dropTemp(temp);
            delete temp;
        }
    }

    size_t GetPermanentCount() const { return m_permanent.size(); }
    size_t GetTemporaryCount() const { return m_temporary.size(); }

private:
    MakeTempFn m_makeTemp;
    DropTempFn m_dropTemp;
    std::unordered_map<H, T*> m_permanent;
    std::unordered_map<H, T*> m_temporary;
};

// The calling thread's map for one kind of handle, kept in its thread-state slot and made on
// first use (when `create` is set). Temporary wrappers are default-made objects bound to their
// handle through Bind, which is called with null before one is deleted so that its destructor
// leaves the handle alone.
template <class T, class H, void (*Bind)(T*, H)>
CHandleMap<T, H>* AfxThreadHandleMap(CHandleMap<T, H>*& slot, bool create)
{
    if (!slot && create)
        slot = new CHandleMap<T, H>(
            [](H handle) -> T* {
                T* object = new T;
                Bind(object, handle);
                return object;
            },
            [](T* object) { Bind(object, nullptr); });
    return slot;
}
