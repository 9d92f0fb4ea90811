// Controls: the action tables, sticks, the pointer and touches in virtual
// pixels, on-screen buttons and touch areas, the touch-and-key stick, iCade
// characters, the on-screen pad and tilt.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "tests/support/game_host.h"

namespace {

constexpr int kNone = -1;
constexpr int kActions[] = {0, 1, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 19, 99};
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class Controls : public ::testing::Test {
protected:
    GameTestHost host;
    c_MyApp* app = StartBareGame(host);

    static void Key(int code, bool down = true) { kr_input_device->p_KeyEvent(down ? 1 : 2, code); }
    static void JoyButton(int port, int button, bool down = true) { Key(256 + 32 * port + button, down); }
    static void Stick(int port, float x, float y) {
        c_JoyState* joy = kr_input_device->m_JoyStates[port];
        joy->m_AxesX[0] = x;
        joy->m_AxesY[0] = y;
    }
    static void TouchDown(int finger, float x, float y) { kr_input_device->p_TouchEvent(7, finger, x, y); }
    static void TouchMove(int finger, float x, float y) { kr_input_device->p_TouchEvent(9, finger, x, y); }
    static void TouchUp(int finger) { kr_input_device->p_TouchEvent(8, finger, 0, 0); }
    static void EndUpdate() { kr_input_device->p_EndUpdate(); }

    // A touch placed straight into the game's virtual-pixel state.
    void PutTouch(int i, int x, int y) {
        app->m_TouchDown[i] = 1;
        app->m_TouchX[i] = x;
        app->m_TouchY[i] = y;
        app->m_MouseDown = 1;
    }
    void ClearTouches() {
        for (int i = 0; i < 10; ++i) {
            app->m_TouchDown[i] = 0;
            app->m_TouchX[i] = app->m_TouchY[i] = -3717;
        }
        app->m_MouseDown = 0;
    }
    void ImageSize(int slot, int w, int h) {
        app->m_ImgInfo[3 * slot] = w;
        app->m_ImgInfo[3 * slot + 1] = h;
    }
};

// ---- The action tables -----------------------------------------------------

enum class In { Key, Joy, Ctl, StickUp, StickDown, StickLeft, StickRight };

struct Held {
    In kind;
    int code;
};

// The action each source holds under the keyboard and joystick tables with
// iCade off and on; kNone when it holds nothing there.
struct TableRow {
    Held source;
    int keyboard, keyboardICade, joystick, joystickICade;
};

const TableRow kTables[] = {
    {{In::Key, 38}, 0, 0, 0, 0},
    {{In::Key, 'W'}, 0, kNone, 0, kNone},
    {{In::Key, 37}, 3, 3, 3, 3},
    {{In::Key, 'A'}, 3, kNone, 3, kNone},
    {{In::Key, 39}, 5, 5, 5, 5},
    {{In::Key, 'D'}, 5, kNone, 5, kNone},
    {{In::Key, 40}, 8, 8, 8, 8},
    {{In::Key, 'S'}, 8, kNone, 8, kNone},
    {{In::Key, 'Z'}, 10, kNone, 10, kNone},
    {{In::Key, 'J'}, 10, kNone, 10, kNone},
    {{In::Key, 32}, 10, 10, 10, 10},
    {{In::Key, 13}, 10, 10, 10, 10},
    {{In::Key, 'X'}, 11, kNone, 11, kNone},
    {{In::Key, 'K'}, 11, kNone, 11, kNone},
    {{In::Key, 17}, 11, 11, 11, 11},
    {{In::Key, 'C'}, 12, kNone, 12, kNone},
    {{In::Key, 'L'}, 12, kNone, 12, kNone},
    {{In::Key, 16}, 12, 12, 12, 12},
    {{In::Key, 'V'}, 13, kNone, 13, kNone},
    {{In::Key, 'I'}, 13, kNone, 13, kNone},
    {{In::Key, 'B'}, 14, kNone, 14, kNone},
    {{In::Key, 'U'}, 14, kNone, 14, kNone},
    {{In::Key, 'N'}, 15, kNone, 15, kNone},
    {{In::Key, 'O'}, 15, kNone, 15, kNone},
    {{In::Key, 27}, 99, 99, 99, 99},
    {{In::Key, 192}, 99, kNone, 99, kNone},
    {{In::Key, 46}, 99, 99, 99, 99},
    {{In::Key, 8}, 99, 99, 99, 99},
    {{In::Key, 'E'}, kNone, kNone, kNone, kNone},
    {{In::Key, 9}, kNone, kNone, kNone, kNone},
    {{In::Key, 416}, kNone, kNone, kNone, kNone},
    {{In::Joy, 9}, kNone, kNone, 0, 0},
    {{In::Joy, 8}, kNone, kNone, 3, 3},
    {{In::Joy, 10}, kNone, kNone, 5, 5},
    {{In::Joy, 11}, kNone, kNone, 8, 8},
    {{In::Joy, 0}, kNone, kNone, 10, 10},
    {{In::Joy, 1}, kNone, kNone, 11, 11},
    {{In::Joy, 2}, kNone, kNone, 12, 12},
    {{In::Joy, 3}, kNone, kNone, 13, 13},
    {{In::Joy, 4}, kNone, kNone, 14, 14},
    {{In::Joy, 5}, kNone, kNone, 15, 15},
    {{In::Joy, 6}, kNone, kNone, 99, 99},
    {{In::Joy, 7}, kNone, kNone, 99, 99},
    {{In::Joy, 14}, kNone, kNone, 99, 99},
    {{In::Joy, 12}, kNone, kNone, kNone, kNone},
    {{In::Joy, 31}, kNone, kNone, kNone, kNone},
    {{In::StickUp, 0}, kNone, kNone, 0, kNone},
    {{In::StickDown, 0}, kNone, kNone, 8, kNone},
    {{In::StickLeft, 0}, kNone, kNone, 3, kNone},
    {{In::StickRight, 0}, kNone, kNone, 5, kNone},
    {{In::Ctl, 0}, 0, 0, 0, 0},
    {{In::Ctl, 3}, 3, 3, 3, 3},
    {{In::Ctl, 5}, 5, 5, 5, 5},
    {{In::Ctl, 8}, 8, 8, 8, 8},
    {{In::Ctl, 10}, 10, 10, 10, 10},
    {{In::Ctl, 11}, 11, 11, 11, 11},
    {{In::Ctl, 12}, 12, 12, 12, 12},
    {{In::Ctl, 13}, 13, 13, 13, 13},
    {{In::Ctl, 14}, 14, 14, 14, 14},
    {{In::Ctl, 15}, 15, 15, 15, 15},
    {{In::Ctl, 16}, 99, 99, 99, 99},
    {{In::Ctl, 17}, 99, 99, 99, 99},
    {{In::Ctl, 19}, 99, 99, 99, 99},
    {{In::Ctl, 1}, kNone, kNone, kNone, kNone},
    {{In::Ctl, 18}, kNone, kNone, kNone, kNone},
};

constexpr int kPort = 2;  // the joystick the joystick tables are read for

void Apply(c_MyApp* app, const Held& h) {
    switch (h.kind) {
        case In::Key: kr_input_device->p_KeyEvent(1, h.code); break;
        case In::Joy: kr_input_device->p_KeyEvent(1, 256 + 32 * kPort + h.code); break;
        case In::Ctl: app->m_Ctl[h.code] = 1; break;
        case In::StickUp: kr_input_device->m_JoyStates[kPort]->m_AxesY[0] = 1; break;
        case In::StickDown: kr_input_device->m_JoyStates[kPort]->m_AxesY[0] = -1; break;
        case In::StickLeft: kr_input_device->m_JoyStates[kPort]->m_AxesX[0] = -1; break;
        case In::StickRight: kr_input_device->m_JoyStates[kPort]->m_AxesX[0] = 1; break;
    }
}

TEST_F(Controls, PlayKeyFollowsTheFourTables) {
    for (const TableRow& row : kTables) {
        app = StartBareGame(host);
        Apply(app, row.source);
        const struct { int icade, device, expected; const char* name; } tables[] = {
            {0, -1, row.keyboard, "keyboard"},
            {1, -1, row.keyboardICade, "keyboard, iCade"},
            {0, kPort, row.joystick, "joystick"},
            {1, kPort, row.joystickICade, "joystick, iCade"},
        };
        for (const auto& t : tables) {
            kr_Vex_iCadeControls = t.icade;
            for (int action : kActions) {
                EXPECT_EQ(app->p_PlayKey(action, 1, t.device), action == t.expected ? 1 : 0)
                    << t.name << ": source " << static_cast<int>(row.source.kind) << "/" << row.source.code
                    << ", action " << action;
            }
        }
        // Joystick sources belong to their own port only.
        bool joystickOnly = row.source.kind != In::Key && row.source.kind != In::Ctl;
        kr_Vex_iCadeControls = 0;
        for (int action : kActions) {
            if (joystickOnly) EXPECT_EQ(app->p_PlayKey(action, 1, 1), 0) << "port 1, action " << action;
        }
    }
}

TEST_F(Controls, ICadeButtonsFourToSixGiveTheirControlValueOnTheKeyboardOnly) {
    kr_Vex_iCadeControls = 1;
    for (int element : {13, 14, 15}) {
        app->m_Ctl[element] = 2;
        EXPECT_EQ(app->p_PlayKey(element, 1, -1), 2) << element;
        EXPECT_EQ(app->p_PlayKey(element, 1, 0), 1) << element;
        EXPECT_EQ(app->p_PlayKeyAll(element, 1), 4) << element;
    }
    kr_Vex_iCadeControls = 0;
    EXPECT_EQ(app->p_PlayKey(13, 1, -1), 1);
}

TEST_F(Controls, ConsoleBackIsOnlyTheConsoleBackButtonWhileICadeIsOff) {
    const struct {
        int icade;
        Held source;
        int ctl19;
        int keyboard, joystick;
    } cases[] = {
        {0, {In::Key, 27}, 0, 0, 0},
        {0, {In::Key, 192}, 0, 0, 0},
        {0, {In::Joy, 6}, 0, 0, 0},
        {0, {In::Ctl, 16}, 0, 0, 0},
        {0, {In::Key, 'W'}, 1, 1, 1},
        {0, {In::Key, 'W'}, 2, 2, 2},  // the value itself
        {1, {In::Key, 27}, 0, 1, 1},   // with iCade on the iCade tables hold
        {1, {In::Joy, 14}, 0, 0, 1},
    };
    for (const auto& c : cases) {
        app = StartBareGame(host);
        kr_Vex_isOuya = 1;
        kr_Vex_iCadeControls = c.icade;
        Apply(app, c.source);
        app->m_Ctl[19] = c.ctl19;
        EXPECT_EQ(app->p_PlayKey(99, 1, -1), c.keyboard) << c.source.code << " icade " << c.icade;
        EXPECT_EQ(app->p_PlayKey(99, 1, kPort), c.joystick) << c.source.code << " icade " << c.icade;
    }
}

TEST_F(Controls, DevicesOutsideKeyboardAndFourJoysticksHoldNothing) {
    Key(32);
    EXPECT_EQ(app->p_PlayKey(10, 1, -1), 1);
    for (int device : {-2, -100, 4, 5}) EXPECT_EQ(app->p_PlayKey(10, 1, device), 0) << device;
    // The keyboard counts for every joystick; one joystick's button for one.
    EXPECT_EQ(app->p_PlayKeyAll(10, 1), 4);
    Key(32, false);
    JoyButton(3, 0);
    EXPECT_EQ(app->p_PlayKeyAll(10, 1), 1);
    EXPECT_EQ(app->p_PlayKeyAll(7, 1), 0);
}

TEST_F(Controls, StickCountsAsADirectionOnlyBeyondPointFourAndWhenAsked) {
    const struct { float x, y; int up, down, left, right; } cases[] = {
        {0, 0.4f, 0, 0, 0, 0},
        {0, -0.4f, 0, 0, 0, 0},
        {0.4f, 0, 0, 0, 0, 0},
        {-0.4f, 0, 0, 0, 0, 0},
        {0, 0.41f, 1, 0, 0, 0},
        {0, -0.41f, 0, 1, 0, 0},
        {-0.41f, 0, 0, 0, 1, 0},
        {0.41f, 0, 0, 0, 0, 1},
        {kInf, -kInf, 0, 1, 0, 1},
        {kNaN, kNaN, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        Stick(0, c.x, c.y);
        EXPECT_EQ(app->p_PlayKey(0, 1, 0), c.up) << c.x << "," << c.y;
        EXPECT_EQ(app->p_PlayKey(8, 1, 0), c.down) << c.x << "," << c.y;
        EXPECT_EQ(app->p_PlayKey(3, 1, 0), c.left) << c.x << "," << c.y;
        EXPECT_EQ(app->p_PlayKey(5, 1, 0), c.right) << c.x << "," << c.y;
        for (int a : {0, 3, 5, 8}) EXPECT_EQ(app->p_PlayKey(a, 0, 0), 0) << "no stick wanted";
    }
}

TEST_F(Controls, StickReadersNegateTheFirstStickYAndReadNaNAsCentred) {
    c_JoyState* joy = kr_input_device->m_JoyStates[1];
    joy->m_AxesX[0] = 0.25f;
    joy->m_AxesY[0] = 0.5f;
    joy->m_AxesX[1] = -0.75f;
    joy->m_AxesY[1] = 0.125f;
    EXPECT_EQ(app->p_StickX(0, 1), 0.25f);
    EXPECT_EQ(app->p_StickY(0, 1), -0.5f);
    EXPECT_EQ(app->p_StickX(1, 1), -0.75f);
    EXPECT_EQ(app->p_StickY(1, 1), 0.125f);
    EXPECT_EQ(app->p_StickX(0, -1), 0.0f);
    EXPECT_EQ(app->p_StickY(0, -1), 0.0f);
    joy->m_AxesX[0] = joy->m_AxesY[0] = kNaN;
    EXPECT_EQ(app->p_StickX(0, 1), 0.0f);
    EXPECT_EQ(app->p_StickY(0, 1), 0.0f);
}

// ---- Pointer and touches -----------------------------------------------------

TEST_F(Controls, PointerStaysWhereItWasUntilTheScreenIsFitted) {
    app->m_MouseX = 7;
    app->m_MouseY = 9;
    kr_input_device->p_MouseEvent(4, 0, 300, 200);
    TouchDown(3, 50, 60);
    app->p_ReadPointer();
    EXPECT_EQ(app->m_MouseX, 7);
    EXPECT_EQ(app->m_MouseY, 9);
    EXPECT_EQ(app->m_MouseDown, 1);
    EXPECT_EQ(app->m_MouseHit, 1);
    EXPECT_EQ(app->m_TouchDown[3], 1);
    EXPECT_EQ(app->m_TouchX[0], 0);  // kept: never converted yet
    EXPECT_EQ(app->m_TouchX[1], -3717);
    EXPECT_EQ(app->m_TouchY[1], -3717);
    EndUpdate();

    app->m_ScaleX = 2;  // one axis fitted is not enough
    app->p_ReadPointer();
    EXPECT_EQ(app->m_MouseX, 7);
    EXPECT_EQ(app->m_MouseY, 9);

    app->m_ScaleY = 2;
    app->p_ReadPointer();
    EXPECT_EQ(app->m_MouseX, 150);
    EXPECT_EQ(app->m_MouseY, 100);
    EXPECT_EQ(app->m_TouchX[3], 25);
    EXPECT_EQ(app->m_TouchY[3], 30);
    EXPECT_EQ(app->m_MouseHit, 0);
}

TEST_F(Controls, PointerConvertsWithOverscanAndTruncates) {
    app->m_ScaleX = app->m_ScaleY = 1.6f;
    kr_Vex_overscan = 64;
    kr_input_device->p_MouseEvent(6, 0, 64 + 100, 161);
    app->p_ReadPointer();
    EXPECT_EQ(app->m_MouseX, 62);   // 100 / 1.6 = 62.5
    EXPECT_EQ(app->m_MouseY, 100);  // no device here: the y border is 0
    kr_input_device->p_MouseEvent(6, 0, 0, 0);
    app->p_ReadPointer();
    EXPECT_EQ(app->m_MouseX, -40);
}

TEST_F(Controls, FreshPressHasNoMovementButADragHas) {
    app->m_ScaleX = app->m_ScaleY = 1;
    kr_input_device->p_MouseEvent(6, 0, 10, 10);
    app->p_ReadPointer();
    kr_input_device->p_MouseEvent(4, 0, 40, 50);
    app->p_ReadPointer();
    EXPECT_EQ(app->m_MouseOldX, 40);
    EXPECT_EQ(app->m_MouseOldY, 50);
    EXPECT_EQ(app->m_MouseWasDown, 1);
    EndUpdate();
    kr_input_device->p_MouseEvent(6, 0, 45, 58);
    app->p_ReadPointer();
    EXPECT_EQ(app->m_MouseOldX, 40);
    EXPECT_EQ(app->m_MouseOldY, 50);
    EXPECT_EQ(app->m_MouseX, 45);
    EXPECT_EQ(app->m_TouchX[0], 45);  // the mouse is also the first touch
    EXPECT_EQ(app->m_TouchDown[0], 1);
    kr_input_device->p_MouseEvent(5, 0, 45, 58);
    app->p_ReadPointer();
    EXPECT_EQ(app->m_MouseDown, 0);
    EXPECT_EQ(app->m_MouseWasDown, 0);
    EXPECT_EQ(app->m_TouchDown[0], 0);
    EXPECT_EQ(app->m_TouchX[0], -3717);
}

TEST_F(Controls, TenTouchesCountAndOutlandishPositionsStaySound) {
    app->m_ScaleX = app->m_ScaleY = 1;
    TouchDown(10, 5, 5);  // the game reads touches 0..9 only
    app->p_ReadPointer();
    EXPECT_EQ(app->m_MouseDown, 0);
    TouchDown(9, 5, 6);
    app->p_ReadPointer();
    EXPECT_EQ(app->m_MouseDown, 1);
    EXPECT_EQ(app->m_TouchY[9], 6);
    EXPECT_EQ(app->m_MouseWasDown, 0);  // no left button

    TouchMove(9, kNaN, 1e30f);
    app->p_ReadPointer();
    EXPECT_EQ(app->m_TouchX[9], 5);  // kept
    EXPECT_EQ(app->m_TouchY[9], 16777216);
    TouchMove(9, -kInf, 7);
    app->m_ScaleX = kNaN;
    app->p_ReadPointer();
    EXPECT_EQ(app->m_TouchX[9], 5);
    app->m_ScaleX = 1;
    app->p_ReadPointer();
    EXPECT_EQ(app->m_TouchX[9], -16777216);
}

// ---- Buttons and touch areas --------------------------------------------------

TEST_F(Controls, ButtonEdgesAreStrict) {
    ImageSize(95, 32, 16);
    app->m_DrawSX = app->m_DrawSY = 1;
    // The box of a 32 x 16 image at (100, 100): 84 < x < 116, 92 < y < 108.
    const struct { int x, y, hit; } cases[] = {
        {84, 100, 0}, {85, 100, 1}, {115, 100, 1}, {116, 100, 0},
        {100, 92, 0}, {100, 93, 1}, {100, 107, 1}, {100, 108, 0},
    };
    for (const auto& c : cases) {
        ClearTouches();
        PutTouch(4, c.x, c.y);
        EXPECT_EQ(app->p_Button95(100, 100, 0), c.hit) << c.x << "," << c.y;
        EXPECT_EQ(app->m_ButtonHit, c.hit);
        EXPECT_EQ(app->p_Button(95, 100, 100, 0), c.hit);
    }
    // The scale, the image scale and the frame's design size set the box.
    ClearTouches();
    PutTouch(0, 125, 100);
    EXPECT_EQ(app->p_Button(95, 100, 100, 0), 0);
    app->m_DrawSX = 2;
    EXPECT_EQ(app->p_Button(95, 100, 100, 0), 1);
    app->m_ImgScale = 0.5f;
    EXPECT_EQ(app->p_Button(95, 100, 100, 0), 0);
    // Nothing is pressed while no pointer is down.
    app->m_ImgScale = 1;
    app->m_MouseDown = 0;
    EXPECT_EQ(app->p_Button(95, 100, 100, 0), 0);
    EXPECT_EQ(app->m_ButtonHit, 0);
    // A slot outside the table has no box.
    app->m_MouseDown = 1;
    EXPECT_EQ(app->p_Button(100, 125, 100, 0), 0);
    EXPECT_EQ(app->p_Button(-1, 125, 100, 0), 0);
}

TEST_F(Controls, ButtonZeroReadsTheFirstTouchOnlyAndLeavesButtonHit) {
    ImageSize(97, 20, 20);
    app->m_DrawSX = app->m_DrawSY = 1;
    ClearTouches();
    PutTouch(1, 50, 50);
    app->m_ButtonHit = 7;
    EXPECT_EQ(app->p_Button0(97, 50, 50, 3), 0);
    EXPECT_EQ(app->p_Button97(50, 50, 3), 1);
    EXPECT_EQ(app->m_ButtonHit, 1);
    PutTouch(0, 59, 41);
    app->m_ButtonHit = 7;
    EXPECT_EQ(app->p_Button0(97, 50, 50, 3), 1);
    EXPECT_EQ(app->m_ButtonHit, 7);
    app->m_TouchX[0] = 60;
    EXPECT_EQ(app->p_Button0(97, 50, 50, 3), 0);
}

TEST_F(Controls, TouchAreasAreGenerousAndStrict) {
    // p_Touch(10, 20, 100, 30) takes 4 < x < 122 and 14 < y < 62.
    const struct { int x, y, hit; } cases[] = {
        {4, 30, 0}, {5, 30, 1}, {121, 30, 1}, {122, 30, 0},
        {50, 14, 0}, {50, 15, 1}, {50, 61, 1}, {50, 62, 0},
    };
    for (const auto& c : cases) {
        ClearTouches();
        PutTouch(6, c.x, c.y);
        EXPECT_EQ(app->p_Touch(10, 20, 100, 30), c.hit) << c.x << "," << c.y;
    }
    // Only touches that are down count.
    ClearTouches();
    PutTouch(2, 50, 30);
    app->m_TouchDown[2] = 0;
    EXPECT_EQ(app->p_Touch(10, 20, 100, 30), 0);
    // The fixed form: x 24, height 24, so 18 < x < 24 + w + 12, y - 6 < ty < y + 36.
    ClearTouches();
    PutTouch(0, 19, 135);
    EXPECT_EQ(app->p_Touch24(100, 50), 1);
    app->m_TouchY[0] = 136;
    EXPECT_EQ(app->p_Touch24(100, 50), 0);
    app->m_TouchX[0] = 18;
    app->m_TouchY[0] = 120;
    EXPECT_EQ(app->p_Touch24(100, 50), 0);
}

TEST_F(Controls, CentredAreaIsStrictAndNeedsADownTouch) {
    // A 40 x 20 box centred on (100, 50): 80 < x < 120, 40 < y < 60.
    const struct { int x, y, hit; } cases[] = {
        {80, 50, 0}, {81, 50, 1}, {119, 50, 1}, {120, 50, 0}, {100, 40, 0}, {100, 41, 1}, {100, 60, 0},
    };
    for (const auto& c : cases) {
        ClearTouches();
        PutTouch(8, c.x, c.y);
        EXPECT_EQ(app->p_MouseIn_Centered(100, 50, 40, 20), c.hit) << c.x << "," << c.y;
    }
    app->m_TouchDown[8] = 0;
    app->m_TouchX[8] = 100;
    app->m_TouchY[8] = 50;
    EXPECT_EQ(app->p_MouseIn_Centered(100, 50, 40, 20), 0);
}

TEST_F(Controls, ButtonPressedThroughRealInput) {
    ImageSize(95, 32, 32);
    app->m_DrawSX = app->m_DrawSY = 1;
    app->m_ScaleX = app->m_ScaleY = 2;
    kr_input_device->p_MouseEvent(4, 0, 200, 200);  // virtual (100, 100)
    app->p_ReadPointer();
    EXPECT_EQ(app->p_Button95(110, 110, 0), 1);
    EXPECT_EQ(app->p_Button95(130, 110, 0), 0);
}

// ---- The analogue stick ---------------------------------------------------------

TEST_F(Controls, TouchStickHasADeadZoneAndMeasuresFromItsAnchor) {
    ClearTouches();
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_StickAnchorX, -1);

    const struct { int x, y; float sx, sy; int ax, ay; } steps[] = {
        {100, 200, 0, 0, 100, 200},               // the anchor is set where the touch went down
        {105, 205, 0, 0, 100, 200},               // (5, 5): under a tenth of 72 on both axes
        {108, 200, 8 / 72.0f, 0, 100, 200},       // (8, 0)
        {100, 203, 0, 0, 100, 200},               // (0, 3)
        {100, 208, 0, 8 / 72.0f, 100, 200},       // (0, 8)
        {40, 200, -60 / 72.0f, 0, 100, 200},      // 60 away: no creep
        {30, 300, -70 / 72.0f, 1, 96, 204},       // more than 64 away: creep 4; y clamped
        {30, 300, -66 / 72.0f, 1, 92, 208},
    };
    for (const auto& s : steps) {
        ClearTouches();
        PutTouch(0, s.x, s.y);
        app->p_AnalogueControl();
        EXPECT_FLOAT_EQ(app->m_StickX, s.sx) << s.x << "," << s.y;
        EXPECT_FLOAT_EQ(app->m_StickY, s.sy) << s.x << "," << s.y;
        EXPECT_EQ(app->m_StickAnchorX, s.ax);
        EXPECT_EQ(app->m_StickAnchorY, s.ay);
    }
    EXPECT_NEAR(8 / 72.0f, 0.111f, 0.0005f);
    ClearTouches();
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_StickAnchorX, -1);
    EXPECT_EQ(app->m_StickX, 0.0f);
}

TEST_F(Controls, TouchStickSidesFollowTheTouchLayout) {
    // W = 640: with layout 0 the left 448 pixels steer and the rest fire;
    // with layout 1 the right side beyond 192 steers and the left fires.
    const struct { int layout, x; bool moves, fires; } cases[] = {
        {0, 447, true, false}, {0, 449, false, true}, {0, 448, false, false}, {0, 0, true, false},
        {1, 193, true, false}, {1, 191, false, true}, {1, 192, false, false}, {1, 639, true, false},
        {2, 100, false, false},
    };
    for (const auto& c : cases) {
        app = StartBareGame(host);
        app->m_Opt[17] = c.layout;
        app->m_StickAnchorX = -1;
        ClearTouches();
        PutTouch(5, c.x, 100);
        app->p_AnalogueControl();
        EXPECT_EQ(app->m_StickAnchorX >= 0, c.moves) << c.layout << " at " << c.x;
        EXPECT_EQ(app->m_Ctl[10], c.fires ? 1 : 0) << c.layout << " at " << c.x;
    }
    // Touch 6 and beyond do not steer.
    app = StartBareGame(host);
    app->m_StickAnchorX = -1;
    ClearTouches();
    PutTouch(6, 100, 100);
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_StickAnchorX, -1);
}

TEST_F(Controls, JoystickStickOverridesTheTouchStickBeyondPointTwo) {
    const struct { float x, y, sx, sy; } cases[] = {
        {0.2f, 0.2f, 0, 0},
        {0.3f, 0, 0.3f, 0},
        {0, 0.5f, 0, -0.5f},
        {-0.21f, 0.1f, -0.21f, -0.1f},
        {kInf, 0, 1, 0},
        {kNaN, 0.5f, 0, -0.5f},
        {kNaN, kNaN, 0, 0},
        {0.5f, -kInf, 0.5f, 1},
    };
    for (const auto& c : cases) {
        Stick(0, c.x, c.y);
        app->p_AnalogueControl();
        EXPECT_FLOAT_EQ(app->m_StickX, c.sx) << c.x << "," << c.y;
        EXPECT_FLOAT_EQ(app->m_StickY, c.sy) << c.x << "," << c.y;
    }
}

TEST_F(Controls, KeysRampToFullDeflectionInSevenUpdatesAndBackInFive) {
    const struct { int key; bool vertical; float sign; } directions[] = {
        {38, true, -1}, {40, true, 1}, {37, false, -1}, {39, false, 1},
    };
    const float rise[] = {0.15f, 0.3f, 0.45f, 0.6f, 0.75f, 0.9f, 1};
    const float fall[] = {0.8f, 0.6f, 0.4f, 0.2f, 0};
    for (const auto& d : directions) {
        app = StartBareGame(host);
        float& stick = d.vertical ? app->m_StickY : app->m_StickX;
        float& keyStick = d.vertical ? app->m_KeyStickY : app->m_KeyStickX;
        float& other = d.vertical ? app->m_StickX : app->m_StickY;
        Key(d.key);
        for (float v : rise) {
            app->p_AnalogueControl();
            EXPECT_FLOAT_EQ(stick, d.sign * v) << d.key;
            EXPECT_FLOAT_EQ(keyStick, d.sign * v) << d.key;
            EXPECT_EQ(other, 0.0f);
        }
        app->p_AnalogueControl();
        EXPECT_EQ(stick, d.sign) << "held beyond full deflection";
        Key(d.key, false);
        // Back at rest after five updates, up to the rounding of 32-bit
        // floats (0.2 is not exact); the residue goes at the sixth.
        for (float v : fall) {
            app->p_AnalogueControl();
            EXPECT_NEAR(stick, d.sign * v, 1e-6f) << d.key;
        }
        app->p_AnalogueControl();
        EXPECT_EQ(keyStick, 0.0f) << d.key;
        EXPECT_EQ(stick, 0.0f) << d.key;
        app->p_AnalogueControl();
        EXPECT_EQ(stick, 0.0f) << d.key;
    }
}

TEST_F(Controls, JoystickPadButtonsRampButTheStickDoesNotCountAsAKey) {
    JoyButton(0, 10);  // pad right on joystick 0
    app->p_AnalogueControl();
    EXPECT_FLOAT_EQ(app->m_KeyStickX, 0.15f);
    JoyButton(0, 10, false);
    app = StartBareGame(host);
    JoyButton(1, 10);  // another joystick's pad does not steer
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_KeyStickX, 0.0f);
}

// ---- iCade --------------------------------------------------------------------

TEST_F(Controls, ICadeCharactersPressAndReleaseTheirControls) {
    const struct { char press, release; int element; } buttons[] = {
        {'w', 'e', 0}, {'x', 'z', 8}, {'a', 'q', 3}, {'d', 'c', 5}, {'y', 't', 13}, {'u', 'f', 14},
        {'i', 'm', 15}, {'o', 'g', 16}, {'h', 'r', 10}, {'j', 'n', 11}, {'k', 'p', 12}, {'l', 'v', 17},
    };
    kr_Vex_iCadeControls = 1;
    for (const auto& b : buttons) {
        for (int upper : {0, 1}) {
            int shift = upper ? 'a' - 'A' : 0;
            kr_input_device->p_KeyEvent(3, b.press - shift);
            kr_input_device->p_KeyEvent(3, 's');  // not an iCade character
            app->p_ReadICade();
            EndUpdate();
            EXPECT_EQ(app->m_Ctl[b.element], 2) << b.press;
            EXPECT_EQ(app->m_LastChar, 0);
            app->p_ReadICade();  // held without further characters
            EXPECT_EQ(app->m_Ctl[b.element], 2) << b.press;
            kr_input_device->p_KeyEvent(3, b.release - shift);
            app->p_ReadICade();
            EndUpdate();
            EXPECT_EQ(app->m_Ctl[b.element], 0) << b.release;
        }
    }
    int sum = 0;
    for (int i = 0; i < 20; ++i) sum += app->m_Ctl[i];
    EXPECT_EQ(sum, 0);
}

TEST_F(Controls, ICadeWalksTheQueueInOrderAndOnlyWhileOn) {
    for (int c : {int{'w'}, int{'e'}, int{'w'}, int{'h'}, 0x10057, -1}) kr_input_device->p_KeyEvent(3, c);
    app->p_ReadICade();  // off: the characters stay queued
    EXPECT_EQ(app->m_Ctl[0], 0);
    kr_Vex_iCadeControls = 1;
    app->p_ReadICade();
    EXPECT_EQ(app->m_Ctl[0], 2);
    EXPECT_EQ(app->m_Ctl[10], 2);
    EXPECT_EQ(app->m_Ctl[8] + app->m_Ctl[3] + app->m_Ctl[5], 0);
    EXPECT_EQ(app->m_LastChar, 0);
    // W on the keyboard does not move up while iCade is on; the character did.
    Key('W');
    app->m_Ctl[0] = 0;
    EXPECT_EQ(app->p_PlayKey(0, 1, -1), 0);
}

// ---- On-screen pad ---------------------------------------------------------------

class Pad : public Controls {
protected:
    void SetUp() override {
        kr_Vex_OnScreenControls = 1;
        app->m_Mode = 10;
        app->m_Opt[10] = 64;
        app->m_Opt[11] = 64;
        app->m_Opt[12] = 10;
        ImageSize(94, 32, 32);
        app->m_DrawSX = app->m_DrawSY = 1;
        ClearTouches();
    }
    int Ctl(int i) const { return app->m_Ctl[i]; }
    void Step() {
        for (int i = 0; i < 20; ++i) {
            if (app->m_Ctl[i] == 1) app->m_Ctl[i] = 0;
        }
        app->p_OnScreenPad();
    }
};

// The pad centre is (64, 416) on a 640 x 480 screen: directions 32 away,
// fire at (600, 392) and (552, 440).
TEST_F(Pad, DirectionsIdleWhilePausedButFireStillWorks) {
    const struct { int x, y, element; } buttons[] = {
        {32, 416, 3}, {64, 384, 0}, {64, 448, 8}, {96, 416, 5}, {600, 392, 10}, {552, 440, 11},
    };
    for (int paused : {0, 1}) {
        for (const auto& b : buttons) {
            app->m_Paused = paused;
            ClearTouches();
            PutTouch(2, b.x, b.y);
            Step();
            bool direction = b.element < 10;
            int expected = paused && direction ? 0 : 1;
            for (int e : {0, 3, 5, 8, 10, 11}) {
                EXPECT_EQ(Ctl(e), e == b.element ? expected : 0) << "paused " << paused << ", element " << b.element;
            }
        }
    }
    EXPECT_EQ(app->m_PadX, 64);
    EXPECT_EQ(app->m_PadY, 416);
    EXPECT_FLOAT_EQ(app->m_PadSize, 1.0f);
}

TEST_F(Pad, RunsOnlyInPlayWithItsSwitchOnAndICadeOff) {
    const struct { int sw, mode, icade, runs; } cases[] = {
        {1, 10, 0, 1}, {1, 6, 0, 1}, {1, 5, 0, 0}, {1, 1, 0, 0}, {0, 10, 0, 0}, {1, 10, 1, 0},
    };
    for (const auto& c : cases) {
        kr_Vex_OnScreenControls = c.sw;
        kr_Vex_iCadeControls = c.icade;
        app->m_Mode = c.mode;
        app->m_Opt[12] = 7;
        app->m_Ctl[3] = 0;
        ClearTouches();
        PutTouch(0, 32, 416);
        app->p_OnScreenPad();
        EXPECT_EQ(app->m_Opt[12], c.runs ? 8 : 7);
        EXPECT_EQ(Ctl(3), c.runs);
    }
}

TEST_F(Pad, GeometryIsClampedToTheScreen) {
    const struct { int x, y, size; int cx, cy, csize; float s; } cases[] = {
        {0, 0, 0, 32, 32, 8, 0.8f},
        {1000, 1000, 40, 608, 448, 25, 2.5f},
        {100, 200, 12, 100, 200, 12, 1.2f},
    };
    for (const auto& c : cases) {
        app->m_Opt[10] = c.x;
        app->m_Opt[11] = c.y;
        app->m_Opt[12] = c.size;
        app->p_OnScreenPad();
        EXPECT_EQ(app->m_Opt[10], c.cx);
        EXPECT_EQ(app->m_Opt[11], c.cy);
        EXPECT_EQ(app->m_Opt[12], c.csize);
        EXPECT_EQ(app->m_PadX, c.cx);
        EXPECT_EQ(app->m_PadY, 480 - c.cy);
        EXPECT_FLOAT_EQ(app->m_PadSize, c.s);
    }
    // A screen size that is not a number leaves no upper bound.
    kr_Vex_jscrw = kNaN;
    kr_Vex_jscrh = kNaN;
    app->m_Opt[10] = 5000;
    app->p_OnScreenPad();
    EXPECT_EQ(app->m_Opt[10], 5000);
    EXPECT_EQ(app->m_PadY, 0);
}

TEST_F(Pad, MovesByItsCentreWhilePaused) {
    PutTouch(0, 70, 410);
    Step();
    EXPECT_EQ(app->m_Opt[10], 64) << "not paused";
    app->m_Paused = 1;
    Step();
    EXPECT_EQ(app->m_Opt[10], 70);
    EXPECT_EQ(app->m_Opt[11], 70);
    Step();
    EXPECT_EQ(app->m_PadX, 70);
    EXPECT_EQ(app->m_PadY, 410);
    // With a second finger down the pad does not move.
    app->m_TouchX[0] = 72;
    PutTouch(1, 200, 200);
    Step();
    EXPECT_EQ(app->m_Opt[10], 70);
}

TEST_F(Pad, TwoFingersResizeByATenthPerSixteenPixels) {
    app->m_Paused = 1;
    app->m_ObjSlot = 99;
    app->m_PadDrag = 1;
    PutTouch(0, 300, 200);
    Step();  // touch 1 up: the gesture starts afresh
    EXPECT_EQ(app->m_PadDrag, 0);
    EXPECT_EQ(app->m_ObjSlot, 0);

    const struct { int x1; int size; int slot; } steps[] = {
        {340, 10, -2},  // the first step with both down only takes the spread
        {372, 12, -4},  // 32 pixels wider: two tenths
        {380, 13, -5},  // 8 more: the truncated step grows by one
        {388, 13, -5},  // still -5: 88 / 16 = 5
        {260, 10, -2},  // the other side, spread 40
        {300, 8, 0},    // fingers together
    };
    for (const auto& s : steps) {
        PutTouch(1, s.x1, 200);
        Step();
        EXPECT_EQ(app->m_Opt[12], s.size) << s.x1;
        EXPECT_EQ(app->m_ObjSlot, s.slot) << s.x1;
        EXPECT_EQ(app->m_PadDrag, 1);
    }
    app->m_TouchDown[1] = 0;
    Step();
    EXPECT_EQ(app->m_PadDrag, 0);
    EXPECT_EQ(app->m_Opt[12], 8);
    // Not paused: no resizing.
    app->m_Paused = 0;
    PutTouch(1, 300, 200);
    Step();
    PutTouch(1, 500, 200);
    Step();
    EXPECT_EQ(app->m_Opt[12], 8);
}

TEST_F(Pad, ExtremeSpreadsDoNotOverflow) {
    app->m_Paused = 1;
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

// ---- Tilt --------------------------------------------------------------------------

TEST_F(Controls, TiltSmoothsSnapsAndCalibrates) {
    kr_Vex_AccelerometerControls = 1;
    ImageSize(97, 32, 32);
    app->m_DrawSX = app->m_DrawSY = 1;
    ClearTouches();
    kr_input_device->p_MotionEvent(10, 0, 0.4f, -0.2f, 0);
    const float smoothX[] = {0.1f, 0.175f, 0.23125f};
    for (float x : smoothX) {
        app->p_ReadTilt();
        EXPECT_FLOAT_EQ(app->m_AccelX, 0.4f);
        EXPECT_FLOAT_EQ(app->m_AccelY, -0.2f);
        EXPECT_FLOAT_EQ(app->m_AccelSmoothX, x);
        EXPECT_FLOAT_EQ(app->m_AccelSmoothY, -x / 2);
    }
    for (int i = 0; i < 30; ++i) app->p_ReadTilt();
    EXPECT_EQ(app->m_AccelSmoothX, 0.4f) << "snapped";
    EXPECT_EQ(app->m_AccelSmoothY, -0.2f) << "snapped";

    PutTouch(0, 24, 456);  // the calibration button
    app->p_ReadTilt();
    EXPECT_EQ(app->m_AccelZeroX, 0.4f);
    EXPECT_EQ(app->m_AccelZeroY, -0.2f);
    ClearTouches();
    app->p_ReadTilt();
    EXPECT_EQ(app->m_AccelX, 0.0f);
    EXPECT_EQ(app->m_AccelY, 0.0f);

    kr_input_device->p_MotionEvent(10, 0, kNaN, kInf, 0);
    app->p_ReadTilt();
    EXPECT_FLOAT_EQ(app->m_AccelX, -0.4f);
    EXPECT_FLOAT_EQ(app->m_AccelY, 0.2f);
}

TEST_F(Controls, TiltIsClearedWhileICadeIsOnAndIdleWhileSwitchedOff) {
    kr_input_device->p_MotionEvent(10, 0, 0.5f, 0.5f, 0);
    app->p_ReadTilt();
    EXPECT_EQ(app->m_AccelX, 0.0f);
    kr_Vex_AccelerometerControls = 1;
    app->p_ReadTilt();
    EXPECT_EQ(app->m_AccelX, 0.5f);
    kr_Vex_iCadeControls = 1;
    app->p_ReadTilt();
    EXPECT_EQ(app->m_AccelX, 0.0f);
    EXPECT_EQ(app->m_AccelY, 0.0f);
    EXPECT_EQ(app->m_AccelSmoothX, 0.0f);
    EXPECT_EQ(app->m_AccelSmoothY, 0.0f);
}

}  // namespace

// ---- What the controls draw -------------------------------------------------------

namespace {

struct Drawn {
    float kind;  // image slot, -3717 rectangle, -3716 oval
    float x, y, w, h, frame, alpha, r, g, b;
};

std::vector<Drawn> Records(c_MyApp* app) {
    std::vector<Drawn> out;
    for (int i = 0; i + 14 < app->m_DrawN; i += 15) {
        const Array<float>& d = app->m_Draw;
        out.push_back({d[i], d[i + 1], d[i + 2], d[i + 4], d[i + 5], d[i + 6], d[i + 7], d[i + 10], d[i + 11], d[i + 12]});
    }
    return out;
}

void ExpectImage(const Drawn& d, int slot, float x, float y, int frame, float scale, float alpha) {
    EXPECT_EQ(d.kind, slot);
    EXPECT_FLOAT_EQ(d.x, x);
    EXPECT_FLOAT_EQ(d.y, y);
    EXPECT_EQ(d.frame, frame);
    EXPECT_FLOAT_EQ(d.w, scale);
    EXPECT_FLOAT_EQ(d.h, scale);
    EXPECT_FLOAT_EQ(d.alpha, alpha);
}

void ExpectOval(const Drawn& d, float x, float y, float radius, float r, float g, float b, float alpha) {
    EXPECT_EQ(d.kind, -3716);
    EXPECT_FLOAT_EQ(d.x, x);
    EXPECT_FLOAT_EQ(d.y, y);
    EXPECT_FLOAT_EQ(d.w, radius);
    EXPECT_FLOAT_EQ(d.h, radius);
    EXPECT_FLOAT_EQ(d.alpha, alpha);
    EXPECT_EQ(d.r, r);
    EXPECT_EQ(d.g, g);
    EXPECT_EQ(d.b, b);
}

}  // namespace

TEST_F(Controls, ButtonsDrawTheirFrameAndTouchAreasTheirBar) {
    ImageSize(95, 32, 32);
    app->p_SetCol(10, 20, 30, 0.5f);
    app->p_SetSize(2);
    app->m_DrawN = 0;
    app->p_Button(95, 100, 50, 3);
    app->p_Button0(97, 10, 20, 4);
    app->p_Touch(10, 20, 100, 30);
    app->p_Touch24(100, 50);
    app->p_MouseIn_Centered(100, 50, 40, 20);
    std::vector<Drawn> d = Records(app);
    ASSERT_EQ(d.size(), 4u);
    ExpectImage(d[0], 95, 100, 50, 3, 2, 0.5f);
    EXPECT_EQ(d[0].r, 10);
    ExpectImage(d[1], 97, 10, 20, 4, 2, 0.5f);
    const float bars[][4] = {{10, 20, 100, 30}, {24, 100, 50, 24}};
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(d[2 + k].kind, -3717);
        EXPECT_EQ(d[2 + k].x, bars[k][0]);
        EXPECT_EQ(d[2 + k].y, bars[k][1]);
        EXPECT_EQ(d[2 + k].w, bars[k][2]);
        EXPECT_EQ(d[2 + k].h, bars[k][3]);
    }
}

TEST_F(Pad, DrawsDirectionsCentreAndFireButtonsAtItsScale) {
    for (int size : {10, 20}) {
        float s = size / 10.0f;
        for (int paused : {0, 1}) {
            app->m_Opt[12] = size;
            app->m_Paused = paused;
            app->m_DrawN = 0;
            app->p_OnScreenPad();
            std::vector<Drawn> d = Records(app);
            ASSERT_EQ(d.size(), paused ? 8u : 7u);
            ExpectImage(d[0], 94, 64 - 32 * s, 416, 4, s, 0.6f);
            ExpectImage(d[1], 94, 64, 416 - 32 * s, 1, s, 0.6f);
            ExpectImage(d[2], 94, 64, 416 + 32 * s, 9, s, 0.6f);
            ExpectImage(d[3], 94, 64 + 32 * s, 416, 6, s, 0.6f);
            ExpectImage(d[4], 94, 64, 416, 5, s, 0.6f);
            if (paused) ExpectImage(d[5], 94, 64, 416, 5, 3, 0.6f);  // the handle for moving it
            ExpectImage(d[5 + paused], 94, 640 - (64 - 24 * s), 416 - 24 * s, 0, 1.5f * s, 0.6f);
            ExpectImage(d[6 + paused], 94, 640 - (64 + 24 * s), 416 + 24 * s, 0, 1.5f * s, 0.6f);
            EXPECT_EQ(d[0].r + d[0].g + d[0].b, 3 * 255);
        }
    }
}

TEST_F(Pad, TheMoveHandleIsThreeTimesTheCentre) {
    app->m_Paused = 1;
    PutTouch(0, 64 + 47, 416 - 47);  // inside the centre drawn at scale 3
    Step();
    EXPECT_EQ(app->m_Opt[10], 111);
    EXPECT_EQ(app->m_Opt[11], 111);
}

TEST_F(Controls, TouchStickMarksItsAnchorAndTouch) {
    ClearTouches();
    app->p_AnalogueControl();
    PutTouch(0, 100, 200);
    app->p_AnalogueControl();
    app->m_TouchX[0] = 108;
    app->m_DrawN = 0;
    app->p_AnalogueControl();
    std::vector<Drawn> d = Records(app);
    ASSERT_EQ(d.size(), 2u);
    ExpectOval(d[0], 100, 200, 12, 0, 100, 250, 0.25f);
    ExpectOval(d[1], 108, 200, 8, 0, 100, 250, 0.25f);
}

TEST_F(Controls, DebugModeShowsTheStick) {
    ClearTouches();
    Key(39);
    app->m_DrawN = 0;
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_DrawN, 0);
    kr_Vex_DebugMode = 1;
    app->p_AnalogueControl();  // 0.3 to the right
    std::vector<Drawn> d = Records(app);
    ASSERT_EQ(d.size(), 2u);
    ExpectOval(d[0], 576, 416, 12, 0, 180, 250, 0.5f);
    ExpectOval(d[1], 576 + 52 * 0.3f, 416, 8, 0, 180, 250, 0.5f);
    // At rest (0.05 or less) nothing is shown.
    Key(39, false);
    app->m_KeyStickX = 0.05f;
    app->m_DrawN = 0;
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_DrawN, 0);
}

TEST_F(Controls, TiltDrawsItsCalibrationButtonAndIndicator) {
    kr_Vex_AccelerometerControls = 1;
    kr_input_device->p_MotionEvent(10, 0, 0.4f, -0.2f, 0);
    app->m_DrawN = 0;
    app->p_ReadTilt();
    std::vector<Drawn> d = Records(app);
    ASSERT_EQ(d.size(), 2u);
    ExpectImage(d[0], 97, 24, 456, 7, 1.5f, 0.8f);
    ExpectOval(d[1], 24 + 20 * 0.1f, 456 + 20 * -0.05f, 4, 100, 255, 100, 0.6f);
}
