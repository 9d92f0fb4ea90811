// A game under test from the pause panel to the return to the menu: a bare
// host with a 640 x 480 virtual screen at scale 1 (so device and virtual
// pixels agree), a fixed clock, and input by key and pointer.
#pragma once

#include <gtest/gtest.h>

#include "host/events.h"
#include "tests/support/game_host.h"

class ResultsTest : public testing::Test {
protected:
    void SetUp() override {
        host.clock = 5000;
        host.saves = 0;
        host.state = String();
        app = StartBareGame(host);
        Screen(640, 480);
        // The buttons' sizes, as the loader records them (the files are
        // not there).
        app->p_LoadImg(95, String("common/Buttons"), 64, 64, 16, 1);
        app->p_LoadImg(97, String("common/icons"), 32, 32, 16, 1);
    }

    void Screen(float w, float h) {
        kr_Vex_jscrw = w;
        kr_Vex_jscrh = h;
        app->m_Landscape = h > w ? 0 : 1;
        app->m_ScaleX = app->m_ScaleY = 1;
    }

    // A new game through mode 11, as the menu starts one.
    void StartGame(int gameMode = 2) {
        app->m_GameMode = gameMode;
        app->m_Mode = 11;
        Update();
        ASSERT_EQ(app->m_Mode, 10);
    }

    void Update(int n = 1) {
        for (int i = 0; i < n; ++i) {
            host.clock += 16;
            UpdateOnce(app);
        }
    }

    void Key(int key, bool down) {
        kr_input_device->p_KeyEvent(down ? kr_event::KeyDown : kr_event::KeyUp, key);
    }
    // One update with the key held, then one with it released (the key lock
    // clears once nothing is held).
    void Tap(int key) {
        Key(key, true);
        Update();
        Key(key, false);
        Update();
    }
    // The same with the left button at (x, y).
    void Click(float x, float y) {
        kr_input_device->p_MouseEvent(kr_event::MouseDown, 0, x, y);
        Update();
        kr_input_device->p_MouseEvent(kr_event::MouseUp, 0, x, y);
        Update();
    }

    GameTestHost host;
    c_MyApp* app = nullptr;
};
