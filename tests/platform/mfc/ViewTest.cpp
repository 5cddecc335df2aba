// Documents and views as far as frames and command bars use them: a frame's active view and
// document, views joining their document, commands reaching the view and its document first,
// the names of a document template, and the list view's type.
#include "RwTest.h"

#include "MfcTestApp.h"

#include <vector>

namespace
{
const UINT ID_VIEW_CMD = 0x8D00;
const UINT ID_DOC_CMD = 0x8D01;
const UINT IDR_DOCUMENT = 129; // a string in ViewTest.rc

class CTestDocument : public COleDocument
{
  public:
    int m_commands = 0;
    afx_msg void OnDocCommand()
    {
        ++m_commands;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDocument, COleDocument)
ON_COMMAND(ID_DOC_CMD, OnDocCommand)
END_MESSAGE_MAP()

class CTestView : public CView
{
  public:
    int m_commands = 0;
    int m_activations = 0;
    afx_msg void OnViewCommand()
    {
        ++m_commands;
    }
    void OnActivateView(BOOL activate, CView*, CView*) override
    {
        m_activations += activate ? 1 : -1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestView, CView)
ON_COMMAND(ID_VIEW_CMD, OnViewCommand)
END_MESSAGE_MAP()

TEST(Views, TheFrameAnswersItsActiveViewAndDocumentAndRoutesCommandsThroughThem)
{
    TestApp();
    CFrameWnd* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, L"frame", WS_POPUP, CRect(0, 0, 200, 100)));
    CTestDocument document;
    CCreateContext context = {};
    context.m_pCurrentDoc = &document;
    CTestView* view = new CTestView;
    view->m_bAutoDelete = TRUE;
    ASSERT_TRUE(
        view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), frame, AFX_IDW_PANE_FIRST, &context));
    EXPECT_EQ(&document, view->GetDocument());
    POSITION pos = document.GetFirstViewPosition();
    EXPECT_EQ(view, document.GetNextView(pos));
    EXPECT_EQ(nullptr, document.GetStartPosition()); // no embedded items

    EXPECT_EQ(nullptr, frame->GetActiveView());
    EXPECT_EQ(nullptr, frame->GetActiveDocument());
    frame->SetActiveView(view);
    EXPECT_EQ(view, frame->GetActiveView());
    EXPECT_EQ(&document, frame->GetActiveDocument());
    EXPECT_EQ(1, view->m_activations);

    frame->SendMessage(WM_COMMAND, ID_VIEW_CMD);
    frame->SendMessage(WM_COMMAND, ID_DOC_CMD);
    EXPECT_EQ(1, view->m_commands);
    EXPECT_EQ(1, document.m_commands);

    // A view that goes leaves its frame and its document.
    view->DestroyWindow(); // deletes the view
    EXPECT_EQ(nullptr, frame->GetActiveView());
    EXPECT_EQ(nullptr, document.GetFirstViewPosition());
    frame->DestroyWindow();
}

TEST(Views, ADocumentTemplateReadsTheFieldsOfItsString)
{
    TestApp();
    CDocTemplate docTemplate(IDR_DOCUMENT, RUNTIME_CLASS(COleDocument), RUNTIME_CLASS(CFrameWnd),
                             RUNTIME_CLASS(CListView));
    struct Case
    {
        CDocTemplate::DocStringIndex index;
        bool found;
        const char* text;
    };
    const Case cases[] = {
        {CDocTemplate::windowTitle, true, "Reelwright"}, {CDocTemplate::docName, true, ""},
        {CDocTemplate::fileNewName, true, "Task list"},  {CDocTemplate::filterName, true, "Task lists (*.rwt)"},
        {CDocTemplate::filterExt, true, ".rwt"},         {CDocTemplate::regFileTypeName, false, ""},
    };
    for (const Case& c : cases)
    {
        CString text = L"stale";
        EXPECT_EQ(c.found, docTemplate.GetDocString(text, c.index) != FALSE) << c.index;
        EXPECT_EQ(c.text, Narrow(text)) << c.index;
    }
    CDocTemplate missing(0xFFF0, nullptr, nullptr, nullptr);
    CString text;
    EXPECT_FALSE(missing.GetDocString(text, CDocTemplate::windowTitle));
}

// The application keeps its document templates in the order they were added, each once, and
// walks them by position; the walk of an application without templates is empty.
TEST(Views, TheApplicationListsItsDocumentTemplates)
{
    CWinApp& app = TestApp();
    POSITION pos = app.GetFirstDocTemplatePosition();
    EXPECT_EQ(nullptr, pos);
    EXPECT_EQ(nullptr, app.GetNextDocTemplate(pos));

    const UINT ids[] = {IDR_DOCUMENT, 0x7A01, 0x7A02};
    std::vector<CDocTemplate*> added;
    for (UINT id : ids)
    {
        added.push_back(new CDocTemplate(id, RUNTIME_CLASS(COleDocument), RUNTIME_CLASS(CFrameWnd),
                                         RUNTIME_CLASS(CListView)));
        app.AddDocTemplate(added.back());
    }
    app.AddDocTemplate(added[1]);
    app.AddDocTemplate(nullptr);

    std::vector<CDocTemplate*> walked;
    for (pos = app.GetFirstDocTemplatePosition(); pos;)
        walked.push_back(app.GetNextDocTemplate(pos));
    EXPECT_EQ(added, walked);
    CString name;
    ASSERT_FALSE(walked.empty());
    EXPECT_TRUE(walked[0]->GetDocString(name, CDocTemplate::fileNewName));
    EXPECT_EQ("Task list", Narrow(name));
}

TEST(Views, AListViewIsAViewOverAListControl)
{
    TestApp();
    CListView* list = static_cast<CListView*>(RUNTIME_CLASS(CListView)->CreateObject());
    ASSERT_NE(nullptr, list);
    EXPECT_TRUE(list->IsKindOf(RUNTIME_CLASS(CView)));
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_TRUE(list->Create(nullptr, L"", WS_CHILD | LVS_REPORT, CRect(0, 0, 80, 80), &parent, 1));
    wchar_t className[32] = {0};
    ::GetClassNameW(list->m_hWnd, className, 32);
    EXPECT_EQ(Narrow(WC_LISTVIEWW), Narrow(className));
    list->GetListCtrl().InsertColumn(0, L"name", LVCFMT_LEFT, 50);
    EXPECT_EQ(0, list->GetListCtrl().InsertItem(0, L"clip.avi"));
    EXPECT_EQ(1, (int)list->SendMessage(LVM_GETITEMCOUNT));
    list->DestroyWindow();
    delete list;
    parent.DestroyWindow();
}
} // namespace
