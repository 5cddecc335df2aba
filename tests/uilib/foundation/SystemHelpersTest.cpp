// The system helpers: version tests over injected records, module handles and version-gated
// binding, the COMCTL32 fall-back, the accessible object's COM face, child indexes of variants
// and the monitor fall-backs.
#include "RwTest.h"

#include "platform/mfc/CmdTarget.h"
#include "uilib/foundation/Accessible.h"
#include "uilib/foundation/ModuleHandle.h"
#include "uilib/foundation/MonitorHelper.h"
#include "uilib/foundation/OSVersionInfo.h"

namespace
{
OSVERSIONINFOW Record(DWORD platform, DWORD major, DWORD minor)
{
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    info.dwPlatformId = platform;
    info.dwMajorVersion = major;
    info.dwMinorVersion = minor;
    return info;
}
} // namespace

TEST(OSVersionInfo, TestsFollowTheRecord)
{
    struct Case
    {
        const char* system;
        DWORD platform, major, minor;
        bool win95, win98, win9x, nt4, win2k, xp, nt4Plus, win2kPlus, xpPlus;
    };
    const Case cases[] = {
        {"95", 1, 4, 0, true, false, true, false, false, false, false, false, false},
        {"98", 1, 4, 10, false, true, true, false, false, false, false, false, false},
        {"Me", 1, 4, 90, false, false, true, false, false, false, false, false, false},
        {"NT4", 2, 4, 0, false, false, false, true, false, false, true, false, false},
        {"2000", 2, 5, 0, false, false, false, false, true, false, true, true, false},
        {"XP", 2, 5, 1, false, false, false, false, false, true, true, true, true},
        {"7", 2, 6, 1, false, false, false, false, false, false, true, true, true},
    };
    for (const Case& c : cases)
    {
        CWVPOSVersionInfo os(Record(c.platform, c.major, c.minor));
        EXPECT_EQ(c.win95, os.IsWin95() != FALSE) << c.system;
        EXPECT_EQ(c.win98, os.IsWin98() != FALSE) << c.system;
        EXPECT_EQ(c.win9x, os.IsWin9x() != FALSE) << c.system;
        EXPECT_EQ(c.nt4, os.IsWinNT4() != FALSE) << c.system;
        EXPECT_EQ(c.win2k, os.IsWin2K() != FALSE) << c.system;
        EXPECT_EQ(c.xp, os.IsWinXP() != FALSE) << c.system;
        EXPECT_EQ(c.nt4Plus, os.IsWinNT4OrGreater() != FALSE) << c.system;
        EXPECT_EQ(c.win2kPlus, os.IsWin2KOrGreater() != FALSE) << c.system;
        EXPECT_EQ(c.xpPlus, os.IsWinXPOrGreater() != FALSE) << c.system;
        EXPECT_EQ(c.xpPlus, os.IsWinXPOrLater()) << c.system;
    }
    CWVPOSVersionInfo xp(Record(2, 5, 1));
    EXPECT_TRUE(xp.IsVersionOrGreater(5, 0));
    EXPECT_TRUE(xp.IsVersionOrGreater(5, 1));
    EXPECT_FALSE(xp.IsVersionOrGreater(5, 2));
    EXPECT_TRUE(xp.IsVersionOrGreater(4, 90));
    EXPECT_TRUE(xp.IsVersion(5, 1));
    EXPECT_FALSE(xp.IsVersion(5, 0));
}

TEST(OSVersionInfo, ProcessRecordIsTheSystemsAndCanBeReplaced)
{
    CWVPOSVersionInfo& os = WVPOSVersionInfo();
    EXPECT_EQ(sizeof(OSVERSIONINFOW), os.GetRecord().dwOSVersionInfoSize);
    EXPECT_TRUE(os.IsWinXPOrLater()); // Wine reports 6.1
    os.Assign(Record(1, 4, 10));
    EXPECT_TRUE(WVPOSVersionInfo().IsWin98());
    os.Reload();
    EXPECT_FALSE(WVPOSVersionInfo().IsWin9x());
}

TEST(ModuleHandle, FreeAfterGetModuleHandleLeavesTheModuleLoaded)
{
    HMODULE before = ::GetModuleHandleW(L"comctl32.dll");
    ASSERT_NE(nullptr, before);
    {
        CWVPModuleHandle module;
        ASSERT_TRUE(module.GetModuleHandle(L"comctl32.dll"));
        EXPECT_EQ(CWVPModuleHandle::ModeFoundLoaded, module.GetMode());
        EXPECT_TRUE(module.FreeLibrary());
        EXPECT_EQ(nullptr, module.GetHandle());
        EXPECT_EQ(CWVPModuleHandle::ModeNone, module.GetMode());
        EXPECT_TRUE(module.GetName().IsEmpty());
    }
    EXPECT_EQ(before, ::GetModuleHandleW(L"comctl32.dll"));
    EXPECT_EQ(before, CWVPModuleHandle(L"comctl32.dll").GetHandle());
}

TEST(ModuleHandle, InitLoadsWhatIsNotLoadedAndFreesItAgain)
{
    CWVPModuleHandle module;
    EXPECT_FALSE(module.Init(L"no-such-module-here.dll"));
    EXPECT_EQ(CWVPModuleHandle::ModeNone, module.GetMode());
    ASSERT_TRUE(module.LoadLibrary(L"shlwapi.dll"));
    EXPECT_EQ(CWVPModuleHandle::ModeLoadedHere, module.GetMode());
    EXPECT_EQ(CString(L"shlwapi.dll"), module.GetName());
}

TEST(ModuleHandle, ProcAddressHonoursTheMinimumVersion)
{
    CWVPModuleHandle comctl(L"comctl32.dll");
    DWORD version = comctl.GetVersion();
    ASSERT_EQ(0x50051u, version); // Wine's COMCTL32 reports 5.81
    FARPROC proc = reinterpret_cast<FARPROC>(1);
    EXPECT_FALSE(comctl.GetProcAddress(&proc, "InitCommonControlsEx", 0x60000));
    EXPECT_EQ(nullptr, proc);
    EXPECT_TRUE(comctl.GetProcAddress(&proc, "InitCommonControlsEx", 0x50050));
    EXPECT_NE(nullptr, proc);
    EXPECT_TRUE(comctl.GetProcAddress(&proc, "InitCommonControlsEx"));
    EXPECT_FALSE(comctl.GetProcAddress(&proc, "NoSuchExport"));

    CWVPModuleHandle none;
    EXPECT_FALSE(none.GetProcAddress(&proc, "InitCommonControlsEx"));
    EXPECT_EQ(0u, none.GetVersion());
}

TEST(ModuleHandle, ComCtlVersionFallsBackToFourWithoutDllGetVersion)
{
    EXPECT_EQ(0x50051u, WVPGetComCtlVersion());
    CWVPModuleHandle kernel(L"kernel32.dll"); // a module without DllGetVersion
    EXPECT_EQ(0u, kernel.GetVersion());
    EXPECT_EQ(0x40000u, WVPComCtlVersionOf(kernel));
    WVPSetComCtlVersion(0x60000);
    EXPECT_EQ(0x60000u, WVPGetComCtlVersion());
    WVPSetComCtlVersion(0);
    EXPECT_EQ(0x50051u, WVPGetComCtlVersion());
}

namespace
{
// A command target with an accessible face, as the library's bars and controls are.
class CAccessibleTarget : public CCmdTarget, public CWVPAccessible
{
  public:
    HRESULT GetAccessibleChildCount(LONG* count) override
    {
        *count = 7;
        return S_OK;
    }
    HRESULT GetAccessibleName(VARIANT varChild, BSTR* name) override
    {
        lastChild = WVPGetChildIndex(varChild);
        *name = nullptr;
        return S_OK;
    }
    CCmdTarget* GetAccessibleCmdTarget() override
    {
        return this;
    }
    LONG lastChild = -100;

    DECLARE_INTERFACE_MAP()
};

BEGIN_INTERFACE_MAP(CAccessibleTarget, CCmdTarget)
INTERFACE_PART(CAccessibleTarget, IID_IAccessible, Accessible)
END_INTERFACE_MAP()
} // namespace

TEST(Accessible, FaceIsReachedThroughQueryInterfaceAndCallsTheOwner)
{
    CAccessibleTarget* target = new CAccessibleTarget;
    IAccessible* accessible = nullptr;
    ASSERT_EQ(S_OK, (HRESULT)target->ExternalQueryInterface(&IID_IAccessible, (void**)&accessible));
    ASSERT_EQ(static_cast<IAccessible*>(&target->m_xAccessible), accessible);
    LONG count = 0;
    EXPECT_EQ(S_OK, accessible->get_accChildCount(&count));
    EXPECT_EQ(7, count);
    VARIANT child;
    ::VariantInit(&child);
    V_VT(&child) = VT_I4;
    V_I4(&child) = 3;
    BSTR name = nullptr;
    EXPECT_EQ(S_OK, accessible->get_accName(child, &name));
    EXPECT_EQ(3, target->lastChild);
    VARIANT out;
    ::VariantInit(&out);
    EXPECT_EQ(S_FALSE, accessible->get_accFocus(&out));
    EXPECT_EQ(S_FALSE, accessible->get_accSelection(&out));
    EXPECT_EQ(E_NOTIMPL, accessible->get_accRole(child, &out));
    EXPECT_EQ(E_NOTIMPL, accessible->accDoDefaultAction(child));
    UINT typeCount = 0;
    EXPECT_EQ(E_NOTIMPL, accessible->GetTypeInfoCount(&typeCount));
    IUnknown* again = nullptr;
    EXPECT_EQ(S_OK, accessible->QueryInterface(IID_IAccessible, (void**)&again));
    again->Release();
    EXPECT_EQ(1u, accessible->Release()); // the query's reference; the object keeps its own
    target->InternalRelease();
}

TEST(Accessible, OleAccFunctionsFailWithoutTheLibrary)
{
    LPCWSTR saved = CWVPAccessible::s_oleAccName;
    CWVPAccessible::s_oleAccName = L"no-such-oleacc.dll";
    {
        CWVPAccessible accessible;
        void* object = nullptr;
        EXPECT_EQ(E_FAIL, accessible.AccessibleObjectFromWindow(nullptr, 0, IID_IAccessible, &object));
        EXPECT_EQ((LRESULT)E_FAIL, accessible.LresultFromObject(IID_IAccessible, 0, nullptr));
        accessible.AccessibleNotifyWinEvent(EVENT_OBJECT_FOCUS, nullptr, OBJID_CLIENT, CHILDID_SELF);
    }
    CWVPAccessible::s_oleAccName = saved;
    CWVPAccessible accessible;
    HWND desktop = ::GetDesktopWindow();
    IAccessible* object = nullptr;
    HRESULT hr = accessible.AccessibleObjectFromWindow(desktop, OBJID_WINDOW, IID_IAccessible, (void**)&object);
    EXPECT_NE(E_FAIL, hr);
    if (SUCCEEDED(hr) && object)
        object->Release();
}

TEST(Accessible, ChildIndexOfEveryVariantKind)
{
    short i2 = 4;
    LONG i4 = 9;
    VARIANT inner;
    ::VariantInit(&inner);
    V_VT(&inner) = VT_I4;
    V_I4(&inner) = 12;
    struct Case
    {
        VARTYPE type;
        void* value;
        long expected;
    };
    VARIANT v;
    ::VariantInit(&v);
    EXPECT_EQ(0, WVPGetChildIndex(v));
    V_VT(&v) = VT_I2;
    V_I2(&v) = 5;
    EXPECT_EQ(5, WVPGetChildIndex(v));
    V_VT(&v) = VT_I4;
    V_I4(&v) = 6;
    EXPECT_EQ(6, WVPGetChildIndex(v));
    V_VT(&v) = VT_I2 | VT_BYREF;
    V_I2REF(&v) = &i2;
    EXPECT_EQ(4, WVPGetChildIndex(v));
    V_I2REF(&v) = nullptr;
    EXPECT_EQ(-1, WVPGetChildIndex(v));
    V_VT(&v) = VT_I4 | VT_BYREF;
    V_I4REF(&v) = &i4;
    EXPECT_EQ(9, WVPGetChildIndex(v));
    V_I4REF(&v) = nullptr;
    EXPECT_EQ(-1, WVPGetChildIndex(v));
    V_VT(&v) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&v) = &inner;
    EXPECT_EQ(12, WVPGetChildIndex(v));
    V_VARIANTREF(&v) = nullptr;
    EXPECT_EQ(-1, WVPGetChildIndex(v));
    V_VT(&v) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&v) = &v; // a variant that refers to itself ends, it does not loop
    EXPECT_EQ(-1, WVPGetChildIndex(v));
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = nullptr;
    EXPECT_EQ(-1, WVPGetChildIndex(v));
}

TEST(MonitorHelper, FallsBackToTheScreenAndTheSystemWorkArea)
{
    CRect screen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    CRect work;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    POINT away = {-100000, -100000};
    RECT awayRect = {-100000, -100000, -99990, -99990};

    CWVPMonitorHelper without(FALSE);
    EXPECT_FALSE(without.HasMonitorFunctions());
    CWVPMonitorHelper& with = WVPMonitorHelper();
    EXPECT_TRUE(with.HasMonitorFunctions());
    for (CWVPMonitorHelper* helper : {&without, &with})
    {
        EXPECT_EQ(screen, helper->GetScreenAreaAtPoint(away));
        EXPECT_EQ(screen, helper->GetScreenAreaOfRect(awayRect));
        EXPECT_EQ(work, helper->GetWorkAreaAtPoint(away));
        EXPECT_EQ(work, helper->GetWorkAreaOfRect(awayRect));
        EXPECT_EQ(work, helper->GetWorkAreaOfHwnd(nullptr));
        EXPECT_EQ(work, helper->GetWorkAreaOfWnd(nullptr));
    }
    MONITORINFO info;
    EXPECT_FALSE(with.GetMonitorInfo(nullptr, &info));
    POINT origin = {1, 1};
    HMONITOR primary = ::MonitorFromPoint(origin, MONITOR_DEFAULTTONULL);
    ASSERT_TRUE(with.GetMonitorInfo(primary, &info));
    EXPECT_EQ(CRect(info.rcMonitor), with.GetScreenAreaAtPoint(origin));
    EXPECT_EQ(CRect(info.rcWork), with.GetWorkAreaAtPoint(origin));
}
