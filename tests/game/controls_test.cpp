// Controls: the action tables, sticks, the pointer and touches in virtual
// pixels, on-screen buttons and touch areas, the touch-and-key stick, iCade
// characters, the on-screen pad and tilt.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "tests/support/game_host.h"

namespace {

constexpr int kNo = -1;  // the source holds no action under that table
constexpr int kActions[] = {0, 1, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 19, 99};
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr int kDirections[] = {0, 8, 3, 5};  // up, down, left, right
constexpr int kPort = 2;  // the joystick the joystick tables are read for

enum Source { kKey, kJoy, kCtl, kUp, kDown, kLeft, kRight };
struct Held {
    Source kind;
    int code;
};

class Controls : public ::testing::Test {
   protected:
    GameTestHost host;
    c_MyApp* app = StartBareGame(host);

    static void Key(int code, bool down = true) { kr_input_device->p_KeyEvent(down ? 1 : 2, code); }
    static void JoyButton(int port, int button, bool down = true) { Key(256 + 32 * port + button, down); }
    static void Stick(int port, float x, float y) {
        kr_input_device->m_JoyStates[port]->m_AxesX[0] = x;
        kr_input_device->m_JoyStates[port]->m_AxesY[0] = y;
    }
    void Apply(const Held& h) {
        switch (h.kind) {
            case kKey: Key(h.code); break;
            case kJoy: JoyButton(kPort, h.code); break;
            case kCtl: app->m_Ctl[h.code] = 1; break;
            case kUp: Stick(kPort, 0, 1); break;
            case kDown: Stick(kPort, 0, -1); break;
            case kLeft: Stick(kPort, -1, 0); break;
            case kRight: Stick(kPort, 1, 0); break;
        }
    }
    // Only touch i down, at (x, y) in virtual pixels.
    void OnlyTouch(int i, int x, int y) {
        ClearTouches();
        PutTouch(i, x, y);
    }
    void PutTouch(int i, int x, int y) {
        app->m_TouchDown[i] = app->m_MouseDown = 1;
        app->m_TouchX[i] = x, app->m_TouchY[i] = y;
    }
    void ClearTouches() {
        for (int i = 0; i < 10; ++i) app->m_TouchDown[i] = 0, app->m_TouchX[i] = app->m_TouchY[i] = -3717;
        app->m_MouseDown = 0;
    }
    void ImageSize(int slot, int w, int h) { app->m_ImgInfo[3 * slot] = w, app->m_ImgInfo[3 * slot + 1] = h; }
};

// The action each source holds under the keyboard and joystick tables with
// iCade off and on.
struct TableRow {
    Held source;
    int keyboard, keyboardICade, joystick, joystickICade;
};
const TableRow kTables[] = {
    {{kKey, 38}, 0, 0, 0, 0}, {{kKey, 'W'}, 0, kNo, 0, kNo}, {{kKey, 37}, 3, 3, 3, 3},
    {{kKey, 'A'}, 3, kNo, 3, kNo}, {{kKey, 39}, 5, 5, 5, 5}, {{kKey, 'D'}, 5, kNo, 5, kNo},
    {{kKey, 40}, 8, 8, 8, 8}, {{kKey, 'S'}, 8, kNo, 8, kNo}, {{kKey, 'Z'}, 10, kNo, 10, kNo},
    {{kKey, 'J'}, 10, kNo, 10, kNo}, {{kKey, 32}, 10, 10, 10, 10}, {{kKey, 13}, 10, 10, 10, 10},
    {{kKey, 'X'}, 11, kNo, 11, kNo}, {{kKey, 'K'}, 11, kNo, 11, kNo}, {{kKey, 17}, 11, 11, 11, 11},
    {{kKey, 'C'}, 12, kNo, 12, kNo}, {{kKey, 'L'}, 12, kNo, 12, kNo}, {{kKey, 16}, 12, 12, 12, 12},
    {{kKey, 'V'}, 13, kNo, 13, kNo}, {{kKey, 'I'}, 13, kNo, 13, kNo}, {{kKey, 'B'}, 14, kNo, 14, kNo},
    {{kKey, 'U'}, 14, kNo, 14, kNo}, {{kKey, 'N'}, 15, kNo, 15, kNo}, {{kKey, 'O'}, 15, kNo, 15, kNo},
    {{kKey, 27}, 99, 99, 99, 99}, {{kKey, 192}, 99, kNo, 99, kNo}, {{kKey, 46}, 99, 99, 99, 99},
    {{kKey, 8}, 99, 99, 99, 99}, {{kKey, 'E'}, kNo, kNo, kNo, kNo}, {{kKey, 9}, kNo, kNo, kNo, kNo},
    {{kKey, 416}, kNo, kNo, kNo, kNo}, {{kJoy, 9}, kNo, kNo, 0, 0}, {{kJoy, 8}, kNo, kNo, 3, 3},
    {{kJoy, 10}, kNo, kNo, 5, 5}, {{kJoy, 11}, kNo, kNo, 8, 8}, {{kJoy, 0}, kNo, kNo, 10, 10},
    {{kJoy, 1}, kNo, kNo, 11, 11}, {{kJoy, 2}, kNo, kNo, 12, 12}, {{kJoy, 3}, kNo, kNo, 13, 13},
    {{kJoy, 4}, kNo, kNo, 14, 14}, {{kJoy, 5}, kNo, kNo, 15, 15}, {{kJoy, 6}, kNo, kNo, 99, 99},
    {{kJoy, 7}, kNo, kNo, 99, 99}, {{kJoy, 14}, kNo, kNo, 99, 99}, {{kJoy, 12}, kNo, kNo, kNo, kNo},
    {{kJoy, 31}, kNo, kNo, kNo, kNo}, {{kUp, 0}, kNo, kNo, 0, kNo}, {{kDown, 0}, kNo, kNo, 8, kNo},
    {{kLeft, 0}, kNo, kNo, 3, kNo}, {{kRight, 0}, kNo, kNo, 5, kNo}, {{kCtl, 0}, 0, 0, 0, 0},
    {{kCtl, 3}, 3, 3, 3, 3}, {{kCtl, 5}, 5, 5, 5, 5}, {{kCtl, 8}, 8, 8, 8, 8},
    {{kCtl, 10}, 10, 10, 10, 10}, {{kCtl, 11}, 11, 11, 11, 11}, {{kCtl, 12}, 12, 12, 12, 12},
    {{kCtl, 13}, 13, 13, 13, 13}, {{kCtl, 14}, 14, 14, 14, 14}, {{kCtl, 15}, 15, 15, 15, 15},
    {{kCtl, 16}, 99, 99, 99, 99}, {{kCtl, 17}, 99, 99, 99, 99}, {{kCtl, 19}, 99, 99, 99, 99},
    {{kCtl, 1}, kNo, kNo, kNo, kNo}, {{kCtl, 18}, kNo, kNo, kNo, kNo},
};

TEST_F(Controls, PlayKeyFollowsTheFourTables) {
    for (const TableRow& row : kTables) {
        app = StartBareGame(host);
        Apply(row.source);
        const int tables[][3] = {{0, -1, row.keyboard}, {1, -1, row.keyboardICade},  // iCade, device, action
                                 {0, kPort, row.joystick}, {1, kPort, row.joystickICade}};
        for (auto [icade, device, expected] : tables) {
            kr_Vex_iCadeControls = icade;
            for (int action : kActions) {
                EXPECT_EQ(app->p_PlayKey(action, 1, device), action == expected ? 1 : 0)
                    << "iCade " << icade << " device " << device << ": source " << row.source.kind << "/"
                    << row.source.code << ", action " << action;
            }
        }
        // Joystick sources belong to their own port only.
        kr_Vex_iCadeControls = 0;
        const bool joystickOnly = row.source.kind != kKey && row.source.kind != kCtl;
        for (int action : kActions)
            if (joystickOnly) EXPECT_EQ(app->p_PlayKey(action, 1, 1), 0) << "port 1, action " << action;
    }
}

// iCade buttons 4..6 give their control value on the keyboard; on OUYA back
// is only the console button (control 19, its value) while iCade is off; a
// device outside the keyboard and four joysticks holds nothing.
TEST_F(Controls, PlayKeySpecialSources) {
    kr_Vex_iCadeControls = 1;
    for (int element : {13, 14, 15}) {
        app->m_Ctl[element] = 2;
        EXPECT_EQ(app->p_PlayKey(element, 1, -1), 2) << element;
        EXPECT_EQ(app->p_PlayKey(element, 1, 0), 1) << element;
        EXPECT_EQ(app->p_PlayKeyAll(element, 1), 4) << element;
    }
    const struct {
        int icade;
        Held source;
        int ctl19, keyboard, joystick;
    } cases[] = {{0, {kKey, 27}, 0, 0, 0}, {0, {kKey, 192}, 0, 0, 0}, {0, {kJoy, 6}, 0, 0, 0}, {0, {kCtl, 16}, 0, 0, 0},
                 {0, {kKey, 'W'}, 1, 1, 1}, {0, {kKey, 'W'}, 2, 2, 2}, {1, {kKey, 27}, 0, 1, 1}, {1, {kJoy, 14}, 0, 0, 1}};
    for (const auto& c : cases) {
        app = StartBareGame(host);
        kr_Vex_isOuya = 1, kr_Vex_iCadeControls = c.icade;
        Apply(c.source);
        app->m_Ctl[19] = c.ctl19;
        EXPECT_EQ(app->p_PlayKey(99, 1, -1), c.keyboard) << c.source.code << " icade " << c.icade;
        EXPECT_EQ(app->p_PlayKey(99, 1, kPort), c.joystick) << c.source.code << " icade " << c.icade;
    }
    app = StartBareGame(host);
    Key(32);
    for (int device : {-2, -100, 4, 5}) EXPECT_EQ(app->p_PlayKey(10, 1, device), 0) << device;
    EXPECT_EQ(app->p_PlayKeyAll(10, 1), 4) << "the keyboard counts for every joystick";
    Key(32, false);
    JoyButton(3, 0);
    EXPECT_EQ(app->p_PlayKeyAll(10, 1), 1);
}

// The stick is a direction only beyond 0.4 and only when asked; the readers
// negate the first stick's y and read NaN as centred.
TEST_F(Controls, StickBeyondPointFourAndItsReaders) {
    const float cases[][6] = {{0, 0.4f, 0, 0, 0, 0},    {0, -0.4f, 0, 0, 0, 0}, {0.4f, 0, 0, 0, 0, 0},
                              {-0.4f, 0, 0, 0, 0, 0},   {0, 0.41f, 1, 0, 0, 0}, {0, -0.41f, 0, 1, 0, 0},
                              {-0.41f, 0, 0, 0, 1, 0},  {0.41f, 0, 0, 0, 0, 1}, {kInf, -kInf, 0, 1, 0, 1},
                              {kNaN, kNaN, 0, 0, 0, 0}};  // x, y, up, down, left, right
    for (auto& c : cases) {
        Stick(0, c[0], c[1]);
        for (int d = 0; d < 4; ++d) {
            const int action = kDirections[d];
            EXPECT_EQ(app->p_PlayKey(action, 1, 0), c[2 + d]) << c[0] << "," << c[1] << " action " << action;
            EXPECT_EQ(app->p_PlayKey(action, 0, 0), 0) << "no stick wanted";
        }
    }
    c_JoyState* joy = kr_input_device->m_JoyStates[1];
    joy->m_AxesX[0] = 0.25f, joy->m_AxesY[0] = 0.5f, joy->m_AxesX[1] = -0.75f, joy->m_AxesY[1] = 0.125f;
    EXPECT_EQ(std::vector<float>({app->p_StickX(0, 1), app->p_StickY(0, 1), app->p_StickX(1, 1), app->p_StickY(1, 1),
                                  app->p_StickX(0, -1), app->p_StickY(0, -1)}),
              std::vector<float>({0.25f, -0.5f, -0.75f, 0.125f, 0, 0}));
    joy->m_AxesX[0] = joy->m_AxesY[0] = kNaN;
    EXPECT_EQ(app->p_StickX(0, 1), 0.0f);
    EXPECT_EQ(app->p_StickY(0, 1), 0.0f);
}

// ---- Pointer and touches -----------------------------------------------------

// Until both scales are set (no fit yet) the pointer keeps its old place;
// then device pixels less the overscan border, divided and truncated.
TEST_F(Controls, PointerWaitsForTheFitThenConverts) {
    app->m_MouseX = 7, app->m_MouseY = 9;
    kr_input_device->p_MouseEvent(4, 0, 300, 200);
    kr_input_device->p_TouchEvent(7, 3, 50, 60);
    app->p_ReadPointer();
    EXPECT_EQ(std::vector<int>({app->m_MouseX, app->m_MouseY, app->m_MouseDown, app->m_MouseHit, app->m_TouchDown[3]}),
              std::vector<int>({7, 9, 1, 1, 1}));
    EXPECT_EQ(app->m_TouchX[1], -3717);
    kr_input_device->p_EndUpdate();
    app->m_ScaleX = 2;
    app->p_ReadPointer();
    EXPECT_EQ(app->m_MouseX, 7) << "one axis fitted is not enough";
    app->m_ScaleY = 2;
    app->p_ReadPointer();
    EXPECT_EQ(std::vector<int>({app->m_MouseX, app->m_MouseY, app->m_TouchX[3], app->m_TouchY[3], app->m_MouseHit}),
              std::vector<int>({150, 100, 25, 30, 0}));
    app->m_ScaleX = app->m_ScaleY = 1.6f;
    kr_Vex_overscan = 64;
    kr_input_device->p_MouseEvent(6, 0, 64 + 100, 161);
    app->p_ReadPointer();
    EXPECT_EQ(app->m_MouseX, 62);   // 100 / 1.6 = 62.5
    EXPECT_EQ(app->m_MouseY, 100);  // no device here: the y border is 0
}

// Touches 0..9 count; NaN positions or scales keep the last value and huge
// ones clamp.
TEST_F(Controls, TenTouchesAndOutlandishPositions) {
    app->m_ScaleX = app->m_ScaleY = 1;
    kr_input_device->p_TouchEvent(7, 10, 5, 5);
    app->p_ReadPointer();
    EXPECT_EQ(app->m_MouseDown, 0);
    kr_input_device->p_TouchEvent(7, 9, 5, 6);
    app->p_ReadPointer();
    EXPECT_EQ(app->m_MouseDown, 1);
    kr_input_device->p_TouchEvent(9, 9, kNaN, 1e30f);
    app->p_ReadPointer();
    EXPECT_EQ(app->m_TouchX[9], 5);
    EXPECT_EQ(app->m_TouchY[9], 16777216);
    kr_input_device->p_TouchEvent(9, 9, -kInf, 7);
    app->m_ScaleX = kNaN;
    app->p_ReadPointer();
    EXPECT_EQ(app->m_TouchX[9], 5);
    app->m_ScaleX = 1;
    app->p_ReadPointer();
    EXPECT_EQ(app->m_TouchX[9], -16777216);
}

// ---- Buttons and touch areas --------------------------------------------------

// Every edge is strict. A 32 x 16 button image at (100, 100) takes 84 < x <
// 116, 92 < y < 108; p_Touch(10, 20, 100, 30) takes 4 < x < 122, 14 < y <
// 62; a centred 40 x 20 area on (100, 50) takes 80 < x < 120, 40 < y < 60.
TEST_F(Controls, ButtonEdgesAreStrict) {
    ImageSize(95, 32, 16);
    app->m_DrawSX = app->m_DrawSY = 1;
    const auto button = [&] { return app->p_Button95(100, 100, 0) + app->p_Button(95, 100, 100, 0) + app->m_ButtonHit; };
    const auto touch = [&] { return 3 * app->p_Touch(10, 20, 100, 30); };
    const auto centred = [&] { return 3 * app->p_MouseIn_Centered(100, 50, 40, 20); };
    const struct {
        std::function<int()> area;
        int x, y, hit;
    } cases[] = {{button, 84, 100, 0}, {button, 85, 100, 1}, {button, 115, 100, 1}, {button, 116, 100, 0},
                 {button, 100, 92, 0}, {button, 100, 93, 1}, {button, 100, 107, 1}, {button, 100, 108, 0},
                 {touch, 4, 30, 0},    {touch, 5, 30, 1},    {touch, 121, 30, 1},   {touch, 122, 30, 0},
                 {touch, 50, 14, 0},   {touch, 50, 15, 1},   {touch, 50, 61, 1},    {touch, 50, 62, 0},
                 {centred, 80, 50, 0}, {centred, 81, 50, 1}, {centred, 119, 50, 1}, {centred, 120, 50, 0},
                 {centred, 100, 40, 0}, {centred, 100, 41, 1}, {centred, 100, 60, 0}};
    for (const auto& c : cases) {
        for (int down : {1, 0}) {
            OnlyTouch(6, c.x, c.y);
            app->m_TouchDown[6] = app->m_MouseDown = down;
            EXPECT_EQ(c.area(), 3 * c.hit * down) << c.x << "," << c.y << " down " << down;
        }
    }
    // The scale, the image scale and the frame's design size set the box; a
    // slot outside the table has none.
    OnlyTouch(0, 125, 100);
    EXPECT_EQ(app->p_Button(95, 100, 100, 0), 0);
    app->m_DrawSX = 2;
    EXPECT_EQ(app->p_Button(95, 100, 100, 0), 1);
    app->m_ImgScale = 0.5f;
    EXPECT_EQ(app->p_Button(95, 100, 100, 0), 0);
    EXPECT_EQ(app->p_Button(100, 125, 100, 0) + app->p_Button(-1, 125, 100, 0), 0);
}

// ---- The analogue stick ---------------------------------------------------------

// The anchor is where the touch went down; under a tenth of 72 on an axis
// counts as 0; beyond 64 away the anchor creeps 4 pixels towards the touch.
TEST_F(Controls, TouchStickHasADeadZoneAndMeasuresFromItsAnchor) {
    ClearTouches();
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_StickAnchorX, -1);
    const float steps[][6] = {{100, 200, 0, 0, 100, 200},         {105, 205, 0, 0, 100, 200},  // touch, stick, anchor
                              {108, 200, 8 / 72.0f, 0, 100, 200}, {100, 203, 0, 0, 100, 200},
                              {100, 208, 0, 8 / 72.0f, 100, 200}, {40, 200, -60 / 72.0f, 0, 100, 200},
                              {30, 300, -70 / 72.0f, 1, 96, 204}, {30, 300, -66 / 72.0f, 1, 92, 208}};
    for (auto [x, y, sx, sy, ax, ay] : steps) {
        OnlyTouch(0, int(x), int(y));
        app->p_AnalogueControl();
        EXPECT_EQ(std::vector<float>({app->m_StickX, app->m_StickY, float(app->m_StickAnchorX), float(app->m_StickAnchorY)}),
                  std::vector<float>({sx, sy, ax, ay})) << x << "," << y;
    }
    ClearTouches();
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_StickAnchorX, -1);
    EXPECT_EQ(app->m_StickX, 0.0f);
}

// The first joystick's stick overrides beyond 0.2 (y negated, NaN centred).
TEST_F(Controls, JoystickStickOverridesTheTouchStickBeyondPointTwo) {
    const float cases[][4] = {{0.2f, 0.2f, 0, 0},       {0.3f, 0, 0.3f, 0},   {0, 0.5f, 0, -0.5f},
                              {-0.21f, 0.1f, -0.21f, -0.1f}, {kInf, 0, 1, 0}, {kNaN, 0.5f, 0, -0.5f},
                              {kNaN, kNaN, 0, 0},       {0.5f, -kInf, 0.5f, 1}};
    for (auto [x, y, sx, sy] : cases) {
        Stick(0, x, y);
        app->p_AnalogueControl();
        EXPECT_FLOAT_EQ(app->m_StickX, sx) << x << "," << y;
        EXPECT_FLOAT_EQ(app->m_StickY, sy) << x << "," << y;
    }
}

// Cursor keys (and the first joystick's pad) ramp by 0.15 to full in 7
// updates and fall by 0.2 to rest in 5 (32-bit rounding leaves a residue
// that goes at the sixth).
TEST_F(Controls, KeysRampToFullDeflectionInSevenUpdatesAndBackInFive) {
    const struct {
        int key;
        bool vertical;
        float sign;
    } directions[] = {{38, true, -1}, {40, true, 1}, {37, false, -1}, {39, false, 1}, {256 + 10, false, 1}};  // pad right
    const float rise[] = {0.15f, 0.3f, 0.45f, 0.6f, 0.75f, 0.9f, 1, 1};
    const float fall[] = {0.8f, 0.6f, 0.4f, 0.2f, 0};
    for (const auto& d : directions) {
        app = StartBareGame(host);
        float& stick = d.vertical ? app->m_StickY : app->m_StickX;
        float& keyStick = d.vertical ? app->m_KeyStickY : app->m_KeyStickX;
        Key(d.key);
        for (float v : rise) {
            app->p_AnalogueControl();
            EXPECT_FLOAT_EQ(stick, d.sign * v) << d.key;
            EXPECT_FLOAT_EQ(keyStick, d.sign * v) << d.key;
            EXPECT_EQ(d.vertical ? app->m_StickX : app->m_StickY, 0.0f);
        }
        Key(d.key, false);
        for (float v : fall) {
            app->p_AnalogueControl();
            EXPECT_NEAR(stick, d.sign * v, 1e-6f) << d.key;
        }
        app->p_AnalogueControl();
        EXPECT_EQ(keyStick, 0.0f) << d.key;
        EXPECT_EQ(stick, 0.0f) << d.key;
    }
    app = StartBareGame(host);
    JoyButton(1, 10);  // another joystick's pad does not steer
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_KeyStickX, 0.0f);
}

// ---- iCade --------------------------------------------------------------------

// Each button's press and release characters, either case; other characters
// pass; characters are read in order and only while iCade is on.
TEST_F(Controls, ICadeCharactersPressAndReleaseTheirControls) {
    const struct {
        char press, release;
        int element;
    } buttons[] = {{'w', 'e', 0},  {'x', 'z', 8},  {'a', 'q', 3},  {'d', 'c', 5},  {'y', 't', 13}, {'u', 'f', 14},
                   {'i', 'm', 15}, {'o', 'g', 16}, {'h', 'r', 10}, {'j', 'n', 11}, {'k', 'p', 12}, {'l', 'v', 17}};
    for (int c : {int{'w'}, int{'e'}, int{'w'}, int{'h'}, 0x10057, -1}) kr_input_device->p_KeyEvent(3, c);
    app->p_ReadICade();
    EXPECT_EQ(app->m_Ctl[0], 0) << "off: the characters stay queued";
    kr_Vex_iCadeControls = 1;
    app->p_ReadICade();
    EXPECT_EQ(app->m_Ctl[0] + app->m_Ctl[10], 4);
    EXPECT_EQ(app->m_Ctl[8] + app->m_Ctl[3] + app->m_Ctl[5] + app->m_LastChar, 0);
    app->m_Ctl[0] = app->m_Ctl[10] = 0;
    for (const auto& b : buttons) {
        const int shift = b.element % 2 ? 'a' - 'A' : 0;  // either case
        kr_input_device->p_KeyEvent(3, b.press - shift);
        kr_input_device->p_KeyEvent(3, 's');  // not an iCade character
        app->p_ReadICade();
        kr_input_device->p_EndUpdate();
        app->p_ReadICade();  // held without further characters
        EXPECT_EQ(app->m_Ctl[b.element], 2) << b.press;
        kr_input_device->p_KeyEvent(3, b.release - shift);
        app->p_ReadICade();
        kr_input_device->p_EndUpdate();
        EXPECT_EQ(app->m_Ctl[b.element], 0) << b.release;
    }
    for (int i = 0; i < 20; ++i) EXPECT_EQ(app->m_Ctl[i], 0) << i;
    Key('W');  // W on the keyboard does not move up while iCade is on
    EXPECT_EQ(app->p_PlayKey(0, 1, -1), 0);
}

// ---- Tilt ---------------------------------------------------------------------

// Smoothed by a quarter and snapped when close; NaN reads as 0; iCade
// clears it, the switch off leaves it idle.
TEST_F(Controls, TiltSmoothsSnapsAndReadsNaNAsZero) {
    ClearTouches();
    kr_input_device->p_MotionEvent(10, 0, 0.4f, -0.2f, 0);
    app->p_ReadTilt();
    EXPECT_EQ(app->m_AccelX, 0.0f) << "switched off";
    kr_Vex_AccelerometerControls = 1;
    app->p_ReadTilt();
    EXPECT_FLOAT_EQ(app->m_AccelSmoothX, 0.1f);
    EXPECT_FLOAT_EQ(app->m_AccelSmoothY, -0.05f);
    for (int i = 0; i < 30; ++i) app->p_ReadTilt();
    EXPECT_EQ(app->m_AccelSmoothX, 0.4f) << "snapped";
    kr_input_device->p_MotionEvent(10, 0, kNaN, kInf, 0);
    app->p_ReadTilt();
    EXPECT_EQ(app->m_AccelX, 0.0f);
    EXPECT_EQ(app->m_AccelY, 0.0f);
    kr_Vex_iCadeControls = 1;
    app->p_ReadTilt();
    EXPECT_EQ(std::vector<float>({app->m_AccelX, app->m_AccelY, app->m_AccelSmoothX, app->m_AccelSmoothY}),
              std::vector<float>({0, 0, 0, 0}));
}

// ---- On-screen pad ---------------------------------------------------------------

// The pad at (64, 64) from the bottom left, size 10, on a 640 x 480 screen:
// centre (64, 416), directions 32 away, fire at (600, 392) and (552, 440).
class Pad : public Controls {
   protected:
    void SetUp() override {
        kr_Vex_OnScreenControls = 1;
        app->m_Mode = 10;
        app->m_Opt[10] = app->m_Opt[11] = 64;
        app->m_Opt[12] = 10;
        ImageSize(94, 32, 32);
        app->m_DrawSX = app->m_DrawSY = 1;
        ClearTouches();
    }
    void Step() {  // one update: the one-update controls fall first
        for (int i = 0; i < 20; ++i)
            if (app->m_Ctl[i] == 1) app->m_Ctl[i] = 0;
        app->p_OnScreenPad();
    }
};

TEST_F(Pad, DirectionsIdleWhilePausedButFireStillWorks) {
    const int buttons[][3] = {{32, 416, 3}, {64, 384, 0}, {64, 448, 8}, {96, 416, 5}, {600, 392, 10}, {552, 440, 11}};
    for (int paused : {0, 1}) {
        for (auto [x, y, element] : buttons) {
            app->m_Paused = paused;
            OnlyTouch(2, x, y);
            Step();
            for (int e : {0, 3, 5, 8, 10, 11})
                EXPECT_EQ(app->m_Ctl[e], e == element && !(paused && element < 10)) << paused << ", " << element;
        }
    }
}

// Only in play (modes 10 and 6) with its switch on and iCade off; the
// geometry is clamped to the screen (no upper bound for a NaN screen).
TEST_F(Pad, RunsOnlyInPlayAndClampsItsGeometry) {
    const int cases[][4] = {{1, 10, 0, 1}, {1, 6, 0, 1}, {1, 5, 0, 0}, {1, 1, 0, 0}, {0, 10, 0, 0}, {1, 10, 1, 0}};
    for (auto [on, mode, icade, runs] : cases) {
        kr_Vex_OnScreenControls = on, kr_Vex_iCadeControls = icade, app->m_Mode = mode;
        app->m_Opt[12] = 7, app->m_Ctl[3] = 0;
        OnlyTouch(0, 32, 416);
        app->p_OnScreenPad();
        EXPECT_EQ(app->m_Opt[12], runs ? 8 : 7);
        EXPECT_EQ(app->m_Ctl[3], runs);
    }
    kr_Vex_iCadeControls = 0;
    ClearTouches();
    const float geometry[][7] = {{0, 0, 0, 32, 32, 8, 0.8f}, {1000, 1000, 40, 608, 448, 25, 2.5f},
                                 {100, 200, 12, 100, 200, 12, 1.2f}};  // x, y, size stored; clamped; scale
    for (auto [x, y, size, cx, cy, csize, s] : geometry) {
        app->m_Opt[10] = x, app->m_Opt[11] = y, app->m_Opt[12] = size;
        app->p_OnScreenPad();
        EXPECT_EQ(std::vector<float>({float(app->m_Opt[10]), float(app->m_Opt[11]), float(app->m_Opt[12]),
                                      float(app->m_PadX), float(app->m_PadY)}),
                  std::vector<float>({cx, cy, csize, cx, 480 - cy}));
        EXPECT_FLOAT_EQ(app->m_PadSize, s);
    }
    kr_Vex_jscrw = kr_Vex_jscrh = kNaN;
    app->m_Opt[10] = 5000;
    app->p_OnScreenPad();
    EXPECT_EQ(app->m_Opt[10], 5000);
    EXPECT_EQ(app->m_PadY, 0);
}

// Paused, two fingers resize by a tenth per 16 pixels of spread; the step
// counter holds the last truncated step; no overflow at extreme spreads.
TEST_F(Pad, TwoFingersResize) {
    app->m_Paused = 1;
    app->m_ObjSlot = 99;
    app->m_PadDrag = 1;
    PutTouch(0, 300, 200);
    Step();  // touch 1 up: the gesture starts afresh
    EXPECT_EQ(app->m_PadDrag + app->m_ObjSlot, 0);
    const int steps[][3] = {{340, 10, -2}, {372, 12, -4}, {380, 13, -5},
                            {388, 13, -5}, {260, 10, -2}, {300, 8, 0}};  // x of touch 1, size, step
    for (auto [x1, size, slot] : steps) {
        PutTouch(1, x1, 200);
        Step();
        EXPECT_EQ(app->m_Opt[12], size) << x1;
        EXPECT_EQ(app->m_ObjSlot, slot) << x1;
        EXPECT_EQ(app->m_PadDrag, 1);
    }
    app->m_TouchDown[1] = 0;
    Step();
    EXPECT_EQ(app->m_PadDrag, 0);
    PutTouch(0, INT_MIN, 0);
    PutTouch(1, INT_MAX, 0);
    Step();
    Step();
    EXPECT_EQ(app->m_ObjSlot, -268435455);
    app->m_ObjSlot = INT_MAX;
    Step();
    EXPECT_EQ(app->m_Opt[12], INT_MAX);
    Step();
    EXPECT_EQ(app->m_Opt[12], 25);
}

}  // namespace
