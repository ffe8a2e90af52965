// The command-line tail: one path, quoted or not, that must fit PathBuffer.
#include <string.h>

#include <string>

#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "tests/ui/window_fixture.h"
#include "tests/unit/test_support.h"

namespace {

TEST(CommandLine, QuotedAndBarePathsNameTheSameFrame) {
    FreshViewerState(1);
    std::string dir = MakeYuv10Sequence(10, 5120);
    std::string path = FramePath(dir, 6);

    ASSERT_EQ(TakeCommandLinePath(path.c_str()), 0);
    EXPECT_STREQ(ViewerState.PathBuffer, path.c_str());
    LoadSequence();
    EXPECT_EQ(ViewerState.CurrentFrame, 6);

    FreshViewerState(1);
    std::string quoted = "\"" + path + "\"";
    ASSERT_EQ(TakeCommandLinePath(quoted.c_str()), 0);
    EXPECT_STREQ(ViewerState.PathBuffer, path.c_str());
    LoadSequence();
    EXPECT_EQ(ViewerState.CurrentFrame, 6);
    EXPECT_EQ(ViewerState.FrameCount, 10);
    EXPECT_TRUE(testing_hooks::ShownErrors.empty());
}

TEST(CommandLine, QuotesEndThePathOrTheTailDoes) {
    FreshViewerState(1);
    EXPECT_EQ(TakeCommandLinePath("\"C:\\a b\\clip_0001.yuv10\" more"), 0);
    EXPECT_STREQ(ViewerState.PathBuffer, "C:\\a b\\clip_0001.yuv10");
    EXPECT_EQ(TakeCommandLinePath("\"C:\\a b\\clip_0001.yuv10"), 0);
    EXPECT_STREQ(ViewerState.PathBuffer, "C:\\a b\\clip_0001.yuv10");
    EXPECT_EQ(TakeCommandLinePath("C:\\a b\\clip_0001.yuv10 more"), 0);
    EXPECT_STREQ(ViewerState.PathBuffer, "C:\\a b\\clip_0001.yuv10 more");
}

TEST(CommandLine, APathThatDoesNotFitOrIsEmptyLeavesNothingToLoad) {
    std::string fits(259, 'a'), tooLong(260, 'a');
    struct Case {
        std::string tail;
        int result;
        size_t taken;
    } cases[] = {{fits, 0, 259},         {"\"" + fits + "\"", 0, 259},
                 {tooLong, -1, 0},       {"\"" + tooLong + "\"", -1, 0},
                 {"\"" + tooLong, -1, 0}, {"\"", -1, 0},
                 {"\"\"", -1, 0},         {std::string(5000, 'b'), -1, 0}};
    for (const Case& c : cases) {
        FreshViewerState(1);
        strcpy(ViewerState.PathBuffer, "left over");
        EXPECT_EQ(TakeCommandLinePath(c.tail.c_str()), c.result) << c.tail.size();
        EXPECT_EQ(strlen(ViewerState.PathBuffer), c.taken) << c.tail.size();
        if (c.result != 0) {
            // The load that follows reports it and the viewer starts with nothing.
            LoadSequence();
            ASSERT_EQ(testing_hooks::ShownErrors.size(), 1u);
            EXPECT_EQ(testing_hooks::ShownErrors[0].text, "ファイルをオープンできません!");
            EXPECT_EQ(ViewerState.FrameCount, 0);
        }
    }
}

}  // namespace
