// SPDX-License-Identifier: Zlib
// The input module: hit counts, the left-button/first-touch coupling, the
// hit and character queues, joystick key codes and joystick polling.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "framework/input.h"
#include "host/game.h"

namespace {


class Input : public ::testing::Test {
protected:
    void SetUp() override { kr_input_SetInputDevice((new c_InputDevice)->m_new()); }
    void TearDown() override { kr_input_device = nullptr; }
    c_InputDevice* dev() { return kr_input_device; }
    void Down(int key) { dev()->p_KeyEvent(1, key); }
    void Update() { dev()->p_BeginUpdate(), dev()->p_EndUpdate(); }
    KrGame host;  // polls no joystick
};

TEST_F(Input, HitCountsEveryPressButNotRepeatsForOneUpdate) {
    Down(65);
    dev()->p_KeyEvent(2, 65);
    Down(65);
    Down(65);  // a repeat: already down
    EXPECT_EQ(kr_input_KeyHit(65), 2);
    EXPECT_EQ(kr_input_KeyDown(65), 1);
    Update();
    EXPECT_EQ(kr_input_KeyHit(65), 0);
    EXPECT_EQ(kr_input_KeyDown(65), 1);
}

// A key, the left button (with touch 0) or a touch pressed and released
// between two updates reads as down for the one update that follows; a key
// an update has seen goes up at once.
TEST_F(Input, ATapBetweenTwoUpdatesReadsAsDownForOneUpdate) {
    auto send = [&](int event, int data) {
        if (event <= 2) dev()->p_KeyEvent(event, data);
        else if (event <= 5) dev()->p_MouseEvent(event, data, 5, 6);
        else dev()->p_TouchEvent(event, data, 5, 6);
    };
    const int cases[][3] = {{1, 13, 13}, {4, 0, 1}, {7, 3, 387}};  // down event (up is the next), data, key
    for (auto [event, data, key] : cases) {
        SCOPED_TRACE(key);
        send(event, data), send(event + 1, data);
        EXPECT_EQ(std::vector<int>({kr_input_KeyDown(key), kr_input_KeyHit(key), kr_input_TouchDown(0)}),
                  std::vector<int>({1, 1, key == 1}));
        Update();
        EXPECT_EQ(kr_input_KeyDown(key) + kr_input_TouchDown(0), 0);
    }
    Down(65), Update();
    dev()->p_KeyEvent(2, 65);
    EXPECT_EQ(kr_input_KeyDown(65), 0);
}

TEST_F(Input, HitQueueCountsThirtyThreePressesPerUpdate) {
    for (int key = 100; key < 134; ++key) Down(key);  // 34 distinct presses
    for (int key = 100; key < 133; ++key) EXPECT_EQ(kr_input_KeyHit(key), 1) << key;
    EXPECT_EQ(kr_input_KeyHit(133), 0);
    EXPECT_EQ(kr_input_KeyDown(133), 1);
    Update();
    EXPECT_EQ(kr_input_KeyHit(100), 0);
}

TEST_F(Input, CharacterQueueHoldsThirtyTwoPerUpdate) {
    for (int c = 1; c <= 33; ++c) dev()->p_KeyEvent(3, 1000 + c);
    for (int c = 1; c <= 32; ++c) EXPECT_EQ(kr_input_GetChar(), 1000 + c);
    EXPECT_EQ(kr_input_GetChar(), 0);
    dev()->p_KeyEvent(3, 'a');
    Update();
    EXPECT_EQ(kr_input_GetChar(), 0);  // unread characters end with the update
}

TEST_F(Input, JoystickKeyCodes) {
    Down(288);
    Down(357);
    EXPECT_EQ(kr_input_JoyDown(0, 1), 1);
    EXPECT_EQ(kr_input_JoyHit(5, 3), 1);
    EXPECT_EQ(kr_input_JoyHit(5, 2), 0);
    // button | 256 | port * 32, not a sum: 32 | 256 | 32 = 288, not 320.
    EXPECT_EQ(kr_input_JoyDown(32, 1), 1);
    Down(256);
    EXPECT_EQ(kr_input_JoyDown(0, 8), 1);  // 256 | 256, not 512
    EXPECT_EQ(kr_input_JoyDown(0, -1), 0);
}

TEST_F(Input, PutKeyHitIgnoresKeysOutsideTheKeySpace) {
    for (int key : {0, -1, 512, 100000, INT_MIN}) dev()->p_PutKeyHit(key);
    EXPECT_EQ(dev()->m_HitQueueLen, 0);
    dev()->p_PutKeyHit(511);
    EXPECT_EQ(kr_input_KeyHit(511), 1);
}

}  // namespace
