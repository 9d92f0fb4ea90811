// SPDX-License-Identifier: Zlib
// The game-over overlay: it builds over 90 updates of play, hands over to the
// menu and then fades out over it; and the rank of the score in the mode's
// top ten.
#include "game/float_to_int.h"
#include "game/game.h"

namespace {

// Rank words by rank; rank 0 is outside the top ten.
const char* const kRankWords[11] = {"",    "1st!", "2nd", "3rd", "4th", "5th",
                                    "6th", "7th",  "8th", "9th", "10th"};

constexpr int kReturnAt = 90;   // updates of the overlay before the menu
constexpr int kFadeFrom = 75;   // counter on the return, before its first step
constexpr int kFadeStep = 2;

}  // namespace

String c_MyApp::p_MyNth() {
    m_I = 0;
    if (m_GameMode >= 1 && m_GameMode <= 3) {
        int base = 10 * (m_GameMode - 1);
        for (int j = 0; j < 10; ++j) {
            if (m_Score >= m_Hi[base + j]) {
                m_I = j + 1;
                break;
            }
        }
    }
    return String(kRankWords[m_I]);
}

int c_MyApp::p_GameOver() {
    int t = m_GameOverAnim;
    if (t >= 1) {
        float w = kr_Vex_jscrw;
        float h = kr_Vex_jscrh;
        float dim = t / 40.0f;
        p_SetCol(0, 0, 0, dim < 0.7f ? dim : 0.7f);
        p_Rect(-1, -1, w + 2, h + 2);

        int stop = kr_Vex_ToInt(0.45f * h);
        int p = 12 * t < stop ? 12 * t : stop;
        m_PosY = p;

        p_SetSize(1);
        p_SetRot(0);
        m_DrawBlend = 1;
        p_SetCol(255, 255, 0, 0.5f);
        p_Rect(-1, 0.45f * h - 8, 2.0f * p, 16);
        p_SetCol(255, 128, 0, 0.5f);
        p_Rect(w - 2.0f * p, 0.55f * h - 8, 2.0f * p + 1, 16);

        p_SetCol(255, 180, 180, 1);
        p_SetSize(4);
        p_Text(0.35f * w, p, String("GAME"), 1, 1);
        p_Text(0.65f * w, h - p, String("OVER"), 1, 1);

        p_MyNth();
        if (m_I > 0) {
            p_SetSize(1);
            p_SetCol(0, 125, 255, 0.5f);
            p_Rect(0.35f * w, h - p / 1.5f - 16, 0.3f * w, 32);
            p_SetSize(2);
            p_SetCol(100, 255, 100, 1);
            // The two characters backslash and n break the line for p_Text.
            p_Text(0.5f * w, h - p / 1.5f, String("New Highscore\\n           ") + p_MyNth(), 0.5f,
                   2);
        }
    }

    if (m_Mode == kModePlay) {
        ++t;
        if (t >= kReturnAt) {
            m_Mode = kModeToMenu;
            t = kFadeFrom;
            m_Music->p_Lx_Stop(1);
            if (kr_Vex_HasMusic == 1) m_Music->p_Lx_Stop(1);
            if (kr_Vex_HasMusicStream == 1) {
                kr_audio_StopMusic();
                m_TunePlaying = 0;
            }
        }
    }
    if (m_Mode < kModePlay) {
        t -= kFadeStep;
        if (t < 0) t = 0;
    }
    m_GameOverAnim = t;
    return 0;
}
