// Keyboard playback: the arrows set a step of -10..+10 frames, a 33 ms timer applies it.
#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "ui/ui.h"

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
    if (v.FrameCount == 0) {
        v.Step = 0;
        KillTimer(window, PLAYBACK_TIMER_ID);
    } else if (v.Step != 0) {
        SetTimer(window, PLAYBACK_TIMER_ID, PLAYBACK_PERIOD_MS, NULL);
    } else {
        KillTimer(window, PLAYBACK_TIMER_ID);
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

// A frame that fails to decode leaves the previous picture; playback is silent.
void OnTimer(HWND window) {
    AdvanceCurrentFrame();
    ReadCurrentFrame();
    Repaint(window);
}
