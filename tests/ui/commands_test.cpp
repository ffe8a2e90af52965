// The menu commands, the open dialog, file drop, the about box and the command line,
// driven through the real main window with real messages, and the menu resource as the
// program finds it. Modal dialogs are worked from a thread timer whose callback runs
// inside their message loops.
#include <windows.h>
#include <shlobj.h>  // DROPFILES

#include <gtest/gtest.h>
#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "core/yuv10_reader.h"
#include "res/resource.h"
#include "tests/ui/window_fixture.h"
#include "tests/unit/test_support.h"
#include "tools/frame_pattern.h"
#include "ui/ui.h"

namespace {

// ---- working a modal dialog from inside its own message loop

std::function<bool(HWND)> DialogAct;  // true once it has done its work
int DialogTicks;
UINT_PTR DialogTimer;

BOOL CALLBACK TakeDialog(HWND window, LPARAM found) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (IsWindowVisible(window) && strcmp(name, "#32770") == 0) {
        *(HWND*)found = window;
        return FALSE;
    }
    return TRUE;
}

HWND ThreadDialog() {
    HWND found = NULL;
    EnumThreadWindows(GetCurrentThreadId(), TakeDialog, (LPARAM)&found);
    return found;
}

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = ThreadDialog();
    if (dialog && DialogAct(dialog)) {
        KillTimer(NULL, DialogTimer);
        return;
    }
    // Never hang the run on a dialog that does not answer: give up after about 20 s.
    if (++DialogTicks > 400) {
        KillTimer(NULL, DialogTimer);
        ADD_FAILURE() << "the dialog did not do what the test asked";
        if (dialog) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

void WorkNextDialog(std::function<bool(HWND)> act) {
    DialogAct = act;
    DialogTicks = 0;
    DialogTimer = SetTimer(NULL, 0, 50, DriveDialog);
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

// ---- sequences on disk

// Frame n as the viewer must show it at scale shift: the file rows that the placement
// rule keeps, converted by the reference row decoder.
std::vector<uint8_t> ExpectedPicture(const std::vector<uint8_t>& file, int shift) {
    int width = FRAME_WIDTH >> shift, height = FRAME_HEIGHT >> shift;
    std::vector<uint8_t> picture((size_t)width * height * 4, 0);
    int k = 1 << shift;
    for (int y = 0; y < FRAME_HEIGHT; ++y) {
        int b = FRAME_HEIGHT - 1 - y;
        if (b % k) continue;
        DecodeYuv10RowReference(file.data() + (size_t)y * YUV10_ROW_BYTES,
                                picture.data() + (size_t)(b >> shift) * width * 4, shift);
    }
    return picture;
}

bool PictureIsBlack() {
    std::vector<uint8_t> picture = PictureBytes();
    return picture == std::vector<uint8_t>(picture.size(), 0);
}

// ---- the main window

class CommandsTest : public MainWindowTest {
protected:
    void Command(WORD id) { SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    int CheckedSizeItems() {
        int checked = 0;
        for (UINT id = IDM_SIZE_FULL; id <= IDM_SIZE_QUARTER; ++id)
            if (GetMenuState(GetMenu(window), id, MF_BYCOMMAND) & MF_CHECKED)
                checked |= 1 << (id - IDM_SIZE_FULL);
        return checked;
    }

    void Drop(const std::vector<std::string>& paths) {
        size_t listBytes = 1;
        for (const std::string& p : paths) listBytes += p.size() + 1;
        HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + listBytes);
        DROPFILES* drop = (DROPFILES*)GlobalLock(block);
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = FALSE;
        char* list = (char*)(drop + 1);
        for (const std::string& p : paths) {
            memcpy(list, p.c_str(), p.size() + 1);
            list += p.size() + 1;
        }
        *list = '\0';
        GlobalUnlock(block);
        SendMessageA(window, WM_DROPFILES, (WPARAM)block, 0);
    }
};

const char CANNOT_OPEN[] = "ファイルをオープンできません!";

TEST_F(CommandsTest, SizeCommandsMoveTheCheckMarkAndRefitTheWindowUnlessOutOfMemory) {
    EXPECT_EQ(CheckedSizeItems(), 1 << 1);
    ExpectClientFitsPicture(window);
    const struct {
        WORD id;
        int shift, width;
    } steps[] = {{IDM_SIZE_FULL, 0, 1920}, {IDM_SIZE_QUARTER, 2, 480}, {IDM_SIZE_QUARTER, 2, 480},
                 {IDM_SIZE_HALF, 1, 960}, {IDM_SIZE_FULL, 0, 1920}};
    for (const auto& step : steps) {
        ViewerState.Step = 4;
        Command(step.id);
        SCOPED_TRACE(step.id);
        EXPECT_EQ(ViewerState.ScaleShift, step.shift);
        EXPECT_EQ(FrameImageWidth(), step.width);
        EXPECT_EQ(CheckedSizeItems(), 1 << step.shift);
        EXPECT_EQ(ViewerState.Step, 0);
        ExpectClientFitsPicture(window);
    }

    // Without memory for the new picture, the picture, its scale and the check mark stay.
    ViewerState.FrameImage.Pixels[0] = 42;
    std::vector<uint8_t> picture = PictureBytes();
    testing_hooks::AllocationsBeforeFailure = 0;
    Command(IDM_SIZE_HALF);
    testing_hooks::AllocationsBeforeFailure = -1;
    EXPECT_TRUE(PictureBytes() == picture);
    EXPECT_EQ(ViewerState.ScaleShift, 0);
    EXPECT_EQ(CheckedSizeItems(), 1 << 0);
    ExpectClientFitsPicture(window);
}

TEST_F(CommandsTest, PictureStaysBlackAfterASizeChangeUntilTheNextTick) {
    std::string dir = MakeScratchDir();
    std::vector<uint8_t> frame = MakeYuv10Frame(7);
    WriteBytes(FramePath(dir, 0), frame);
    WriteBytes(FramePath(dir, 1), frame);
    LoadFrame(FramePath(dir, 1));
    ASSERT_EQ(ViewerState.FrameCount, 2);
    ASSERT_TRUE(testing_hooks::ShownErrors.empty());

    // Playing forwards; the size change pauses but keeps the timer, the sequence and
    // LineBuffer.
    PressKey(window, VK_RIGHT);
    ASSERT_EQ(ViewerState.Step, 1);
    uint8_t* line = ViewerState.LineBuffer;
    Command(IDM_SIZE_FULL);
    EXPECT_EQ(ViewerState.Step, 0);
    EXPECT_EQ(ViewerState.FrameCount, 2);
    EXPECT_EQ(ViewerState.LineBuffer, line);
    EXPECT_EQ(FrameImageWidth(), 1920);
    EXPECT_TRUE(PictureIsBlack());

    ASSERT_TRUE(PlaybackTimerIsSet(window));
    Tick(window);
    EXPECT_EQ(ViewerState.CurrentFrame, 1);
    EXPECT_TRUE(PictureBytes() == ExpectedPicture(frame, 0));

    Command(IDM_SIZE_QUARTER);
    EXPECT_TRUE(PictureIsBlack());
    ASSERT_TRUE(PlaybackTimerIsSet(window));
    Tick(window);
    EXPECT_TRUE(PictureBytes() == ExpectedPicture(frame, 2));
    KillTimer(window, PLAYBACK_TIMER_ID);
}

TEST_F(CommandsTest, UnknownCommandOnlyBeepsAndExitClosesTheWindow) {
    ViewerState.Step = 3;
    Command(555);
    Command(0);
    EXPECT_EQ(ViewerState.Step, 3);
    EXPECT_EQ(ViewerState.ScaleShift, 1);
    EXPECT_EQ(CheckedSizeItems(), 1 << 1);
    EXPECT_TRUE(testing_hooks::ShownErrors.empty());
    EXPECT_TRUE(IsWindow(window));

    Command(IDM_EXIT);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(TakeQuitMessage(), 0);
}

TEST_F(CommandsTest, DropLoadsTheFirstFileAndRefusesAPathTooLongForPathBuffer) {
    // Empty frame files decode black: here only which sequence is loaded matters.
    std::string dir = MakeYuv10Sequence(3, 0);
    std::string other = MakeYuv10Sequence(4, 0);
    ViewerState.Step = 5;
    Drop({FramePath(dir, 2), FramePath(other, 0), FramePath(other, 3)});
    EXPECT_TRUE(testing_hooks::ShownErrors.empty());
    EXPECT_EQ(ViewerState.FrameCount, 3);
    EXPECT_EQ(ViewerState.CurrentFrame, 2);
    EXPECT_STREQ(ViewerState.PathBuffer, FramePath(dir, 2).c_str());
    EXPECT_EQ(ViewerState.Step, 0);

    // 300 bytes, and its first 259 bytes name a file that would load: cutting the
    // path short must not quietly open another file.
    std::string longPath = JoinPath(dir, "");
    longPath += std::string(300 - longPath.size(), 'x');
    ASSERT_EQ(longPath.size(), 300u);
    WriteBytes(longPath.substr(0, 259), {});
    Drop({longPath});
    ASSERT_EQ(testing_hooks::ShownErrors.size(), 1u);
    EXPECT_EQ(testing_hooks::ShownErrors[0].text, CANNOT_OPEN);
    EXPECT_EQ(ViewerState.FrameCount, 0);

    // A path of 259 bytes still fits, with its NUL, and loads.
    std::string name = "clip_0001.yuv10";
    std::string sub = JoinPath(dir, "");
    sub = JoinPath(dir, std::string(259 - sub.size() - 1 - name.size(), 'd'));
    MakeDirectory(sub);
    WriteBytes(JoinPath(sub, "clip_0000.yuv10"), {});
    WriteBytes(JoinPath(sub, name), {});
    std::string fitting = JoinPath(sub, name);
    ASSERT_EQ(fitting.size(), 259u);
    Drop({fitting});
    EXPECT_EQ(testing_hooks::ShownErrors.size(), 1u);
    EXPECT_EQ(ViewerState.FrameCount, 2);
    EXPECT_EQ(ViewerState.CurrentFrame, 1);
    EXPECT_STREQ(ViewerState.PathBuffer, fitting.c_str());
}

// The open dialog's file-name box: an edit, or the edit inside the name combo box.
HWND FileNameBox(HWND dialog) {
    const int ids[] = {0x480 /* edt1 */, 0x47C /* cmb13 */};
    for (int id : ids) {
        HWND box = GetDlgItem(dialog, id);
        if (box && IsWindowVisible(box)) return box;
    }
    return NULL;
}

TEST_F(CommandsTest, OpenDialogLoadsTheChosenFileAndCancelLoadsNothing) {
    std::string dir = MakeYuv10Sequence(3, 0);
    std::string chosen = FramePath(dir, 1);

    WorkNextDialog([&](HWND dialog) {
        HWND box = FileNameBox(dialog);
        if (!box) return false;
        SetWindowTextA(box, chosen.c_str());
        PressButton(dialog, IDOK);
        return true;
    });
    ViewerState.Step = 2;
    Command(IDM_OPEN);
    EXPECT_TRUE(testing_hooks::ShownErrors.empty());
    EXPECT_EQ(ViewerState.FrameCount, 3);
    EXPECT_EQ(ViewerState.CurrentFrame, 1);
    EXPECT_STREQ(ViewerState.PathBuffer, chosen.c_str());
    EXPECT_EQ(ViewerState.Step, 0);

    // With its files gone, a load would now fail loudly: a cancel must not try one.
    RemovePath(dir);
    std::string before = ViewerState.PathBuffer;
    ViewerState.Step = 2;
    WorkNextDialog([&](HWND dialog) {
        if (!FileNameBox(dialog)) return false;
        PressButton(dialog, IDCANCEL);
        return true;
    });
    Command(IDM_OPEN);
    EXPECT_TRUE(testing_hooks::ShownErrors.empty());
    EXPECT_EQ(ViewerState.PathBuffer, before);
    EXPECT_EQ(ViewerState.FrameCount, 3);
    EXPECT_EQ(ViewerState.Step, 2);
}

// The about box's controls in creation order.
std::vector<std::wstring> ControlTexts(HWND dialog) {
    std::vector<std::wstring> texts;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t text[64] = {};
        GetWindowTextW(c, text, 64);
        texts.push_back(text);
    }
    return texts;
}

TEST_F(CommandsTest, AboutBoxShowsTheKeyHelpAndClosesByOkAndEscape) {
    std::vector<std::wstring> texts;
    wchar_t caption[16] = {};
    POINT boxOrigin = {-1, -1}, mainOrigin = {0, 0};
    ClientToScreen(window, &mainOrigin);
    WorkNextDialog([&](HWND dialog) {
        texts = ControlTexts(dialog);
        GetWindowTextW(dialog, caption, 16);
        boxOrigin = {0, 0};
        ClientToScreen(dialog, &boxOrigin);
        PressButton(dialog, IDOK);
        return true;
    });
    Command(IDM_ABOUT);  // returns only once the box has ended
    EXPECT_STREQ(caption, L"About");
    ASSERT_EQ(texts.size(), 9u);
    EXPECT_EQ(texts[0], L"Sorrelmark");
    EXPECT_FALSE(texts[1].empty());
    EXPECT_EQ(texts[3], L"キー操作");
    EXPECT_EQ(texts[4], L"  [→]: 移動量増加");
    EXPECT_EQ(texts[5], L"  [←]: 移動量減少");
    EXPECT_EQ(texts[6], L"   [Q]: プログラム終了");
    EXPECT_EQ(texts[7], L"その他: 停止 (移動量0)");
    EXPECT_EQ(texts[8], L"OK");
    // Not centred: the box's client area starts at the main window's client origin.
    EXPECT_EQ(boxOrigin.x, mainOrigin.x);
    EXPECT_EQ(boxOrigin.y, mainOrigin.y);

    // Escape reaches the box through its own dialog loop as IDCANCEL.
    WorkNextDialog([](HWND dialog) {
        PostMessageA(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
        return true;
    });
    EXPECT_EQ(DialogBoxParamA(GetModuleHandleA(NULL), "ABOUTDLG", window, AboutDialogProc, 0), 0);
    EXPECT_EQ(ThreadDialog(), nullptr);
}


// ---- the command-line tail: one path, quoted or not, that must fit PathBuffer

TEST(CommandLine, QuotedBareTooLongAndEmptyPaths) {
    std::string frame = FramePath(MakeYuv10Sequence(10, 5120), 6);
    const std::string spaced = "C:\\a b\\clip_0001.yuv10", fits(259, 'a'), tooLong(260, 'a');
    struct Case {
        std::string tail;
        int result;
        std::string taken;  // PathBuffer afterwards
    } const cases[] = {
        {frame, 0, frame},
        {"\"" + frame + "\"", 0, frame},
        {"\"" + spaced + "\" more", 0, spaced},  // the closing quote ends the path
        {"\"" + spaced, 0, spaced},              // or the end of the tail does
        {spaced + " more", 0, spaced + " more"},
        {fits, 0, fits},
        {"\"" + fits + "\"", 0, fits},
        {tooLong, -1, ""},
        {"\"" + tooLong + "\"", -1, ""},
        {"\"" + tooLong, -1, ""},
        {"\"", -1, ""},
        {"\"\"", -1, ""},
        {std::string(5000, 'b'), -1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tail.substr(0, 40) + " of " + std::to_string(c.tail.size()));
        FreshViewerState(1);
        strcpy(ViewerState.PathBuffer, "left over");
        EXPECT_EQ(TakeCommandLinePath(c.tail.c_str()), c.result);
        EXPECT_EQ(ViewerState.PathBuffer, c.taken);
        if (c.taken == frame) {
            LoadSequence();
            EXPECT_TRUE(testing_hooks::ShownErrors.empty());
            EXPECT_EQ(ViewerState.CurrentFrame, 6);
            EXPECT_EQ(ViewerState.FrameCount, 10);
        } else if (c.result != 0) {
            // The load that follows reports it and the viewer starts with nothing.
            LoadSequence();
            ASSERT_EQ(testing_hooks::ShownErrors.size(), 1u);
            EXPECT_EQ(testing_hooks::ShownErrors[0].text, "ファイルをオープンできません!");
            EXPECT_EQ(ViewerState.FrameCount, 0);
        }
    }
}

// ---- the menu resource, and the language every resource is tagged with

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
