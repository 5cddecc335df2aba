// The resource manager over a resource script built by wrc: strings, the string-block walk, a
// menu, a tool bar, PNG resources through the image loader's path, the language table, message-box
// styles, narrow strings, and empty answers for the library's own ids that the program lacks.
#include "RwTest.h"

#include "platform/mfc/Bitmap.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/ToolBar.h"
#include "uilib/foundation/GraphicBitmapPng.h"
#include "uilib/foundation/ResourceManager.h"

TEST(ResourceManager, StringsFromTheApplication)
{
    CWVPResourceManager* manager = WVPResourceManager();
    ASSERT_EQ(manager, WVPResourceManager());
    int missing = -1;
    EXPECT_EQ(CString(L"thirty-five"), manager->LoadStringText(35, &missing));
    EXPECT_EQ(0, missing);
    CString text;
    EXPECT_TRUE(manager->LoadString(&text, 1));
    EXPECT_EQ(CString(L"first"), text);
    EXPECT_EQ(CString(L""), manager->LoadStringText(36, &missing));
    EXPECT_EQ(1, missing);

    HMODULE module = ::GetModuleHandleW(nullptr);
    EXPECT_EQ(11, CWVPResourceManager::LoadStringFromTable(module, 35, text)); // block 3, entry 3
    EXPECT_EQ(CString(L"thirty-five"), text);
    EXPECT_EQ(11, CWVPResourceManager::LoadStringFromTable(module, 34, text));
    EXPECT_EQ(CString(L"thirty-four"), text);
    EXPECT_EQ(5, CWVPResourceManager::LoadStringFromTable(module, 40, text));
    EXPECT_EQ(0, CWVPResourceManager::LoadStringFromTable(module, 36, text)); // an empty entry
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(0, CWVPResourceManager::LoadStringFromTable(module, 200, text)); // no such block
}

TEST(ResourceManager, MenuToolBarAndPngResources)
{
    CWVPResourceManager* manager = WVPResourceManager();
    CMenu menu;
    ASSERT_TRUE(manager->LoadMenu(&menu, 500));
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(nullptr, popup);
    CString item;
    EXPECT_EQ(5, manager->GetMenuString(popup, 1, item, MF_BYPOSITION));
    EXPECT_EQ(CString(L"E&xit"), item);
    EXPECT_EQ(0, manager->GetMenuString(popup, 7, item, MF_BYPOSITION));
    EXPECT_TRUE(item.IsEmpty());
    EXPECT_EQ(0, manager->GetMenuString(nullptr, 0, item, MF_BYPOSITION));

    HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 50, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, parent) << ::GetLastError();
    {
        CToolBar bar;
        ASSERT_TRUE(bar.Create(CWnd::FromHandle(parent)));
        EXPECT_TRUE(manager->LoadToolBar(&bar, 600));
        EXPECT_EQ(4, (int)bar.SendMessage(TB_BUTTONCOUNT, 0, 0));
        CToolBar missing;
        ASSERT_TRUE(missing.Create(CWnd::FromHandle(parent)));
        EXPECT_FALSE(manager->LoadToolBar(&missing, 601));
    }
    ::DestroyWindow(parent);

    CBitmap bitmap;
    EXPECT_TRUE(manager->LoadBitmap(&bitmap, 600));
    BITMAP info = {};
    bitmap.GetBitmap(&info);
    EXPECT_EQ(48, info.bmWidth);

    HMODULE module = ::GetModuleHandleW(nullptr);
    CWVPGraphicBitmapPng png;
    ASSERT_TRUE(png.LoadFromResource(module, ::FindResourceW(module, MAKEINTRESOURCEW(700), L"PNG")));
    EXPECT_TRUE(png.IsAlpha());
    ASSERT_TRUE(png.LoadFromResource(module, ::FindResourceW(module, MAKEINTRESOURCEW(701), L"PNG")));
    EXPECT_TRUE(png.IsAlpha());
    EXPECT_FALSE(png.LoadFromResource(module, ::FindResourceW(module, MAKEINTRESOURCEW(702), L"PNG")));
}

TEST(ResourceManager, LibraryIdsTheProgramLacksGiveEmptyAnswers)
{
    CWVPResourceManager* manager = WVPResourceManager();
    for (UINT id : {9173u, 9177u, 9800u, 9801u, 9802u, 9803u, 9804u})
    {
        int missing = 0;
        EXPECT_TRUE(manager->LoadStringText(id, &missing).IsEmpty()) << id;
        EXPECT_EQ(1, missing) << id;
    }
    for (UINT id : {9316u, 9601u, 9602u})
    {
        CMenu menu;
        EXPECT_FALSE(manager->LoadMenu(&menu, id)) << id;
    }
    for (UINT id : {9308u, 9309u, 9311u, 9970u, 9971u, 9972u, 9973u})
        EXPECT_EQ(nullptr, manager->LoadCursor(id)) << id;
    CBitmap bitmap;
    EXPECT_FALSE(manager->LoadBitmap(&bitmap, 9999));
    EXPECT_EQ(nullptr, manager->LoadDialogTemplate(9999));
    EXPECT_EQ(nullptr, manager->LoadDialogTemplateHandle(9999));
    CString html;
    EXPECT_FALSE(manager->LoadHTML(&html, 9999));
    EXPECT_FALSE(manager->LoadHTML(nullptr, 9999));
    EXPECT_EQ(nullptr, manager->LoadIconById(9999, 16, 16));
    EXPECT_EQ(nullptr, manager->CreateIconFromResource(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(9999), 16, 16));
}

TEST(ResourceManager, LanguageTableAndWhatFollowsFromIt)
{
    CWVPResourceManager manager;
    EXPECT_EQ(0x0409, manager.GetResourcesLangID());
    manager.SetLanguage(0x0C0A);
    EXPECT_EQ(0x0C0A, manager.GetResourcesLangID());
    EXPECT_EQ(0, lstrcmpW(L"Spanish (Spain - Modern Sort)", manager.GetLanguageInfo()->languageName));
    manager.SetLanguage(0x0C0C); // not in the table
    EXPECT_EQ(0x0409, manager.GetResourcesLangID());
    EXPECT_EQ(::GetACP(), manager.GetCodePage());
    EXPECT_EQ(0, lstrcmpW(L"Ukrainian ", CWVPResourceManager::FindLanguage(0x0422)->languageName));

    struct Case
    {
        LANGID language;
        bool rtl;
    };
    const Case cases[] = {{0x040D, true}, {0x0401, true}, {0x0409, false}, {0x0419, false}, {0x0804, false}};
    for (const Case& c : cases)
    {
        manager.SetLanguage(c.language);
        UINT style = manager.GetMessageBoxStyle(MB_OKCANCEL | MB_ICONEXCLAMATION);
        EXPECT_EQ(c.rtl, (style & MB_RTLREADING) != 0) << std::hex << c.language;
        EXPECT_EQ((UINT)(MB_OKCANCEL | MB_ICONEXCLAMATION), style & ~MB_RTLREADING);
    }

    // wrc leaves the test program's resources language-neutral: nothing is found, English stays.
    EXPECT_EQ(0, CWVPResourceManager::FindResourcesLanguage(::GetModuleHandleW(nullptr)));
    manager.UpdateResourcesLangID();
    EXPECT_EQ(0x0409, manager.GetResourcesLangID());
}

TEST(ResourceManager, NarrowStrings)
{
    CWVPNarrowString empty(L"");
    EXPECT_STREQ("", empty);
    CWVPNarrowString none(nullptr);
    EXPECT_STREQ("", none);
    CWVPNarrowString text(L"Caf\x00e9");
    EXPECT_STREQ("Caf\xe9", text); // the English row converts with the ANSI code page, 1252 here
}
