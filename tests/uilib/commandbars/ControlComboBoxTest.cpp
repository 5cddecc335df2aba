// The combo box on a bar: the height of its drop-down list, completion of typed text and the order
// of the notifications its owner receives, a combo box with an empty list, and the list's saved
// items (whose stored count is never trusted alone).
#include "RwTest.h"
#include "ArchiveBytes.h"
#include "CommandBarHost.h"
#include "DibCanvas.h"
#include "WideText.h"
#include "uilib/commandbars/ControlComboBox.h"
#include "uilib/commandbars/ControlComboBoxList.h"
#include "uilib/commandbars/KeyboardManager.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/PropExchangeArchive.h"

#include <string>
#include <vector>

using rwtest::CommandBarHost;

namespace
{
const int kComboId = 501;

// The combo-box notifications the host received, in order.
std::vector<UINT>& Notifications()
{
    static std::vector<UINT> codes;
    return codes;
}

WNDPROC g_hostProc = nullptr;

LRESULT CALLBACK RecordingHostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WVP_WM_CONTROLNOTIFY)
    {
        const NMWVPCONTROL* record = reinterpret_cast<const NMWVPCONTROL*>(lParam);
        if (record->hdr.idFrom == UINT_PTR(kComboId))
            Notifications().push_back(record->hdr.code);
        return 0;
    }
    return ::CallWindowProcW(g_hostProc, hwnd, message, wParam, lParam);
}

std::string Narrow(const CString& text)
{
    return std::string(CStringA(text).GetString());
}

std::string Codes(const std::vector<UINT>& codes)
{
    std::string text;
    for (UINT code : codes)
        text += (text.empty() ? "" : " ") + std::to_string(code);
    return text;
}

// A bar with one combo box of the given items, laid out with the classic look.
class ComboFixture : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        CWVPPaintManager::SetTheme(0);
        Notifications().clear();
        host = std::make_unique<CommandBarHost>();
        g_hostProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(host->host, GWLP_WNDPROC, LONG_PTR(&RecordingHostProc)));
    }
    void TearDown() override
    {
        host->bar->SetTrackingMode(0);
        host.reset();
        CWVPPaintManager::ReleaseInstance();
    }
    CWVPControlComboBox* AddCombo(const std::vector<LPCWSTR>& items, BOOL editable)
    {
        CWVPControl* control = host->Add(wvpControlComboBox, kComboId, L"", 1);
        combo = static_cast<CWVPControlComboBox*>(control);
        combo->SetWidth(160);
        combo->SetDropDown(editable);
        for (LPCWSTR item : items)
            combo->GetComboList()->AddString(item);
        host->Layout();
        return combo;
    }
    HWND Edit() const
    {
        return combo->GetEditCtrl()->GetSafeHwnd();
    }
    // A key as the thread's keyboard hook offers it to the tracked bars (the newest first), then,
    // when they leave it to the focus window, as that window receives it.
    void Key(UINT key)
    {
        if (!WVPKeyboardManager()->DispatchKeyMessage(WM_KEYDOWN, key, 0))
            if (HWND focus = ::GetFocus())
                ::SendMessageW(focus, WM_KEYDOWN, key, 0);
    }
    void Type(LPCWSTR text)
    {
        for (; *text; ++text)
        {
            Key(UINT(::VkKeyScanW(*text) & 0xFF));
            ::SendMessageW(Edit(), WM_CHAR, *text, 0);
        }
    }
    CRect ListWindow() const
    {
        CRect rc;
        ::GetWindowRect(combo->GetComboList()->GetSafeHwnd(), &rc);
        return rc;
    }
    std::unique_ptr<CommandBarHost> host;
    CWVPControlComboBox* combo = nullptr;
};

// --- The drop-down list's height -----------------------------------------------------------------

TEST_F(ComboFixture, TheListOpensAsManyRowsHighAsItHoldsUpToTheItemCount)
{
    struct Case
    {
        int items;
        int itemCount;
        int rows;
    };
    const Case cases[] = {{3, 12, 3}, {0, 12, 1}, {20, 12, 12}, {5, 2, 2}};
    AddCombo({}, FALSE);
    CWVPControlComboBoxList* list = combo->GetComboList();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.items) + " items, item count " + std::to_string(c.itemCount));
        list->ResetContent();
        for (int i = 0; i < c.items; ++i)
        {
            CString item;
            item.Format(L"Item %d", i);
            list->AddString(item);
        }
        combo->SetDropDownItemCount(c.itemCount);
        ASSERT_TRUE(host->bar->SetPopuped(combo->GetIndex()));
        ASSERT_TRUE(::IsWindowVisible(list->GetSafeHwnd()));
        const int itemHeight = int(::SendMessageW(list->GetSafeHwnd(), LB_GETITEMHEIGHT, 0, 0));
        CRect client;
        ::GetClientRect(list->GetSafeHwnd(), &client);
        EXPECT_EQ(c.rows * itemHeight, client.Height());
        EXPECT_EQ(combo->GetRect().Width(), ListWindow().Width());
        // The list opens under the field.
        POINT below = {combo->GetRect().left, combo->GetRect().bottom};
        ::ClientToScreen(host->bar->GetSafeHwnd(), &below);
        EXPECT_EQ(below.y, ListWindow().top);
        host->bar->SetPopuped(-1);
        EXPECT_FALSE(::IsWindowVisible(list->GetSafeHwnd()));
        EXPECT_TRUE(::IsWindow(list->GetSafeHwnd()));
    }
}

// --- Completion and notifications ----------------------------------------------------------------

TEST_F(ComboFixture, TypingCompletesFromTheListAndBackspaceDoesNotCompleteAgain)
{
    AddCombo({L"Apple", L"Banana", L"Cherry"}, TRUE);
    combo->SetAutoComplete(TRUE);
    ::SetFocus(Edit());
    ASSERT_TRUE(combo->IsFocused());
    Type(L"b");
    EXPECT_EQ("Banana", Narrow(combo->GetEditText()));
    int start = 0, end = 0;
    ::SendMessageW(Edit(), EM_GETSEL, WPARAM(&start), LPARAM(&end));
    // The completed tail is selected.
    EXPECT_EQ(1, start < end ? start : end);
    EXPECT_EQ(6, start < end ? end : start);
    EXPECT_EQ(1, combo->GetCurSel());

    // Backspace takes the completed tail away; the typed letter now has the item's case.
    Key(VK_BACK);
    EXPECT_EQ("B", Narrow(combo->GetEditText()));
    // No item equals the text: the list only scrolls to the first match and selects none.
    EXPECT_EQ(-1, combo->GetCurSel());
    EXPECT_EQ(1, int(::SendMessageW(combo->GetComboList()->GetSafeHwnd(), LB_GETTOPINDEX, 0, 0)));

    Type(L"l");
    EXPECT_EQ("Bl", Narrow(combo->GetEditText())) << "nothing starts with it";
    EXPECT_EQ(-1, combo->GetCurSel());
    EXPECT_EQ(std::vector<UINT>({CBN_SETFOCUS, CBN_EDITCHANGE, CBN_EDITCHANGE, CBN_EDITCHANGE}), Notifications())
        << Codes(Notifications());
}

TEST_F(ComboFixture, PickingFromTheOpenListReportsEachStepInOrder)
{
    AddCombo({L"Apple", L"Banana", L"Cherry"}, TRUE);
    ::SetFocus(Edit());
    Key(VK_F4);
    ASSERT_TRUE(::IsWindowVisible(combo->GetComboList()->GetSafeHwnd()));
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ("Banana", Narrow(combo->GetEditText()));
    Key(VK_RETURN);
    EXPECT_FALSE(::IsWindowVisible(combo->GetComboList()->GetSafeHwnd()));
    EXPECT_EQ(1, combo->GetCurSel());
    EXPECT_EQ(std::vector<UINT>({CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP,
                                 WVP_NOTIFY_EXECUTE}),
              Notifications())
        << Codes(Notifications());
    EXPECT_EQ(std::vector<int>({kComboId}), rwtest::HostLog().commands);
}

TEST_F(ComboFixture, EscapeInTheOpenListRestoresSelectionAndText)
{
    AddCombo({L"Apple", L"Banana", L"Cherry"}, TRUE);
    combo->SetCurSel(2);
    Notifications().clear();
    ::SetFocus(Edit());
    Key(VK_F4);
    Key(VK_UP);
    EXPECT_EQ("Banana", Narrow(combo->GetEditText()));
    Key(VK_ESCAPE);
    EXPECT_FALSE(::IsWindowVisible(combo->GetComboList()->GetSafeHwnd()));
    EXPECT_EQ(2, combo->GetCurSel());
    EXPECT_EQ("Cherry", Narrow(combo->GetEditText()));
    EXPECT_FALSE(combo->IsFocused());
    EXPECT_EQ(std::vector<UINT>({CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELCHANGE, CBN_CLOSEUP, CBN_SELENDCANCEL,
                                 CBN_SELCHANGE, CBN_KILLFOCUS}),
              Notifications())
        << Codes(Notifications());
    EXPECT_TRUE(rwtest::HostLog().commands.empty());
}

// --- A drop-down list, and an empty one ----------------------------------------------------------

// The number of pixels of the colour inside the rectangle.
int CountColour(const DibCanvas& canvas, const CRect& rc, COLORREF colour)
{
    int count = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            count += canvas.At(x, y) == colour;
    return count;
}

TEST_F(ComboFixture, ADropDownListMovesItsSelectionWithArrowsAndDrawsTheSelectedText)
{
    AddCombo({L"Low", L"Medium", L"High"}, FALSE);
    combo->SetCurSel(0);
    ASSERT_TRUE(combo->ActivateByKeyboard());
    Key(VK_DOWN);
    EXPECT_FALSE(::IsWindowVisible(combo->GetComboList()->GetSafeHwnd())) << "arrows do not open the list";
    EXPECT_EQ(1, combo->GetCurSel());
    EXPECT_EQ("Medium", Narrow(combo->GetText()));
    Key('H');
    EXPECT_EQ(2, combo->GetCurSel()) << "typing selects by first letter";

    const CRect rc = combo->GetRect();
    DibCanvas canvas(rc.right + 4, rc.bottom + 4);
    CDC* pDC = CDC::FromHandle(canvas.dc());
    combo->GetPaintManager()->DrawControl(pDC, combo, TRUE);
    // Focused: the text area is highlighted and the text drawn in highlight text.
    const CRect text(rc.left + combo->GetLabelWidth() + 4, rc.top + 3, rc.right - combo->GetDropDownButtonWidth(),
                     rc.bottom - 3);
    EXPECT_GT(CountColour(canvas, text, ::GetSysColor(COLOR_HIGHLIGHT)), text.Width() * text.Height() / 2);
    EXPECT_GT(CountColour(canvas, text, ::GetSysColor(COLOR_HIGHLIGHTTEXT)), 10);
}

TEST_F(ComboFixture, AComboWithAnEmptyListDrawsAndAnswersKeys)
{
    AddCombo({}, FALSE);
    CWVPControlComboBox* list = combo;
    AddCombo({}, TRUE);
    CWVPControlComboBox* field = combo;
    for (CWVPControlComboBox* empty : {list, field})
    {
        combo = empty;
        const BOOL editable = combo->GetDropDown();
        SCOPED_TRACE(editable ? "editable" : "drop-down list");
        combo->SetAutoComplete(TRUE);
        combo->SetEditHint(L"Pick a format");
        const CRect rc = combo->GetRect();
        DibCanvas canvas(rc.right + 4, rc.bottom + 4, RGB(1, 2, 3));
        combo->GetPaintManager()->DrawControl(CDC::FromHandle(canvas.dc()), combo, TRUE);
        // The field's inside is the window colour, the arrow is drawn in button text, and a drop-down
        // list draws the hint itself (an editable field shows it in its edit window).
        const CRect inside(rc.left + 2, rc.top + 2, rc.right - combo->GetDropDownButtonWidth(), rc.bottom - 2);
        const CRect arrow(rc.right - combo->GetDropDownButtonWidth(), rc.top, rc.right, rc.bottom);
        EXPECT_GT(CountColour(canvas, inside, ::GetSysColor(COLOR_WINDOW)), inside.Width() * inside.Height() / 2);
        EXPECT_GT(CountColour(canvas, arrow, ::GetSysColor(COLOR_BTNTEXT)), 3);
        if (!editable)
            EXPECT_GT(CountColour(canvas, inside, ::GetSysColor(COLOR_GRAYTEXT)), 10);

        if (editable)
            ::SetFocus(Edit());
        else
            combo->ActivateByKeyboard();
        ASSERT_TRUE(combo->IsFocused());
        for (UINT key : {UINT(VK_DOWN), UINT(VK_UP), UINT(VK_NEXT), UINT(VK_PRIOR), UINT('Q'), UINT(VK_F4),
                         UINT(VK_DOWN), UINT(VK_RETURN), UINT(VK_F4)})
            Key(key);
        if (editable)
            Type(L"mp4");
        EXPECT_EQ(-1, combo->GetCurSel());
        EXPECT_EQ(editable ? "mp4" : "", Narrow(combo->GetEditText()));
        Key(VK_ESCAPE);
        EXPECT_FALSE(combo->IsFocused());
        EXPECT_FALSE(::IsWindowVisible(combo->GetComboList()->GetSafeHwnd()));
    }
}

// --- Saved items -----------------------------------------------------------------------------------

std::vector<std::string> ListItems(CWVPControlComboBoxList* list)
{
    std::vector<std::string> items;
    for (int i = 0; i < list->GetCount(); ++i)
    {
        CString text;
        list->GetText(i, text);
        items.push_back(rwtest::Utf8(text));
    }
    return items;
}

ArchiveBytes StoreList(const std::vector<LPCWSTR>& items)
{
    CWVPControlComboBoxList* list =
        static_cast<CWVPControlComboBoxList*>(RUNTIME_CLASS(CWVPControlComboBoxList)->CreateObject());
    for (LPCWSTR item : items)
        list->AddString(item);
    const ArchiveBytes bytes = StoreArchiveBytes([&](CArchive& ar) {
        CWVPPropExchangeArchive px(ar);
        list->DoPropExchange(&px);
    });
    list->InternalRelease();
    return bytes;
}

TEST(ComboListStateTest, SavedItemsLoadInOrderAndABadCountChangesNothing)
{
    CWVPPaintManager::SetTheme(0);
    const std::vector<LPCWSTR> saved = {L"MP4 (H.264)", L"", L"3GP \x00e9t\x00e9", L"Same", L"Same"};
    const ArchiveBytes good = StoreList(saved);
    // A count far beyond the stream, and a stream cut inside its last item.
    ArchiveBytes huge = StoreArchiveBytes([](CArchive& ar) {
        CWVPPropExchangeArchive px(ar);
        int icon = -1, count = 0x7FFFFFFF;
        px.ExchangeProp(L"ListIconId", WVPPropLong, &icon);
        CWVPPropExchangeSectionRef items(px.GetSection(L"Items"));
        items->ExchangeProp(L"Count", WVPPropLong, &count);
        CString first = L"First";
        items->ExchangeProp(L"Item0", WVPPropString, &first);
    });
    ArchiveBytes cut = good;
    cut.resize(cut.size() - 3);
    struct Case
    {
        const char* name;
        const ArchiveBytes* bytes;
        int cause;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"whole stream", &good, -1, {"Kept", "MP4 (H.264)", "", "3GP \xc3\xa9t\xc3\xa9", "Same", "Same"}},
        {"count beyond the stream", &huge, int(CArchiveException::endOfFile), {"Kept"}},
        {"stream cut inside the items", &cut, int(CArchiveException::endOfFile), {"Kept"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CWVPControlComboBoxList* list =
            static_cast<CWVPControlComboBoxList*>(RUNTIME_CLASS(CWVPControlComboBoxList)->CreateObject());
        list->AddString(L"Kept");
        const int cause = LoadArchiveBytes(*c.bytes, [&](CArchive& ar) {
            CWVPPropExchangeArchive px(ar);
            list->DoPropExchange(&px);
        });
        EXPECT_EQ(c.cause, cause);
        EXPECT_EQ(c.items, ListItems(list));
        list->InternalRelease();
    }
    CWVPPaintManager::ReleaseInstance();
}
} // namespace

