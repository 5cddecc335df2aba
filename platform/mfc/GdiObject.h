// CGdiObject: owner of one GDI object handle (pens, brushes, fonts, bitmaps, regions, palettes
// derive from it); FromHandle wraps foreign handles in temporary objects deleted at idle time.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/mfc/Object.h"
#include "platform/mfc/String.h"
#include "platform/mfc/Rect.h"

class CGdiObject : public CObject
{
    DECLARE_DYNCREATE(CGdiObject)
public:
    CGdiObject() noexcept : m_hObject(nullptr) {}
    virtual ~CGdiObject();

    HGDIOBJ m_hObject;
    operator HGDIOBJ() const noexcept { return m_hObject; }
    HGDIOBJ GetSafeHandle() const noexcept { return this ? m_hObject : nullptr; }

    static CGdiObject* PASCAL FromHandle(HGDIOBJ handle);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HGDIOBJ handle);
    HGDIOBJ Detach();

    BOOL DeleteObject();
    int GetObject(int size, LPVOID buffer) const { return ::GetObjectW(m_hObject, size, buffer); }
    UINT GetObjectType() const { return ::GetObjectType(m_hObject); }
    BOOL CreateStockObject(int index);
    BOOL UnrealizeObject() { return ::UnrealizeObject(m_hObject); }
    BOOL operator==(const CGdiObject& other) const { return m_hObject == other.m_hObject; }
    BOOL operator!=(const CGdiObject& other) const { return m_hObject != other.m_hObject; }

private:
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
};
