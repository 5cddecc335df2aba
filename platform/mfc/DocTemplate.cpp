#include "platform/mfc/DocTemplate.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

CDocTemplate::CDocTemplate(UINT idResource, CRuntimeClass* documentClass, CRuntimeClass* frameClass,
                           CRuntimeClass* viewClass)
    : m_nIDResource(idResource), m_pDocClass(documentClass), m_pFrameClass(frameClass), m_pViewClass(viewClass)
{
    LoadTemplate();
}

void CDocTemplate::LoadTemplate()
{
    if (m_nIDResource && !m_strDocStrings.LoadString(m_nIDResource))
        m_strDocStrings.Empty();
}

BOOL CDocTemplate::GetDocString(CString& text, DocStringIndex index) const
{
    text.Empty();
    int start = 0;
    for (int field = 0; field < (int)index; ++field)
    {
        start = m_strDocStrings.Find(L'\n', start);
        if (start < 0)
            return FALSE;
        ++start;
    }
    if (start > m_strDocStrings.GetLength() || (start == 0 && m_strDocStrings.IsEmpty()))
        return FALSE;
    int end = m_strDocStrings.Find(L'\n', start);
    text = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
    return TRUE;
}
