#include "platform/mfc/OleException.h"

IMPLEMENT_DYNAMIC(COleException, CException)

COleException::COleException(SCODE sc) : m_sc(sc)
{
}

BOOL COleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    wchar_t text[512] = {0};
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, (DWORD)m_sc, 0,
                                    text, 512, nullptr);
    CString message;
    if (length)
    {
        // The system's texts end with a line break.
        while (length && (text[length - 1] == L'\r' || text[length - 1] == L'\n'))
            text[--length] = 0;
        message = text;
    }
    else
    {
        message.Format(L"OLE error 0x%08X.", (unsigned)m_sc);
    }
    return CopyMessage(message, lpszError, nMaxError);
}

SCODE PASCAL COleException::Process(const CException* e)
{
    if (!e)
        return E_UNEXPECTED;
    if (e->IsKindOf(RUNTIME_CLASS(COleException)))
        return static_cast<const COleException*>(e)->m_sc;
    if (e->IsKindOf(RUNTIME_CLASS(CMemoryException)))
        return E_OUTOFMEMORY;
    if (e->IsKindOf(RUNTIME_CLASS(CNotSupportedException)))
        return E_NOTIMPL;
    return E_UNEXPECTED;
}

void AFXAPI AfxThrowOleException(SCODE sc)
{
    throw new COleException(sc);
}
