// A bare game for the menu and panel tests: a 640 x 480 landscape virtual
// screen, the frame sizes the screens hit-test, pointer and key helpers, and
// the texts and rectangles read back from the draw list.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/game_host.h"

class MenuTest : public ::testing::Test {
protected:
    GameTestHost host;
    c_MyApp* app = nullptr;

    void SetUp() override {
        app = StartBareGame(host);
        Screen(640, 480);
        app->m_ScaleX = app->m_ScaleY = 1;
        app->m_Opt[5] = 1;  // effects on, so sounds can be counted
        app->m_Font = 90;
        // Slot, frame size and frame count as the loader records them.
        const int frames[][4] = {{1, 32, 32, 1},  {90, 7, 10, 128}, {91, 256, 256, 1}, {93, 256, 256, 1},
                                 {95, 64, 64, 1}, {97, 32, 32, 1},  {98, 256, 128, 1}, {99, 256, 256, 1}};
        for (const auto& f : frames) std::copy(f + 1, f + 4, &app->m_ImgInfo[3 * f[0]]);
    }

    void Screen(float w, float h) {
        kr_Vex_jscrw = w;
        kr_Vex_jscrh = h;
        app->m_Landscape = h > w ? 0 : 1;
    }

    // The pointer (mouse and touch 0) held at (x, y), as the shell leaves it.
    void PointerDown(int x, int y) {
        app->m_MouseOldX = app->m_MouseDown ? app->m_MouseX : x;
        app->m_MouseOldY = app->m_MouseDown ? app->m_MouseY : y;
        app->m_MouseX = app->m_TouchX[0] = x;
        app->m_MouseY = app->m_TouchY[0] = y;
        app->m_MouseDown = app->m_MouseWasDown = app->m_TouchDown[0] = 1;
    }
    void PointerUp() {
        app->m_MouseDown = app->m_MouseWasDown = app->m_TouchDown[0] = 0;
        app->m_TouchX[0] = app->m_TouchY[0] = kOmitted;
    }
    static void KeyDown(int key) { kr_input_device->p_KeyEvent(1, key); }
    static void KeyUp(int key) { kr_input_device->p_KeyEvent(2, key); }

    // Sound effects started since channel `from`: each one moves the channel on.
    int SoundsSince(int from) const { return ((app->m_SfxChan - from) % 24 + 24) % 24; }

    // Lines of text as (x, glyphs): the font's records in a row on one
    // baseline. Spaces are not drawn.
    std::vector<std::pair<float, std::string>> Texts() const {
        std::vector<std::pair<float, std::string>> out;
        float lineY = NAN;
        for (int i = 0; i + 15 <= app->m_DrawN; i += 15) {
            const float* r = &app->m_Draw[i];
            bool glyph = static_cast<int>(r[0]) == app->m_Font;
            if (glyph && r[2] != lineY) out.push_back({r[1], ""});
            if (glyph) out.back().second += static_cast<char>(static_cast<int>(r[6]) + 32);
            lineY = glyph ? r[2] : NAN;
        }
        return out;
    }
    bool Drew(std::string text) const {
        text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
        for (const auto& t : Texts()) {
            if (t.second == text) return true;
        }
        return false;
    }

    // Rectangle records as (x, y, w, h) in list order.
    std::vector<std::vector<float>> Rects() const {
        std::vector<std::vector<float>> out;
        for (int i = 0; i + 15 <= app->m_DrawN; i += 15) {
            const float* r = &app->m_Draw[i];
            if (r[0] == kOmitted) out.push_back({r[1], r[2], r[4], r[5]});
        }
        return out;
    }
};
