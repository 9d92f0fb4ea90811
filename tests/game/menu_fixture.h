// A bare game for the menu and panel tests: a 640 x 480 landscape virtual
// screen, the frame sizes of the images the screens hit-test, the font's
// metrics, and helpers to hold the pointer and read back drawn texts.
#pragma once

#include <gtest/gtest.h>

#include <string>
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
        // Frame sizes as the loader records them at level 1.
        SetFrame(1, 32, 32);
        SetFrame(91, 256, 256);
        SetFrame(93, 256, 256);
        SetFrame(95, 64, 64);
        SetFrame(97, 32, 32);
        SetFrame(98, 256, 128);
        SetFrame(99, 256, 256);
        app->m_Font = 90;
        app->m_ImgInfo[270] = 7;
        app->m_ImgInfo[271] = 10;
        app->m_ImgInfo[272] = 128;
    }

    void Screen(float w, float h) {
        kr_Vex_jscrw = w;
        kr_Vex_jscrh = h;
        app->m_Landscape = h > w ? 0 : 1;
    }

    void SetFrame(int slot, int w, int h) {
        app->m_ImgInfo[3 * slot] = w;
        app->m_ImgInfo[3 * slot + 1] = h;
        app->m_ImgInfo[3 * slot + 2] = 1;
    }

    // The pointer (mouse and touch 0) held at (x, y), as the shell's pointer
    // step leaves it.
    void PointerDown(int x, int y) {
        app->m_MouseOldX = app->m_MouseDown ? app->m_MouseX : x;
        app->m_MouseOldY = app->m_MouseDown ? app->m_MouseY : y;
        app->m_MouseX = x;
        app->m_MouseY = y;
        app->m_MouseDown = 1;
        app->m_MouseWasDown = 1;
        app->m_TouchDown[0] = 1;
        app->m_TouchX[0] = x;
        app->m_TouchY[0] = y;
    }

    void PointerUp() {
        app->m_MouseDown = 0;
        app->m_MouseWasDown = 0;
        app->m_TouchDown[0] = 0;
        app->m_TouchX[0] = app->m_TouchY[0] = kOmitted;
    }

    static void KeyDown(int key) { kr_input_device->p_KeyEvent(1, key); }
    static void KeyUp(int key) { kr_input_device->p_KeyEvent(2, key); }

    // Sound effects started since `from`: each one moves the channel on.
    int SoundsSince(int from) const { return ((app->m_SfxChan - from) % 24 + 24) % 24; }

    // One line of text read back from the draw list: the glyph records of
    // the font drawn in a row on one baseline; spaces are not drawn, so the
    // text holds none.
    struct DrawnText {
        std::string text;
        float x, y;
    };

    std::vector<DrawnText> Texts() const {
        std::vector<DrawnText> out;
        bool open = false;
        for (int i = 0; i + 15 <= app->m_DrawN; i += 15) {
            const float* r = &app->m_Draw[i];
            if (static_cast<int>(r[0]) != app->m_Font) {
                open = false;
                continue;
            }
            if (!open || out.back().y != r[2]) out.push_back({"", r[1], r[2]});
            out.back().text += static_cast<char>(static_cast<int>(r[6]) + 32);
            open = true;
        }
        return out;
    }

    bool Drew(const std::string& text) const {
        for (const DrawnText& t : Texts()) {
            if (t.text == text) return true;
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

// A String of ASCII text as a std::string.
inline std::string Narrow(const String& s) {
    std::string out;
    for (int i = 0; i < s.Length(); ++i) out += static_cast<char>(s[i] & 0xff);
    return out;
}

// Without spaces, as Texts() reads it back.
inline std::string Glyphs(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c != ' ') out += c;
    }
    return out;
}
