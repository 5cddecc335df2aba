// The tokenizer of the markup language: element starts and ends, attributes, runs of text and
// white space, and the pieces of comments, CDATA sections and processing instructions, with the
// exact error messages the builder reports with line and position.
#pragma once

#include <windows.h>

class CWVPMarkupParser
{
  public:
    enum
    {
        tokenError = -1,
        tokenEnd = 0,
        tokenTagStart = 1,
        tokenTagEnd = 2,
        tokenAttribute = 3,
        tokenWord = 4,
        tokenSpace = 5,
        tokenData = 6,
        tokenCommentStart = 7,
        tokenCommentEnd = 8,
        tokenCDataStart = 9,
        tokenCDataEnd = 10,
        tokenInstructionStart = 11,
        tokenInstructionEnd = 12,
    };
    enum
    {
        kValueSize = 1024,
        kNameSize = 128,
    };

    CWVPMarkupParser();
    virtual ~CWVPMarkupParser();
    // Resolves an entity name other than the five named ones; 0 leaves it unresolved.
    virtual WCHAR ResolveCharReference(LPCWSTR name, int length);

    void SetBuffer(LPCWSTR start, LPCWSTR end);
    // Points the parser at 8-bit text in a code page (65001 is UTF-8).
    void SetBuffer(LPCSTR start, LPCSTR end, UINT codePage);
    int GetNextToken();
    LPCWSTR GetValue();
    LPCWSTR GetAttributeName();
    LPCWSTR GetTagName();
    BOOL FindFirstTag();
    int GetLine() const { return m_nLine; }
    int GetColumn() const { return m_nColumn; }
    UINT GetCodePage() const { return m_nCodePage; }
    void SetCodePage(UINT codePage) { m_nCodePage = codePage; }

  private:
    enum State
    {
        stateContent,
        stateTag,
        stateComment,
        stateCData,
        stateInstruction,
    };

    WCHAR ReadChar();
    WCHAR ReadFromText();
    void PushBack(WCHAR c) { m_chPushed = c; }
    void AppendValue(WCHAR c);
    void AppendName(WCHAR* buffer, int& length, WCHAR c);
    int Error(LPCWSTR message);
    int ScanContent();
    int ScanTagStart();
    int ScanInTag();
    int ScanData(LPCWSTR marker, int markerLength, BOOL skipSpace, int endToken);
    WCHAR ReadEntity();
    static BOOL IsSpace(WCHAR c);

    State m_state;
    WCHAR m_szValue[kValueSize];
    int m_nValueLength;
    WCHAR m_szTagName[kNameSize];
    int m_nTagNameLength;
    WCHAR m_szAttributeName[kNameSize];
    int m_nAttributeNameLength;
    WCHAR m_chPushed;
    BOOL m_bEndSeen;
    int m_nLine;
    int m_nColumn;
    BOOL m_bWide;
    UINT m_nCodePage;
    const BYTE* m_pEnd;
    const BYTE* m_pPos;
    // Units of a data section read past the last piece that may still start its closing marker.
    WCHAR m_szCarry[4];
    int m_nCarry;
};
