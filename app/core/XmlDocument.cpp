#include "app/core/XmlDocument.h"

#include "app/core/ComHolders.h"
#include "app/core/HandleHolder.h"
#include "app/core/TextNumbers.h"

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

bool LoadFile(CXmlDocument* doc)
{
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

void WriteBytes(HANDLE file, const char* data, size_t length)
{
    DWORD written = 0;
    if (length)
        ::WriteFile(file, data, (DWORD)length, &written, nullptr);
}

void WriteBreak(HANDLE file, int depth)
{
    std::string text = "\r\n";
    if (depth > 0)
        text.append((size_t)depth, '\t');
    WriteBytes(file, text.data(), text.size());
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
        return true;
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
    ReindentXmlFile(doc->m_path);
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

void ReindentXmlFile(const WCHAR* path)
{
    std::vector<char> data;
    if (!ReadWholeFile(path, data) || data.size() < 3)
        return;
    size_t n = data.size();
    // The line break the save wrote after the last element goes (CR LF, or LF alone as Wine
    // writes it); the pass adds its own.
    if (data[n - 2] == '\r')
        n -= 2;
    else if (data[n - 1] == '\n')
        n -= 1;
    data.resize(n);
    data.push_back('\0');
    CFileHandle file(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return;
    // A byte-order mark stays in front and is not looked at.
    const size_t begin = n >= 3 && data[0] == '\xEF' && data[1] == '\xBB' && data[2] == '\xBF' ? 3 : 0;
    int depth = 1;
    size_t ws = 0;
    size_t segment = 0;
    for (size_t i = begin + 2; i < n; ++i)
    {
        const char c = data[i], p = data[i - 1];
        if (c == '>' && (p == '/' || p == '?'))
        {
            --depth;
        }
        else if (c == '<' && data[i + 1] == '/')
        {
            --depth;
            if (i - ws >= 1 && data[i - ws - 1] == '>')
            {
                WriteBytes(file.Get(), &data[segment], i - ws - segment);
                WriteBreak(file.Get(), depth);
                segment = i;
            }
        }
        else if (c == '<')
        {
            WriteBytes(file.Get(), &data[segment], i - ws - segment);
            WriteBreak(file.Get(), depth);
            ++depth;
            segment = i;
        }
        ws = c == '\r' || c == '\n' || c == '\t' ? ws + 1 : 0;
    }
    WriteBytes(file.Get(), &data[segment], n - segment);
    WriteBytes(file.Get(), "\r\n", 2);
}
