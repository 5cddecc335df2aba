#include "app/core/XmlDocument.h"

#include "app/core/ComHolders.h"
#include "app/core/HandleHolder.h"
#include "app/core/TextNumbers.h"

#include <cstring>
#include <string>
#include <vector>

namespace
{
// The version-independent DOM document of MSXML and the interfaces used on it.
const CLSID kClsidDomDocument = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidDomDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidDomElement = {0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

const WCHAR kDeclarationData[] = L"version='1.0' encoding='UTF-8' ";
const WCHAR kBrokenSuffix[] = L".broken";
const WCHAR kRectSeparators[] = L" ,\t:/";
const HRESULT kDocumentTypeRefused = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);

bool FileIsThere(const WCHAR* path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadWholeFile(const WCHAR* path, std::vector<char>& data)
{
    CFileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.Valid())
        return false;
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF)
        return false;
    data.resize((size_t)size.QuadPart);
    DWORD read = 0;
    return data.empty() || (::ReadFile(file.Get(), data.data(), (DWORD)data.size(), &read, nullptr) && read == data.size());
}

bool IsXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsBlankText(const std::string& data, size_t from, size_t to)
{
    for (size_t i = from; i < to; ++i)
        if (!IsXmlSpace(data[i]))
            return false;
    return true;
}

// The end of markup that closes with the given text, or the end of the data.
size_t EndAfter(const std::string& data, size_t from, const char* closing)
{
    const size_t found = data.find(closing, from);
    return found == std::string::npos ? data.size() : found + ::strlen(closing);
}

// The end of a tag or declaration from its "<": quoted values and a bracketed internal subset
// may hold ">".
size_t EndOfTag(const std::string& data, size_t from)
{
    char quote = 0;
    int brackets = 0;
    for (size_t i = from + 1; i < data.size(); ++i)
    {
        const char c = data[i];
        if (quote)
            quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'')
            quote = c;
        else if (c == '[')
            ++brackets;
        else if (c == ']' && brackets > 0)
            --brackets;
        else if (c == '>' && brackets == 0)
            return i + 1;
    }
    return data.size();
}

enum XmlToken
{
    kXmlNone,
    kXmlText,
    kXmlCData,
    kXmlStartTag,
    kXmlEndTag,
    kXmlEmptyTag,
    kXmlComment,
    kXmlInstruction,
    kXmlDocumentType, // "<!DOCTYPE ...>" and any other "<!" declaration
};

// The kind of the piece of XML starting at pos, and where it ends.
XmlToken NextXmlToken(const std::string& data, size_t pos, size_t& end)
{
    if (data[pos] != '<')
    {
        const size_t next = data.find('<', pos);
        end = next == std::string::npos ? data.size() : next;
        return kXmlText;
    }
    if (data.compare(pos, 4, "<!--") == 0)
        return end = EndAfter(data, pos + 4, "-->"), kXmlComment;
    if (data.compare(pos, 9, "<![CDATA[") == 0)
        return end = EndAfter(data, pos + 9, "]]>"), kXmlCData;
    if (data.compare(pos, 2, "<?") == 0)
        return end = EndAfter(data, pos + 2, "?>"), kXmlInstruction;
    end = EndOfTag(data, pos);
    if (data.compare(pos, 2, "<!") == 0)
        return kXmlDocumentType;
    if (data.compare(pos, 2, "</") == 0)
        return kXmlEndTag;
    return end >= 2 && data[end - 1] == '>' && data[end - 2] == '/' ? kXmlEmptyTag : kXmlStartTag;
}

// True for a file whose whole content is white space, at most a UTF-8 byte-order mark and at
// most an XML declaration: a document without a root element, which a load cannot tell apart
// from a broken file by its error code.
bool HasNoRootElement(const WCHAR* path)
{
    std::vector<char> data;
    if (!ReadWholeFile(path, data))
        return false;
    std::string text(data.begin(), data.end());
    size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (pos < text.size() && IsXmlSpace(text[pos]))
        ++pos;
    if (text.compare(pos, 5, "<?xml") == 0)
    {
        const size_t end = text.find("?>", pos);
        if (end == std::string::npos)
            return false;
        pos = end + 2;
    }
    while (pos < text.size() && IsXmlSpace(text[pos]))
        ++pos;
    return pos == text.size();
}

// The file's bytes as 8-bit text: a UTF-16 file (by its byte-order mark or a leading "<") keeps
// one byte of each unit, enough to find the markup, which is ASCII.
std::string MarkupBytes(const std::vector<char>& data)
{
    const bool little = data.size() >= 2 && ((data[0] == '\xFF' && data[1] == '\xFE') || (data[0] == '<' && !data[1]));
    const bool big = data.size() >= 2 && ((data[0] == '\xFE' && data[1] == '\xFF') || (!data[0] && data[1] == '<'));
    if (!little && !big)
        return std::string(data.begin(), data.end());
    std::string text;
    for (size_t i = little ? 0 : 1; i < data.size(); i += 2)
        text += data[i] ? data[i] : ' ';
    return text;
}

// A document type declaration can define entities that expand without bound or fetch other
// files: no file of the program has one, so a file that does is not loaded.
bool HasDocumentType(const WCHAR* path)
{
    std::vector<char> data;
    if (!ReadWholeFile(path, data))
        return false;
    const std::string text = MarkupBytes(data);
    for (size_t pos = 0, end = 0; pos < text.size(); pos = end)
        if (NextXmlToken(text, pos, end) == kXmlDocumentType)
            return true;
    return false;
}

bool LoadFile(CXmlDocument* doc)
{
    if (HasDocumentType(doc->m_path))
    {
        doc->m_lastResult = kDocumentTypeRefused;
        AfxTrace(L"Reelwright: %s holds a document type declaration and is not read\n", doc->m_path);
        return false;
    }
    doc->m_document->put_validateOnParse(VARIANT_FALSE);
    doc->m_document->put_resolveExternals(VARIANT_FALSE);
    CVariantHolder source(doc->m_path);
    VARIANT_BOOL ok = VARIANT_FALSE;
    doc->m_lastResult = doc->m_document->load(source.Get(), &ok);
    return doc->m_lastResult == S_OK && ok == VARIANT_TRUE;
}

bool ReadText(IXMLDOMNode* node, CString& out, HRESULT* result)
{
    if (!node)
        return false;
    CBstrHolder text;
    const HRESULT hr = node->get_text(text.Receive());
    if (result)
        *result = hr;
    if (FAILED(hr))
        return false;
    out = text.Text();
    return true;
}

// Finds the end of the run of separators (or of non-separators) starting at p.
const WCHAR* SkipRectSeparators(const WCHAR* p, bool separators)
{
    while (*p)
    {
        bool isSeparator = false;
        for (const WCHAR* s = kRectSeparators; *s; ++s)
            isSeparator = isSeparator || *p == *s;
        if (isSeparator != separators)
            break;
        ++p;
    }
    return p;
}

} // namespace

void CXmlDocument::Create(CXmlDocument** out)
{
    ::CoInitialize(nullptr);
    *out = new CXmlDocument();
}

void CXmlDocument::Destroy(CXmlDocument** doc)
{
    if (!doc || !*doc)
        return;
    if ((*doc)->m_document)
        (*doc)->m_document->Release();
    delete *doc;
    *doc = nullptr;
    ::CoUninitialize();
}

bool CXmlDocument::Load(CXmlDocument* doc, const WCHAR* path, bool create)
{
    const bool exists = FileIsThere(path);
    if (!exists && !create)
        return false;
    if (doc->m_document)
    {
        doc->m_document->Release();
        doc->m_document = nullptr;
    }
    doc->m_lastResult = ::CoCreateInstance(kClsidDomDocument, nullptr, CLSCTX_ALL, kIidDomDocument,
                                           reinterpret_cast<void**>(&doc->m_document));
    if (FAILED(doc->m_lastResult) || !doc->m_document)
    {
        doc->m_document = nullptr;
        return false;
    }
    ::lstrcpynW(doc->m_path, path, MAX_PATH);
    if (!exists)
        return Save(doc);
    bool loaded = LoadFile(doc);
    if (!loaded && create)
    {
        if (HasNoRootElement(path))
        {
            // An empty or declaration-only file: give it a declaration and read it again. It
            // still has no root element, so the load fails, but the document can be filled.
            Save(doc);
            loaded = LoadFile(doc);
        }
        else
        {
            // A damaged file that the caller may overwrite with defaults: keep the user's copy.
            CString backup = CString(path) + kBrokenSuffix;
            ::CopyFileW(path, backup, FALSE);
        }
    }
    return loaded;
}

bool CXmlDocument::Save(CXmlDocument* doc)
{
    if (!doc->m_document)
    {
        AfxTrace(L"Reelwright: an XML document that was never loaded is not saved\n");
        return false;
    }
    CComHolder<IXMLDOMNode> first(SelectNode(doc, nullptr, L"/node()"));
    CString firstName;
    if (!first || !GetNodeName(first.Get(), firstName) || firstName != L"xml")
    {
        CComHolder<IXMLDOMProcessingInstruction> declaration;
        CBstrHolder target(L"xml"), data(kDeclarationData);
        doc->m_lastResult = doc->m_document->createProcessingInstruction(target.Get(), data.Get(), declaration.Receive());
        if (SUCCEEDED(doc->m_lastResult) && declaration)
        {
            CComHolder<IXMLDOMNode> inserted;
            CVariantHolder before;
            if (first)
            {
                V_VT(&before.Get()) = VT_UNKNOWN;
                V_UNKNOWN(&before.Get()) = first.Get();
                first.Get()->AddRef();
            }
            doc->m_lastResult = doc->m_document->insertBefore(declaration.Get(), before.Get(), inserted.Receive());
        }
    }
    CVariantHolder destination(doc->m_path);
    doc->m_lastResult = doc->m_document->save(destination.Get());
    if (doc->m_lastResult != S_OK)
    {
        AfxTrace(L"Reelwright: %s cannot be saved (0x%08X)\n", doc->m_path, (unsigned)doc->m_lastResult);
        return false;
    }
    if (!ReindentXmlFile(doc->m_path))
    {
        AfxTrace(L"Reelwright: %s was saved but cannot be written again in its layout\n", doc->m_path);
        return false;
    }
    return true;
}

IXMLDOMNode* CXmlDocument::SelectNode(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name)
{
    if (!doc || !doc->m_document)
        return nullptr;
    CBstrHolder query(name);
    IXMLDOMNode* found = nullptr;
    doc->m_lastResult = parent ? parent->selectSingleNode(query.Get(), &found)
                               : doc->m_document->selectSingleNode(query.Get(), &found);
    if (doc->m_lastResult != S_OK && found)
    {
        found->Release();
        found = nullptr;
    }
    return found;
}

IXMLDOMNode* CXmlDocument::GetOrCreateChild(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name)
{
    IXMLDOMNode* node = SelectNode(doc, parent, name);
    return node ? node : CreateChild(doc, parent, name);
}

IXMLDOMNode* CXmlDocument::CreateChild(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name)
{
    if (!doc || !doc->m_document)
        return nullptr;
    CVariantHolder type;
    V_VT(&type.Get()) = VT_I4;
    V_I4(&type.Get()) = NODE_ELEMENT;
    CBstrHolder nodeName(name), nameSpace(L"");
    CComHolder<IXMLDOMNode> created;
    doc->m_lastResult = doc->m_document->createNode(type.Get(), nodeName.Get(), nameSpace.Get(), created.Receive());
    if (FAILED(doc->m_lastResult) || !created)
        return nullptr;
    CComHolder<IXMLDOMNode> appended;
    doc->m_lastResult = parent ? parent->appendChild(created.Get(), appended.Receive())
                               : doc->m_document->appendChild(created.Get(), appended.Receive());
    return created.Detach();
}

IXMLDOMNode* CXmlDocument::FirstChild(IXMLDOMNode* node)
{
    IXMLDOMNode* child = nullptr;
    if (!node || node->get_firstChild(&child) != S_OK)
        return nullptr;
    return child;
}

IXMLDOMNode* CXmlDocument::NextSibling(IXMLDOMNode* node)
{
    IXMLDOMNode* sibling = nullptr;
    if (!node || node->get_nextSibling(&sibling) != S_OK)
        return nullptr;
    return sibling;
}

int CXmlDocument::GetNodeType(IXMLDOMNode* node)
{
    DOMNodeType type = NODE_INVALID;
    if (!node || FAILED(node->get_nodeType(&type)))
        return 0;
    return (int)type;
}

bool CXmlDocument::GetNodeName(IXMLDOMNode* node, CString& out)
{
    if (!node)
        return false;
    CBstrHolder name;
    if (node->get_baseName(name.Receive()) != S_OK)
    {
        // Nodes without a local name (processing instructions on some builds) keep their name.
        if (node->get_nodeName(name.Receive()) != S_OK)
            return false;
    }
    out = name.Text();
    return true;
}

bool CXmlDocument::GetNodeText(IXMLDOMNode* node, CString& out)
{
    return ReadText(node, out, nullptr);
}

bool CXmlDocument::GetAttribute(CXmlDocument* doc, IXMLDOMNode* node, const WCHAR* name, CString& out)
{
    if (!node)
        return false;
    CComHolder<IXMLDOMElement> element;
    HRESULT hr = node->QueryInterface(kIidDomElement, reinterpret_cast<void**>(element.Receive()));
    if (doc)
        doc->m_lastResult = hr;
    if (FAILED(hr) || !element)
        return false;
    CBstrHolder attribute(name);
    CVariantHolder value;
    hr = element->getAttribute(attribute.Get(), value.Receive());
    if (doc)
        doc->m_lastResult = hr;
    if (hr != S_OK || V_VT(&value.Get()) == VT_NULL || V_VT(&value.Get()) == VT_EMPTY)
        return false;
    if (V_VT(&value.Get()) != VT_BSTR && FAILED(::VariantChangeType(&value.Get(), &value.Get(), 0, VT_BSTR)))
        return false;
    out = V_BSTR(&value.Get()) ? V_BSTR(&value.Get()) : L"";
    return true;
}

bool CXmlDocument::GetNodeInt(CXmlDocument* doc, IXMLDOMNode* node, int& out)
{
    CString text;
    if (!ReadText(node, text, doc ? &doc->m_lastResult : nullptr))
        return false;
    out = ReadLeadingInt(text);
    return true;
}

bool CXmlDocument::GetNodeBool(CXmlDocument* doc, IXMLDOMNode* node, bool& out)
{
    CString text;
    if (!ReadText(node, text, doc ? &doc->m_lastResult : nullptr))
        return false;
    out = text.CompareNoCase(L"true") == 0;
    return true;
}

bool CXmlDocument::GetNodeRect(CXmlDocument* doc, IXMLDOMNode* node, RECT& out)
{
    CString text;
    if (!ReadText(node, text, doc ? &doc->m_lastResult : nullptr))
        return false;
    LONG values[4] = {};
    const WCHAR* p = SkipRectSeparators(text, true);
    for (int i = 0; i < 4; ++i)
    {
        values[i] = ReadLeadingInt(p);
        if (i == 3)
            break;
        const WCHAR* end = SkipRectSeparators(p, false);
        if (!*end)
            return false; // no separator after this value
        p = SkipRectSeparators(end, true);
    }
    out.left = values[0];
    out.top = values[1];
    out.right = values[2];
    out.bottom = values[3];
    return true;
}

bool CXmlDocument::SetNodeText(CXmlDocument* doc, IXMLDOMNode* node, const WCHAR* text)
{
    if (!node)
        return false;
    CBstrHolder value(text ? text : L"");
    const HRESULT hr = node->put_text(value.Get());
    if (doc)
        doc->m_lastResult = hr;
    return SUCCEEDED(hr);
}

bool CXmlDocument::SetNodeInt(CXmlDocument* doc, IXMLDOMNode* node, int value)
{
    CString text;
    text.Format(L"%d", value);
    return SetNodeText(doc, node, text);
}

bool CXmlDocument::SetNodeBool(CXmlDocument* doc, IXMLDOMNode* node, bool value)
{
    return SetNodeText(doc, node, value ? L"true" : L"false");
}

bool CXmlDocument::SetNodeRect(CXmlDocument* doc, IXMLDOMNode* node, const RECT& value)
{
    CString text;
    text.Format(L"%d, %d, %d, %d", (int)value.left, (int)value.top, (int)value.right, (int)value.bottom);
    return SetNodeText(doc, node, text);
}

bool CXmlDocument::GetChildString(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name, CString& out)
{
    CComHolder<IXMLDOMNode> child(SelectNode(doc, parent, name));
    return ReadText(child.Get(), out, doc ? &doc->m_lastResult : nullptr);
}

bool CXmlDocument::GetChildInt(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name, int& out)
{
    CComHolder<IXMLDOMNode> child(SelectNode(doc, parent, name));
    return GetNodeInt(doc, child.Get(), out);
}

bool CXmlDocument::GetChildBool(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name, bool& out)
{
    CComHolder<IXMLDOMNode> child(SelectNode(doc, parent, name));
    return GetNodeBool(doc, child.Get(), out);
}

bool CXmlDocument::GetChildRect(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name, RECT& out)
{
    CComHolder<IXMLDOMNode> child(SelectNode(doc, parent, name));
    return GetNodeRect(doc, child.Get(), out);
}

bool CXmlDocument::SetChildString(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name, const WCHAR* text)
{
    CComHolder<IXMLDOMNode> child(GetOrCreateChild(doc, parent, name));
    return SetNodeText(doc, child.Get(), text);
}

bool CXmlDocument::SetChildInt(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name, int value)
{
    CComHolder<IXMLDOMNode> child(GetOrCreateChild(doc, parent, name));
    return SetNodeInt(doc, child.Get(), value);
}

bool CXmlDocument::SetChildBool(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name, bool value)
{
    CComHolder<IXMLDOMNode> child(GetOrCreateChild(doc, parent, name));
    return SetNodeBool(doc, child.Get(), value);
}

bool CXmlDocument::SetChildRect(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name, const RECT& value)
{
    CComHolder<IXMLDOMNode> child(GetOrCreateChild(doc, parent, name));
    return SetNodeRect(doc, child.Get(), value);
}

bool ReindentXmlFile(const WCHAR* path)
{
    std::vector<char> data;
    if (!ReadWholeFile(path, data))
        return false;
    if (data.size() < 3)
        return true;
    const std::string text = IndentXmlText(std::string(data.begin(), data.end()));
    CFileHandle file(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return false;
    DWORD written = 0;
    return ::WriteFile(file.Get(), text.data(), (DWORD)text.size(), &written, nullptr) && written == text.size();
}

std::string IndentXmlText(const std::string& data)
{
    // A byte-order mark stays in front and is not looked at.
    const size_t begin = data.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    std::string out = data.substr(0, begin);
    int depth = 0;
    XmlToken previous = kXmlNone;
    std::string pendingSpace;
    for (size_t pos = begin; pos < data.size();)
    {
        size_t end = pos;
        const XmlToken token = NextXmlToken(data, pos, end);
        const bool markup = token != kXmlText && token != kXmlCData;
        if (!markup)
        {
            const bool blank = token == kXmlText && IsBlankText(data, pos, end);
            if (blank && previous != kXmlText && previous != kXmlCData)
                pendingSpace.append(data, pos, end - pos);
            else
            {
                out += pendingSpace;
                out.append(data, pos, end - pos);
                pendingSpace.clear();
                previous = token;
            }
            pos = end;
            continue;
        }
        if (token == kXmlEndTag)
            --depth;
        // A break only between two pieces of markup, never inside an element's text, and an
        // element without children keeps its end tag on its own line.
        const bool breakHere = previous != kXmlNone && previous != kXmlText && previous != kXmlCData &&
                               !(token == kXmlEndTag && previous == kXmlStartTag);
        if (breakHere)
        {
            out += "\r\n";
            if (depth > 0)
                out.append((size_t)depth, '\t');
        }
        else
            out += pendingSpace;
        pendingSpace.clear();
        out.append(data, pos, end - pos);
        if (token == kXmlStartTag)
            ++depth;
        previous = token;
        pos = end;
    }
    return out + "\r\n";
}
