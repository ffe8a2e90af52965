// Keyboard playback: the arrows set a step of -10..+10 frames, a 33 ms timer applies it.
#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "ui/ui.h"

#include <mmsystem.h>

// The window whose playback timer runs, if any. A running timer is left as it is: setting
// it again restarts its period, and Windows repeats a held key about every 33 ms, so the
// picture would stand still for as long as an arrow is held.
static HWND Playing;

// A window timer fires on a tick of the system clock, every 15.6 ms unless a program asks
// for more: the 33 ms period would become three ticks (21 frames a second). The request is
// held only while the timer runs: before Windows 10 2004 it sets the rate of the whole
// system and keeps the processor from saving power.
static void StartPlayback(HWND window) {
    SetTimer(window, PLAYBACK_TIMER_ID, PLAYBACK_PERIOD_MS, NULL);
    timeBeginPeriod(1);
    Playing = window;
}

void StopPlayback(HWND window) {
    KillTimer(window, PLAYBACK_TIMER_ID);
    if (Playing) timeEndPeriod(1);
    Playing = NULL;
}

void OnKeyDown(HWND window, WPARAM key) {
    ViewerStateData& v = ViewerState;
    if (key == 'Q') {
        PostQuitMessage(0);
        return;
    }
    if (key == VK_LEFT) {
        if (v.Step > -STEP_LIMIT) --v.Step;
    } else if (key == VK_RIGHT) {
        if (v.Step < STEP_LIMIT) ++v.Step;
    } else {
        v.Step = 0;
    }
    if (v.FrameCount == 0) v.Step = 0;  // nothing to play
    if (v.Step == 0) {
        StopPlayback(window);
    } else if (Playing != window) {
        StartPlayback(window);
    }
    SetStepText();
}

// Passing an end jumps to the other end. With nothing loaded there is no range to walk,
// so the index stays where the failed load left it instead of going negative.
static void AdvanceCurrentFrame() {
    ViewerStateData& v = ViewerState;
    if (v.FrameCount <= 0) return;
    v.CurrentFrame += v.Step;
    if (v.CurrentFrame < 0) v.CurrentFrame = v.FrameCount - 1;
    if (v.CurrentFrame >= v.FrameCount) v.CurrentFrame = 0;
}

// A frame that fails to decode leaves the previous picture; playback is silent. Nothing
// is read for a picture nobody sees: a minimised window stays on its frame until restored.
void OnTimer(HWND window) {
    if (IsIconic(window)) return;
    AdvanceCurrentFrame();
    ReadCurrentFrame();
    Repaint(window);
}
