// SPDX-License-Identifier: Zlib
// A paced replay's schedule on a clock the test controls: one update per
// interval, and after a stall (or a clock that jumped back) a new schedule
// instead of a race through the missed updates or a long wait.
#include <gtest/gtest.h>

#include "host/replay/player.h"

namespace {

struct ScriptedHost : KrGame {
    double clock = 0, slept = 0;
    double Now() override { return clock; }
    void Sleep(double seconds) override { slept += seconds, clock += seconds; }
};

struct ScriptedReplay : KrReplayPlayer {
    ScriptedHost host;
    ScriptedReplay() : KrReplayPlayer(KrReplay{}, KrReplayOptions{}, nullptr) { host.SetUpdateRate(50), host_ = &host; }
    // The time the next n updates wait for, together.
    double Paces(int n) {
        host.slept = 0;
        for (int i = 0; i < n; ++i) Pace();
        return host.slept;
    }
};

TEST(ReplayPacing, ScheduleAfterStallsAndJumps) {
    constexpr double kInterval = 1.0 / 50;
    const struct { const char* name; double jump; } cases[] = {
        {"steady", 0}, {"a stall of five seconds", 5}, {"the clock five seconds back", -5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedReplay r;
        r.Paces(1);  // the schedule starts
        EXPECT_NEAR(r.Paces(10), 10 * kInterval, 1e-9);
        r.host.clock += c.jump;
        EXPECT_NEAR(r.Paces(1), c.jump == 0 ? kInterval : 0, 1e-9);
        EXPECT_NEAR(r.Paces(10), 10 * kInterval, 1e-9);
    }
    // Within the bound the schedule holds: the updates missed come at once.
    ScriptedReplay r;
    r.Paces(11);
    r.host.clock += 0.1;
    EXPECT_NEAR(r.Paces(5), 0, 1e-9);
    EXPECT_NEAR(r.Paces(1), kInterval, 1e-9);
}

}  // namespace
