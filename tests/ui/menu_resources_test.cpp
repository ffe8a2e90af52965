// The menu and about-box resources as the program finds them: texts, ids, styles and
// layout, all tagged US English.
#include <windows.h>

#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

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

// Reads a plain (not extended) dialog template: header, then the items, each on a
// 4-byte boundary.
struct TemplateItem {
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    WORD classAtom;
    std::wstring text;
};
struct DialogTemplate {
    DWORD style;
    short x, y, cx, cy;
    std::wstring caption, font;
    WORD pointSize;
    std::vector<TemplateItem> items;
};

const WORD* SkipNameOrOrdinal(const WORD* p, WORD* ordinal, std::wstring* name) {
    if (*p == 0xFFFF) {
        if (ordinal) *ordinal = p[1];
        return p + 2;
    }
    std::wstring s;
    while (*p) s += (wchar_t)*p++;
    if (name) *name = s;
    return p + 1;
}

const WORD* AlignDword(const WORD* p, const BYTE* base) {
    size_t offset = (const BYTE*)p - base;
    return (const WORD*)(base + ((offset + 3) & ~(size_t)3));
}

bool ReadDialogTemplate(const BYTE* base, DWORD size, DialogTemplate* out) {
    const DLGTEMPLATE* header = (const DLGTEMPLATE*)base;
    if (size < sizeof(DLGTEMPLATE) || ((const WORD*)base)[1] == 0xFFFF) return false;
    out->style = header->style;
    out->x = header->x, out->y = header->y, out->cx = header->cx, out->cy = header->cy;
    const WORD* p = (const WORD*)(base + 18);
    p = SkipNameOrOrdinal(p, nullptr, nullptr);           // menu
    p = SkipNameOrOrdinal(p, nullptr, nullptr);           // class
    p = SkipNameOrOrdinal(p, nullptr, &out->caption);     // title
    if (out->style & DS_SETFONT) {
        out->pointSize = *p++;
        p = SkipNameOrOrdinal(p, nullptr, &out->font);
    }
    for (int i = 0; i < header->cdit; ++i) {
        p = AlignDword(p, base);
        if ((const BYTE*)p + 18 > base + size) return false;
        const DLGITEMTEMPLATE* item = (const DLGITEMTEMPLATE*)p;
        TemplateItem t;
        t.style = item->style;
        t.x = item->x, t.y = item->y, t.cx = item->cx, t.cy = item->cy;
        t.id = item->id;
        t.classAtom = 0;
        p = SkipNameOrOrdinal(p + 9, &t.classAtom, nullptr);
        p = SkipNameOrOrdinal(p, nullptr, &t.text);
        p += *p ? (*p + 1) / 2 : 1;  // creation data: its byte count (itself included)
        out->items.push_back(t);
    }
    return (const BYTE*)p <= base + size;
}

TEST(AboutBoxResource, PlainTemplateWithTheKeyHelpLaidOut) {
    HMODULE self = GetModuleHandleA(NULL);
    HRSRC found = FindResourceA(self, "ABOUTDLG", (LPCSTR)RT_DIALOG);
    ASSERT_NE(found, nullptr);
    const BYTE* data = (const BYTE*)LockResource(LoadResource(self, found));
    DialogTemplate dlg;
    ASSERT_TRUE(ReadDialogTemplate(data, SizeofResource(self, found), &dlg));

    EXPECT_EQ(dlg.style, (DWORD)(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                                 DS_SETFONT | DS_3DLOOK));
    EXPECT_EQ(dlg.x, 0);
    EXPECT_EQ(dlg.y, 0);
    EXPECT_EQ(dlg.cx, 150);
    EXPECT_EQ(dlg.cy, 120);
    EXPECT_EQ(dlg.caption, L"About");
    EXPECT_EQ(dlg.pointSize, 9);
    EXPECT_EQ(dlg.font, L"ＭＳ ゴシック");

    const WORD STATIC = 0x0082, BUTTON = 0x0080;
    const DWORD CHILD = WS_CHILD | WS_VISIBLE;
    const TemplateItem expected[] = {
        {CHILD | WS_GROUP | SS_CENTER, 5, 6, 140, 8, 0xFFFF, STATIC, L"Sorrelmark"},
        {CHILD | WS_GROUP | SS_CENTER, 62, 18, 70, 8, 0xFFFF, STATIC, L""},
        {CHILD | SS_ETCHEDFRAME, 6, 30, 138, 66, 0xFFFF, STATIC, L"Frame1"},
        {CHILD | WS_GROUP | SS_LEFT, 15, 34, 110, 8, 0xFFFF, STATIC, L"キー操作"},
        {CHILD | WS_GROUP | SS_LEFT, 25, 46, 90, 8, 0xFFFF, STATIC, L"  [→]: 移動量増加"},
        {CHILD | WS_GROUP | SS_LEFT, 25, 58, 90, 8, 0xFFFF, STATIC, L"  [←]: 移動量減少"},
        {CHILD | WS_GROUP | SS_LEFT, 25, 70, 90, 8, 0xFFFF, STATIC, L"   [Q]: プログラム終了"},
        {CHILD | WS_GROUP | SS_LEFT, 25, 82, 90, 8, 0xFFFF, STATIC, L"その他: 停止 (移動量0)"},
        {CHILD | WS_TABSTOP | BS_PUSHBUTTON, 55, 102, 40, 14, IDOK, BUTTON, L"OK"},
    };
    ASSERT_EQ(dlg.items.size(), 9u);
    for (size_t i = 0; i < 9; ++i) {
        const TemplateItem& got = dlg.items[i];
        const TemplateItem& want = expected[i];
        EXPECT_EQ(got.style, want.style) << "control " << i + 1;
        EXPECT_EQ(got.x, want.x) << "control " << i + 1;
        EXPECT_EQ(got.y, want.y) << "control " << i + 1;
        EXPECT_EQ(got.cx, want.cx) << "control " << i + 1;
        EXPECT_EQ(got.cy, want.cy) << "control " << i + 1;
        EXPECT_EQ(got.id, want.id) << "control " << i + 1;
        EXPECT_EQ(got.classAtom, want.classAtom) << "control " << i + 1;
        // The notice line is the program's own; it only has to say something.
        if (i == 1) {
            EXPECT_FALSE(got.text.empty());
        } else {
            EXPECT_EQ(got.text, want.text) << "control " << i + 1;
        }
    }
}

}  // namespace
