// The fields bar of the command bars' screenshot program: a bar with an edit field (label, hint
// and spin buttons) and a combo box whose list is dropped.
#include <windows.h>

#include "CommandBarFieldShots.h"
#include "SkinGallery.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/ControlComboBox.h"
#include "uilib/commandbars/ControlComboBoxList.h"
#include "uilib/commandbars/ControlEdit.h"
#include "uilib/commandbars/Controls.h"

namespace
{
const LPCWSTR kFieldsClass = L"RwCommandBarFieldShots";
const int kWidth = 560;
const int kHeight = 240;

LRESULT CALLBACK FieldsHostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// A host window with a manager and a bar across its top.
struct FieldsHost
{
    FieldsHost()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = FieldsHostProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kFieldsClass;
        wc.hbrBackground = HBRUSH(COLOR_APPWORKSPACE + 1);
        ::RegisterClassW(&wc);
        host = ::CreateWindowExW(0, kFieldsClass, L"Fields", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        manager = new CWVPCommandBarManager;
        manager->SetSite(host);
        bar = static_cast<CWVPCommandBar*>(CWVPCommandBar::CreateObject());
        bar->SetPosition(wvpBarTop);
        bar->SetCommandBars(manager);
        bar->SetOwnerSite(host);
        bar->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), L"", WS_CHILD | WS_VISIBLE, 10, 10, kWidth - 20, 30, host,
                      nullptr);
    }
    ~FieldsHost()
    {
        bar->SetTrackingMode(0);
        bar->InternalRelease();
        manager->InternalRelease();
        ::DestroyWindow(host);
    }
    void Layout()
    {
        CClientDC dc(bar);
        const DWORD mode = 0x08 | 0x40; // docked horizontally, commit
        const CSize size = bar->GetControls()->CalcDynamicSize(&dc, kWidth - 20, mode, CRect(10, 2, 2, 2));
        ::SetWindowPos(bar->GetSafeHwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        ::RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        rwtest::SkinGallery::Pump();
    }
    HWND host = nullptr;
    CWVPCommandBarManager* manager = nullptr;
    CWVPCommandBar* bar = nullptr;
};

void AddEdit(CWVPCommandBar* bar)
{
    CWVPControlEdit* edit = static_cast<CWVPControlEdit*>(bar->GetControls()->AddByType(wvpControlEdit, 0));
    edit->SetCaption(L"Width");
    edit->SetHasLabel(TRUE);
    edit->SetWidth(130);
    edit->SetEditHint(L"pixels");
    edit->ShowSpinButtons(TRUE);
}

int ShootComboDropped(const std::string& folder)
{
    FieldsHost fields;
    AddEdit(fields.bar);
    CWVPControlComboBox* combo =
        static_cast<CWVPControlComboBox*>(fields.bar->GetControls()->AddByType(wvpControlComboBox, 0));
    combo->SetCaption(L"Format");
    combo->SetComboStyle(WVP_COMBOSTYLE_LABEL);
    combo->SetWidth(200);
    combo->SetDropDown(TRUE);
    for (LPCWSTR item : {L"MP4 (H.264, AAC)", L"3GP (H.263, AAC)", L"AVI (MPEG-4, MP3)", L"WMV (WMV2, WMA)"})
        combo->GetComboList()->AddString(item);
    combo->SetCurSel(0);
    fields.Layout();
    fields.bar->SetPopuped(combo->GetIndex());
    combo->GetComboList()->SetCurSel(2);
    rwtest::SkinGallery::Pump();
    const int failures = ShootScreen(fields.host, folder, "commandbar-fields.png");
    fields.bar->SetPopuped(-1);
    return failures;
}

} // namespace

int ShootFieldsBar(const std::string& folder)
{
    return ShootComboDropped(folder);
}
