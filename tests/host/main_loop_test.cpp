// The main loop's scheduling and its reaction to the window's state, driven
// by a clock and window that the test controls. Everything else is the
// real host: dispatchers, guards and the loop itself.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "host/glfw_game.h"

namespace {

// The delegate writes what the host asks of it into the shared log.
class LoggingDelegate : public KrGameDelegate {
public:
    LoggingDelegate() {}
    std::string* log = nullptr;
    std::function<void()> onUpdate;

    void StartGame() override { *log += "start "; }
    void SuspendGame() override { *log += "suspend "; }
    void ResumeGame() override { *log += "resume "; }
    void UpdateGame() override {
        *log += "U ";
        if (onUpdate) onUpdate();
    }
    void RenderGame() override { *log += "R "; }
};

class ScriptedHost : public KrGlfwGame {
public:
    double clock = 0;
    bool open = true;
    bool iconified = false;
    bool active = true;
    std::string log;
    std::function<void()> onPoll;

    ScriptedHost() {
        delegate = new LoggingDelegate;
        delegate->log = &log;
        SetDelegate(delegate);
    }

    using KrGlfwGame::RunPass;
    double UpdateDue() const { return _updateDue; }
    bool Minimised() const { return _minimised; }

    // Runs passes and returns what they logged.
    std::string Passes(int n) {
        log.clear();
        for (int i = 0; i < n; ++i) RunPass();
        return log;
    }

    void SetGlfwWindow(int, int, int, int, int, int, int, int, bool) override { log += "window "; }

    LoggingDelegate* delegate;

protected:
    double Now() override { return clock; }
    void Sleep(double seconds) override {
        log += "sleep ";
        clock += seconds;
    }
    void PollEvents() override {
        if (onPoll) onPoll();
    }
    void WaitEvents() override { log += "wait "; }
    bool WindowOpen() override { return open; }
    bool WindowIconified() override { return iconified; }
    bool WindowActive() override { return active; }
};

class MainLoop : public ::testing::Test {
protected:
    void SetUp() override {
        host.StartGame();
        host.log.clear();
    }
    ScriptedHost host;
};

TEST_F(MainLoop, RateSetsIntervalAndFirstDueTime) {
    host.clock = 10;
    host.SetUpdateRate(60);
    EXPECT_EQ(host.UpdateRate(), 60);
    EXPECT_DOUBLE_EQ(host.UpdateDue(), 10 + 1.0 / 60);
}

TEST_F(MainLoop, PassBeforeTheUpdateIsDueOnlySleeps) {
    host.SetUpdateRate(60);
    EXPECT_EQ(host.Passes(1), "sleep ");
    EXPECT_DOUBLE_EQ(host.clock, 1.0 / 60);
    EXPECT_EQ(host.Passes(1), "U R ");
}

TEST_F(MainLoop, SteadyPaceGivesOneUpdatePerRender) {
    host.SetUpdateRate(64);  // an interval that sums exactly
    std::string expected;
    for (int i = 0; i < 10; ++i) expected += "sleep U R ";
    EXPECT_EQ(host.Passes(20), expected);
}

TEST_F(MainLoop, StallGivesFourUpdatesOneRenderAndAScheduleReset) {
    host.SetUpdateRate(60);
    host.clock = 1.0;
    EXPECT_EQ(host.Passes(1), "U U U U R ");
    EXPECT_DOUBLE_EQ(host.UpdateDue(), 1.0);
    // Back on schedule: the next update is due at once, then one per interval.
    EXPECT_EQ(host.Passes(3), "U R sleep U R ");
}

TEST_F(MainLoop, ShortBacklogIsCaughtUpWithoutReset) {
    host.SetUpdateRate(100);
    host.clock = 0.0251;  // updates due at 0.01 and 0.02 only
    EXPECT_EQ(host.Passes(1), "U U R ");
    EXPECT_DOUBLE_EQ(host.UpdateDue(), 0.03);
}

TEST_F(MainLoop, RateZeroRendersAndWaitsForEvents) {
    EXPECT_EQ(host.Passes(3), "R wait R wait R wait ");
}

TEST_F(MainLoop, NegativeRateCountsAsNoTimedUpdates) {
    host.SetUpdateRate(-5);
    EXPECT_EQ(host.Passes(1), "R wait ");
}

TEST_F(MainLoop, SwitchingTimedUpdatesOffInsideAnUpdateRendersAtOnce) {
    host.SetUpdateRate(60);
    host.clock = 1.0;
    host.delegate->onUpdate = [this] { host.SetUpdateRate(0); };
    EXPECT_EQ(host.Passes(1), "U R ");
    EXPECT_EQ(host.Passes(1), "R wait ");
}

TEST_F(MainLoop, LosingFocusSuspendsButKeepsRendering) {
    host.SetUpdateRate(60);
    host.active = false;
    EXPECT_EQ(host.Passes(2), "suspend R wait R wait ");
    EXPECT_TRUE(host.Suspended());
    EXPECT_FALSE(host.Minimised());
}

TEST_F(MainLoop, FocusBackResumesOnAFreshSchedule) {
    host.SetUpdateRate(60);
    host.active = false;
    host.Passes(1);
    host.clock = 100;
    host.active = true;
    EXPECT_EQ(host.Passes(1), "resume U R ");
    EXPECT_FALSE(host.Suspended());
    EXPECT_DOUBLE_EQ(host.UpdateDue(), 100 + 1.0 / 60);
}

TEST_F(MainLoop, IconifyingSuspendsAndStopsRendering) {
    host.SetUpdateRate(60);
    host.iconified = true;
    host.active = false;
    EXPECT_EQ(host.Passes(2), "suspend wait wait ");
    EXPECT_TRUE(host.Minimised());

    // Shown again but not yet focused: still suspended, still not drawn.
    host.iconified = false;
    EXPECT_EQ(host.Passes(1), "wait ");

    host.active = true;
    EXPECT_EQ(host.Passes(1), "resume U R ");
    EXPECT_FALSE(host.Minimised());
}

TEST_F(MainLoop, IconifiedWindowReportingFocusStaysSuspended) {
    host.SetUpdateRate(60);
    host.iconified = true;
    host.active = true;
    EXPECT_EQ(host.Passes(3), "suspend wait wait wait ");
}

TEST_F(MainLoop, ClosedWindowEndsThePass) {
    host.open = false;
    EXPECT_FALSE(host.RunPass());
    EXPECT_EQ(host.log, "");
}

TEST(MainLoopRun, OpensStartsRendersThenLoopsUntilTheWindowCloses) {
    ScriptedHost host;
    int polls = 0;
    host.onPoll = [&] {
        if (++polls == 3) host.open = false;
    };
    host.Run();
    EXPECT_EQ(host.log, "window start R R wait R wait ");
    EXPECT_TRUE(host.Started());
}

TEST(MainLoopClock, MillisecsIsTheClockInWholeMilliseconds) {
    ScriptedHost host;
    host.clock = 2.5007;
    EXPECT_EQ(host.Millisecs(), 2500);
}

}  // namespace
