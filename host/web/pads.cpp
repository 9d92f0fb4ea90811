// SPDX-License-Identifier: Zlib
// The browser's gamepads (the Gamepad API): port n is the browser's gamepad
// n. A pad with the standard mapping takes the game's layout, as a
// recognised pad does on the desktop; any other is passed through in its
// own order. The browser samples the pads once per loop pass
// (KrWebGame::PollEvents).
#include <emscripten/html5.h>

#include <algorithm>
#include <cstring>

#include "host/input/pad_layout.h"
#include "host/web/web_game.h"

// False when no pad is connected at the port.
bool KrWebGame::ReadPad(int port, KrPadReading* r) {
    if (port >= emscripten_get_num_gamepads()) return false;
    EmscriptenGamepadEvent pad;
    if (emscripten_get_gamepad_status(port, &pad) != EMSCRIPTEN_RESULT_SUCCESS || !pad.connected) return false;
    const int buttonCount = std::min(pad.numButtons, 64), axisCount = std::min(pad.numAxes, 64);
    bool pressed[64];
    for (int i = 0; i < buttonCount; ++i) pressed[i] = pad.digitalButton[i];
    if (std::strcmp(pad.mapping, "standard") == 0) {
        r->axes.resize(kr_pad::kPadAxes);
        r->buttons.resize(kr_pad::kPadButtons);
        kr_pad::StandardPadToClassic(pad.axis, axisCount, pad.analogButton, pressed, buttonCount, r->buttons.data(),
                                     r->axes.data());
    } else {
        r->axes.resize(axisCount);
        kr_pad::RawPadAxesToClassic(pad.axis, axisCount, r->axes.data());
        r->buttons.assign(pressed, pressed + buttonCount);
    }
    return true;
}
