// The real main window for the UI tests: created by CreateMainWindow in this process and
// driven with real messages, with a fresh viewer state for every test.
#pragma once
#include "ui/ui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// One window serves the tests in turn (Wine takes about two seconds to take a window
// off the screen); a test that destroys it gets a new one for the next test.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    static void TearDownTestSuite();
    HWND window = nullptr;
};

// count frame files clip_0000.yuv10 ... in a new scratch directory, each of `bytes`
// bytes (rows a short file lacks decode black); returns the directory.
std::string MakeYuv10Sequence(int count, size_t bytes);
// The path of frame n of such a sequence.
std::string FramePath(const std::string& dir, int n);
// PathBuffer <- the path, then LoadSequence, as the open command does.
void LoadFrame(const std::string& path);

// The client area is the picture exactly, with the status bar just below it.
void ExpectClientFitsPicture(HWND window);
// A copy of the frame image's bytes.
std::vector<uint8_t> PictureBytes();

void PressKey(HWND window, WPARAM key);
void Tick(HWND window);
std::string StatusText(int part);
// Whether the playback timer is set; leaves it as it was.
bool PlaybackTimerIsSet(HWND window);
// Takes a pending quit message off the queue: its exit code, or -1 when there was none.
int TakeQuitMessage();
