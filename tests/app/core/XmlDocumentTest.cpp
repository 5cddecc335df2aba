#include "RwTest.h"

#include "CoreTestUtil.h"
#include "app/core/ComHolders.h"
#include "app/core/XmlDocument.h"

#include <sys/stat.h>
#include <unistd.h>

using coretest::ReadFile;
using coretest::WinPath;
using coretest::WriteFile;

namespace
{
const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

class XmlDocumentTest : public testing::Test
{
protected:
    void SetUp() override { m_dir = rwtest::ScratchDir("XmlDocumentTest"); }
    std::string File(const char* name) const { return m_dir + "/" + name; }

    std::string m_dir;
};

// The declaration line as the save writes it, whatever quoting MSXML chose.
std::string FirstLine(const std::string& content)
{
    return content.substr(0, content.find("\r\n"));
}
} // namespace

TEST_F(XmlDocumentTest, CreatesAMissingFileWithTheDeclarationOnly)
{
    CXmlFile xml;
    ASSERT_TRUE(CXmlDocument::Load(xml.Get(), WinPath(File("new.xml")), true));
    const std::string content = ReadFile(File("new.xml"));
    EXPECT_EQ(0u, content.find("<?xml version")) << content;
    EXPECT_EQ(content.size() - 2, content.find("?>\r\n") + 2) << content;

    ASSERT_TRUE(CXmlDocument::SetChildString(xml.Get(), nullptr, L"Corvantis", L""));
    CXmlDocument::Save(xml.Get());
    EXPECT_NE(std::string::npos, ReadFile(File("new.xml")).find("<Corvantis")) << ReadFile(File("new.xml"));

    CXmlFile missing;
    EXPECT_FALSE(CXmlDocument::Load(missing.Get(), WinPath(File("absent.xml")), false));
    EXPECT_TRUE(ReadFile(File("absent.xml")).empty());
}

TEST_F(XmlDocumentTest, RecognisesFilesWithoutRootByContent)
{
    for (const char* content : {"", "   \r\n", kDeclaration, "\xEF\xBB\xBF<?xml version='1.0'?>\r\n"})
    {
        WriteFile(File("empty.xml"), content);
        CXmlFile xml;
        EXPECT_FALSE(CXmlDocument::Load(xml.Get(), WinPath(File("empty.xml")), true)) << content;
        EXPECT_NE(std::string::npos, ReadFile(File("empty.xml")).find("<?xml")) << content;
        // Usable all the same: the first element becomes the root.
        CXmlDocument::SetChildInt(xml.Get(), nullptr, L"root", 5);
        CXmlDocument::Save(xml.Get());
        CXmlFile again;
        ASSERT_TRUE(CXmlDocument::Load(again.Get(), WinPath(File("empty.xml")), false)) << content;
        int value = 0;
        EXPECT_TRUE(CXmlDocument::GetChildInt(again.Get(), nullptr, L"root", value));
        EXPECT_EQ(5, value);
    }
}

TEST_F(XmlDocumentTest, KeepsADamagedFileForTheUser)
{
    const std::string damaged = std::string(kDeclaration) + "<Corvantis><Basic><max_tasks>2</max";
    WriteFile(File("damaged.xml"), damaged);
    CXmlFile xml;
    EXPECT_FALSE(CXmlDocument::Load(xml.Get(), WinPath(File("damaged.xml")), true));
    EXPECT_EQ(damaged, ReadFile(File("damaged.xml.broken")));
    EXPECT_EQ(damaged, ReadFile(File("damaged.xml")));
    CComHolder<IXMLDOMNode> node(CXmlDocument::SelectNode(xml.Get(), nullptr, L"Corvantis"));
    EXPECT_FALSE(node);
}

TEST_F(XmlDocumentTest, SavedSettingsReloadEqualInTheProgramsLayout)
{
    const CString path = WinPath(File("Reelwright.xml"));
    const RECT placement = {-8, 10, 900, 510};
    {
        CXmlFile xml;
        ASSERT_TRUE(CXmlDocument::Load(xml.Get(), path, true));
        CComHolder<IXMLDOMNode> root(CXmlDocument::GetOrCreateChild(xml.Get(), nullptr, L"Corvantis"));
        CComHolder<IXMLDOMNode> basic(CXmlDocument::GetOrCreateChild(xml.Get(), root.Get(), L"Basic"));
        CComHolder<IXMLDOMNode> update(CXmlDocument::GetOrCreateChild(xml.Get(), root.Get(), L"Update"));
        EXPECT_TRUE(CXmlDocument::SetChildString(xml.Get(), basic.Get(), L"param_sel", L"DivX Movie & <more>"));
        EXPECT_TRUE(CXmlDocument::SetChildInt(xml.Get(), basic.Get(), L"max_tasks", -3));
        EXPECT_TRUE(CXmlDocument::SetChildBool(xml.Get(), basic.Get(), L"del_uncompleted", true));
        EXPECT_TRUE(CXmlDocument::SetChildRect(xml.Get(), basic.Get(), L"placement", placement));
        EXPECT_TRUE(CXmlDocument::SetChildString(xml.Get(), update.Get(), L"curversion", L"5.0.0.8"));
        EXPECT_TRUE(CXmlDocument::Save(xml.Get()));
        EXPECT_TRUE(CXmlDocument::Save(xml.Get())); // a second save adds no second declaration
    }
    const std::string content = ReadFile(File("Reelwright.xml"));
    const std::string expected = FirstLine(content) + "\r\n"
                                 "<Corvantis>\r\n"
                                 "\t<Basic>\r\n"
                                 "\t\t<param_sel>DivX Movie &amp; &lt;more&gt;</param_sel>\r\n"
                                 "\t\t<max_tasks>-3</max_tasks>\r\n"
                                 "\t\t<del_uncompleted>true</del_uncompleted>\r\n"
                                 "\t\t<placement>-8, 10, 900, 510</placement>\r\n"
                                 "\t</Basic>\r\n"
                                 "\t<Update>\r\n"
                                 "\t\t<curversion>5.0.0.8</curversion>\r\n"
                                 "\t</Update>\r\n"
                                 "</Corvantis>\r\n";
    EXPECT_EQ(expected, content);
    EXPECT_EQ(0u, content.find("<?xml version=")) << content;

    CXmlFile xml;
    ASSERT_TRUE(CXmlDocument::Load(xml.Get(), path, false));
    CComHolder<IXMLDOMNode> root(CXmlDocument::SelectNode(xml.Get(), nullptr, L"Corvantis"));
    CComHolder<IXMLDOMNode> basic(CXmlDocument::SelectNode(xml.Get(), root.Get(), L"Basic"));
    CString text;
    int number = 0;
    bool flag = false;
    RECT rect = {};
    EXPECT_TRUE(CXmlDocument::GetChildString(xml.Get(), basic.Get(), L"param_sel", text));
    EXPECT_EQ(CString(L"DivX Movie & <more>"), text);
    EXPECT_TRUE(CXmlDocument::GetChildInt(xml.Get(), basic.Get(), L"max_tasks", number));
    EXPECT_EQ(-3, number);
    EXPECT_TRUE(CXmlDocument::GetChildBool(xml.Get(), basic.Get(), L"del_uncompleted", flag));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(CXmlDocument::GetChildRect(xml.Get(), basic.Get(), L"placement", rect));
    EXPECT_TRUE(EqualRect(&rect, &placement));
    number = 77;
    EXPECT_FALSE(CXmlDocument::GetChildInt(xml.Get(), basic.Get(), L"missing", number));
    EXPECT_EQ(77, number);
}

TEST_F(XmlDocumentTest, ReadsTypedValues)
{
    WriteFile(File("values.xml"), std::string(kDeclaration) +
                                      "<r><t1>TRUE</t1><t2>1</t2><t3>truth</t3><n1>42abc</n1><n2>x</n2>"
                                      "<q1>1 2 3 4</q1><q2>::5,,-6\t/7:8</q2><q3>1, 2, 3</q3><q4>1,2,3,</q4></r>");
    CXmlFile xml;
    ASSERT_TRUE(CXmlDocument::Load(xml.Get(), WinPath(File("values.xml")), false));
    CComHolder<IXMLDOMNode> r(CXmlDocument::SelectNode(xml.Get(), nullptr, L"r"));
    struct BoolCase
    {
        const WCHAR* name;
        bool expected;
    } bools[] = {{L"t1", true}, {L"t2", false}, {L"t3", false}};
    for (const BoolCase& c : bools)
    {
        bool value = !c.expected;
        EXPECT_TRUE(CXmlDocument::GetChildBool(xml.Get(), r.Get(), c.name, value));
        EXPECT_EQ(c.expected, value) << CString(c.name);
    }
    int n = -1;
    EXPECT_TRUE(CXmlDocument::GetChildInt(xml.Get(), r.Get(), L"n1", n));
    EXPECT_EQ(42, n);
    EXPECT_TRUE(CXmlDocument::GetChildInt(xml.Get(), r.Get(), L"n2", n));
    EXPECT_EQ(0, n);
    struct RectCase
    {
        const WCHAR* name;
        bool ok;
        RECT expected;
    } rects[] = {{L"q1", true, {1, 2, 3, 4}}, {L"q2", true, {5, -6, 7, 8}}, {L"q3", false, {}}, {L"q4", true, {1, 2, 3, 0}}};
    for (const RectCase& c : rects)
    {
        RECT value = {9, 9, 9, 9};
        EXPECT_EQ(c.ok, CXmlDocument::GetChildRect(xml.Get(), r.Get(), c.name, value)) << CString(c.name);
        if (c.ok)
            EXPECT_TRUE(EqualRect(&value, &c.expected)) << CString(c.name);
    }
}

TEST_F(XmlDocumentTest, WalksNodesAndReadsAttributes)
{
    WriteFile(File("walk.xml"), std::string(kDeclaration) + "<a><b x=\"1\"/><!-- note --><c>text</c></a>");
    CXmlFile xml;
    ASSERT_TRUE(CXmlDocument::Load(xml.Get(), WinPath(File("walk.xml")), false));
    CComHolder<IXMLDOMNode> a(CXmlDocument::SelectNode(xml.Get(), nullptr, L"a"));
    CComHolder<IXMLDOMNode> b(CXmlDocument::FirstChild(a.Get()));
    CComHolder<IXMLDOMNode> comment(CXmlDocument::NextSibling(b.Get()));
    CComHolder<IXMLDOMNode> c(CXmlDocument::NextSibling(comment.Get()));
    CComHolder<IXMLDOMNode> end(CXmlDocument::NextSibling(c.Get()));
    EXPECT_EQ(NODE_ELEMENT, CXmlDocument::GetNodeType(b.Get()));
    EXPECT_EQ(NODE_COMMENT, CXmlDocument::GetNodeType(comment.Get()));
    EXPECT_FALSE(end);
    CString text = L"untouched";
    EXPECT_TRUE(CXmlDocument::GetAttribute(xml.Get(), b.Get(), L"x", text));
    EXPECT_EQ(CString(L"1"), text);
    EXPECT_FALSE(CXmlDocument::GetAttribute(xml.Get(), b.Get(), L"y", text));
    EXPECT_FALSE(CXmlDocument::GetAttribute(xml.Get(), comment.Get(), L"x", text));
    EXPECT_EQ(CString(L"1"), text);
    EXPECT_TRUE(CXmlDocument::GetNodeName(c.Get(), text));
    EXPECT_EQ(CString(L"c"), text);
    EXPECT_TRUE(CXmlDocument::GetNodeText(c.Get(), text));
    EXPECT_EQ(CString(L"text"), text);
}

TEST_F(XmlDocumentTest, ReportsASaveThatFailed)
{
    const std::string folder = File("gone");
    ASSERT_EQ(0, ::mkdir(folder.c_str(), 0755));
    CXmlFile xml;
    ASSERT_TRUE(CXmlDocument::Load(xml.Get(), WinPath(folder + "/settings.xml"), true));
    ASSERT_TRUE(CXmlDocument::SetChildString(xml.Get(), nullptr, L"Corvantis", L"x"));
    ASSERT_EQ(0, ::remove((folder + "/settings.xml").c_str()));
    ASSERT_EQ(0, ::rmdir(folder.c_str()));
    EXPECT_FALSE(CXmlDocument::Save(xml.Get()));
    EXPECT_TRUE(FAILED(xml.Get()->m_lastResult));

    CXmlFile missing;
    EXPECT_FALSE(CXmlDocument::Load(missing.Get(), WinPath(File("no/folder/new.xml")), true));
    EXPECT_FALSE(CXmlDocument::Save(missing.Get()));
}

TEST_F(XmlDocumentTest, SavingKeepsTextCDataAndCommentsIntact)
{
    const std::string cdata = "<![CDATA[a<b and </c> ok]]>", comment = "<!-- keep <this> </as> it is -->";
    WriteFile(File("cdata.xml"), std::string(kDeclaration) + "<r><a>" + cdata + "</a>" + comment +
                                     "<b x=\"1 > 0\"><c>  </c><d/></b><e></e></r>");
    {
        CXmlFile xml;
        ASSERT_TRUE(CXmlDocument::Load(xml.Get(), WinPath(File("cdata.xml")), false));
        ASSERT_TRUE(CXmlDocument::Save(xml.Get()));
    }
    const std::string content = ReadFile(File("cdata.xml"));
    EXPECT_NE(std::string::npos, content.find("\t<a>" + cdata + "</a>\r\n\t" + comment + "\r\n")) << content;
    EXPECT_NE(std::string::npos, content.find("\t\t<c/>\r\n\t\t<d/>\r\n\t</b>\r\n\t<e/>\r\n</r>\r\n")) << content;
    CXmlFile xml;
    ASSERT_TRUE(CXmlDocument::Load(xml.Get(), WinPath(File("cdata.xml")), false));
    CComHolder<IXMLDOMNode> r(CXmlDocument::SelectNode(xml.Get(), nullptr, L"r"));
    CString text;
    EXPECT_TRUE(CXmlDocument::GetChildString(xml.Get(), r.Get(), L"a", text));
    EXPECT_EQ(CString(L"a<b and </c> ok"), text);

    // The indenting itself, on texts.
    struct Case
    {
        const char* given;
        const char* indented;
    } cases[] = {
        {"<?xml version=\"1.0\"?>\n<a><b>t</b><c/></a>\n",
         "<?xml version=\"1.0\"?>\r\n<a>\r\n\t<b>t</b>\r\n\t<c/>\r\n</a>\r\n"},
        {"<a>mixed <b>text</b> kept</a>", "<a>mixed <b>text</b> kept</a>\r\n"},
        {"<a><!--<b>--><![CDATA[\r\n]]></a>", "<a>\r\n\t<!--<b>--><![CDATA[\r\n]]></a>\r\n"},
        {"<a t='>'><b/></a>", "<a t='>'>\r\n\t<b/>\r\n</a>\r\n"},
        {"<a><c>  </c></a>", "<a>\r\n\t<c>  </c>\r\n</a>\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(c.indented), IndentXmlText(c.given)) << c.given;
}

TEST_F(XmlDocumentTest, RefusesDocumentTypeDeclarations)
{
    const std::string entity = std::string(10000, 'x');
    std::string bomb = std::string(kDeclaration) + "<!DOCTYPE p [<!ENTITY e \"" + entity + "\">]><p>";
    for (int i = 0; i < 2000; ++i)
        bomb += "&e;";
    bomb += "</p>";
    WriteFile(File("bomb.xml"), bomb);
    // The same in UTF-16 with an external entity.
    const std::string external = "<!DOCTYPE p SYSTEM \"file:///etc/passwd\"><p>x</p>";
    std::string wide = "\xFF\xFE";
    for (char c : external)
        wide += std::string(1, c) + '\0';
    WriteFile(File("wide.xml"), wide);
    for (const char* name : {"bomb.xml", "wide.xml"})
    {
        CXmlFile xml;
        EXPECT_FALSE(CXmlDocument::Load(xml.Get(), WinPath(File(name)), false)) << name;
        CComHolder<IXMLDOMNode> p(CXmlDocument::SelectNode(xml.Get(), nullptr, L"p"));
        EXPECT_FALSE(p) << name;
    }
    EXPECT_EQ(bomb, ReadFile(File("bomb.xml"))); // refused, not rewritten
}
