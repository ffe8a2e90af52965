// Keyboard playback: the arrows set a step of -10..+10 frames, a 33 ms timer applies it.
#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "ui/ui.h"

// The window whose playback timer runs, if any. A running timer is left as it is: setting
// it again restarts its period, and Windows repeats a held key about every 33 ms, so the
// picture would stand still for as long as an arrow is held.
static HWND Playing;

static void StopPlayback(HWND window) {
    KillTimer(window, PLAYBACK_TIMER_ID);
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
        SetTimer(window, PLAYBACK_TIMER_ID, PLAYBACK_PERIOD_MS, NULL);
        Playing = window;
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
