// Streams that name the command bars' classes load in a program that refers to none of them but
// the control base: starting the library (making its paint manager) registers every class.
#include "ArchiveBytes.h"
#include "RwTest.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/PropExchangeArchive.h"

#include <cstring>

namespace
{
// A stream holding an object of the named class: its class reference, then a control's keys.
ArchiveBytes StreamNaming(LPCSTR className)
{
    CRuntimeClass record = {className, 0, VERSIONABLE_SCHEMA | 0x21, nullptr, nullptr, nullptr, nullptr};
    return StoreArchiveBytes([&](CArchive& ar) {
        CWVPPropExchangeArchive px(ar);
        CRuntimeClass* named = &record;
        px.ExchangeRuntimeClass(L"Class", named, nullptr);
        CWVPControl keys;
        keys.SetType(wvpControlButton);
        keys.SetCaption(L"Saved");
        keys.DoPropExchange(&px);
    });
}
} // namespace

TEST(CommandBarClassesTest, AStreamNamingAControlClassLoadsIt)
{
    CWVPPaintManager::SetTheme(0);
    CObject* loaded = nullptr;
    const int cause = LoadArchiveBytes(StreamNaming("CWVPControlButton"), [&](CArchive& ar) {
        CWVPPropExchangeArchive px(ar);
        ASSERT_TRUE(px.ExchangeObjectInstance(loaded, RUNTIME_CLASS(CWVPControl)));
        static_cast<CWVPControl*>(loaded)->DoPropExchange(&px);
    });
    EXPECT_EQ(-1, cause);
    ASSERT_NE(nullptr, loaded);
    EXPECT_STREQ("CWVPControlButton", loaded->GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(VERSIONABLE_SCHEMA | 0x21, loaded->GetRuntimeClass()->m_wSchema);
    CWVPControl* control = static_cast<CWVPControl*>(loaded);
    EXPECT_EQ(int(wvpControlButton), control->GetType());
    EXPECT_STREQ("Saved", CStringA(control->GetCaption()).GetString());
    control->InternalRelease();
    CWVPPaintManager::ReleaseInstance();
}

TEST(CommandBarClassesTest, AnUnknownClassFailsWithTheArchiveException)
{
    CWVPPaintManager::SetTheme(0);
    CObject* loaded = nullptr;
    const int cause = LoadArchiveBytes(StreamNaming("CWVPNoSuchControl"), [&](CArchive& ar) {
        CWVPPropExchangeArchive px(ar);
        px.ExchangeObjectInstance(loaded, RUNTIME_CLASS(CWVPControl));
    });
    EXPECT_EQ(int(CArchiveException::badClass), cause);
    EXPECT_EQ(nullptr, loaded);
    CWVPPaintManager::ReleaseInstance();
}
