#include "uilib/markup/MarkupParser.h"

#include "uilib/markup/MarkupScan.h"

namespace
{
const WCHAR kEndOfFile[] = L"Unexpected end of file has occurred.";
const WCHAR kExpectedClose[] = L"Unexpected token. The expected token is '>'";
const WCHAR kCloseInName[] = L"'>' is an unexpected token. The expected token is '='";
const WCHAR kOpenInName[] = L"'<' is an unexpected token. The expected token is '='";
const WCHAR kExpectedEquals[] = L"Unexpected token. The expected token is '='";
const WCHAR kExpectedQuote[] = L"Unexpected token. The expected token is '\"' or '''";
const int kEntityNameMax = 31;
const UINT kCodePageUtf8 = 65001;

BOOL NameIs(const WCHAR* name, int length, LPCWSTR text)
{
    int i = 0;
    for (; i < length; ++i)
        if (!text[i] || text[i] != name[i])
            return FALSE;
    return text[i] == 0;
}
} // namespace

CWVPMarkupParser::CWVPMarkupParser()
    : m_state(stateContent), m_nValueLength(0), m_nTagNameLength(0), m_nAttributeNameLength(0), m_chPushed(0),
      m_bEndSeen(FALSE), m_nLine(0), m_nColumn(0), m_bWide(FALSE), m_nCodePage(0), m_pEnd(nullptr), m_pPos(nullptr),
      m_nCarry(0)
{
    m_szValue[0] = m_szTagName[0] = m_szAttributeName[0] = 0;
}

CWVPMarkupParser::~CWVPMarkupParser()
{
}

void CWVPMarkupParser::SetBuffer(LPCWSTR start, LPCWSTR end)
{
    m_pPos = reinterpret_cast<const BYTE*>(start);
    m_pEnd = reinterpret_cast<const BYTE*>(end);
    m_bWide = TRUE;
}

void CWVPMarkupParser::SetBuffer(LPCSTR start, LPCSTR end, UINT codePage)
{
    m_pPos = reinterpret_cast<const BYTE*>(start);
    m_pEnd = reinterpret_cast<const BYTE*>(end);
    m_bWide = FALSE;
    m_nCodePage = codePage;
}

BOOL CWVPMarkupParser::IsSpace(WCHAR c)
{
    return c == 9 || c == 10 || c == 12 || c == 13 || c == 32;
}

WCHAR CWVPMarkupParser::ReadFromText()
{
    if (!m_pPos || m_pPos >= m_pEnd)
        return 0;
    WCHAR c = 0;
    if (m_bWide)
    {
        if (m_pEnd - m_pPos < 2)
        {
            m_pPos = m_pEnd;
            return 0;
        }
        c = *reinterpret_cast<const WCHAR*>(m_pPos);
        m_pPos += 2;
    }
    else if (m_nCodePage == kCodePageUtf8)
    {
        BYTE lead = *m_pPos;
        int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : -1;
        if (extra < 0 || m_pEnd - m_pPos <= extra)
        {
            // A four-byte lead, a stray continuation byte or a sequence cut by the end.
            m_pPos = m_pEnd;
            return 0;
        }
        if (extra == 0)
            c = lead;
        else if (extra == 1)
            c = (WCHAR)(((lead & 0x1F) << 6) | (m_pPos[1] & 0x3F));
        else
            c = (WCHAR)((lead << 12) | ((m_pPos[1] & 0x3F) << 6) | (m_pPos[2] & 0x3F));
        m_pPos += 1 + extra;
    }
    else
    {
        BYTE b = *m_pPos++;
        if (b >= 1 && b <= 0x7F)
            c = b;
        else if (b && ::MultiByteToWideChar(m_nCodePage, 0, reinterpret_cast<LPCSTR>(&b), 1, &c, 1) != 1)
            c = 0;
    }
    if (c == 0)
    {
        // A zero unit ends the text for good.
        m_pPos = m_pEnd;
        return 0;
    }
    ++m_nColumn;
    if (c == 13 || c == 10)
    {
        ++m_nLine;
        m_nColumn = 0;
    }
    return c;
}

WCHAR CWVPMarkupParser::ReadChar()
{
    if (m_chPushed)
    {
        WCHAR c = m_chPushed;
        m_chPushed = 0;
        return c;
    }
    return ReadFromText();
}

void CWVPMarkupParser::AppendValue(WCHAR c)
{
    if (m_nValueLength < kValueSize - 1)
        m_szValue[m_nValueLength++] = c;
}

void CWVPMarkupParser::AppendName(WCHAR* buffer, int& length, WCHAR c)
{
    if (length < kNameSize - 1)
        buffer[length++] = c;
}

int CWVPMarkupParser::Error(LPCWSTR message)
{
    m_nValueLength = 0;
    for (; *message; ++message)
        AppendValue(*message);
    return tokenError;
}

LPCWSTR CWVPMarkupParser::GetValue()
{
    m_szValue[m_nValueLength] = 0;
    return m_szValue;
}

LPCWSTR CWVPMarkupParser::GetAttributeName()
{
    m_szAttributeName[m_nAttributeNameLength] = 0;
    return m_szAttributeName;
}

LPCWSTR CWVPMarkupParser::GetTagName()
{
    m_szTagName[m_nTagNameLength] = 0;
    return m_szTagName;
}

BOOL CWVPMarkupParser::FindFirstTag()
{
    WCHAR c = ReadChar();
    while (IsSpace(c))
        c = ReadChar();
    if (c != '<')
        return FALSE;
    PushBack(c);
    return TRUE;
}

int CWVPMarkupParser::GetNextToken()
{
    switch (m_state)
    {
    case stateTag:
        return ScanInTag();
    case stateComment:
        return ScanData(L"-->", 3, FALSE, tokenCommentEnd);
    case stateCData:
        return ScanData(L"]]>", 3, FALSE, tokenCDataEnd);
    case stateInstruction:
        return ScanData(L"?>", 2, TRUE, tokenInstructionEnd);
    default:
        return ScanContent();
    }
}

int CWVPMarkupParser::ScanContent()
{
    WCHAR c = ReadChar();
    m_nValueLength = 0;
    if (c == 0)
        return tokenEnd;
    if (c == '<')
        return ScanTagStart();
    BOOL space = IsSpace(c);
    if (c == '&')
    {
        space = FALSE;
        c = ReadEntity();
        if (c == 0)
            return tokenWord;
    }
    AppendValue(c);
    for (;;)
    {
        c = ReadChar();
        if (c == 0 || c == '<' || c == '&' || IsSpace(c) != space)
        {
            PushBack(c);
            break;
        }
        AppendValue(c);
    }
    return space ? tokenSpace : tokenWord;
}

WCHAR CWVPMarkupParser::ReadEntity()
{
    WCHAR name[kEntityNameMax + 1];
    int length = 0;
    auto literal = [&]() {
        AppendValue('&');
        for (int i = 0; i < length; ++i)
            AppendValue(name[i]);
    };
    for (;;)
    {
        WCHAR c = ReadChar();
        if (c == 0)
        {
            literal();
            return 0;
        }
        if (c == ';')
            break;
        name[length++] = c;
        if (length == kEntityNameMax)
        {
            literal();
            return ';';
        }
    }
    name[length] = 0;
    static const struct
    {
        LPCWSTR name;
        WCHAR c;
    } kNamed[] = {{L"lt", '<'}, {L"gt", '>'}, {L"amp", '&'}, {L"apos", '\''}, {L"quot", '"'}};
    for (const auto& e : kNamed)
        if (NameIs(name, length, e.name))
            return e.c;
    WCHAR resolved = ResolveCharReference(name, length);
    if (resolved)
        return resolved;
    literal();
    return ';';
}

WCHAR CWVPMarkupParser::ResolveCharReference(LPCWSTR name, int length)
{
    if (length < 1 || name[0] != '#')
        return 0;
    if (length > 2 && name[1] == 'x')
    {
        unsigned value = 0;
        return MarkupScanFormat(name + 2, "%x", &value) == 1 ? (WCHAR)value : 0;
    }
    int value = 0;
    return MarkupScanFormat(name + 1, "%i", &value) == 1 ? (WCHAR)value : 0;
}

int CWVPMarkupParser::ScanTagStart()
{
    m_nTagNameLength = 0;
    WCHAR c = ReadChar();
    if (c == '?')
    {
        m_state = stateInstruction;
        m_nCarry = 0;
        return tokenInstructionStart;
    }
    BOOL endTag = FALSE;
    if (c == '/')
    {
        endTag = TRUE;
        c = ReadChar();
    }
    if (c == 0)
        return Error(kEndOfFile);
    for (;;)
    {
        if (IsSpace(c))
        {
            while (IsSpace(c))
                c = ReadChar();
            if (c == 0)
                return Error(kEndOfFile);
            break;
        }
        if (c == '/' || c == '>')
            break;
        AppendName(m_szTagName, m_nTagNameLength, c);
        if (m_nTagNameLength == 3 && NameIs(m_szTagName, 3, L"!--"))
        {
            m_state = stateComment;
            m_nCarry = 0;
            return tokenCommentStart;
        }
        if (m_nTagNameLength == 8 && NameIs(m_szTagName, 8, L"![CDATA["))
        {
            m_state = stateCData;
            m_nCarry = 0;
            return tokenCDataStart;
        }
        c = ReadChar();
        if (c == 0)
            return Error(kEndOfFile);
    }
    if (endTag)
        return c == '>' ? tokenTagEnd : Error(kExpectedClose);
    PushBack(c);
    m_state = stateTag;
    return tokenTagStart;
}

int CWVPMarkupParser::ScanInTag()
{
    WCHAR c = ReadChar();
    while (IsSpace(c))
        c = ReadChar();
    if (c == '>')
    {
        m_state = stateContent;
        return ScanContent();
    }
    if (c == '/')
    {
        WCHAR next = ReadChar();
        if (next == '>')
        {
            m_state = stateContent;
            return tokenTagEnd;
        }
        PushBack(next);
        return Error(kExpectedClose);
    }
    m_nAttributeNameLength = 0;
    m_nValueLength = 0;
    for (;; c = ReadChar())
    {
        if (c == 0)
            return tokenEnd;
        if (c == '>')
            return Error(kCloseInName);
        if (c == '<')
            return Error(kOpenInName);
        if (c == '=')
            break;
        if (IsSpace(c))
        {
            while (IsSpace(c))
                c = ReadChar();
            if (c != '=')
                return Error(kExpectedEquals);
            break;
        }
        AppendName(m_szAttributeName, m_nAttributeNameLength, c);
    }
    c = ReadChar();
    while (IsSpace(c))
        c = ReadChar();
    if (c != '"' && c != '\'')
        return Error(kExpectedQuote);
    WCHAR quote = c;
    for (;;)
    {
        c = ReadChar();
        if (c == 0)
            return Error(kExpectedQuote);
        if (c == quote)
            break;
        AppendValue(c);
    }
    return tokenAttribute;
}

int CWVPMarkupParser::ScanData(LPCWSTR marker, int markerLength, BOOL skipSpace, int endToken)
{
    if (m_bEndSeen)
    {
        m_bEndSeen = FALSE;
        m_state = stateContent;
        return endToken;
    }
    // Start with the units carried over from the previous piece, which may begin the marker.
    m_nValueLength = 0;
    for (int i = 0; i < m_nCarry; ++i)
        m_szValue[m_nValueLength++] = m_szCarry[i];
    m_nCarry = 0;
    for (;;)
    {
        WCHAR c = ReadChar();
        if (c == 0)
            return tokenEnd;
        if (skipSpace && IsSpace(c))
            continue;
        m_szValue[m_nValueLength++] = c;
        if (m_nValueLength >= markerLength &&
            ::memcmp(m_szValue + m_nValueLength - markerLength, marker, markerLength * sizeof(WCHAR)) == 0)
        {
            m_nValueLength -= markerLength;
            m_bEndSeen = TRUE;
            return tokenData;
        }
        if (m_nValueLength == kValueSize - 1)
        {
            m_nCarry = markerLength - 1;
            m_nValueLength -= m_nCarry;
            ::CopyMemory(m_szCarry, m_szValue + m_nValueLength, m_nCarry * sizeof(WCHAR));
            return tokenData;
        }
    }
}
