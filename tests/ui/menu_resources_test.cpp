// The menu resource as the program finds it, and the language every resource is tagged
// with. The about box's texts are checked where it is opened (commands_test).
#include <windows.h>

#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "res/resource.h"

namespace {

const WORD US_ENGLISH = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

std::wstring MenuText(HMENU menu, UINT item, UINT by) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, item, text, 64, by);
    return text;
}

TEST(MenuResource, TextsIdsAndCheckMarkAsBuilt) {
    HMENU menu = LoadMenuA(GetModuleHandleA(NULL), "MAINMENU");
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_EQ(MenuText(menu, 0, MF_BYPOSITION), L"ファイル(&F)");
    EXPECT_EQ(MenuText(menu, 1, MF_BYPOSITION), L"画面サイズ(&S)");
    EXPECT_EQ(MenuText(menu, 2, MF_BYPOSITION), L"ヘルプ(&H)");

    struct Item {
        int menu, position;
        UINT id;
        const wchar_t* text;
    };
    const Item items[] = {
        {0, 0, IDM_OPEN, L"開く(&O)..."},        {0, 2, IDM_EXIT, L"終了(&X)"},
        {1, 0, IDM_SIZE_FULL, L"通常サイズ(&N)"}, {1, 1, IDM_SIZE_HALF, L"1/2サイズ(&H)"},
        {1, 2, IDM_SIZE_QUARTER, L"1/4サイズ(&Q)"}, {2, 0, IDM_ABOUT, L"About...(&A)"},
    };
    for (const Item& item : items) {
        HMENU sub = GetSubMenu(menu, item.menu);
        EXPECT_EQ(GetMenuItemID(sub, item.position), item.id) << item.id;
        EXPECT_EQ(MenuText(sub, item.id, MF_BYCOMMAND), item.text) << item.id;
    }
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 3);
    EXPECT_TRUE(GetMenuState(GetSubMenu(menu, 0), 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 1)), 3);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 2)), 1);

    // Half size is where the viewer starts, so only its item is checked.
    EXPECT_FALSE(GetMenuState(menu, IDM_SIZE_FULL, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(menu, IDM_SIZE_HALF, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(menu, IDM_SIZE_QUARTER, MF_BYCOMMAND) & MF_CHECKED);
    DestroyMenu(menu);
}

TEST(MenuResource, AllResourcesAreUsEnglishAndTheManifestIsId1) {
    HMODULE self = GetModuleHandleA(NULL);
    EXPECT_NE(FindResourceExA(self, (LPCSTR)RT_MENU, "MAINMENU", US_ENGLISH), nullptr);
    EXPECT_NE(FindResourceExA(self, (LPCSTR)RT_DIALOG, "ABOUTDLG", US_ENGLISH), nullptr);
    EXPECT_NE(FindResourceExA(self, (LPCSTR)RT_MANIFEST, MAKEINTRESOURCEA(1), US_ENGLISH),
              nullptr);
}

}  // namespace
