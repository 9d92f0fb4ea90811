// SPDX-License-Identifier: Zlib
// A paced replay's schedule on a clock the test controls: one update per
// interval, and after a stall (or a clock that jumped back) a new schedule
// instead of a race through the missed updates or a long wait.
#include <gtest/gtest.h>

#include "host/replay/replay_host.h"

namespace {

struct ScriptedReplay : KrReplayHost {
    double clock = 0, slept = 0;
    ScriptedReplay() : KrReplayHost(KrReplay{}, KrReplayOptions{}, nullptr) { SetUpdateRate(50); }
    // The time the next n updates wait for, together.
    double Paces(int n) {
        slept = 0;
        for (int i = 0; i < n; ++i) Pace();
        return slept;
    }
    double Now() override { return clock; }
    void Sleep(double seconds) override { slept += seconds, clock += seconds; }
};

TEST(ReplayPacing, ScheduleAfterStallsAndJumps) {
    constexpr double kInterval = 1.0 / 50;
    const struct { const char* name; double jump; double firstWait; } cases[] = {
        {"steady", 0, kInterval},
        {"a stall of five seconds", 5, 0},
        {"a stall of a tenth of a second", 0.1, 0},  // made up: the next updates come at once
        {"the clock five seconds back", -5, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedReplay r;
        EXPECT_NEAR(r.Paces(10), 10 * kInterval, 1e-9);
        r.clock += c.jump;
        if (c.jump > 0 && c.jump < 0.25) {
            // Within the bound the schedule holds: five updates are due at once.
            EXPECT_NEAR(r.Paces(5), 0, 1e-9);
            EXPECT_NEAR(r.Paces(1), kInterval, 1e-9);
            continue;
        }
        EXPECT_NEAR(r.Paces(1), c.firstWait, 1e-9);
        EXPECT_NEAR(r.Paces(10), 10 * kInterval, 1e-9);
    }
}

}  // namespace
