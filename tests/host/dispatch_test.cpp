// The host's dispatchers into the application's delegate: their guards, the
// state they change, and the end of the process when a runtime object is
// thrown out of the application.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "host/glfw_game.h"

namespace {

class CountingDelegate : public KrGameDelegate {
public:
    CountingDelegate() {}
    std::string log;
    bool throwOnUpdate = false;
    void StartGame() override { log += "start "; }
    void SuspendGame() override { log += "suspend "; }
    void ResumeGame() override { log += "resume "; }
    void UpdateGame() override {
        log += "update ";
        if (throwOnUpdate) throw new ThrowableObject;
    }
    void RenderGame() override { log += "render "; }
    void KeyEvent(int event, int data) override { log += "key "; }
    void MouseEvent(int, int, float, float) override { log += "mouse "; }
    void TouchEvent(int, int, float, float) override { log += "touch "; }
    void MotionEvent(int, int, float, float, float) override { log += "motion "; }
    void DiscardGraphics() override { log += "discard "; }
};

class Dispatch : public ::testing::Test {
protected:
    Dispatch() {
        delegate = new CountingDelegate;
        host.SetDelegate(delegate);
    }
    void All() {
        host.SuspendGame();
        host.ResumeGame();
        host.UpdateGame();
        host.RenderGame();
        host.KeyEvent(1, 65);
        host.MouseEvent(4, 0, 1, 2);
        host.TouchEvent(7, 0, 1, 2);
        host.MotionEvent(10, 0, 1, 2, 3);
        host.DiscardGraphics();
    }
    KrGlfwGame host;
    CountingDelegate* delegate;
};

TEST_F(Dispatch, NothingReachesTheApplicationBeforeItStarts) {
    All();
    EXPECT_EQ(delegate->log, "");
    EXPECT_FALSE(host.Started());
}

TEST_F(Dispatch, StartHappensOnce) {
    host.StartGame();
    host.StartGame();
    EXPECT_EQ(delegate->log, "start ");
    EXPECT_TRUE(host.Started());
}

TEST_F(Dispatch, RunningGameReceivesEverythingButAResume) {
    host.StartGame();
    delegate->log.clear();
    host.ResumeGame();
    host.UpdateGame();
    host.RenderGame();
    host.KeyEvent(1, 65);
    host.MouseEvent(4, 0, 1, 2);
    host.TouchEvent(7, 0, 1, 2);
    host.MotionEvent(10, 0, 1, 2, 3);
    host.DiscardGraphics();
    EXPECT_EQ(delegate->log, "update render key mouse touch motion discard ");
}

TEST_F(Dispatch, SuspendedGameRendersAndTakesEventsButDoesNotUpdate) {
    host.StartGame();
    host.SuspendGame();
    host.SuspendGame();
    EXPECT_TRUE(host.Suspended());
    delegate->log.clear();
    host.UpdateGame();
    host.RenderGame();
    host.KeyEvent(2, 65);
    host.ResumeGame();
    host.ResumeGame();
    host.UpdateGame();
    EXPECT_EQ(delegate->log, "render key resume update ");
    EXPECT_FALSE(host.Suspended());
}

// A host whose collection steps are written into its delegate's log, in
// order with the delegate's calls.
class CollectingHost : public KrGlfwGame {
public:
    CountingDelegate* delegate = nullptr;
    void gc_collect() override { delegate->log += "gc "; }
};

TEST(DispatchCollection, EveryDispatchIntoTheApplicationIsFollowedByOneCollectionStep) {
    CollectingHost host;
    host.delegate = new CountingDelegate;
    host.SetDelegate(host.delegate);
    // Not started: the guards stop everything, and nothing is collected.
    host.SuspendGame();
    host.UpdateGame();
    host.RenderGame();
    host.KeyEvent(1, 65);
    host.MouseEvent(4, 0, 1, 2);
    host.TouchEvent(7, 0, 1, 2);
    host.MotionEvent(10, 0, 1, 2, 3);
    host.DiscardGraphics();
    EXPECT_EQ(host.delegate->log, "");

    host.StartGame();
    host.StartGame();   // guarded: no second collection
    host.ResumeGame();  // guarded
    host.SuspendGame();
    host.UpdateGame();  // guarded while suspended
    host.RenderGame();
    host.KeyEvent(1, 65);
    host.ResumeGame();
    host.UpdateGame();
    host.MouseEvent(4, 0, 1, 2);
    host.TouchEvent(7, 0, 1, 2);
    host.MotionEvent(10, 0, 1, 2, 3);
    host.DiscardGraphics();
    EXPECT_EQ(host.delegate->log,
              "start gc suspend gc render gc key gc resume gc update gc "
              "mouse gc touch gc motion gc discard gc ");
}

// A delegate whose update dispatches a key event back into the host, as an
// application does when it reopens the window (held keys are released).
class ReentrantDelegate : public CountingDelegate {
public:
    ReentrantDelegate() {}
    KrGame* host = nullptr;
    void UpdateGame() override {
        log += "update ";
        host->KeyEvent(2, 122);
        log += "after ";
    }
};

// Only the outermost dispatch collects: a step inside an update could free
// what the update still holds in its locals.
TEST(DispatchCollection, NestedDispatchLeavesCollectingToTheOuterCall) {
    CollectingHost host;
    auto* delegate = new ReentrantDelegate;
    delegate->host = &host;
    host.delegate = delegate;
    host.SetDelegate(delegate);
    host.StartGame();
    host.UpdateGame();
    host.KeyEvent(1, 65);
    EXPECT_EQ(delegate->log, "start gc update key after gc key gc ");
}

// The host's collection step marks its delegate, so a delegate that nothing
// else refers to survives a full collection.
TEST(DispatchCollection, TheDelegateSurvivesCollections) {
    KrGlfwGame host;
    auto* delegate = new CountingDelegate;
    host.SetDelegate(delegate);
    host.StartGame();
    gc_collect_all();
    host.RenderGame();
    gc_collect_all();
    EXPECT_TRUE(gc_is_live_object(delegate));
    host.RenderGame();
    EXPECT_EQ(delegate->log, "start render render ");
}

TEST_F(Dispatch, ThrownRuntimeObjectEndsTheProcessWithMinusOne) {
    host.StartGame();
    delegate->throwOnUpdate = true;
    EXPECT_EXIT(
        {
            dup2(2, 1);  // the report goes to standard output; let the matcher see it
            host.UpdateGame();
        },
        ::testing::ExitedWithCode(255), "Tandor Runtime Error : Uncaught Tandor Exception");
}

}  // namespace
