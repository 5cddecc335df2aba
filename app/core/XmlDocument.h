// The program's one reader and writer of XML files (settings, profiles, language files): one
// MSXML DOM document reached through COM, with load-or-create, saving in the program's indented
// layout, child lookup by name, node walking, attributes and typed element values.
#pragma once

#include "platform/mfc/Mfc.h"

#include <msxml.h>

#include <string>

class CXmlDocument
{
public:
    // Node handles are IXMLDOMNode references owned by the caller, who releases them.
    static void Create(CXmlDocument** out);
    static void Destroy(CXmlDocument** doc);

    // Every XML file is read with document type declarations refused and nothing external
    // fetched: false for such a file as for a broken one.
    static bool Load(CXmlDocument* doc, const WCHAR* path, bool create);
    // True only when the file was written; the cause of a failure goes to the debug log and the
    // document's last result.
    static bool Save(CXmlDocument* doc);

    static IXMLDOMNode* SelectNode(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name);
    static IXMLDOMNode* GetOrCreateChild(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name);
    static IXMLDOMNode* CreateChild(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name);
    static IXMLDOMNode* FirstChild(IXMLDOMNode* node);
    static IXMLDOMNode* NextSibling(IXMLDOMNode* node);
    static int GetNodeType(IXMLDOMNode* node);
    static bool GetNodeName(IXMLDOMNode* node, CString& out);
    static bool GetNodeText(IXMLDOMNode* node, CString& out);
    static bool GetAttribute(CXmlDocument* doc, IXMLDOMNode* node, const WCHAR* name, CString& out);

    static bool GetNodeInt(CXmlDocument* doc, IXMLDOMNode* node, int& out);
    static bool GetNodeBool(CXmlDocument* doc, IXMLDOMNode* node, bool& out);
    static bool GetNodeRect(CXmlDocument* doc, IXMLDOMNode* node, RECT& out);
    static bool SetNodeText(CXmlDocument* doc, IXMLDOMNode* node, const WCHAR* text);
    static bool SetNodeInt(CXmlDocument* doc, IXMLDOMNode* node, int value);
    static bool SetNodeBool(CXmlDocument* doc, IXMLDOMNode* node, bool value);
    static bool SetNodeRect(CXmlDocument* doc, IXMLDOMNode* node, const RECT& value);

    static bool GetChildString(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name, CString& out);
    static bool GetChildInt(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name, int& out);
    static bool GetChildBool(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name, bool& out);
    static bool GetChildRect(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name, RECT& out);
    static bool SetChildString(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name, const WCHAR* text);
    static bool SetChildInt(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name, int value);
    static bool SetChildBool(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name, bool value);
    static bool SetChildRect(CXmlDocument* doc, IXMLDOMNode* parent, const WCHAR* name, const RECT& value);

    HRESULT m_lastResult = S_OK;
    WCHAR m_path[MAX_PATH] = {};
    IXMLDOMDocument* m_document = nullptr;

private:
    CXmlDocument() = default;
    ~CXmlDocument() = default;
};

// Rewrites a saved XML file in place with one element per line and one tab per level; false when
// it cannot be read or written again.
bool ReindentXmlFile(const WCHAR* path);
// The indented form of an XML text (UTF-8 or another 8-bit encoding): line breaks and tabs go only
// between pieces of markup, replacing the white space there, never into text, CDATA sections,
// comments or tags; it ends with one CR LF.
std::string IndentXmlText(const std::string& text);

// Owns one CXmlDocument for a scope.
class CXmlFile
{
public:
    CXmlFile() { CXmlDocument::Create(&m_doc); }
    ~CXmlFile() { CXmlDocument::Destroy(&m_doc); }
    CXmlFile(const CXmlFile&) = delete;
    CXmlFile& operator=(const CXmlFile&) = delete;
    CXmlDocument* Get() const { return m_doc; }

private:
    CXmlDocument* m_doc = nullptr;
};
