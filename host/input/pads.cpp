// SPDX-License-Identifier: Zlib
// Joystick polling for the input module, the same on every host: two sticks
// as x, y and z pairs and up to 32 buttons per port, from the host's reading
// of the device (KrGame::ReadPad). A recording notes what the game's arrays
// hold after the poll; a replay fills them from the recording.
#include <algorithm>

#include "host/game.h"
#include "host/input/pad_layout.h"

namespace {

constexpr int kMaxAxes = 6;
constexpr int kMaxButtons = 32;

void storePair(Array<float>& pair, float first, float second) {
    if (pair.Length() < 2) return;
    pair[0] = first;
    pair[1] = second;
}

}  // namespace

// An absent joystick leaves the arrays as they were; so do buttons beyond
// the device's count.
bool KrGame::PollJoystick(int port, Array<float> axesX, Array<float> axesY, Array<float> axesZ,
                          Array<bool> buttons) {
    if (_source) return _source->Joystick(port, axesX, axesY, axesZ, buttons);
    KrPadReading pad;
    bool present = port >= 0 && port < kKrJoystickPorts && ReadPad(port, &pad);
    if (present) {
        const int axisCount = static_cast<int>(pad.axes.size());
        float a[kMaxAxes] = {};
        std::copy_n(pad.axes.begin(), std::min(axisCount, kMaxAxes), a);
        kr_pad::ArrangeAxes(axisCount, a);
        storePair(axesX, a[0], a[3]);
        storePair(axesY, a[1], a[4]);
        storePair(axesZ, a[2], a[5]);
        int n = std::min({static_cast<int>(pad.buttons.size()), kMaxButtons, buttons.Length()});
        for (int i = 0; i < n; ++i) buttons[i] = pad.buttons[i] == 1;
    }
    if (_tap) _tap->Joystick(port, present, axesX, axesY, axesZ, buttons);
    return present;
}
