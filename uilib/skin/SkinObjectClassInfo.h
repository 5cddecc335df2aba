#pragma once
// Which skin object the windows of one window class get: a run-time class to create, or none,
// meaning that those windows stay unskinned. Shared by every name of the registry that maps to it.
#include "platform/mfc/CmdTarget.h"

class CWVPSkinObject;
class CWVPSkinObjectClassRegistry;

class CWVPSkinObjectClassInfo : public CCmdTarget
{
  public:
    explicit CWVPSkinObjectClassInfo(CRuntimeClass* pObjectClass);

    // A new object of the run-time class, or null when the class's windows get none.
    virtual CWVPSkinObject* CreateObject(LPCWSTR lpszClassName, LPCREATESTRUCTW lpcs);

    CRuntimeClass* GetObjectClass() const
    {
        return m_pObjectClass;
    }

    CRuntimeClass* m_pObjectClass;
    CWVPSkinObjectClassRegistry* m_pRegistry = nullptr;
};
