// CCmdTarget: the base of everything that handles commands and messages through a message map,
// with the reference count and the interface map of the COM faces it exposes.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <stddef.h>

#include "platform/mfc/Object.h"
#include "platform/mfc/String.h"
#include "platform/mfc/MessageMap.h"

#ifndef afx_msg
#define afx_msg
#endif

class CCmdUI;

// Interface maps: which COM interfaces an object answers and where their parts lie in it.
struct AFX_INTERFACEMAP_ENTRY
{
    const IID* piid;  // null ends the table
    size_t nOffset;   // offset of the interface part in the object
};

struct AFX_INTERFACEMAP
{
    const AFX_INTERFACEMAP* (*pfnGetBaseMap)();
    const AFX_INTERFACEMAP_ENTRY* pEntry;
};

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    virtual ~CCmdTarget();

    // Routes a command, update request or notification to this object's message map. With a
    // handler record it only answers whether a handler exists.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // Reference count (the object deletes itself through OnFinalRelease when it reaches 0).
    DWORD InternalAddRef();
    DWORD InternalRelease();
    DWORD InternalQueryInterface(const void* iid, LPVOID* ppvObj);
    DWORD ExternalAddRef();
    DWORD ExternalRelease();
    DWORD ExternalQueryInterface(const void* iid, LPVOID* ppvObj);
    virtual void OnFinalRelease();
    LPUNKNOWN GetControllingUnknown();
    LPUNKNOWN GetInterface(const void* iid);

    // Automation as far as the library uses it: a dispatch face without members.
    void EnableAutomation();
    LPDISPATCH GetIDispatch(BOOL addRef);
    static CCmdTarget* PASCAL FromIDispatch(LPDISPATCH dispatch);
    BOOL IsAutomationEnabled() const { return m_pDispatch != nullptr; }

    // The wait cursor shown while a long operation runs.
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

    LONG m_dwRef;
    LPUNKNOWN m_pOuterUnknown;

protected:
    virtual const AFX_INTERFACEMAP* GetInterfaceMap() const;
    static const AFX_INTERFACEMAP* GetThisInterfaceMap();
    static const AFX_INTERFACEMAP_ENTRY _interfaceEntries[];
    static const AFX_INTERFACEMAP interfaceMap;

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Calls an entry's handler; false when an _EX handler declined.
    static BOOL PASCAL DispatchCmdMsg(CCmdTarget* target, UINT nID, int nCode, const AFX_MSGMAP_ENTRY* entry,
                                      void* pExtra);

private:
    friend class CCmdTargetDispatch;
    IDispatch* m_pDispatch;
};

#define DECLARE_INTERFACE_MAP()                                                                                       \
protected:                                                                                                            \
    static const AFX_INTERFACEMAP* GetThisInterfaceMap();                                                             \
    virtual const AFX_INTERFACEMAP* GetInterfaceMap() const;

#define BEGIN_INTERFACE_MAP(theClass, theBase)                                                                        \
    const AFX_INTERFACEMAP* theClass::GetInterfaceMap() const                                                         \
    {                                                                                                                 \
        return GetThisInterfaceMap();                                                                                 \
    }                                                                                                                 \
    const AFX_INTERFACEMAP* theClass::GetThisInterfaceMap()                                                    \
    {                                                                                                                 \
        typedef theClass ThisClass;                                                                                   \
        typedef theBase TheBaseClass;                                                                                 \
        static const AFX_INTERFACEMAP_ENTRY _interfaceEntries[] = {

#define INTERFACE_PART(theClass, iid, localClass) {&iid, offsetof(theClass, m_x##localClass)},

#define INTERFACE_AGGREGATE(theClass, theAggr) {nullptr, offsetof(theClass, theAggr)},

#define END_INTERFACE_MAP()                                                                                           \
    {nullptr, (size_t)-1}                                                                                             \
    }                                                                                                                 \
    ;                                                                                                                 \
    static const AFX_INTERFACEMAP interfaceMap = {&TheBaseClass::GetThisInterfaceMap, &_interfaceEntries[0]};         \
    return &interfaceMap;                                                                                             \
    }

// A nested class implementing one interface of the object; its IUnknown goes to the object's.
#define BEGIN_INTERFACE_PART(localClass, baseClass)                                                                   \
    class X##localClass : public baseClass                                                                            \
    {                                                                                                                 \
    public:                                                                                                           \
        STDMETHOD_(ULONG, AddRef)() override;                                                                         \
        STDMETHOD_(ULONG, Release)() override;                                                                        \
        STDMETHOD(QueryInterface)(REFIID iid, LPVOID * ppvObj) override;

#define INIT_INTERFACE_PART(theClass, localClass)

#define END_INTERFACE_PART(localClass)                                                                                \
    }                                                                                                                 \
    m_x##localClass;                                                                                                  \
    friend class X##localClass;

// Inside a method of an interface part: pThis is the object that holds the part.
#define METHOD_PROLOGUE(theClass, localClass)                                                                         \
    theClass* pThis = reinterpret_cast<theClass*>(reinterpret_cast<BYTE*>(this) - offsetof(theClass, m_x##localClass)); \
    (void)pThis;
#define METHOD_PROLOGUE_EX(theClass, localClass) METHOD_PROLOGUE(theClass, localClass)
#define METHOD_PROLOGUE_EX_(theClass, localClass) METHOD_PROLOGUE(theClass, localClass)

// The IUnknown of an interface part, forwarding to the object.
#define IMPLEMENT_IUNKNOWN(theClass, localClass)                                                                      \
    ULONG STDMETHODCALLTYPE theClass::X##localClass::AddRef()                                                         \
    {                                                                                                                 \
        METHOD_PROLOGUE(theClass, localClass)                                                                         \
        return pThis->ExternalAddRef();                                                                               \
    }                                                                                                                 \
    ULONG STDMETHODCALLTYPE theClass::X##localClass::Release()                                                        \
    {                                                                                                                 \
        METHOD_PROLOGUE(theClass, localClass)                                                                         \
        return pThis->ExternalRelease();                                                                              \
    }                                                                                                                 \
    HRESULT STDMETHODCALLTYPE theClass::X##localClass::QueryInterface(REFIID iid, LPVOID* ppvObj)                     \
    {                                                                                                                 \
        METHOD_PROLOGUE(theClass, localClass)                                                                         \
        return (HRESULT)pThis->ExternalQueryInterface(&iid, ppvObj);                                                  \
    }
