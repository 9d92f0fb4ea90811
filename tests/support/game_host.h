// SPDX-License-Identifier: Zlib
// A bare host for driving the game class without a window or devices: the
// clock and the state string are plain fields. Used by game tests, benchmarks
// and fuzzers.
#pragma once

#include "framework/framework.h"
#include "game/game.h"

class GameTestHost : public KrGame {
public:
    int clock = 0;
    String state;
    int saves = 0;

protected:
    int ReadClock() override { return clock; }
    int WriteState(String s) override {
        state = s;
        ++saves;
        return 0;
    }
    String ReadState() override { return state; }
};

// Brings up the runtime, an input device and one c_MyApp on `host`, without
// calling p_OnCreate. The previous app, if any, is dropped.
inline c_MyApp* StartBareGame(KrGame& host) {
    gc_init_lists();
    krInit();
    kr_app__game = &host;
    kr_input_SetInputDevice((new c_InputDevice)->m_new());
    return (new c_MyApp)->m_new();
}

// One update as the delegate runs it: input bookkeeping around p_OnUpdate.
inline void UpdateOnce(c_MyApp* app) {
    kr_input_device->p_BeginUpdate();
    app->p_OnUpdate();
    kr_input_device->p_EndUpdate();
}
