// The real main window, driven with real messages; each test checks what it then shows.
#include "ui/ui.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include "res/resource.h"
#include "tests/support.h"
#include "tools/frame_pattern.h"

using Ints = std::vector<long>;
static HWND W;
static int Beeps;  // MessageBeep is counted, not sounded (the import slots below)
static BOOL WINAPI CountBeep(UINT) { return ++Beeps; }
// Milliseconds of timer resolution asked for and not given back (the results are not read).
static UINT Held;
static UINT WINAPI BeginPeriod(UINT ms) { return Held += ms; }
static UINT WINAPI EndPeriod(UINT ms) { return Held -= ms; }

// The open dialog as Windows runs it when it fails at once (an initial name that is not
// a valid one, a chosen one too long): with Refusal set, the next call fails with that
// error. Every initial name is kept in OpenNames.
static DWORD Refusal, OpenError;
static std::string OpenNames;
static BOOL WINAPI TryOpen(LPOPENFILENAMEA o) {
    OpenNames += o->lpstrFile + std::string("|");
    OpenError = std::exchange(Refusal, 0);
    FARPROC open = GetProcAddress(LoadLibraryA("comdlg32"), "GetOpenFileNameA");
    return !OpenError && ((BOOL(WINAPI*)(LPOPENFILENAMEA))(void*)open)(o);
}
static DWORD WINAPI OpenFailure() { return OpenError; }
// These import slots stand in for USER32's, WINMM's and COMDLG32's.
#ifdef _WIN64
#define IMPORT(name, argumentBytes) asm("__imp_" #name)
#else
#define IMPORT(name, argumentBytes) asm("__imp__" #name "@" #argumentBytes)
#endif
BOOL(WINAPI* BeepSlot)(UINT) IMPORT(MessageBeep, 4) = CountBeep;
UINT(WINAPI* BeginSlot)(UINT) IMPORT(timeBeginPeriod, 4) = BeginPeriod;
UINT(WINAPI* EndSlot)(UINT) IMPORT(timeEndPeriod, 4) = EndPeriod;
BOOL(WINAPI* OpenSlot)(LPOPENFILENAMEA) IMPORT(GetOpenFileNameA, 4) = TryOpen;
DWORD(WINAPI* FailureSlot)() IMPORT(CommDlgExtendedError, 0) = OpenFailure;

static const std::string CANNOT_OPEN = "Error: ファイルをオープンできません!";
static const std::string INVALID = "Error: 不正なファイルです!";
#ifndef _WIN64
// 32-bit Windows enters window procedures with the stack aligned to 4 bytes only (Wine to
// 16): each message reaches the procedure 4, 8 or 12 bytes off 16-byte alignment in turn.
static LRESULT Call(UINT m, WPARAM a, LPARAM b) {
    static unsigned sent = 0;
    // The call's four arguments, how far off, then the result.
    uintptr_t c[] = {(uintptr_t)W, m, a, (uintptr_t)b, 4 + 4 * (sent++ % 3), 0};
    __asm__ volatile(
        "mov %%esp, %%esi\n\tand $-16, %%esp\n\tsub 16(%%edi), %%esp\n\t"
        "push 12(%%edi)\n\tpush 8(%%edi)\n\tpush 4(%%edi)\n\tpush (%%edi)\n\t"
        "call *%1\n\tmov %%eax, 20(%%edi)\n\tmov %%esi, %%esp"
        :
        : "D"(c), "r"(MainWindowProc)
        : "eax", "ecx", "edx", "esi", "memory", "cc");
    return (LRESULT)c[5];
}
#else
static LRESULT Call(UINT m, WPARAM a, LPARAM b) { return SendMessageA(W, m, a, b); }
#endif
static void Send(UINT m, WPARAM a, LPARAM b = 0) { EXPECT_EQ(Call(m, a, b), 0) << m; }
static void Keys(WPARAM key, int times = 1) {
    while (times--) Send(WM_KEYDOWN, key, 1);
}
static HWND Bar() { return (HWND)ViewerState.StatusBarWindow; }
static std::string Text(int i) {
    char t[300] = {};
    SendMessageA(Bar(), SB_GETTEXTA, i, (LPARAM)t);
    return t;
}
static std::string Texts() { return Text(0) + "|" + Text(1) + "|" + Text(2); }
static long TimerSet() { return KillTimer(W, 1) && SetTimer(W, 1, PLAYBACK_PERIOD_MS, NULL); }
// The step text, whether the timer runs and the quit code posted (-1: none). The 1 ms timer
// resolution is held, once, exactly while the timer runs.
static std::string Playback() {
    MSG m;
    long quit = PeekMessageA(&m, 0, WM_QUIT, WM_QUIT, PM_REMOVE) ? (long)m.wParam : -1;
    long timer = TimerSet();
    EXPECT_EQ(Held, (UINT)timer) << "ms of timer resolution held";
    return Text(2) + " " + std::to_string(timer) + " " + std::to_string(quit);
}
static Bytes Black() { return Bytes(FrameImageWidth() * FrameImageHeight() * 4); }
static long Checked(int i) { return GetMenuState(GetMenu(W), IDM_SIZE_FULL + i, 0) & MF_CHECKED; }
// The checked size items, full size in bit 0.
static long Checked() { return !!Checked(0) + 2 * !!Checked(1) + 4 * !!Checked(2); }
// The status bar's rectangle in the client area.
static RECT BarRect() {
    RECT b;
    GetWindowRect(Bar(), &b);
    MapWindowPoints(NULL, W, (POINT*)&b, 2);
    return b;
}
// How far the window reaches past the work area, and the status bar's right and bottom edges
// are from the client area's; how many pixels each part lacks for its widest text, which the
// bar draws 3 pixels in between sunken edges of 1 (the last part beside the size grip, the
// name part a few characters); at 96 dots per inch how far the parts' edges are from w - 200
// and w - 100; then the client area from the picture's size, unless the window is as big as
// the work area.
static Ints Misfit(bool picture = true) {
    HDC dc = GetDC(Bar());
    SelectObject(dc, (HGDIOBJ)SendMessageA(Bar(), WM_GETFONT, 0, 0));
    RECT c, b = BarRect(), w, work, part;
    int e[3] = {};
    GetClientRect(W, &c);
    GetWindowRect(W, &w);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SendMessageA(Bar(), SB_GETPARTS, 3, (LPARAM)e);
    bool unscaled = GetDeviceCaps(dc, LOGPIXELSX) == 96;
    Ints m = {std::max({work.left - w.left, work.top - w.top, w.right - work.right,
                        w.bottom - work.bottom, 0L}),
              b.right - c.right, b.bottom - c.bottom, unscaled ? e[0] - c.right + 200 : 0,
              unscaled ? e[1] - c.right + 100 : 0};
    const std::string widest[] = {"cli", "Frame: 998/1000", "Step: +10"};
    for (int i = 0; i < 3; ++i) {
        SIZE text;
        GetTextExtentPoint32A(dc, widest[i].c_str(), (int)widest[i].size(), &text);
        SendMessageA(Bar(), SB_GETRECT, i, (LPARAM)&part);
        long needs = text.cx + 5 + (i == 2 ? GetSystemMetrics(SM_CXVSCROLL) : 0);
        m.push_back(std::max(needs - (part.right - part.left), 0L));
    }
    ReleaseDC(Bar(), dc);
    if (picture)
        m.insert(m.end(),
                 {w.right - w.left == work.right - work.left ? 0 : c.right - FrameImageWidth(),
                  w.bottom - w.top == work.bottom - work.top ? 0 : b.top - FrameImageHeight()});
    return m;
}
// The client area's top-left w x h pixels, bottom row first as in the frame image.
static Bytes Screen(int w, int h, HWND window = W) {
    BITMAPINFOHEADER info = {sizeof info, w, h, 1, 32, 0, 0, 0, 0, 0, 0};
    void* bits;
    HDC dc = GetDC(window);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateDIBSection(dc, (BITMAPINFO*)&info, 0, &bits, NULL, 0);
    SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, dc, 0, 0, SRCCOPY);
    Bytes screen((uint8_t*)bits, (uint8_t*)bits + (size_t)w * h * 4);
    DeleteDC(mem);
    DeleteObject(bmp);
    ReleaseDC(window, dc);
    return screen;
}
// The frame image holds exactly this picture, and the client area shows it one to one from
// the top-left corner, as far as it reaches above the status bar.
static void ExpectShows(const Bytes& picture) {
    RECT bar = BarRect();  // as wide as the client area
    long width = std::min<long>(bar.right, FrameImageWidth()), row = FrameImageWidth() * 4;
    long rows = std::min<long>(bar.top, FrameImageHeight());
    Bytes top;
    for (auto r = picture.end() - rows * row; r < picture.end(); r += row)
        top.insert(top.end(), r, r + width * 4);
    EXPECT_TRUE(Picture() == picture && Screen(width, rows) == top);
}

// clip_NNNN.ext: frame n with four digits.
static std::string Name(int n, std::string ext = "yuv10") {
    return "clip_" + std::to_string(10000 + n).substr(1) + "." + ext;
}
static Bytes Rows(int n) { return Bytes(2 * 5120, (uint8_t)n); }  // byte n: a half-size top row
static std::string Seq(int count, std::function<Bytes(int)> bytes = Rows,
                       const char* ext = "yuv10") {
    std::string dir = ScratchDir();
    for (int n = 0; n < count; ++n) WriteBytes(Join(dir, Name(n, ext)), bytes(n));
    return dir;
}
// The 8.3 short name of an existing file ("C:\\TEMP\\CLIP~ZGK.YUV").
static std::string ShortName(const std::string& path) {
    char name[MAX_PATH];
    return GetShortPathNameA(path.c_str(), name, MAX_PATH) ? name : "";
}
static WPARAM DropHandle(const std::vector<std::string>& paths) {
    std::string block = '\x14' + std::string(sizeof(DROPFILES) - 1, '\0');  // ANSI names after it
    for (const std::string& p : paths) block += p + '\0';
    HGLOBAL g = GlobalAlloc(GHND, block.size() + 1);
    memcpy(GlobalLock(g), block.data(), block.size());
    GlobalUnlock(g);
    return (WPARAM)g;
}
static void Drop(const std::vector<std::string>& paths) { Send(WM_DROPFILES, DropHandle(paths)); }

// Modal dialogs are worked from a thread timer, whose callback runs in their own loop.
static std::function<void(HWND)> DialogAct;
static int DialogTicks;
static void CALLBACK DriveDialog(HWND, UINT, UINT_PTR, DWORD) {
    HWND d = FindWindowA("#32770", NULL);
    if (d && DialogTicks++ == 4) DialogAct(d);  // settled by then, its controls all there
    if (d && DialogTicks == 100) {
        EndDialog(d, 0);
        ADD_FAILURE() << "the dialog stayed open";
    }
}
static void Modal(WORD command, std::function<void(HWND)> act) {
    DialogAct = act;
    DialogTicks = 0;
    UINT_PTR timer = SetTimer(NULL, 0, 50, DriveDialog);
    Send(WM_COMMAND, command);
    KillTimer(NULL, timer);
    EXPECT_GT(DialogTicks, 4) << "no dialog";
}

class Window : public ::testing::Test {
    void SetUp() override {
        Fresh(1);
        Beeps = 0;
        static ATOM registered = [] {
            DeclareDpiAware();  // as the program does first
            return RegisterMainWindowClass(GetModuleHandleA(NULL));
        }();
        ASSERT_TRUE(registered && (W = CreateMainWindow(GetModuleHandleA(NULL))));
        ShowWindow(W, SW_SHOWNORMAL);
        UpdateWindow(W);
    }
    // Left on screen: without a window manager Wine takes two seconds to take one off.
    void TearDown() override {
        Keys(VK_SPACE);
        Playback();
    }
};

TEST_F(Window, StartsEmptyAndBlackKeysDoNothingUnknownCommandsBeepAboutClosesAndExitEnds) {
    ExpectShows(Black());
    EXPECT_EQ(ImmGetContext(W), nullptr);  // keys reach it as themselves, input method or not
    Keys(VK_RIGHT);
    EXPECT_EQ(Misfit(), Ints(10, 0));
    EXPECT_EQ(Ints({FrameImageWidth(), Checked(), TimerSet()}), Ints({960, 2, 0}));
    for (WORD id : {0, 555, IDM_SIZE_QUARTER + 1}) Send(WM_COMMAND, id);
    EXPECT_EQ(Texts(), "|Frame: 0/0|Step: 0");
    EXPECT_EQ(Ints({Beeps, Checked()}), Ints({3, 2}));
    for (UINT message : {BM_CLICK, WM_KEYDOWN})  // the about box closes by OK, then by Escape
        Modal(IDM_ABOUT, [&](HWND d) { PostMessageA(GetDlgItem(d, IDOK), message, VK_ESCAPE, 0); });
    EXPECT_EQ(Playback(), "Step: 0 0 -1");
    Send(WM_COMMAND, IDM_EXIT);
    EXPECT_EQ(IsWindow(W), FALSE);
    EXPECT_EQ(Playback(), " 0 0");  // the status bar gone with the window, quit code 0
}

TEST_F(Window, ArrowsStepOtherKeysPauseQQuitsTicksWrapAHeldKeyPlaysMinimisedReadsNothing) {
    std::string dir = Seq(300);
    Drop({Join(dir, Name(100))});
    const std::tuple<WPARAM, int, const char*> presses[] = {
        {VK_RIGHT, 11, "Step: +10 1 -1"}, {VK_LEFT, 21, "Step: -10 1 -1"},
        {VK_RIGHT, 13, "Step: +3 1 -1"},  {VK_SPACE, 1, "Step: 0 0 -1"},
        {VK_LEFT, 1, "Step: -1 1 -1"},    {VK_RIGHT, 1, "Step: 0 0 -1"},
        {VK_RIGHT, 1, "Step: +1 1 -1"},   {'Q', 1, "Step: +1 1 0"}};
    for (auto [key, times, playback] : presses) {
        Keys(key, times);
        EXPECT_EQ(Playback(), playback);
    }
    // From frame t[0] at step t[1] a tick shows frame t[2]: passing an end jumps to the other.
    const int ticks[][3] = {{295, 10, 0},   {5, -10, 299}, {0, -1, 299}, {299, 1, 0},
                            {289, 10, 299}, {7, 3, 10},    {10, -10, 0}};
    for (const int* t : ticks) {
        Drop({Join(dir, Name(t[0]))});
        Keys(t[1] > 0 ? VK_RIGHT : VK_LEFT, abs(t[1]));
        Send(WM_TIMER, 1);
        EXPECT_EQ(Text(0) + " " + Text(1), Name(t[2]) + " Frame: " + std::to_string(t[2]) + "/300");
        ExpectShows(Yuv10Picture(Rows(t[2]), 1));
    }
    // Windows repeats a held key about every 33 ms (here every 20 ms): the ticks keep coming.
    // Minimised, a tick reads nothing and keeps the frame; restored, playback goes on.
    Keys(VK_SPACE);
    int timerTicks = 0;
    for (int repeat = 0; repeat < 25; ++repeat) {
        Keys(VK_RIGHT);
        MSG m;
        for (DWORD until = GetTickCount() + 20; GetTickCount() < until;) {
            if (!PeekMessageA(&m, W, 0, 0, PM_REMOVE)) continue;
            timerTicks += m.message == WM_TIMER;
            DispatchMessageA(&m);
        }
    }
    EXPECT_GT(timerTicks, 7);  // one every 33 ms: about 15
    std::string shown = Texts();
    Bytes picture = Picture();
    ShowWindow(W, SW_MINIMIZE);
    hooks::ReadsLeft = 0;  // a read would fail and black the picture
    Send(WM_TIMER, 1);
    ShowWindow(W, SW_RESTORE);
    UpdateWindow(W);
    EXPECT_EQ(Texts(), shown);
    ExpectShows(picture);
    hooks::ReadsLeft = -1;
    Send(WM_TIMER, 1);
    EXPECT_NE(Texts(), shown);
    Drop({Join(ScratchDir(), Name(1))});  // paused, the timer left running; then nothing to step
    EXPECT_EQ(Playback(), "Step: 0 1 -1");
    Keys(VK_RIGHT);
    EXPECT_EQ(Playback(), "Step: 0 0 -1");
}

// A window that fits the work area stays where it is; one that reaches past it is moved in,
// and cut to it where it is bigger (full size on a 1080-line screen). The picture never
// covers the status bar, which lies over it in a window too small for it.
TEST_F(Window, SizeCommandsRefitInTheWorkAreaShowTheFrameFromTheNextTickAndDragsAddGreyOrHideRows) {
    Bytes frame = MakeYuv10Frame(7);
    Drop({Join(Seq(2, [&](int) { return frame; }), Name(1))});
    Keys(VK_RIGHT);
    RECT moved, w;
    SetWindowPos(W, NULL, 1800, 1000, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // full size won't fit
    for (int shift : {0, 2, 2, 1}) {
        Send(WM_COMMAND, IDM_SIZE_FULL + shift);
        if (shift == 0) GetWindowRect(W, &moved);
        EXPECT_EQ(Misfit(), Ints(10, 0));
        EXPECT_EQ(Ints({Checked(), TimerSet()}), Ints({1 << shift, 1}));
        ExpectShows(Black());
        Send(WM_TIMER, 1);
        EXPECT_EQ(Texts(), "clip_0001.yuv10|Frame: 1/2|Step: 0");
        ExpectShows(Yuv10Picture(frame, shift));
        hooks::AllocsLeft = 0;  // no memory for another size: all stays as it is
        Send(WM_COMMAND, IDM_SIZE_FULL + (shift + 1) % 3);
        EXPECT_EQ(Checked(), 1 << shift);
        ExpectShows(Yuv10Picture(frame, shift));
    }
    GetWindowRect(W, &w);
    EXPECT_EQ(Ints({w.left, w.top}), Ints({moved.left, moved.top}));
    SetWindowPos(W, NULL, 0, 0, 1400, 900, SWP_NOMOVE | SWP_NOZORDER);  // dragged wider
    UpdateWindow(W);
    EXPECT_EQ(Misfit(false), Ints(8, 0));
    Bytes area = Screen(1200, 600);  // (960, 100) and (100, 540) from the top left are grey
    for (size_t at : {(499 * 1200 + 960) * 4, (59 * 1200 + 100) * 4})
        EXPECT_EQ(Bytes(&area[at], &area[at + 3]), Bytes(3, 128));
    SetWindowPos(W, NULL, 0, 0, 600, 400, SWP_NOMOVE | SWP_NOZORDER);  // dragged smaller
    UpdateWindow(W);
    RECT b = BarRect();
    Bytes bar = Screen(b.right - b.left, b.bottom - b.top, Bar());
    InvalidateRect(W, NULL, FALSE);
    Send(WM_PAINT, 0);
    EXPECT_TRUE(Screen(b.right - b.left, b.bottom - b.top, Bar()) == bar);
    ExpectShows(Yuv10Picture(frame, 1));
}

// A failed load shows one box and keeps the picture, and the frame number too when nothing
// was listed; a tick then changes nothing. The listing's own failures are the scan's.
TEST_F(Window, DropLoadsTheFirstFileAndAFailedLoadShowsOneBoxAndKeepsThePicture) {
    std::string dir = Seq(3), other = Seq(4), tiff = Seq(2, Rows, "tif");
    std::string sub = Join(dir, std::string(300, 'd')).substr(0, 259 - 1 - Name(1).size()),
                fits = Join(sub, Name(1));
    std::vector<std::string> three = {ShortName(Join(dir, Name(2))), Join(other, Name(0)),
                                      Join(other, Name(3))};
    CreateDirectoryA(sub.c_str(), NULL);
    WriteBytes(Join(sub, Name(0)), {});
    WriteBytes(fits, {});
    WriteBytes(Join(tiff, Name(2, "tif")), {'M', 'M', 0, 42, 0, 0, 0, 8});  // big-endian
    CreateDirectoryA(Join(tiff, Name(3, "tif")).c_str(), NULL);
    const std::tuple<std::vector<std::string>, const char*, std::string> cases[] = {
        {three, "clip_0002.yuv10|Frame: 2/3", ""},
        {{fits + "x"}, "|Frame: 2/0", CANNOT_OPEN},  // 260 bytes: cut, it would load
        {{Join(ScratchDir(), Name(5))}, "clip_0005.yuv10|Frame: 2/0", CANNOT_OPEN},
        {{Join(tiff, Name(2, "tif"))}, "clip_0002.tif|Frame: 2/0", INVALID},
        {{Join(tiff, Name(3, "tif"))}, "clip_0003.tif|Frame: 3/0", INVALID},  // a directory
        {{fits}, "clip_0001.yuv10|Frame: 1/2", ""}};
    for (const auto& [drop, texts, box] : cases) {
        Bytes before = Picture();
        hooks::Errors.clear();
        Drop(drop);
        Send(WM_TIMER, 1);
        EXPECT_EQ(Texts(), texts + std::string("|Step: 0"));
        EXPECT_EQ(hooks::Errors, std::vector<std::string>(box.empty() ? 0 : 1, box));
        if (!box.empty()) ExpectShows(before);
    }
}

// The current directory stays where it was: the dialog moves it to the folder it went to.
TEST_F(Window, OpenDialogLoadsTheChosenFileAndCancelLoadsNothing) {
    std::string dir = Seq(3), here = ScratchDir();
    SetCurrentDirectoryA(here.c_str());
    strcpy(ViewerState.PathBuffer, "\"a\" \"b\"");  // what dropping two files onto the exe leaves
    Refusal = FNERR_INVALIDFILENAME;
    for (int button : {IDOK, IDCANCEL}) {
        Modal(IDM_OPEN, [&](HWND d) {
            SetDlgItemTextA(d, 0x47C /* cmb13: the file name */, Join(dir, Name(1)).c_str());
            PostMessageA(d, WM_COMMAND, button, 0);
        });
        EXPECT_EQ(Texts(), "clip_0001.yuv10|Frame: 1/3|Step: 0");
        EXPECT_TRUE(hooks::Errors.empty());
        char cwd[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, cwd);
        EXPECT_EQ(cwd, here) << button;
        for (int n = 0; n < 3; ++n) DeleteFileA(Join(dir, Name(n)).c_str());  // now a load fails
    }
    EXPECT_EQ(OpenNames, "\"a\" \"b\"||" + Join(dir, Name(1)) + "|");  // refused, then empty
    Refusal = FNERR_BUFFERTOOSMALL;  // the chosen path does not fit: cannot open, no name shown
    Send(WM_COMMAND, IDM_OPEN);
    EXPECT_EQ(Texts(), "|Frame: 1/0|Step: 0");
    EXPECT_EQ(hooks::Errors, std::vector<std::string>{CANNOT_OPEN});
}

// A whole command line: the full path it names, "" when it names none or one whose full
// path does not fit.
TEST(CommandLine, TheTailNamesOnePathQuotedOrBareMadeAbsoluteThatFits) {
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    const std::string p = "C:\\a b\\clip_0001.yuv10", fits = "C:\\" + std::string(256, 'a'),
                      q = "\"", v = "v.exe ", here = cwd + std::string("\\");
    const std::vector<std::string> cases[] = {
        {v + q + p + q + " more", p},
        {v + q + p, p},
        {v + p + " more", p + " more"},
        {v + fits, fits},
        {v + fits + "a", ""},
        {v + std::string(260 - here.size(), 'a'), ""},  // fits only before it is made absolute
        {v + q + q, ""},
        {"v.exe", ""},
        {q + p + q + " \t " + p, p},
        {"v.exe\t" + p, p},
        {q + p, ""},
        {"\x83\x5c.exe x", here + "x"},
        {v + "\x91\x66\x8D\xDE_1.yuv10", here + "\x91\x66\x8D\xDE_1.yuv10"}};
    for (const auto& c : cases) {
        strcpy(ViewerState.PathBuffer, "left over");
        const char* tail = CommandLineTail(c[0].c_str());
        EXPECT_EQ(TakeCommandLinePath(tail), c[1].empty() ? -1 : 0) << c[0];
        EXPECT_EQ(ViewerState.PathBuffer, c[1]) << c[0];
    }
    // An 8.3 short name, as a batch file's %~s1 passes it, finds the sequence.
    Fresh(1);
    EXPECT_EQ(TakeCommandLinePath(ShortName(Join(Seq(3), Name(1))).c_str()), 0);
    LoadSequence();
    EXPECT_EQ(ViewerState.NamePart + std::to_string(ViewerState.FrameCount), Name(1) + "3");
}

// A frame that a renderer holds open for writing (shared as the C runtime's fopen shares it)
// is read; while the viewer reads one, it can be written, renamed and deleted.
TEST(Frames, AreSharedWithTheProgramsThatWriteThem) {
    std::string path = Join(Seq(1), Name(0)), renamed = path + ".x";
    FILE* renderer = fopen(path.c_str(), "r+b");
    PlatFile reading = PlatOpenFile(path.c_str());
    EXPECT_TRUE(reading && fclose(renderer) == 0 && (renderer = fopen(path.c_str(), "r+b")));
    EXPECT_TRUE(renderer && fclose(renderer) == 0 && MoveFileA(path.c_str(), renamed.c_str()) &&
                DeleteFileA(renamed.c_str()));
    PlatCloseFile(reading);
}
