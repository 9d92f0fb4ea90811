// Joystick polling for the input module: two sticks as x, y and z pairs and
// up to 32 buttons per port.
#include <algorithm>

#include "host/glfw2/glfw2.h"
#include "host/desktop/glfw_game.h"

using namespace glfw2;

namespace {

constexpr int kMaxAxes = 6;
constexpr int kMaxButtons = 32;

void storePair(Array<float>& pair, float first, float second) {
    if (pair.Length() < 2) return;
    pair[0] = first;
    pair[1] = second;
}

}  // namespace

void KrGlfwGame::ArrangeAxes(int count, float* axes) {
    if (count == 4) {
        axes[4] = axes[2];
        axes[2] = 0;
    } else if (count == 5) {
        std::swap(axes[3], axes[4]);
    }
}

// An absent joystick leaves the arrays as they were; so do buttons beyond
// the device's count.
bool KrGlfwGame::PollJoystick(int port, Array<float> axesX, Array<float> axesY, Array<float> axesZ,
                              Array<bool> buttons) {
    if (!JoystickParam(port, GLFW_PRESENT)) return false;
    int axisCount = JoystickParam(port, GLFW_AXES);
    int buttonCount = JoystickParam(port, GLFW_BUTTONS);

    float a[kMaxAxes] = {};
    JoystickAxes(port, a, std::min(axisCount, kMaxAxes));
    ArrangeAxes(axisCount, a);
    storePair(axesX, a[0], a[3]);
    storePair(axesY, a[1], a[4]);
    storePair(axesZ, a[2], a[5]);

    unsigned char pressed[kMaxButtons] = {};
    JoystickButtons(port, pressed, kMaxButtons);
    int n = std::min({buttonCount, kMaxButtons, buttons.Length()});
    for (int i = 0; i < n; ++i) buttons[i] = pressed[i] == GLFW_PRESS;
    return true;
}

int KrGlfwGame::JoystickParam(int port, int param) { return glfwGetJoystickParam(port, param); }
void KrGlfwGame::JoystickAxes(int port, float* axes, int count) { glfwGetJoystickPos(port, axes, count); }
void KrGlfwGame::JoystickButtons(int port, unsigned char* buttons, int count) {
    glfwGetJoystickButtons(port, buttons, count);
}
