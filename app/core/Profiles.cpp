#include "app/core/Profiles.h"

#include "app/core/ComHolders.h"
#include "app/core/XmlDocument.h"

namespace
{
// Walks the child nodes of a node, each released when the walk moves on.
class CChildWalk
{
public:
    explicit CChildWalk(IXMLDOMNode* parent) : m_node(CXmlDocument::FirstChild(parent)) {}
    IXMLDOMNode* Get() const { return m_node.Get(); }
    void Next()
    {
        IXMLDOMNode* next = CXmlDocument::NextSibling(m_node.Get());
        *m_node.Receive() = next;
    }

private:
    CComHolder<IXMLDOMNode> m_node;
};

bool IsElement(IXMLDOMNode* node)
{
    return CXmlDocument::GetNodeType(node) == NODE_ELEMENT;
}

bool IsFile(const CString& path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void ReadParameter(CXmlDocument* doc, IXMLDOMNode* node, ConvertSetting& profile)
{
    SubParameters param;
    CString step, displayStep;
    CXmlDocument::GetAttribute(doc, node, L"name", param.m_name);
    CXmlDocument::GetAttribute(doc, node, L"group", param.m_group);
    CXmlDocument::GetAttribute(doc, node, L"key", param.m_key);
    CXmlDocument::GetAttribute(doc, node, L"type", param.m_type);
    CXmlDocument::GetAttribute(doc, node, L"def", param.m_value);
    CXmlDocument::GetAttribute(doc, node, L"min", param.m_min);
    CXmlDocument::GetAttribute(doc, node, L"max", param.m_max);
    CXmlDocument::GetAttribute(doc, node, L"step", step);
    CXmlDocument::GetAttribute(doc, node, L"displaystep", displayStep);
    SplitString(step, L",", true, param.m_valueList);
    SplitString(displayStep, L",", true, param.m_displayList);
    // Labels that do not name the choices one for one would mislabel them: drop the parameter.
    if (param.m_displayList.GetSize() > 0 && param.m_displayList.GetSize() != param.m_valueList.GetSize())
        return;
    if (param.m_valueList.GetSize() > 1 && param.m_type != L"list")
        param.m_type = L"list";
    profile.m_params.Add(param);
}

void ReadCategory(CXmlDocument* doc, IXMLDOMNode* node, CategoryArray& categories)
{
    LeftShowItem category;
    CXmlDocument::GetAttribute(doc, node, L"name", category.m_name);
    CXmlDocument::GetAttribute(doc, node, L"desc", category.m_description);
    CXmlDocument::GetAttribute(doc, node, L"icon", category.m_icon);
    for (CChildWalk item(node); item.Get(); item.Next())
    {
        if (!IsElement(item.Get()))
            continue;
        ConvertSetting profile;
        CXmlDocument::GetAttribute(doc, item.Get(), L"name", profile.m_name);
        CXmlDocument::GetAttribute(doc, item.Get(), L"desc", profile.m_description);
        CXmlDocument::GetAttribute(doc, item.Get(), L"icon", profile.m_icon);
        CXmlDocument::GetAttribute(doc, item.Get(), L"extname", profile.m_extension);
        CXmlDocument::GetAttribute(doc, item.Get(), L"format", profile.m_format);
        for (CChildWalk param(item.Get()); param.Get(); param.Next())
            ReadParameter(doc, param.Get(), profile);
        category.m_profiles.Add(profile);
    }
    categories.Add(category);
}
} // namespace

int LoadProfiles(CategoryArray& categories, const CString& folder)
{
    const CString menuPath = folder + L"\\menu.xml";
    if (!IsFile(menuPath))
        return 0;
    CStringArray files;
    {
        CXmlFile xml;
        if (!CXmlDocument::Load(xml.Get(), menuPath, false))
            return 0;
        CComHolder<IXMLDOMNode> items(CXmlDocument::SelectNode(xml.Get(), nullptr, L"items"));
        for (CChildWalk item(items.Get()); item.Get(); item.Next())
        {
            CString name, file;
            if (IsElement(item.Get()) && CXmlDocument::GetNodeName(item.Get(), name) && name == L"item" &&
                CXmlDocument::GetAttribute(xml.Get(), item.Get(), L"filename", file))
                files.Add(folder + L"\\" + file);
        }
    }
    for (INT_PTR i = 0; i < files.GetSize(); ++i)
        LoadProfileFile(categories, files.GetAt(i));
    return 0;
}

int LoadProfileFile(CategoryArray& categories, const CString& path)
{
    if (!IsFile(path))
        return 0;
    CXmlFile xml;
    if (!CXmlDocument::Load(xml.Get(), path, false))
        return 0;
    CComHolder<IXMLDOMNode> profiles(CXmlDocument::SelectNode(xml.Get(), nullptr, L"profiles"));
    for (CChildWalk category(profiles.Get()); category.Get(); category.Next())
        if (IsElement(category.Get()))
            ReadCategory(xml.Get(), category.Get(), categories);
    return 0;
}

bool GetProfileAt(int profileIndex, int categoryIndex, const CategoryArray& categories, ConvertSetting& out)
{
    if (profileIndex < 0 || categoryIndex < 0 || categoryIndex >= categories.GetSize())
        return false;
    const LeftShowItem& category = categories.GetAt(categoryIndex);
    if (profileIndex >= category.m_profiles.GetSize())
        return false;
    out.CopyFrom(category.m_profiles.GetAt(profileIndex));
    return true;
}

bool LocateProfileByName(const CategoryArray& categories, const CString& name, int* categoryIndex, int* profileIndex)
{
    for (INT_PTR c = 0; c < categories.GetSize(); ++c)
    {
        const LeftShowItem& category = categories.GetAt(c);
        for (INT_PTR p = 0; p < category.m_profiles.GetSize(); ++p)
            if (category.m_profiles.GetAt(p).m_name == name)
            {
                *categoryIndex = (int)c;
                *profileIndex = (int)p;
                return true;
            }
    }
    return false;
}

bool FindProfileByName(const CategoryArray& categories, const CString& name, ConvertSetting& out)
{
    int category = -1, profile = -1;
    if (!LocateProfileByName(categories, name, &category, &profile))
        return false;
    return GetProfileAt(profile, category, categories, out);
}

void clear_inst_all(CategoryArray& categories)
{
    categories.RemoveAll();
}

void SplitString(const CString& text, const CString& delimiterIn, bool keepEmpty, CStringArray& out)
{
    const CString delimiter = delimiterIn.IsEmpty() ? CString(L",") : delimiterIn;
    int start = 0;
    for (int pos = text.Find(delimiter, start); pos >= 0; pos = text.Find(delimiter, start))
    {
        if (pos > start || keepEmpty)
            out.Add(text.Mid(start, pos - start));
        start = pos + delimiter.GetLength();
    }
    if (start < text.GetLength())
        out.Add(text.Mid(start));
}
