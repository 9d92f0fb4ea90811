// SPDX-License-Identifier: Zlib
// Actions held on the keyboard, joysticks and virtual controls; sticks;
// on-screen buttons and touch areas; the helicopter's analogue stick.
#include <cmath>
#include <cstdlib>

#include "game/game.h"
#include "host/events.h"

namespace {

// --- Action tables ---

enum class Src : unsigned char { End, Key, Joy, Ctl, CtlValue, StickUp, StickDown, StickLeft, StickRight };

struct Source {
    Src kind;
    int code;
};

constexpr Source K(int key) { return {Src::Key, key}; }          // keyboard key down
constexpr Source J(int button) { return {Src::Joy, button}; }    // the device's joystick button down
constexpr Source C(int element) { return {Src::Ctl, element}; }  // m_Ctl element non-zero
// The value of an m_Ctl element itself (0, 1 or 2); the only source of its row.
constexpr Source V(int element) { return {Src::CtlValue, element}; }
constexpr Source kStickUp{Src::StickUp, 0};
constexpr Source kStickDown{Src::StickDown, 0};
constexpr Source kStickLeft{Src::StickLeft, 0};
constexpr Source kStickRight{Src::StickRight, 0};

constexpr int kMaxSources = 10;
struct Row {
    int action;
    Source sources[kMaxSources];  // ends at the first Src::End
};

// A joystick's pad directions and its back buttons, by button number.
constexpr int kJoyPadLeft = 8, kJoyPadUp = 9, kJoyPadRight = 10, kJoyPadDown = 11;
constexpr int kJoyBackA = 6, kJoyBackB = 7, kJoyBackC = kr_key::JoyBackButton;

constexpr float kStickThreshold = 0.4f;

// Letters are the keyboard's; an iCade reports through the keyboard, so its
// tables leave the letters out.
constexpr Row kKeyboard[] = {
    {kActionUp, {K(kr_key::Up), K('W'), C(kActionUp)}},
    {kActionLeft, {K(kr_key::Left), K('A'), C(kActionLeft)}},
    {kActionRight, {K(kr_key::Right), K('D'), C(kActionRight)}},
    {kActionDown, {K(kr_key::Down), K('S'), C(kActionDown)}},
    {kActionButton1, {K('Z'), K('J'), K(kr_key::Space), K(kr_key::Enter), C(kActionButton1)}},
    {kActionButton2, {K('X'), K('K'), K(kr_key::Control), C(kActionButton2)}},
    {kActionButton3, {K('C'), K('L'), K(kr_key::Shift), C(kActionButton3)}},
    {kActionButton4, {K('V'), K('I'), C(kActionButton4)}},
    {kActionButton5, {K('B'), K('U'), C(kActionButton5)}},
    {kActionButton6, {K('N'), K('O'), C(kActionButton6)}},
    {kActionBack,
     {K(kr_key::Escape), K(kr_key::Grave), K(kr_key::Delete), K(kr_key::Backspace), C(kActionButton7),
      C(kActionButton8), C(kCtlBackKey)}},
};

constexpr Row kKeyboardICade[] = {
    {kActionUp, {K(kr_key::Up), C(kActionUp)}},
    {kActionLeft, {K(kr_key::Left), C(kActionLeft)}},
    {kActionRight, {K(kr_key::Right), C(kActionRight)}},
    {kActionDown, {K(kr_key::Down), C(kActionDown)}},
    {kActionButton1, {K(kr_key::Space), K(kr_key::Enter), C(kActionButton1)}},
    {kActionButton2, {K(kr_key::Control), C(kActionButton2)}},
    {kActionButton3, {K(kr_key::Shift), C(kActionButton3)}},
    {kActionButton4, {V(kActionButton4)}},
    {kActionButton5, {V(kActionButton5)}},
    {kActionButton6, {V(kActionButton6)}},
    {kActionBack,
     {K(kr_key::Escape), K(kr_key::Delete), K(kr_key::Backspace), C(kActionButton7), C(kActionButton8),
      C(kCtlBackKey)}},
};

// Each keyboard row, and the joystick's buttons and left stick.
constexpr Row kJoystick[] = {
    {kActionUp, {K(kr_key::Up), K('W'), C(kActionUp), J(kJoyPadUp), kStickUp}},
    {kActionLeft, {K(kr_key::Left), K('A'), C(kActionLeft), J(kJoyPadLeft), kStickLeft}},
    {kActionRight, {K(kr_key::Right), K('D'), C(kActionRight), J(kJoyPadRight), kStickRight}},
    {kActionDown, {K(kr_key::Down), K('S'), C(kActionDown), J(kJoyPadDown), kStickDown}},
    {kActionButton1, {K('Z'), K('J'), K(kr_key::Space), K(kr_key::Enter), C(kActionButton1), J(0)}},
    {kActionButton2, {K('X'), K('K'), K(kr_key::Control), C(kActionButton2), J(1)}},
    {kActionButton3, {K('C'), K('L'), K(kr_key::Shift), C(kActionButton3), J(2)}},
    {kActionButton4, {K('V'), K('I'), C(kActionButton4), J(3)}},
    {kActionButton5, {K('B'), K('U'), C(kActionButton5), J(4)}},
    {kActionButton6, {K('N'), K('O'), C(kActionButton6), J(5)}},
    {kActionBack,
     {K(kr_key::Escape), K(kr_key::Grave), K(kr_key::Delete), K(kr_key::Backspace), C(kActionButton7),
      C(kActionButton8), C(kCtlBackKey), J(kJoyBackA), J(kJoyBackB), J(kJoyBackC)}},
};

constexpr Row kJoystickICade[] = {
    {kActionUp, {K(kr_key::Up), J(kJoyPadUp), C(kActionUp)}},
    {kActionLeft, {K(kr_key::Left), J(kJoyPadLeft), C(kActionLeft)}},
    {kActionRight, {K(kr_key::Right), J(kJoyPadRight), C(kActionRight)}},
    {kActionDown, {K(kr_key::Down), J(kJoyPadDown), C(kActionDown)}},
    {kActionButton1, {K(kr_key::Space), K(kr_key::Enter), J(0), C(kActionButton1)}},
    {kActionButton2, {K(kr_key::Control), J(1), C(kActionButton2)}},
    {kActionButton3, {K(kr_key::Shift), J(2), C(kActionButton3)}},
    {kActionButton4, {J(3), C(kActionButton4)}},
    {kActionButton5, {J(4), C(kActionButton5)}},
    {kActionButton6, {J(5), C(kActionButton6)}},
    {kActionBack,
     {K(kr_key::Escape), K(kr_key::Delete), K(kr_key::Backspace), J(kJoyBackB), J(kJoyBackA), J(kJoyBackC),
      C(kActionButton7), C(kActionButton8), C(kCtlBackKey)}},
};

// On the console, back is only its own back button, kept in m_Ctl[kCtlBackKey].
constexpr Row kConsoleBack = {kActionBack, {V(kCtlBackKey)}};

constexpr int kRows = static_cast<int>(std::size(kKeyboard));
static_assert(std::size(kKeyboardICade) == kRows && std::size(kJoystick) == kRows && std::size(kJoystickICade) == kRows);

const Row* FindRow(const Row* table, int action) {
    for (int i = 0; i < kRows; ++i) {
        if (table[i].action == action) return &table[i];
    }
    return nullptr;
}

const Row* RowFor(int action, int device) {
    bool icade = kr_Vex_iCadeControls == 1;
    if (action == kActionBack && kr_Vex_isOuya == 1 && !icade) return &kConsoleBack;
    const Row* table = device < 0 ? (icade ? kKeyboardICade : kKeyboard) : (icade ? kJoystickICade : kJoystick);
    return FindRow(table, action);
}

bool Active(const Source& s, const Array<int>& ctl, int device, int useStick) {
    bool stick = useStick == 1;
    switch (s.kind) {
        case Src::Key: return kr_input_KeyDown(s.code) != 0;
        case Src::Joy: return kr_input_JoyDown(s.code, device) != 0;
        case Src::Ctl: return ctl[s.code] != 0;
        case Src::StickUp: return stick && kr_input_JoyY(0, device) > kStickThreshold;
        case Src::StickDown: return stick && kr_input_JoyY(0, device) < -kStickThreshold;
        case Src::StickLeft: return stick && kr_input_JoyX(0, device) < -kStickThreshold;
        case Src::StickRight: return stick && kr_input_JoyX(0, device) > kStickThreshold;
        default: return false;
    }
}

// --- Helpers: touch areas, key ramps and the touch stick ---

constexpr int kTouches = 10;
constexpr int kImageSlots = 100;  // m_Img's length

// Half the drawn size of an image slot at the current scale.
void HalfSize(const c_MyApp& app, int slot, float& hw, float& hh) {
    hw = hh = 0;
    if (slot < 0 || slot >= kImageSlots) return;
    hw = app.m_ImgScale * static_cast<float>(app.m_ImgInfo[3 * slot]) * app.m_DrawSX / 2;
    hh = app.m_ImgScale * static_cast<float>(app.m_ImgInfo[3 * slot + 1]) * app.m_DrawSY / 2;
}

bool Inside(int tx, int ty, float left, float top, float right, float bottom) {
    float x = static_cast<float>(tx), y = static_cast<float>(ty);
    return left < x && x < right && top < y && y < bottom;
}

// A joystick axis that is not a number reads as centred.
float Axis(float v) { return std::isnan(v) ? 0.0f : v; }

float Clamp1(float v) { return std::isnan(v) ? 0.0f : std::fmax(-1.0f, std::fmin(1.0f, v)); }

// One direction key's ramp: while held the value moves by `step` per
// update; once released it returns 0.2 per update toward 0, not past it.
void Ramp(bool held, float step, float& keyStick, float& stick) {
    if (held) {
        keyStick += step;
        stick = keyStick;
        return;
    }
    if (step < 0 && keyStick < 0) {
        keyStick = std::fmin(keyStick + 0.2f, 0.0f);
        stick = keyStick;
    } else if (step > 0 && keyStick > 0) {
        keyStick = std::fmax(keyStick - 0.2f, 0.0f);
        stick = keyStick;
    }
}

// Moves an anchor coordinate 4 pixels toward a touch more than 64 away.
int Creep(int anchor, int touch) {
    long long d = static_cast<long long>(touch) - anchor;
    if (d > 64) return anchor + 4;
    if (d < -64) return anchor - 4;
    return anchor;
}

float StickOffset(int touch, int anchor) {
    return static_cast<float>(static_cast<long long>(touch) - anchor) / 72.0f;
}

// Touches 0..5 on the movement side steer relative to an anchor set where
// the first of them went down; touches on the other side fire.
void TouchStick(c_MyApp& app) {
    float edge = app.m_Opt[17] == 0 ? 0.7f * kr_Vex_jscrw : 0.3f * kr_Vex_jscrw;
    bool moved = false;
    for (int i = 0; i <= 5; ++i) {
        int tx = app.m_TouchX[i], ty = app.m_TouchY[i];
        if (tx < 0) continue;
        float x = static_cast<float>(tx);
        bool move = false, fire = false;
        if (app.m_Opt[17] == 0) {
            move = x < edge;
            fire = x > edge;
        } else if (app.m_Opt[17] == 1) {
            move = x > edge;
            fire = x < edge;
        }
        if (fire) app.m_Ctl[kActionButton1] = 1;
        if (!move) continue;
        moved = true;
        if (app.m_StickAnchorX < 0) {
            app.m_StickAnchorX = tx;
            app.m_StickAnchorY = ty;
        } else {
            float sx = StickOffset(tx, app.m_StickAnchorX), sy = StickOffset(ty, app.m_StickAnchorY);
            if (std::fabs(sx) < 0.1f && std::fabs(sy) < 0.1f) sx = sy = 0;
            app.m_StickX = sx;
            app.m_StickY = sy;
            app.m_StickAnchorX = Creep(app.m_StickAnchorX, tx);
            app.m_StickAnchorY = Creep(app.m_StickAnchorY, ty);
        }
        app.p_SetCol(0, 100, 250, 0.25f);
        app.p_Oval(static_cast<float>(app.m_StickAnchorX), static_cast<float>(app.m_StickAnchorY), 12, 12);
        app.p_Oval(x, static_cast<float>(ty), 8, 8);
    }
    if (!moved) app.m_StickAnchorX = -1;
}

}  // namespace

// --- Actions and sticks ---

int c_MyApp::p_PlayKey(int action, int useStick, int device) {
    if (device < -1 || device > 3) return 0;
    const Row* row = RowFor(action, device);
    if (!row) return 0;
    for (const Source& s : row->sources) {
        if (s.kind == Src::End) break;
        if (s.kind == Src::CtlValue) return m_Ctl[s.code];
        if (Active(s, m_Ctl, device, useStick)) return 1;
    }
    return 0;
}

int c_MyApp::p_PlayKeyAll(int action, int useStick) {
    int sum = 0;
    for (int d = 0; d <= 3; ++d) sum += p_PlayKey(action, useStick, d);
    return sum;
}

float c_MyApp::p_StickX(int stick, int joy) {
    if (joy < 0) return 0;
    return Axis(kr_input_JoyX(stick, joy));
}

float c_MyApp::p_StickY(int stick, int joy) {
    if (joy < 0) return 0;
    float y = Axis(kr_input_JoyY(stick, joy));
    return stick == 0 ? -y : y;
}

// --- Buttons and touch areas ---

int c_MyApp::p_Button(int slot, float x, float y, int frame) {
    p_DrawImg(slot, x, y, static_cast<float>(frame));
    float hw, hh;
    HalfSize(*this, slot, hw, hh);
    int hit = 0;
    if (m_MouseDown > 0) {
        for (int i = 0; i < kTouches && !hit; ++i) {
            hit = Inside(m_TouchX[i], m_TouchY[i], x - hw, y - hh, x + hw, y + hh) ? 1 : 0;
        }
    }
    m_ButtonHit = hit;
    return hit;
}

int c_MyApp::p_Button95(float x, float y, int frame) { return p_Button(kImgButtons, x, y, frame); }
int c_MyApp::p_Button97(float x, float y, int frame) { return p_Button(kImgIcons, x, y, frame); }

int c_MyApp::p_Button0(int slot, float x, float y, int frame) {
    p_DrawImg(slot, x, y, static_cast<float>(frame));
    float hw, hh;
    HalfSize(*this, slot, hw, hh);
    return m_MouseDown > 0 && Inside(m_TouchX[0], m_TouchY[0], x - hw, y - hh, x + hw, y + hh) ? 1 : 0;
}

int c_MyApp::p_Touch(float x, float y, float w, float h) {
    p_Rect(x, y, w, h);
    for (int i = 0; i < kTouches; ++i) {
        if (m_TouchDown[i] && Inside(m_TouchX[i], m_TouchY[i], x - 6, y - 6, x + w + 12, y + h + 12)) return 1;
    }
    return 0;
}

int c_MyApp::p_Touch24(float y, float w) { return p_Touch(24, y, w, 24); }

int c_MyApp::p_MouseIn_Centered(float x, float y, float w, float h) {
    for (int i = 0; i < kTouches; ++i) {
        if (m_TouchDown[i] && Inside(m_TouchX[i], m_TouchY[i], x - w / 2, y - h / 2, x + w / 2, y + h / 2)) return 1;
    }
    return 0;
}

// --- The helicopter's analogue stick ---

int c_MyApp::p_AnalogueControl() {
    m_StickX = m_StickY = 0;
    TouchStick(*this);

    float jx = Axis(kr_input_JoyX(0, 0)), jy = Axis(kr_input_JoyY(0, 0));
    if (std::fabs(jx) > 0.2f || std::fabs(jy) > 0.2f) {
        m_StickX = jx;
        m_StickY = -jy;
    }

    Ramp(p_PlayKey(kActionUp, 0, 0) != 0, -0.15f, m_KeyStickY, m_StickY);
    Ramp(p_PlayKey(kActionDown, 0, 0) != 0, 0.15f, m_KeyStickY, m_StickY);
    Ramp(p_PlayKey(kActionLeft, 0, 0) != 0, -0.15f, m_KeyStickX, m_StickX);
    Ramp(p_PlayKey(kActionRight, 0, 0) != 0, 0.15f, m_KeyStickX, m_StickX);

    m_StickX = Clamp1(m_StickX);
    m_StickY = Clamp1(m_StickY);
    m_KeyStickX = Clamp1(m_KeyStickX);
    m_KeyStickY = Clamp1(m_KeyStickY);

    if ((std::fabs(m_StickX) > 0.05f || std::fabs(m_StickY) > 0.05f) && kr_Vex_DebugMode == 1) {
        float cx = kr_Vex_jscrw - 64, cy = kr_Vex_jscrh - 64;
        p_SetCol(0, 180, 250, 0.5f);
        p_Oval(cx, cy, 12, 12);
        p_Oval(cx + 52 * m_StickX, cy + 52 * m_StickY, 8, 8);
    }
    return 0;
}
