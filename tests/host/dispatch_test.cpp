// SPDX-License-Identifier: Zlib
// The host's dispatchers into the delegate: guards, one collection step after
// each dispatch (outermost only), and the end of the process on a throw.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "host/desktop/glfw_game.h"

namespace {

struct LoggingDelegate : KrGameDelegate {
    std::string log;
    KrGame* reenter = nullptr;  // when set, an update dispatches a key into it
    bool throwOnUpdate = false;
    void StartGame() override { log += "start "; }
    void SuspendGame() override { log += "suspend "; }
    void ResumeGame() override { log += "resume "; }
    void UpdateGame() override {
        log += "update ";
        if (throwOnUpdate) throw new ThrowableObject;
        if (reenter) reenter->KeyEvent(2, 122), log += "after ";
    }
    void RenderGame() override { log += "render "; }
    void KeyEvent(int, int) override { log += "key "; }
    void MouseEvent(int, int, float, float) override { log += "mouse "; }
    void TouchEvent(int, int, float, float) override { log += "touch "; }
    void MotionEvent(int, int, float, float, float) override { log += "motion "; }
    void DiscardGraphics() override { log += "discard "; }
};

// Writes its collection steps into the delegate's log, in order.
struct CollectingHost : KrGlfwGame {
    LoggingDelegate* delegate = new LoggingDelegate;
    CollectingHost() { SetDelegate(delegate); }
    void gc_collect() override { delegate->log += "gc "; }
    void Events() {
        KeyEvent(1, 65);
        MouseEvent(4, 0, 1, 2);
        TouchEvent(7, 0, 1, 2);
        MotionEvent(10, 0, 1, 2, 3);
        DiscardGraphics();
    }
};

TEST(Dispatch, GuardsAndOneCollectionStepPerDispatch) {
    CollectingHost host;
    host.UpdateGame();
    host.Events();
    EXPECT_EQ(host.delegate->log, "") << "nothing reaches the game before it starts";

    host.StartGame();
    host.StartGame();   // once only
    host.ResumeGame();  // not suspended
    host.SuspendGame();
    host.SuspendGame();
    host.UpdateGame();  // no updates while suspended
    host.RenderGame();
    host.ResumeGame();
    host.UpdateGame();
    host.Events();
    EXPECT_EQ(host.delegate->log,
              "start gc suspend gc render gc resume gc update gc "
              "key gc mouse gc touch gc motion gc discard gc ");
}

// A step inside an update could free what the update still holds.
TEST(Dispatch, NestedDispatchLeavesCollectingToTheOuterCall) {
    CollectingHost host;
    host.delegate->reenter = &host;
    host.StartGame();
    host.UpdateGame();
    EXPECT_EQ(host.delegate->log, "start gc update key after gc ");
}

TEST(Dispatch, ThrownObjectEndsTheProcessWithMinusOne) {
    CollectingHost host;
    host.StartGame();
    host.delegate->throwOnUpdate = true;
    EXPECT_EXIT((dup2(2, 1), host.UpdateGame()), ::testing::ExitedWithCode(255),
                "Tandor Runtime Error : Uncaught Tandor Exception");
}

}  // namespace
