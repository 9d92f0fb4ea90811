// SPDX-License-Identifier: Zlib
// The headless host plays the committed replays with no display at all (no
// window system to start) and its graphics device, told by the host that
// there is no context, makes no OpenGL call, while the game renders every
// recorded frame.
#include <gtest/gtest.h>

#include "tests/support/process.h"

namespace {

using testsupport::ReadFile;
using testsupport::RunProcess;

TEST(HeadlessHost, CommittedReplaysEndAsRecordedWithoutADisplayOrOpenGL) {
    for (const char* name : {"mode1-rescue", "mode2-fight", "mode3-dive"}) {
        SCOPED_TRACE(name);
        const std::string replays = std::string(VORNHELM_SOURCE_DIR) + "/tests/replays/";
        testsupport::ProcessOptions options;
        options.workDir = VORNHELM_BUILD_DIR;  // the game reads ./data
        options.timeoutSeconds = 120;
        auto result = RunProcess({"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "ALSOFT_DRIVERS",
                                  testsupport::TestAppPath("headless_replay_probe"), "--replay",
                                  replays + name + ".vhr", "--fast"},
                                 options);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        // The game's last line as recorded, and nothing else.
        EXPECT_EQ(result.out, ReadFile(replays + name + ".txt") + "OpenGL calls: 0\n");
    }
}

}  // namespace
