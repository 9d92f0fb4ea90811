// The input module: key states and hit counts, the left-button/first-touch
// coupling, the hit and character queues, pointer and touches, motion, and
// joystick polling through a host that reports scripted joysticks.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "framework/input.h"
#include "host/game.h"

namespace {

struct Pad {
    float x[2] = {0, 0}, y[2] = {0, 0};
    bool buttons[32] = {};
};

// A host whose joystick ports hold the pads the test puts there.
class JoystickHost : public KrGame {
public:
    std::vector<Pad*> ports = std::vector<Pad*>(4, nullptr);
    std::vector<int> polled;
    bool PollJoystick(int port, Array<float> x, Array<float> y, Array<float> z, Array<bool> b) override {
        polled.push_back(port);
        Pad* pad = ports[port];
        if (!pad) return false;
        for (int i = 0; i < 2; ++i) x[i] = pad->x[i], y[i] = pad->y[i];
        for (int i = 0; i < 32; ++i) b[i] = pad->buttons[i];
        return true;
    }
};

class Input : public ::testing::Test {
protected:
    void SetUp() override { kr_input_SetInputDevice((new c_InputDevice)->m_new()); }
    void TearDown() override { kr_input_device = nullptr; }

    c_InputDevice* dev() { return kr_input_device; }
    void Down(int key) { dev()->p_KeyEvent(1, key); }
    void Up(int key) { dev()->p_KeyEvent(2, key); }
    void Update() {
        dev()->p_BeginUpdate();
        dev()->p_EndUpdate();
    }

    JoystickHost host;
};

TEST_F(Input, PressAndReleaseBetweenUpdatesIsOneHitForOneUpdate) {
    Down(65);
    Up(65);
    dev()->p_BeginUpdate();
    EXPECT_EQ(kr_input_KeyHit(65), 1);
    EXPECT_EQ(kr_input_KeyDown(65), 0);
    dev()->p_EndUpdate();
    dev()->p_BeginUpdate();
    EXPECT_EQ(kr_input_KeyHit(65), 0);
    EXPECT_EQ(kr_input_KeyDown(65), 0);
}

TEST_F(Input, EveryPressCountsButRepeatsDoNot) {
    Down(65);
    Up(65);
    Down(65);
    EXPECT_EQ(kr_input_KeyHit(65), 2);
    Down(65);  // the host's key repeat
    Down(65);
    EXPECT_EQ(kr_input_KeyHit(65), 2);
    EXPECT_EQ(kr_input_KeyDown(65), 1);
    Update();
    // Still held in the next update, but no new press.
    EXPECT_EQ(kr_input_KeyHit(65), 0);
    EXPECT_EQ(kr_input_KeyDown(65), 1);
}

TEST_F(Input, ReleaseOfAKeyNotDownChangesNothing) {
    Up(66);
    EXPECT_EQ(kr_input_KeyDown(66), 0);
    EXPECT_EQ(kr_input_KeyHit(66), 0);
}

TEST_F(Input, LeftButtonIsAlsoTheFirstTouch) {
    dev()->p_MouseEvent(4, 0, 10, 20);
    EXPECT_EQ(kr_input_MouseDown(0), 1);
    EXPECT_EQ(kr_input_KeyDown(1), 1);
    EXPECT_EQ(kr_input_TouchDown(0), 1);
    EXPECT_EQ(kr_input_MouseHit(0), 1);
    EXPECT_EQ(kr_input_KeyHit(384), 1);
    EXPECT_EQ(kr_input_TouchX(0), 10);
    EXPECT_EQ(kr_input_TouchY(0), 20);

    dev()->p_MouseEvent(5, 0, 99, 99);
    EXPECT_EQ(kr_input_MouseDown(0), 0);
    EXPECT_EQ(kr_input_KeyDown(1), 0);
    EXPECT_EQ(kr_input_TouchDown(0), 0);
    // A release moves neither the pointer nor the first touch.
    EXPECT_EQ(kr_input_MouseX(), 10);
    EXPECT_EQ(kr_input_MouseY(), 20);
    EXPECT_EQ(kr_input_TouchX(0), 10);
    EXPECT_EQ(kr_input_TouchY(0), 20);
}

TEST_F(Input, FirstTouchIsAlsoTheLeftButton) {
    dev()->p_TouchEvent(7, 0, 5, 6);
    EXPECT_EQ(kr_input_KeyDown(1), 1);
    EXPECT_EQ(kr_input_MouseHit(0), 1);
    EXPECT_EQ(kr_input_MouseX(), 5);
    EXPECT_EQ(kr_input_MouseY(), 6);
    dev()->p_TouchEvent(8, 0, 0, 0);
    EXPECT_EQ(kr_input_KeyDown(1), 0);
    EXPECT_EQ(kr_input_TouchDown(0), 0);
}

TEST_F(Input, CouplingCountsThePartnerEvenWhenAlreadyDown) {
    dev()->p_TouchEvent(7, 0, 0, 0);
    dev()->p_TouchEvent(8, 0, 0, 0);
    dev()->p_MouseEvent(4, 0, 0, 0);
    EXPECT_EQ(kr_input_KeyHit(1), 2);
    EXPECT_EQ(kr_input_KeyHit(384), 2);
}

TEST_F(Input, RightAndMiddleButtonsAreKeysTwoAndThree) {
    dev()->p_MouseEvent(4, 1, 0, 0);
    dev()->p_MouseEvent(4, 2, 0, 0);
    EXPECT_EQ(kr_input_KeyDown(2), 1);
    EXPECT_EQ(kr_input_KeyDown(3), 1);
    EXPECT_EQ(kr_input_TouchDown(0), 0);
}

TEST_F(Input, MovingTheMouseMovesTheFirstTouch) {
    dev()->p_MouseEvent(6, -1, 123.5f, 45.25f);
    EXPECT_EQ(kr_input_MouseX(), 123.5f);
    EXPECT_EQ(kr_input_MouseY(), 45.25f);
    EXPECT_EQ(kr_input_TouchX(0), 123.5f);
    EXPECT_EQ(kr_input_TouchY(0), 45.25f);
    EXPECT_EQ(kr_input_KeyDown(1), 0);
}

TEST_F(Input, OtherTouchesHaveTheirOwnKeysAndPositions) {
    dev()->p_TouchEvent(7, 3, 30, 40);
    dev()->p_TouchEvent(9, 3, 31, 41);
    EXPECT_EQ(kr_input_TouchDown(3), 1);
    EXPECT_EQ(kr_input_KeyDown(387), 1);
    EXPECT_EQ(kr_input_TouchX(3), 31);
    EXPECT_EQ(kr_input_TouchY(3), 41);
    EXPECT_EQ(kr_input_MouseX(), 0);  // only finger 0 moves the pointer
    dev()->p_TouchEvent(9, 0, 7, 8);
    EXPECT_EQ(kr_input_MouseX(), 7);
    EXPECT_EQ(kr_input_KeyDown(384), 0);  // a move is not a press
}

TEST_F(Input, HitQueueCountsThirtyThreePressesPerUpdate) {
    for (int key = 100; key < 134; ++key) Down(key);  // 34 distinct presses
    for (int key = 100; key < 133; ++key) EXPECT_EQ(kr_input_KeyHit(key), 1) << key;
    EXPECT_EQ(kr_input_KeyHit(133), 0);
    EXPECT_EQ(kr_input_KeyDown(133), 1);  // down all the same
    Update();
    for (int key = 100; key < 134; ++key) EXPECT_EQ(kr_input_KeyHit(key), 0) << key;
    Up(100);
    Down(100);
    EXPECT_EQ(kr_input_KeyHit(100), 1);  // counting again after the update
}

TEST_F(Input, CharacterQueueHoldsThirtyTwoPerUpdate) {
    for (int c = 1; c <= 33; ++c) dev()->p_KeyEvent(3, 1000 + c);
    for (int c = 1; c <= 32; ++c) EXPECT_EQ(kr_input_GetChar(), 1000 + c);
    EXPECT_EQ(kr_input_GetChar(), 0);
    EXPECT_EQ(kr_input_GetChar(), 0);
    Update();
    dev()->p_KeyEvent(3, 65573);
    EXPECT_EQ(kr_input_GetChar(), 65573);
}

TEST_F(Input, UnreadCharactersAreLostAtTheEndOfTheUpdate) {
    dev()->p_KeyEvent(3, 'a');
    Update();
    EXPECT_EQ(kr_input_GetChar(), 0);
}

TEST_F(Input, QueriesOutsideTheirRangesGiveZero) {
    Down(511);
    EXPECT_EQ(kr_input_KeyHit(511), 1);
    for (int key : {0, -1, 512, 100000}) {
        EXPECT_EQ(kr_input_KeyHit(key), 0) << key;
        EXPECT_EQ(kr_input_KeyDown(key), 0) << key;
    }
    EXPECT_EQ(kr_input_MouseHit(-1), 0);
    EXPECT_EQ(kr_input_MouseDown(510), 1);  // key 511
    EXPECT_EQ(kr_input_MouseDown(511), 0);
    EXPECT_EQ(kr_input_TouchDown(127), 1);  // key 511
    EXPECT_EQ(kr_input_TouchDown(128), 0);
    EXPECT_EQ(kr_input_TouchDown(-384), 0);
    EXPECT_EQ(kr_input_TouchX(32), 0);
    EXPECT_EQ(kr_input_TouchY(-1), 0);
    EXPECT_EQ(kr_input_JoyDown(0, 16), 0);  // key 768
    EXPECT_EQ(kr_input_JoyX(0, 4), 0);
    EXPECT_EQ(kr_input_JoyY(2, 0), 0);
}

TEST_F(Input, EventsWithCodesOutsideTheKeySpaceAreIgnored) {
    Down(512);
    Down(-3);
    Down(INT_MIN);
    Up(INT_MAX);
    dev()->p_MouseEvent(4, 600, 1, 1);
    dev()->p_MouseEvent(4, INT_MAX, 1, 1);
    dev()->p_MouseEvent(5, INT_MAX, 1, 1);
    dev()->p_TouchEvent(7, 40, 1, 1);
    dev()->p_TouchEvent(7, -1, 1, 1);
    dev()->p_KeyEvent(9, 65);
    EXPECT_EQ(dev()->m_HitQueueLen, 0);
}

TEST_F(Input, CountingAPressOfAKeyOutsideTheKeySpaceDoesNothing) {
    for (int key : {0, -1, 512, 100000, INT_MIN}) dev()->p_PutKeyHit(key);
    EXPECT_EQ(dev()->m_HitQueueLen, 0);
    dev()->p_PutKeyHit(511);
    EXPECT_EQ(kr_input_KeyHit(511), 1);
    EXPECT_EQ(dev()->m_HitQueueLen, 1);
}

TEST_F(Input, ExtremeArgumentsOfTheQueriesGiveZero) {
    for (int key = 1; key < 512; ++key) Down(key);
    for (int v : {INT_MIN, INT_MIN + 1, INT_MAX - 1, INT_MAX}) {
        EXPECT_EQ(kr_input_MouseDown(v), 0) << v;
        EXPECT_EQ(kr_input_MouseHit(v), 0) << v;
        EXPECT_EQ(kr_input_TouchDown(v), 0) << v;
        EXPECT_EQ(kr_input_JoyDown(0, v), 0) << v;
        EXPECT_EQ(kr_input_JoyHit(v, 0), 0) << v;
        EXPECT_EQ(kr_input_TouchX(v), 0) << v;
    }
}

TEST_F(Input, JoystickKeysAreTwoFiftySixPlusThirtyTwoPerPort) {
    Down(288);
    EXPECT_EQ(kr_input_JoyDown(0, 1), 1);
    Down(357);
    EXPECT_EQ(kr_input_JoyHit(5, 3), 1);
    EXPECT_EQ(kr_input_JoyHit(5, 2), 0);
}

// The key is button OR 256 OR port x 32, not their sum: arguments beyond
// the documented ranges fold onto other joystick keys.
TEST_F(Input, JoystickKeysAreFormedWithOr) {
    Down(288);
    EXPECT_EQ(kr_input_JoyDown(32, 1), 1);  // 32 | 256 | 32 = 288 (a sum would be 320)
    EXPECT_EQ(kr_input_JoyHit(32, 1), 1);
    Down(256);
    EXPECT_EQ(kr_input_JoyDown(0, 8), 1);   // 0 | 256 | 256 = 256 (a sum would be 512)
    EXPECT_EQ(kr_input_JoyDown(256, 0), 1);
    EXPECT_EQ(kr_input_JoyDown(0, -1), 0);  // negative: outside the key space
}

TEST_F(Input, MotionIsStored) {
    dev()->p_MotionEvent(10, 0, 0.25f, -0.5f, 1);
    EXPECT_EQ(kr_input_AccelX(), 0.25f);
    EXPECT_EQ(kr_input_AccelY(), -0.5f);
    EXPECT_EQ(dev()->m_MotionZ, 1);
    dev()->p_MotionEvent(9, 0, 5, 5, 5);
    EXPECT_EQ(kr_input_AccelX(), 0.25f);
}

TEST_F(Input, KeyboardRequestsReachTheHost) {
    EXPECT_EQ(kr_input_EnableKeyboard(), 1);
    EXPECT_TRUE(host.KeyboardEnabled());
    EXPECT_EQ(kr_input_DisableKeyboard(), 1);
    EXPECT_FALSE(host.KeyboardEnabled());
}

TEST_F(Input, JoystickButtonsBecomeKeysAndSticksAreRead) {
    Pad pad;
    pad.buttons[2] = true;
    pad.x[0] = 0.5f;
    pad.y[1] = -0.75f;
    host.ports[0] = &pad;
    dev()->p_BeginUpdate();
    EXPECT_EQ(kr_input_JoyDown(2, 0), 1);
    EXPECT_EQ(kr_input_JoyHit(2, 0), 1);
    EXPECT_EQ(kr_input_JoyX(0, 0), 0.5f);
    EXPECT_EQ(kr_input_JoyY(1, 0), -0.75f);
    dev()->p_EndUpdate();

    dev()->p_BeginUpdate();  // still held: down, but not a new press
    EXPECT_EQ(kr_input_JoyDown(2, 0), 1);
    EXPECT_EQ(kr_input_JoyHit(2, 0), 0);
    dev()->p_EndUpdate();

    pad.buttons[2] = false;
    dev()->p_BeginUpdate();
    EXPECT_EQ(kr_input_JoyDown(2, 0), 0);
}

TEST_F(Input, PollingStopsAtTheFirstPortWithoutAJoystick) {
    Pad second;
    second.buttons[0] = true;
    host.ports[1] = &second;
    Update();
    EXPECT_EQ(host.polled, std::vector<int>{0});
    EXPECT_EQ(kr_input_JoyDown(0, 1), 0);

    Pad first;
    host.ports[0] = &first;
    host.polled.clear();
    dev()->p_BeginUpdate();
    EXPECT_EQ(host.polled, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(kr_input_JoyDown(0, 1), 1);
}

TEST_F(Input, TheDeviceKeepsItsStateThroughCollections) {
    c_InputDevice* device = dev();
    Down(65);
    for (int i = 0; i < 3; ++i) gc_collect_all();
    EXPECT_TRUE(gc_is_live_object(device));
    for (gc_object* rep : {static_cast<gc_object*>(device->m_JoyStates.rep),
                           static_cast<gc_object*>(device->m_KeyDown.rep), static_cast<gc_object*>(device->m_HitQueue.rep),
                           static_cast<gc_object*>(device->m_KeyHits.rep), static_cast<gc_object*>(device->m_CharQueue.rep),
                           static_cast<gc_object*>(device->m_TouchPosX.rep), static_cast<gc_object*>(device->m_TouchPosY.rep)})
        EXPECT_TRUE(gc_is_live_object(rep));
    for (int port = 0; port < 4; ++port) {
        c_JoyState* joy = device->m_JoyStates[port];
        EXPECT_TRUE(gc_is_live_object(joy));
        for (gc_object* rep : {static_cast<gc_object*>(joy->m_AxesX.rep), static_cast<gc_object*>(joy->m_AxesY.rep),
                               static_cast<gc_object*>(joy->m_AxesZ.rep), static_cast<gc_object*>(joy->m_Buttons.rep)})
            EXPECT_TRUE(gc_is_live_object(rep));
    }
    EXPECT_EQ(kr_input_KeyDown(65), 1);
}

}  // namespace
