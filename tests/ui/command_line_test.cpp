// The command-line tail: one path, quoted or not, that must fit PathBuffer.
#include <string.h>

#include <string>

#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "tests/ui/window_fixture.h"
#include "tests/unit/test_support.h"

namespace {

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

}  // namespace
