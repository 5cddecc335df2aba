#include "uilib/markup/MarkupBuilder.h"

#include <new>

#include "uilib/markup/MarkupContext.h"
#include "uilib/markup/MarkupDependencyProperty.h"
#include "uilib/markup/MarkupInputElement.h"
#include "uilib/markup/MarkupParser.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupUIElement.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
const int kMessageSize = 512;
const int kExceptionSize = 256;
const WCHAR kRootLevel[] = L"Data at the root level is invalid";
const WCHAR kNoSuchTag[] = L"The tag '%ls' does not exist in XML namespace";
const WCHAR kUtf8[] = L"utf-8";
const UINT kCodePageUtf8 = 65001;

// Formats an integer into text.
int FormatInt(LPWSTR out, int value)
{
    WCHAR digits[16];
    int n = 0;
    unsigned v = value < 0 ? 0u - (unsigned)value : (unsigned)value;
    do
    {
        digits[n++] = (WCHAR)('0' + v % 10);
        v /= 10;
    } while (v);
    int k = 0;
    if (value < 0)
        out[k++] = '-';
    while (n)
        out[k++] = digits[--n];
    out[k] = 0;
    return k;
}

// Appends a text to out (capacity size units, including the terminator) at *length.
void Append(LPWSTR out, int size, int* length, LPCWSTR text)
{
    for (; text && *text && *length < size - 1; ++text)
        out[(*length)++] = *text;
    out[*length] = 0;
}
} // namespace

// ---- Exception ------------------------------------------------------------------------------
CWVPMarkupBuilderException::CWVPMarkupBuilderException(LPCWSTR message) : CSimpleException(TRUE, nullptr)
{
    int n = 0;
    Append(m_szMessage, kExceptionSize, &n, message);
}

BOOL CWVPMarkupBuilderException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (!lpszError)
        return FALSE;
    if (pnHelpContext)
        *pnHelpContext = 0;
    int n = 0;
    if (nMaxError > 0)
        Append(lpszError, (int)nMaxError, &n, m_szMessage);
    return TRUE;
}

// ---- Text buffer ----------------------------------------------------------------------------
// The text collected between tags. It grows geometrically, so that a text of megabytes is built
// in linear time.
struct CWVPMarkupBuilder::TextBuffer
{
    LPWSTR data = nullptr;
    int length = 0;
    int capacity = 0;

    ~TextBuffer()
    {
        delete[] data;
    }
    void Append(LPCWSTR text, int count)
    {
        if (length + count + 1 > capacity)
        {
            int grown = capacity * 2 > length + count + 256 ? capacity * 2 : length + count + 256;
            LPWSTR bigger = new WCHAR[grown];
            if (length)
                ::CopyMemory(bigger, data, length * sizeof(WCHAR));
            delete[] data;
            data = bigger;
            capacity = grown;
        }
        ::CopyMemory(data + length, text, count * sizeof(WCHAR));
        length += count;
    }
    // The collected text as a string object; the buffer is emptied.
    CWVPMarkupString* Take()
    {
        Append(L"", 0);
        data[length] = 0;
        CWVPMarkupString* s = CWVPMarkupString::CreateValue(data, length);
        length = 0;
        return s;
    }
};

// ---- Builder --------------------------------------------------------------------------------
CWVPMarkupBuilder::CWVPMarkupBuilder(CWVPMarkupContext* context)
    : m_lpszError(nullptr), m_pContext(context), m_ppSystem(nullptr), m_ppStack(nullptr), m_nStack(0),
      m_nStackCapacity(0), m_pPendingValue(nullptr)
{
}

CWVPMarkupBuilder::~CWVPMarkupBuilder()
{
    ReleaseStack();
    if (m_ppSystem)
    {
        for (int i = 0; i < 4 * kSystemColorCount; ++i)
            if (m_ppSystem[i])
                m_ppSystem[i]->Release();
        delete[] m_ppSystem;
    }
    delete[] m_ppStack;
    delete[] m_lpszError;
}

void CWVPMarkupBuilder::SetError(LPCWSTR text)
{
    delete[] m_lpszError;
    m_lpszError = nullptr;
    int n = MarkupTextLength(text);
    m_lpszError = new WCHAR[n + 1];
    ::CopyMemory(m_lpszError, text, (n + 1) * sizeof(WCHAR));
}

void CWVPMarkupBuilder::FormatMessage(LPWSTR out, int size, LPCWSTR format, LPCWSTR a1, LPCWSTR a2, LPCWSTR a3)
{
    LPCWSTR args[3] = {a1, a2, a3};
    int next = 0, n = 0;
    out[0] = 0;
    for (LPCWSTR f = format; *f && n < size - 1; ++f)
    {
        if (f[0] == '%' && f[1] == 'l' && f[2] == 's')
        {
            Append(out, size, &n, next < 3 ? args[next++] : nullptr);
            f += 2;
            continue;
        }
        out[n++] = *f;
        out[n] = 0;
    }
}

void CWVPMarkupBuilder::ThrowError(CWVPMarkupObject* release, LPCWSTR format, LPCWSTR a1, LPCWSTR a2, LPCWSTR a3)
{
    WCHAR message[kExceptionSize];
    FormatMessage(message, kExceptionSize, format, a1, a2, a3);
    if (release)
        release->Release();
    throw new CWVPMarkupBuilderException(message);
}

void CWVPMarkupBuilder::ThrowError(LPCWSTR format, LPCWSTR a1, LPCWSTR a2, LPCWSTR a3)
{
    ThrowError(nullptr, format, a1, a2, a3);
}

void CWVPMarkupBuilder::Push(CWVPMarkupObject* object)
{
    if (m_nStack == m_nStackCapacity)
    {
        int capacity = m_nStackCapacity ? m_nStackCapacity * 2 : 10;
        CWVPMarkupObject** stack = new CWVPMarkupObject*[capacity];
        if (m_nStack)
            ::CopyMemory(stack, m_ppStack, m_nStack * sizeof(CWVPMarkupObject*));
        delete[] m_ppStack;
        m_ppStack = stack;
        m_nStackCapacity = capacity;
    }
    m_ppStack[m_nStack++] = object;
}

CWVPMarkupObject* CWVPMarkupBuilder::Pop()
{
    return m_nStack ? m_ppStack[--m_nStack] : nullptr;
}

void CWVPMarkupBuilder::ReleaseStack()
{
    if (m_pPendingValue)
    {
        CWVPMarkupObject* pending = m_pPendingValue;
        m_pPendingValue = nullptr;
        pending->Release();
    }
    while (m_nStack)
        Pop()->Release();
}

CWVPMarkupObject* CWVPMarkupBuilder::CreateObject(LPCWSTR tag)
{
    CWVPMarkupType* type = CWVPMarkupType::FindTypeByTag(tag);
    if (!type)
        return nullptr;
    return m_pContext ? m_pContext->CreateObject(type) : type->CreateObject();
}

CWVPMarkupDependencyProperty* CWVPMarkupBuilder::FindProperty(LPCWSTR ownerTag, LPCWSTR name)
{
    CWVPMarkupType* type = CWVPMarkupType::FindTypeByTag(ownerTag);
    return type ? CWVPMarkupDependencyProperty::FindProperty(type, name) : nullptr;
}

CWVPMarkupDependencyProperty* CWVPMarkupBuilder::ResolveAttribute(CWVPMarkupType* type, LPCWSTR name)
{
    if (!name)
        return nullptr;
    int dot = 0;
    while (name[dot] && name[dot] != '.')
        ++dot;
    if (!name[dot])
        return CWVPMarkupDependencyProperty::FindProperty(type, name);
    WCHAR owner[CWVPMarkupParser::kValueSize];
    if (dot >= CWVPMarkupParser::kValueSize)
        return nullptr;
    ::CopyMemory(owner, name, dot * sizeof(WCHAR));
    owner[dot] = 0;
    return FindProperty(owner, name + dot + 1);
}

CWVPMarkupObject* CWVPMarkupBuilder::Parse(CWVPMarkupParser* parser)
{
    delete[] m_lpszError;
    m_lpszError = nullptr;
    SetError(L"");
    if (!parser)
        return nullptr;
    if (!parser->FindFirstTag())
    {
        SetError(kRootLevel);
        return nullptr;
    }
    CWVPMarkupObject* root = nullptr;
    TextBuffer text;
    try
    {
        ParseTokens(parser, text, root);
    }
    catch (CException* e)
    {
        WCHAR message[kMessageSize], line[16], column[16];
        if (!e->GetErrorMessage(message, kMessageSize))
            message[0] = 0;
        e->Delete();
        FormatInt(line, parser->GetLine() + 1);
        FormatInt(column, parser->GetColumn() + 1);
        WCHAR full[kMessageSize + 64];
        FormatMessage(full, kMessageSize + 64, L"%ls. Line %ls, position %ls", message, line, column);
        SetError(full);
        if (root)
            root->Release();
        root = nullptr;
    }
    catch (...)
    {
        SetError(L"Unexpected error");
        if (root)
            root->Release();
        root = nullptr;
    }
    ReleaseStack();
    if (!root)
        return nullptr;
    if (!root->IsKindOf(CWVPMarkupUIElement::Type()))
    {
        SetError(L"Root element have to be 'CWVPMarkupUIElement' type");
        root->Release();
        return nullptr;
    }
    try
    {
        CWVPMarkupInputElement::ApplyStyles(root);
    }
    catch (...)
    {
        SetError(L"Unexpected error");
        root->Release();
        return nullptr;
    }
    return root;
}

void CWVPMarkupBuilder::FlushText(TextBuffer& text, BOOL& pendingSpace, CWVPMarkupObject* element, BOOL)
{
    CWVPMarkupObject* content = nullptr;
    if (text.length)
    {
        if (pendingSpace)
            text.Append(L" ", 1);
        content = text.Take();
    }
    else if (pendingSpace && element->HasContentObject() && element->AllowWhiteSpaceContent())
        content = CWVPMarkupString::CreateValue(L" ", 1);
    text.length = 0;
    pendingSpace = FALSE;
    if (content)
        element->SetContentObject(this, content);
}

void CWVPMarkupBuilder::ParseTokens(CWVPMarkupParser* parser, TextBuffer& text, CWVPMarkupObject*& root)
{
    BOOL pendingSpace = FALSE;
    for (;;)
    {
        switch (parser->GetNextToken())
        {
        case CWVPMarkupParser::tokenTagStart:
        {
            if (!m_nStack)
            {
                if (root)
                    ThrowError(L"There are multiple root elements");
            }
            else
                FlushText(text, pendingSpace, Top(), TRUE);
            LPCWSTR tag = parser->GetTagName();
            int dot = 0;
            while (tag[dot] && tag[dot] != '.')
                ++dot;
            CWVPMarkupObject* object = nullptr;
            if (tag[dot])
            {
                WCHAR owner[CWVPMarkupParser::kNameSize];
                ::CopyMemory(owner, tag, dot * sizeof(WCHAR));
                owner[dot] = 0;
                CWVPMarkupDependencyProperty* property = FindProperty(owner, tag + dot + 1);
                if (!property || !m_nStack)
                    ThrowError(kNoSuchTag, tag);
                object = new CWVPMarkupObjectProperty(property);
            }
            else
            {
                object = CreateObject(tag);
                if (!object)
                    ThrowError(kNoSuchTag, tag);
            }
            if (m_nStack >= kMaxDepth)
                ThrowError(object, L"Elements are nested more than 256 levels deep");
            m_pPendingValue = object;
            object->SetTagName(tag);
            Push(object);
            m_pPendingValue = nullptr;
            break;
        }
        case CWVPMarkupParser::tokenAttribute:
        {
            if (!m_nStack)
                ThrowError(L"Unexpected error");
            LPCWSTR name = parser->GetAttributeName();
            if (name[0] == 'x' && name[1] == 'm' && name[2] == 'l' && name[3] == 'n' && name[4] == 's')
                break;
            CWVPMarkupObject* element = Top();
            CWVPMarkupDependencyProperty* property = ResolveAttribute(element->GetType(), name);
            if (!property)
                ThrowError(L"The property '%ls' does not exist in XML namespace", name);
            WCHAR value[CWVPMarkupParser::kValueSize];
            int length = 0;
            Append(value, CWVPMarkupParser::kValueSize, &length, parser->GetValue());
            CWVPMarkupObject* object = nullptr;
            if (value[0] == '{' && value[1] == '}')
                object = CWVPMarkupString::CreateValue(value + 2, length - 2);
            else
            {
                if (value[0] == '{')
                {
                    WCHAR extension[CWVPMarkupParser::kValueSize];
                    ::CopyMemory(extension, value, (length + 1) * sizeof(WCHAR));
                    object = ParseExtension(extension + 1);
                }
                if (!object)
                    object = CWVPMarkupString::CreateValue(value, length);
            }
            element->SetPropertyObject(this, property, object);
            break;
        }
        case CWVPMarkupParser::tokenWord:
        {
            if (!m_nStack)
                ThrowError(kRootLevel);
            if (pendingSpace && (text.length || Top()->HasContentObject()))
                text.Append(L" ", 1);
            pendingSpace = FALSE;
            LPCWSTR word = parser->GetValue();
            text.Append(word, MarkupTextLength(word));
            break;
        }
        case CWVPMarkupParser::tokenSpace:
            pendingSpace = TRUE;
            break;
        case CWVPMarkupParser::tokenTagEnd:
        {
            if (!m_nStack)
                ThrowError(L"Unexpected end tag");
            CWVPMarkupObject* element = Pop();
            m_pPendingValue = element;
            LPCWSTR endTag = parser->GetTagName();
            if (!MarkupTextEqual(element->GetTagName() ? element->GetTagName() : L"", endTag))
                ThrowError(L"The '%ls' start tag does not match the end tag of '%ls'", element->GetTagName(), endTag);
            pendingSpace = FALSE;
            if (text.length)
                element->SetContentObject(this, text.Take());
            text.length = 0;
            if (element->GetType() == CWVPMarkupObjectProperty::Type())
            {
                CWVPMarkupObjectProperty* holder = static_cast<CWVPMarkupObjectProperty*>(element);
                CWVPMarkupObject* value = holder->GetPropertyValue();
                if (!value)
                    ThrowError(L"'%ls' property does not have a value", holder->GetProperty()->GetName());
                value->AddRef();
                Top()->SetPropertyObject(this, holder->GetProperty(), value);
                m_pPendingValue = nullptr;
                holder->Release();
            }
            else if (!m_nStack)
            {
                m_pPendingValue = nullptr;
                root = element;
            }
            else
            {
                m_pPendingValue = nullptr;
                Top()->SetContentObject(this, element);
            }
            break;
        }
        case CWVPMarkupParser::tokenEnd:
            if (m_nStack)
                ThrowError(L"Unexpected end of file has occurred. The following elements are not closed: '%ls'",
                           Top()->GetTagName());
            if (!root)
                ThrowError(L"Root element is missing");
            return;
        case CWVPMarkupParser::tokenInstructionEnd:
        {
            LPCWSTR value = parser->GetValue();
            int length = MarkupTextLength(value);
            for (int i = 0; i + 8 <= length; ++i)
            {
                if (::memcmp(value + i, L"encoding", 8 * sizeof(WCHAR)) == 0)
                {
                    if (i + 15 <= length && ::memcmp(value + i + 10, kUtf8, 5 * sizeof(WCHAR)) == 0)
                        parser->SetCodePage(kCodePageUtf8);
                    break;
                }
            }
            break;
        }
        case CWVPMarkupParser::tokenError:
            ThrowError(L"%ls", parser->GetValue());
        default:
            break;
        }
    }
}

// ---- Property elements ----------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupObjectProperty, kTypeObjectProperty)

CWVPMarkupObjectProperty::CWVPMarkupObjectProperty(CWVPMarkupDependencyProperty* property)
    : m_pValue(nullptr), m_pPending(nullptr), m_pProperty(property)
{
}

CWVPMarkupObjectProperty::~CWVPMarkupObjectProperty()
{
    if (m_pValue)
        m_pValue->Release();
    if (m_pPending)
        m_pPending->Release();
}

void CWVPMarkupObjectProperty::SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content)
{
    if (!content || !m_pProperty)
        CWVPMarkupObject::SetContentObject(builder, content);
    CWVPMarkupType* valueType = m_pProperty->GetValueType();
    if (content->IsKindOf(valueType) || content->GetType() == CWVPMarkupString::Type())
    {
        if (m_pValue)
            m_pValue->Release();
        m_pValue = content;
        return;
    }
    if (m_pValue)
    {
        m_pValue->SetContentObject(builder, content);
        return;
    }
    CWVPMarkupContext* context = builder ? builder->GetContext() : nullptr;
    m_pPending = context ? context->CreateObject(valueType) : valueType->CreateObject();
    if (!m_pPending)
        CWVPMarkupObject::SetContentObject(builder, content);
    m_pPending->SetContentObject(builder, content);
    m_pValue = m_pPending;
    m_pPending = nullptr;
}
