// Joysticks of the classic window interface (host/glfw2/glfw2.h) on the browser's
// Gamepad API: port n is the browser's gamepad n. A pad with the standard
// mapping takes the game's layout, as a recognised pad does on the desktop;
// any other is passed through in its own order. The browser samples the
// pads once per loop pass (KrWebGame::PollEvents).
#include <emscripten/html5.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "host/glfw2/glfw2.h"
#include "host/web/standard_gamepad.h"

namespace {

struct Reading {
    std::vector<float> axes;
    std::vector<unsigned char> buttons;
};

// False when no pad is connected at the port.
bool ReadPad(int joy, Reading* r) {
    if (joy < 0 || joy > glfw2::GLFW_JOYSTICK_LAST || joy >= emscripten_get_num_gamepads()) return false;
    EmscriptenGamepadEvent pad;
    if (emscripten_get_gamepad_status(joy, &pad) != EMSCRIPTEN_RESULT_SUCCESS || !pad.connected) return false;
    const int buttonCount = std::min(pad.numButtons, 64), axisCount = std::min(pad.numAxes, 64);
    bool pressed[64];
    for (int i = 0; i < buttonCount; ++i) pressed[i] = pad.digitalButton[i];
    if (std::strcmp(pad.mapping, "standard") == 0) {
        r->axes.resize(glfw2::kPadAxes);
        r->buttons.resize(glfw2::kPadButtons);
        glfw2::StandardPadToClassic(pad.axis, axisCount, pad.analogButton, pressed, buttonCount, r->buttons.data(),
                                    r->axes.data());
    } else {
        r->axes.resize(axisCount);
        glfw2::RawPadAxesToClassic(pad.axis, axisCount, r->axes.data());
        r->buttons.assign(pressed, pressed + buttonCount);
    }
    return true;
}

}  // namespace

namespace glfw2 {

int glfwGetJoystickParam(int joy, int param) {
    Reading r;
    if (!ReadPad(joy, &r)) return 0;
    if (param == GLFW_PRESENT) return 1;
    if (param == GLFW_AXES) return static_cast<int>(r.axes.size());
    if (param == GLFW_BUTTONS) return static_cast<int>(r.buttons.size());
    return 0;
}

int glfwGetJoystickPos(int joy, float* pos, int numaxes) {
    Reading r;
    if (!pos || !ReadPad(joy, &r)) return 0;
    int n = std::max(0, std::min(numaxes, static_cast<int>(r.axes.size())));
    std::copy_n(r.axes.begin(), n, pos);
    return n;
}

int glfwGetJoystickButtons(int joy, unsigned char* buttons, int numbuttons) {
    Reading r;
    if (!buttons || !ReadPad(joy, &r)) return 0;
    int n = std::max(0, std::min(numbuttons, static_cast<int>(r.buttons.size())));
    std::copy_n(r.buttons.begin(), n, buttons);
    return n;
}

}  // namespace glfw2
