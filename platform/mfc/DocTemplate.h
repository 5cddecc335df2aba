// CDocTemplate: binds a document class, its frame and its view to one resource id whose string
// holds the document's names, separated by newlines (GetDocString reads them).
#pragma once

#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/String.h"

class CDocTemplate : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocTemplate)
  public:
    enum DocStringIndex
    {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };

    CDocTemplate(UINT idResource, CRuntimeClass* documentClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass);

    // Loads the names from the string resource (done by the constructor; again after a language change).
    virtual void LoadTemplate();
    // One field of the names; false (and an empty text) where the string has no such field.
    virtual BOOL GetDocString(CString& text, DocStringIndex index) const;

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
};
