// The edit field on a bar window: its window, hint, focus and Escape, the text rules of typed and
// pasted input, the spin step and its owner's veto, the saved keys and the default look of the
// frame and spin buttons. Real input (holding a spin button) is in ControlEditSpinTest.
#include "CommandBarHost.h"
#include "ArchiveBytes.h"
#include "DibCanvas.h"
#include "EditFieldProbe.h"
#include "RwTest.h"
#include "WideText.h"
#include "uilib/commandbars/ControlEdit.h"
#include "uilib/commandbars/MouseManager.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/PopupBar.h"
#include "uilib/foundation/PropExchangeArchive.h"
#include "uilib/themes/DefaultTheme.h"

#include <algorithm>
#include <vector>

using rwtest::CommandBarHost;
using rwtest::PumpUntil;

namespace
{
// A host whose bar holds one edit field with a label, laid out and with its window.
struct EditHost
{
    CommandBarHost host;
    CWVPControlEdit* edit = nullptr;
    rwtest::SpinOwnerProbe owner{host.host};

    explicit EditHost(LPCWSTR hint = L"Search", BOOL spin = FALSE)
    {
        edit = static_cast<CWVPControlEdit*>(host.Add(wvpControlEdit, 300, L"Find"));
        edit->SetHasLabel(TRUE);
        edit->SetWidth(160);
        edit->ShowSpinButtons(spin);
        edit->SetEditHint(hint);
        host.Layout();
        Pump();
    }
    ~EditHost()
    {
        ::SetFocus(nullptr);
    }
    HWND Window() const
    {
        return edit->GetEditCtrl() ? edit->GetEditCtrl()->GetSafeHwnd() : nullptr;
    }
    CString WindowText() const
    {
        WCHAR buffer[256] = {};
        ::GetWindowTextW(Window(), buffer, ARRAYSIZE(buffer));
        return buffer;
    }
    static void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    // Focus through the window, as a click gives it.
    void Focus()
    {
        ::SetForegroundWindow(host.host);
        ::SetFocus(Window());
        Pump();
    }
    void Type(LPCWSTR text)
    {
        for (LPCWSTR p = text; *p; ++p)
            ::SendMessageW(Window(), WM_CHAR, WPARAM(*p), 1);
    }
};

void PutClipboardText(const WCHAR* text, size_t chars)
{
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, chars * sizeof(WCHAR));
    ::memcpy(::GlobalLock(block), text, chars * sizeof(WCHAR));
    ::GlobalUnlock(block);
    ::SetClipboardData(CF_UNICODETEXT, block);
    ::CloseClipboard();
}
// What the context menu offered: its commands in order with their enabled state.
std::vector<std::pair<int, int>> g_menu;
void CALLBACK ReadMenuAndClose(HWND, UINT, UINT_PTR id, DWORD)
{
    CWVPCommandBar* popup = WVPMouseManager()->GetTopTrackedBar();
    if (!popup || !popup->IsPopupBar())
        return;
    ::KillTimer(nullptr, id);
    for (int i = 0; i < popup->GetControlCount(); ++i)
        g_menu.push_back({popup->GetControl(i)->GetID(), popup->GetControl(i)->GetEnabled()});
    WVPMouseManager()->CloseTrackedBars();
}
} // namespace

TEST(ControlEditTest, FieldWindowSitsRightOfTheLabelAndLeavesRoomForSpinButtons)
{
    for (BOOL spin : {FALSE, TRUE})
    {
        SCOPED_TRACE(spin ? "with spin buttons" : "without spin buttons");
        EditHost f(L"Search", spin);
        ASSERT_TRUE(::IsWindow(f.Window()));
        EXPECT_EQ(f.host.bar->GetSafeHwnd(), ::GetParent(f.Window()));
        EXPECT_TRUE(::IsWindowVisible(f.Window()));
        WCHAR className[32] = {};
        ::GetClassNameW(f.Window(), className, ARRAYSIZE(className));
        EXPECT_EQ("RichEdit20W", rwtest::Utf8(className)) << "fields are rich edits where the library loads";
        const CRect rc = f.edit->GetRect();
        CRect window;
        ::GetWindowRect(f.Window(), &window);
        ::MapWindowPoints(nullptr, f.host.bar->GetSafeHwnd(), reinterpret_cast<POINT*>(&window), 2);
        EXPECT_GT(f.edit->GetLabelWidth(), 0) << "the caption is measured as the label";
        EXPECT_EQ(rc.left + f.edit->GetLabelWidth() + 4, window.left);
        EXPECT_EQ(rc.top + 3, window.top);
        EXPECT_EQ(rc.bottom - 3, window.bottom);
        EXPECT_EQ(rc.right - (spin ? 20 : 3), window.right);
        const CRect spinRect = f.edit->GetSpinButtonsRect();
        EXPECT_EQ(spin ? CRect(rc.right - 18, rc.top + 1, rc.right - 1, rc.bottom - 1) : CRect(0, 0, 0, 0), spinRect);
    }
}

TEST(ControlEditTest, HintShowsGreyWhileEmptyAndUnfocused)
{
    EditHost f(L"Search");
    EXPECT_EQ("Search", rwtest::Utf8(f.WindowText())) << "the window holds the hint";
    EXPECT_EQ("", rwtest::Utf8(f.edit->GetEditText())) << "readers never see the hint";
    const int hintDarkest = rwtest::DarkestPrintedPixel(f.Window());
    EXPECT_LT(hintDarkest, 255) << "the hint is drawn";
    EXPECT_GE(hintDarkest, 64) << "in grey, not in the text colour";

    f.Focus();
    ASSERT_EQ(f.Window(), ::GetFocus());
    EXPECT_TRUE(f.edit->IsFocused());
    EXPECT_EQ("", rwtest::Utf8(f.WindowText())) << "focus empties the field";
    f.Type(L"abc");
    EXPECT_EQ("abc", rwtest::Utf8(f.edit->GetEditText()));
    ::SetFocus(f.host.host);
    f.Pump();
    EXPECT_FALSE(f.edit->IsFocused());
    EXPECT_EQ("abc", rwtest::Utf8(f.WindowText())) << "a field with text keeps it";
    EXPECT_LT(rwtest::DarkestPrintedPixel(f.Window()), 64) << "typed text is drawn in the text colour";

    f.edit->SetEditText(L"");
    EXPECT_EQ("Search", rwtest::Utf8(f.WindowText())) << "an emptied field shows the hint again";
    f.edit->SetEditHint(L"Filter");
    EXPECT_EQ("Filter", rwtest::Utf8(f.WindowText())) << "a new hint replaces the shown one";
    EXPECT_EQ("", rwtest::Utf8(f.edit->GetEditText()));
}

TEST(ControlEditTest, FocusLocksTheMouseManagerAndEscapeRestoresTheOldText)
{
    EditHost f(L"");
    f.edit->SetEditText(L"before");
    const int lock = WVPMouseManager()->m_nLock;
    f.Focus();
    ASSERT_TRUE(f.edit->IsFocused());
    EXPECT_EQ(lock + 1, WVPMouseManager()->m_nLock);
    EXPECT_EQ(1, f.host.bar->GetTrackingMode());
    f.Pump();
    ::SendMessageW(f.Window(), EM_SETSEL, 0, -1);
    f.Type(L"after");
    ASSERT_EQ("after", rwtest::Utf8(f.edit->GetEditText()));

    EXPECT_EQ(0, f.edit->OnHookKeyDown(VK_ESCAPE)) << "a tool bar handles Escape itself afterwards";
    EXPECT_EQ("before", rwtest::Utf8(f.edit->GetEditText()));
    EXPECT_FALSE(f.edit->IsFocused());
    EXPECT_NE(f.Window(), ::GetFocus());
    EXPECT_EQ(lock, WVPMouseManager()->m_nLock);
}

TEST(ControlEditTest, TypedAndPastedTextKeepsToTheLimitAndTheFirstLine)
{
    struct Case
    {
        const char* name;
        std::vector<WCHAR> clipboard; // with its terminating NUL where it has one
        int limit;
        const WCHAR* expected;
    } cases[] = {
        {"plain text", {'a', 'b', 'c', 0}, 0, L"abc"},
        {"cut at the limit", {'a', 'b', 'c', 'd', 'e', 'f', 'g', 0}, 4, L"abcd"},
        {"first line of CR LF text", {'o', 'n', 'e', '\r', '\n', 't', 'w', 'o', 0}, 0, L"one"},
        {"first line of LF text", {'x', '\n', 'y', 0}, 0, L"x"},
        {"up to an embedded NUL", {'a', 'b', 0, 'c', 'd', 0}, 0, L"ab"},
        // The clipboard itself ends an unterminated text inside its block.
        {"a block without any NUL", {'n', 'o', 'n', 'u', 'l'}, 0, L"nonu"},
        {"first line cut at the limit", {'l', 'o', 'n', 'g', '\n', 'x', 0}, 2, L"lo"},
    };
    EditHost f(L"");
    f.Focus();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        f.edit->SetEditText(L"");
        ::SendMessageW(f.Window(), EM_LIMITTEXT, WPARAM(c.limit), 0);
        PutClipboardText(c.clipboard.data(), c.clipboard.size());
        ::SendMessageW(f.Window(), WM_PASTE, 0, 0);
        EXPECT_EQ(rwtest::Utf8(c.expected), rwtest::Utf8(f.edit->GetEditText()));
    }
    f.edit->SetEditText(L"");
    ::SendMessageW(f.Window(), EM_LIMITTEXT, 3, 0);
    f.Type(L"12\r34");
    EXPECT_EQ("123", rwtest::Utf8(f.edit->GetEditText())) << "typing stops at the limit and takes no line break";
}

TEST(ControlEditTest, SpinStepsLandOnMultiplesOfTheStep)
{
    struct Case
    {
        const WCHAR* text;
        int step;
        int direction;
        const WCHAR* expected;
    } cases[] = {
        {L"7", 1, 1, L"8"},          {L"7", 1, -1, L"6"},        {L"7", 5, 1, L"15"},
        {L"7", 5, -1, L"0"},         {L"-3", 20, -1, L"-40"},    {L"-3", 20, 1, L"20"},
        {L"abc", 1, 1, L"1"},        {L"", 1, -1, L"-1"},        {L"12abc", 5, 1, L"20"},
        {L"  +4", 1, 1, L"5"},       {L"-", 1, 1, L"1"},         {L"99999999999", 1, 1, L"2147483647"},
    };
    EditHost f(L"", TRUE);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "text \"" << CStringA(c.text).GetString() << "\" step " << c.step
                                        << " direction " << c.direction);
        f.edit->SetEditText(c.text);
        f.owner.deltas.clear();
        f.edit->OnSpinStep(c.step, c.direction);
        EXPECT_EQ(rwtest::Utf8(c.expected), rwtest::Utf8(f.edit->GetEditText()));
        EXPECT_EQ(std::vector<int>{c.step * c.direction}, f.owner.deltas);
    }
    f.owner.answer = 1;
    f.edit->SetEditText(L"3");
    f.edit->OnSpinStep(1, 1);
    EXPECT_EQ("3", rwtest::Utf8(f.edit->GetEditText())) << "an owner that answers the notification keeps the text";
}

TEST(ControlEditTest, SpinKeysStepOnlyWritableEnabledFields)
{
    struct Case
    {
        const char* name;
        BOOL readOnly;
        BOOL enabled;
        UINT key;
        const WCHAR* expected;
    } cases[] = {
        {"Up", FALSE, TRUE, VK_UP, L"11"},
        {"Down", FALSE, TRUE, VK_DOWN, L"9"},
        {"read-only", TRUE, TRUE, VK_UP, L"10"},
        {"disabled", FALSE, FALSE, VK_UP, L"10"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EditHost f(L"", TRUE);
        f.edit->SetEditText(L"10");
        f.Focus();
        f.edit->SetReadOnly(c.readOnly);
        f.edit->SetEnabled(c.enabled);
        f.edit->OnHookKeyDown(c.key);
        EXPECT_EQ(rwtest::Utf8(c.expected), rwtest::Utf8(f.edit->GetEditText()));
    }
}

TEST(ControlEditTest, TextSurvivesTheWindowAndTheSavedKeys)
{
    EditHost f(L"Hint");
    f.edit->SetEditText(L"kept");
    f.edit->SetReadOnly(TRUE);
    f.edit->SetEditStyle(ES_NUMBER);
    f.edit->SetParent(nullptr);
    EXPECT_FALSE(::IsWindow(f.Window())) << "leaving the bar destroys the window";
    EXPECT_EQ("kept", rwtest::Utf8(f.edit->GetEditText()));
    f.edit->SetParent(f.host.bar);

    CWVPControlEdit* copy = static_cast<CWVPControlEdit*>(f.edit->Clone());
    EXPECT_TRUE(copy->Compare(f.edit));
    EXPECT_EQ("kept", rwtest::Utf8(copy->GetEditText()));
    EXPECT_EQ("Hint", rwtest::Utf8(copy->GetEditHint()));
    EXPECT_TRUE(copy->GetReadOnly());
    EXPECT_TRUE(copy->IsSpinButtonsVisible() == f.edit->IsSpinButtonsVisible());
    EXPECT_EQ(DWORD(ES_NUMBER), copy->GetEditStyle());
    copy->InternalRelease();
}

TEST(ControlEditTest, DefaultThemeDrawsTheFieldFrameAndSpinButtons)
{
    EditHost f(L"", TRUE);
    CWVPDefaultTheme theme;
    theme.RefreshMetrics();
    const CRect rc = f.edit->GetRect();
    const CRect spin = f.edit->GetSpinButtonsRect();
    DibCanvas plain(rc.right + 2, rc.bottom + 2, RGB(1, 2, 3)), hot(rc.right + 2, rc.bottom + 2, RGB(1, 2, 3));
    CDC dc;
    dc.Attach(plain.dc());
    theme.DrawEditControl(&dc, f.edit, TRUE);
    dc.Detach();
    const COLORREF window = ::GetSysColor(COLOR_WINDOW), face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF text = ::GetSysColor(COLOR_BTNTEXT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const int field = rc.left + f.edit->GetLabelWidth();
    EXPECT_EQ(face, plain.At(field + 1, rc.CenterPoint().y)) << "the face frame one pixel inside the field";
    EXPECT_EQ(window, plain.At(field + 3, rc.CenterPoint().y)) << "the field's inside";
    EXPECT_EQ(window, plain.At(spin.left + 1, spin.top + 2)) << "an unselected spin pair is framed in window";
    EXPECT_EQ(face, plain.At(spin.left + 3, spin.top + 3));
    const int cx = spin.CenterPoint().x, upMiddle = (spin.top + 1 + spin.CenterPoint().y) / 2;
    EXPECT_EQ(text, plain.At(cx, upMiddle)) << "the up arrow";

    f.edit->SetSelectedState(1);
    f.edit->SetPressed(WVP_SELECTED_SPINUP);
    dc.Attach(hot.dc());
    theme.DrawEditControl(&dc, f.edit, TRUE);
    dc.Detach();
    EXPECT_EQ(shadow, hot.At(field, rc.top)) << "a selected field is sunken";
    EXPECT_EQ(shadow, hot.At(spin.left + 1, spin.top + 1)) << "the pressed up half is sunken";
    EXPECT_EQ(window, hot.At(spin.left + 1, spin.CenterPoint().y + 1)) << "the down half stays raised";
    f.edit->SetSelectedState(0);
    f.edit->SetPressed(0);
}

TEST(ControlEditTest, ContextMenuOffersCutCopyPasteAsTheFieldAllows)
{
    struct Case
    {
        const char* name;
        bool select;
        BOOL readOnly;
        bool clipboardText;
        int cut, copy, paste;
    } cases[] = {
        {"nothing selected, empty clipboard", false, FALSE, false, 0, 0, 0},
        {"selection and clipboard text", true, FALSE, true, 1, 1, 1},
        {"read-only with selection", true, TRUE, true, 0, 1, 0},
        {"clipboard text only", false, FALSE, true, 0, 0, 1},
    };
    EditHost f(L"");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        f.edit->SetEditText(L"some text");
        f.edit->SetReadOnly(c.readOnly);
        if (c.clipboardText)
            PutClipboardText(L"x", 2);
        else if (::OpenClipboard(nullptr))
        {
            ::EmptyClipboard();
            ::CloseClipboard();
        }
        ::SendMessageW(f.Window(), EM_SETSEL, 0, c.select ? 4 : 0);
        g_menu.clear();
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, ReadMenuAndClose);
        EXPECT_TRUE(f.edit->GetEditCtrl()->ShowContextMenu(f.edit, CPoint(5, 5)));
        ::KillTimer(nullptr, timer);
        const std::vector<std::pair<int, int>> expected = {
            {int(WVP_ID_EDIT_CUT), c.cut}, {int(WVP_ID_EDIT_COPY), c.copy}, {int(WVP_ID_EDIT_PASTE), c.paste}};
        EXPECT_EQ(expected, g_menu);
    }
}

TEST(ControlEditTest, AutoCompleteWatcherTrustsOnlyTheShellDropDown)
{
    struct Case
    {
        const WCHAR* className;
        bool trusted;
    } cases[] = {
        {L"Auto-Suggest Dropdown", true},
        {L"Auto-Suggest Dropdown2", false},
        {L"Wine Auto-Complete List", false},
    };
    EditHost f(L"");
    const HWND edit = f.Window();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(rwtest::Utf8(c.className));
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = c.className;
        ::RegisterClassW(&wc);
        CWVPControlComboBoxAutoCompleteWnd watcher(edit), second(edit);
        watcher.SetWatching(TRUE);
        second.SetWatching(TRUE);
        EXPECT_TRUE(watcher.IsWatching());
        EXPECT_FALSE(second.IsWatching()) << "one field watches at a time";
        HWND dropDown = ::CreateWindowExW(WS_EX_TOOLWINDOW, c.className, L"", WS_POPUP, 10, 10, 100, 60, nullptr,
                                          nullptr, nullptr, nullptr);
        ::ShowWindow(dropDown, SW_SHOWNOACTIVATE);
        MSG msg;
        const BOOL posted = ::PeekMessageW(&msg, edit, WVP_WM_AUTOCOMPLETE_SHOWN, WVP_WM_AUTOCOMPLETE_SHOWN, PM_REMOVE);
        EXPECT_EQ(c.trusted ? dropDown : nullptr, watcher.GetDropDown());
        EXPECT_EQ(c.trusted, bool(posted)) << "the field hears of a shown drop-down";
        EXPECT_EQ(c.trusted ? CWVPHookManagerHookAble::HookStop : CWVPHookManagerHookAble::HookNotHandled,
                  [&] {
                      WPARAM w = 0;
                      LPARAM l = 0;
                      LRESULT r = 0;
                      return watcher.OnHookMessage(nullptr, WM_MOUSEWHEEL, w, l, r);
                  }());
        ::ShowWindow(dropDown, SW_HIDE);
        EXPECT_EQ(nullptr, watcher.GetDropDown()) << "a hidden drop-down is forgotten";
        watcher.SetWatching(FALSE);
        second.SetWatching(TRUE);
        EXPECT_TRUE(second.IsWatching()) << "the next field watches once the first stopped";
        ::DestroyWindow(dropDown);
    }
}

TEST(ControlEditTest, VerticallyDockedBarsHideTheField)
{
    EditHost f(L"");
    const DWORD kCommit = 0x08 | 0x40, kVerticalDock = 0x10;
    for (DWORD layout : {kVerticalDock, DWORD(0), kVerticalDock, DWORD(0)})
    {
        SCOPED_TRACE(layout ? "vertical" : "horizontal");
        HDC screen = ::GetDC(nullptr);
        CDC dc;
        dc.Attach(screen);
        f.host.bar->GetControls()->CalcDynamicSize(&dc, CommandBarHost::kWidth, kCommit | layout, CRect(2, 2, 2, 2));
        dc.Detach();
        ::ReleaseDC(nullptr, screen);
        EXPECT_EQ(layout ? WVP_HIDE_VERTICALDOCK : 0, f.edit->GetHideFlags());
        EXPECT_EQ(!layout, bool(::IsWindowVisible(f.Window())));
    }
}

TEST(ControlEditTest, FieldDestroyedWhileFocusedUnlocksTheMouseManager)
{
    CommandBarHost host;
    const int lock = WVPMouseManager()->m_nLock;
    CWVPControlEdit* edit = new CWVPControlEdit;
    edit->SetParent(host.bar);
    edit->SetRect(CRect(10, 2, 150, 24));
    const HWND window = edit->GetEditCtrl()->GetSafeHwnd();
    ::SetForegroundWindow(host.host);
    ::SetFocus(window);
    ASSERT_TRUE(edit->IsFocused());
    ASSERT_EQ(lock + 1, WVPMouseManager()->m_nLock);
    edit->InternalRelease();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(lock, WVPMouseManager()->m_nLock) << "hover and tooltips work again";
}

TEST(ControlEditTest, SavedKeysLoadIntoANewField)
{
    CWVPControlEdit saved;
    saved.SetCaption(L"Find");
    saved.SetHasLabel(TRUE);
    saved.SetReadOnly(TRUE);
    saved.SetEditHint(L"Search");
    saved.SetEditStyle(ES_NUMBER);
    saved.ShowSpinButtons(TRUE);
    saved.SetWidth(140);
    const ArchiveBytes bytes = StoreArchiveBytes([&](CArchive& ar) {
        CWVPPropExchangeArchive px(ar);
        saved.DoPropExchange(&px);
    });
    CWVPControlEdit loaded;
    const int cause = LoadArchiveBytes(bytes, [&](CArchive& ar) {
        CWVPPropExchangeArchive px(ar);
        loaded.DoPropExchange(&px);
    });
    EXPECT_EQ(-1, cause);
    EXPECT_TRUE(loaded.GetHasLabel());
    EXPECT_TRUE(loaded.GetReadOnly());
    EXPECT_EQ("Search", rwtest::Utf8(loaded.GetEditHint()));
    EXPECT_EQ("", rwtest::Utf8(loaded.GetEditText())) << "the loaded field shows its hint";
    EXPECT_EQ(DWORD(ES_NUMBER), loaded.GetEditStyle());
    EXPECT_TRUE(loaded.IsSpinButtonsVisible());
    EXPECT_EQ(140, loaded.GetWidth());
    EXPECT_TRUE(loaded.Compare(&saved));
}
