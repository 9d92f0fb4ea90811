// SPDX-License-Identifier: Zlib
// Controls: the action tables, sticks, the pointer in virtual pixels, button
// edges, the touch-and-key stick, and the guards on every input conversion.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <limits>
#include <tuple>
#include <vector>

#include "host/events.h"
#include "tests/support/game_host.h"

namespace {

constexpr int kNo = -1;  // the source holds no action under that table
constexpr int kActions[] = {kActionUp,      kActionLeft,    kActionRight,   kActionDown,
                            kActionButton1, kActionButton2, kActionButton3, kActionButton4,
                            kActionButton5, kActionButton6, kActionBack};
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr int kPort = 2;  // the joystick the joystick tables are read for

enum Source { kKey, kJoy, kCtl, kStickUp };

class Controls : public ::testing::Test {
   protected:
    GameTestHost host;
    c_MyApp* app = StartBareGame(host);

    static void Key(int code, bool down = true) {
        kr_input_device->p_KeyEvent(down ? kr_event::KeyDown : kr_event::KeyUp, code);
    }
    static void Stick(int port, float x, float y) {
        kr_input_device->m_JoyStates[port]->m_AxesX[0] = x, kr_input_device->m_JoyStates[port]->m_AxesY[0] = y;
    }
};

// One source of each kind: the action it holds under the keyboard and
// joystick tables with iCade off and on.
TEST_F(Controls, PlayKeyFollowsTheFourTables) {
    const struct {
        Source kind;
        int code, keyboard, keyboardICade, joystick, joystickICade;
    } rows[] = {
        {kKey, kr_key::Up, kActionUp, kActionUp, kActionUp, kActionUp},
        {kKey, 'W', kActionUp, kNo, kActionUp, kNo},
        {kKey, kr_key::Escape, kActionBack, kActionBack, kActionBack, kActionBack},
        {kKey, 'E', kNo, kNo, kNo, kNo},
        {kJoy, 9, kNo, kNo, kActionUp, kActionUp},  // the pad's up
        {kJoy, 6, kNo, kNo, kActionBack, kActionBack},
        {kStickUp, 0, kNo, kNo, kActionUp, kNo},
        {kCtl, kActionButton1, kActionButton1, kActionButton1, kActionButton1, kActionButton1},
        {kCtl, kActionButton7, kActionBack, kActionBack, kActionBack, kActionBack},  // an iCade's button
    };
    for (const auto& row : rows) {
        app = StartBareGame(host);
        if (row.kind == kKey) Key(row.code);
        if (row.kind == kJoy) Key(kr_key::JoyFirst + kr_key::JoyButtons * kPort + row.code);
        if (row.kind == kCtl) app->m_Ctl[row.code] = 1;
        if (row.kind == kStickUp) Stick(kPort, 0, 1);
        const int tables[][3] = {{0, -1, row.keyboard}, {1, -1, row.keyboardICade},  // iCade, device, action
                                 {0, kPort, row.joystick}, {1, kPort, row.joystickICade}};
        for (auto [icade, device, expected] : tables) {
            kr_Vex_iCadeControls = icade;
            for (int action : kActions)
                EXPECT_EQ(app->p_PlayKey(action, 1, device), action == expected ? 1 : 0)
                    << "iCade " << icade << " device " << device << ": " << row.kind << "/" << row.code << " " << action;
        }
    }
    app = StartBareGame(host);
    Key(kr_key::Space);
    for (int device : {-2, -100, 4, 5}) EXPECT_EQ(app->p_PlayKey(kActionButton1, 1, device), 0) << device;
}

// A direction only beyond 0.4; infinities count, NaN reads as centred in
// the direction test, the stick readers and the analogue stick.
TEST_F(Controls, NaNStickIsCentred) {
    const float cases[][6] = {{0, 0.4f, 0, 0, 0, 0},  {0.41f, 0, 0, 0, 0, 1}, {0, 0.41f, 1, 0, 0, 0},
                              {kInf, -kInf, 0, 1, 0, 1}, {kNaN, kNaN, 0, 0, 0, 0}};  // x, y, up, down, left, right
    for (auto& c : cases) {
        Stick(0, c[0], c[1]);
        const int directions[] = {kActionUp, kActionDown, kActionLeft, kActionRight};
        for (int d = 0; d < 4; ++d)
            EXPECT_EQ(app->p_PlayKey(directions[d], 1, 0), c[2 + d]) << c[0] << "," << c[1] << " " << directions[d];
    }
    EXPECT_EQ(app->p_StickX(0, 0) + app->p_StickY(0, 0), 0.0f);
    for (auto [x, y, sx, sy] : {std::array{0.2f, 0.2f, 0.f, 0.f}, {kNaN, 0.5f, 0, -0.5f}, {0.5f, -kInf, 0.5f, 1}}) {
        Stick(0, x, y);  // the analogue stick: beyond 0.2, y negated
        app->p_AnalogueControl();
        EXPECT_EQ(std::vector<float>({app->m_StickX, app->m_StickY}), std::vector<float>({sx, sy})) << x << "," << y;
    }
}

// Until both scales are set the pointer keeps its old place; then device
// pixels divided and truncated. NaN positions or scales keep the last value
// and huge ones clamp.
TEST_F(Controls, PointerKeptWhileScaleIsZero) {
    app->m_MouseX = 7, app->m_MouseY = 9;
    kr_input_device->p_MouseEvent(kr_event::MouseDown, 0, 300, 200);
    kr_input_device->p_TouchEvent(kr_event::TouchDown, 3, 50, 60);
    auto read = [&](float sx, float sy) {
        app->m_ScaleX = sx, app->m_ScaleY = sy, app->p_ReadPointer();
        return std::vector<int>({app->m_MouseX, app->m_MouseY, app->m_TouchX[3], app->m_TouchY[3]});
    };
    EXPECT_EQ(read(0, 0)[0] + read(2, 0)[0], 14) << "one axis fitted is not enough";
    EXPECT_EQ(app->m_MouseDown + app->m_TouchDown[3], 2);
    EXPECT_EQ(read(2, 2), std::vector<int>({150, 100, 25, 30}));
    kr_input_device->p_TouchEvent(kr_event::TouchMove, 3, kNaN, 1e30f);
    EXPECT_EQ(read(1, 1), std::vector<int>({300, 200, 25, 16777216}));
    kr_input_device->p_TouchEvent(kr_event::TouchMove, 3, -kInf, 7);
    EXPECT_EQ(read(kNaN, 1)[2], 25);
    EXPECT_EQ(read(1, 1)[2], -16777216);
}

// A 32 x 16 button image at (100, 100) takes 84 < x < 116, 92 < y < 108;
// a slot outside the image table has no box.
TEST_F(Controls, ButtonEdgesAreStrict) {
    app->m_ImgInfo[3 * kImgButtons] = 32, app->m_ImgInfo[3 * kImgButtons + 1] = 16;
    app->m_DrawSX = app->m_DrawSY = 1;
    const int cases[][3] = {{84, 100, 0}, {85, 100, 1}, {115, 100, 1}, {116, 100, 0}, {100, 92, 0}, {100, 107, 1}};
    for (auto [x, y, hit] : cases) {
        for (int down : {1, 0}) {
            for (int t = 0; t < 10; ++t) app->m_TouchDown[t] = 0;
            app->m_TouchDown[6] = app->m_MouseDown = down, app->m_TouchX[6] = x, app->m_TouchY[6] = y;
            EXPECT_EQ(app->p_Button(kImgButtons, 100, 100, 0), hit * down) << x << "," << y << " down " << down;
        }
    }
    EXPECT_EQ(app->p_Button(100, 100, 100, 0) + app->p_Button(-1, 100, 100, 0), 0);
}

// Cursor keys (and the first joystick's pad) ramp by 0.15 to full in 7
// updates and fall by 0.2 to rest in 5 (a 32-bit residue goes at the sixth).
TEST_F(Controls, KeyRampUpAndDown) {
    for (auto [key, vertical, sign] :
         {std::tuple{kr_key::Up, true, -1.0f}, {kr_key::Right, false, 1.0f}, {kr_key::JoyFirst + 10, false, 1.0f}}) {
        app = StartBareGame(host);  // up, right, the pad's right
        float& stick = vertical ? app->m_StickY : app->m_StickX;
        Key(key);
        for (float v : {0.15f, 0.3f, 0.45f, 0.6f, 0.75f, 0.9f, 1.0f, 1.0f, 0.8f, 0.6f, 0.4f, 0.2f, 0.0f}) {
            if (v == 0.8f) Key(key, false);
            app->p_AnalogueControl(), kr_input_device->p_EndUpdate();
            EXPECT_NEAR(stick, sign * v, 1e-6f) << key;
        }
        app->p_AnalogueControl();
        EXPECT_EQ(stick, 0.0f) << key;
    }
}

// Tilt reads NaN as 0; a NaN screen gives the on-screen pad no upper bound.
TEST_F(Controls, TiltAndPadGuards) {
    kr_Vex_AccelerometerControls = kr_Vex_OnScreenControls = 1;
    kr_input_device->p_MotionEvent(kr_event::Motion, 0, kNaN, kInf, 0);
    app->p_ReadTilt();
    EXPECT_EQ(app->m_AccelX + app->m_AccelY, 0.0f);
    app->m_Mode = kModePlay, app->m_Opt[10] = 5000, app->m_Opt[11] = 64, app->m_Opt[12] = 10;
    kr_Vex_jscrw = kr_Vex_jscrh = kNaN;
    app->p_OnScreenPad();
    EXPECT_EQ(std::vector<int>({app->m_Opt[10], app->m_PadY}), std::vector<int>({5000, 0}));
    kr_Vex_jscrw = 640, kr_Vex_jscrh = 480;
}

}  // namespace
