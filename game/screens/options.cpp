// SPDX-License-Identifier: Zlib
// The options box: a panel that rises from below over the menu or the pause
// panel, with a back gear, the OUYA overscan slider and one row per setting.
// It keeps locks of its own and holds the common locks while it is shown, so
// the screen below does not react.
#include <cstdint>

#include "game/game.h"
#include "game/screens/menu_parts.h"

namespace {

enum class Row { Sound, Touch, ICade, Display, Credits };

constexpr int kMaxRows = 5;
constexpr int kSlideIn = 30;

const char* const kSoundFour[] = {"Sound : Off", "Sound : SFX + Music", "Sound : SFX", "Sound : Music"};
const char* const kSoundTwo[] = {"Sound : Off", "Sound : On"};

}  // namespace

// --- Rows and their values ---

// The rows present, in order: touch layout and iCade not on OUYA, the
// credits only from the menu.
static int OptionRows(const c_MyApp& app, Row rows[kMaxRows]) {
    int n = 0;
    rows[n++] = Row::Sound;
    if (kr_Vex_isOuya != 1) {
        rows[n++] = Row::Touch;
        rows[n++] = Row::ICade;
    }
    rows[n++] = Row::Display;
    if (app.m_Paused == 0) rows[n++] = Row::Credits;
    return n;
}

static bool SoundHasMusic() { return kr_Vex_HasMusic == 1 || kr_Vex_HasMusicStream == 1; }

// A sound mode outside the row's range shows nothing and starts over at 0.
static String SoundText(c_MyApp& app) {
    int count = SoundHasMusic() ? 4 : 2;
    int mode = app.m_Opt[5];
    if (mode < 0 || mode >= count) {
        app.m_Opt[5] = 0;
        return String();
    }
    return String(SoundHasMusic() ? kSoundFour[mode] : kSoundTwo[mode]);
}

static String RowText(c_MyApp& app, Row row) {
    switch (row) {
        case Row::Sound: return SoundText(app);
        case Row::Touch: return String(app.m_Opt[17] == 0 ? "Touch : Left = Move" : "Touch : Right = Move");
        case Row::ICade: return String(kr_Vex_iCadeControls == 0 ? "iCade : Off" : "iCade : On");
        case Row::Display: return String(app.m_Fullscreen == 0 ? "Fullscreen" : "Windowed");
        case Row::Credits: return String("Credits");
    }
    return String();
}

static void ClearControls(c_MyApp& app) {
    for (int i = 0; i < app.m_Ctl.Length(); ++i) app.m_Ctl[i] = 0;
}

// Steps the sound mode; effects only and off stop a tune that plays.
static void CycleSound(c_MyApp& app) {
    if (!SoundHasMusic()) {
        app.m_Opt[5] = app.m_Opt[5] == 0 ? 1 : 0;
        return;
    }
    app.m_Opt[5] = (app.m_Opt[5] + 1) % 4;
    if (app.m_Opt[5] == 2 || app.m_Opt[5] == 0) {
        kr_audio_StopMusic();
        app.m_TunePlaying = 0;
    }
}

static void CloseOptions(c_MyApp& app) {
    app.m_ShowOptions = 0;
    app.m_OptKeyLock = 1;
    app.m_OptTouchLock = 1;
    app.p_PlaySFX(kSfxSelect);
    app.p_Save();
}

// A touch needs the touch lock clear, a key the key lock; the sound, touch
// layout and credits rows need both either way.
static bool RowMayAct(const c_MyApp& app, Row row, bool touched) {
    if (app.m_OptTouchLock != 0) return false;
    bool needsKeyLock = row == Row::Sound || row == Row::Touch || row == Row::Credits || !touched;
    return !needsKeyLock || app.m_OptKeyLock == 0;
}

static void ActivateRow(c_MyApp& app, Row row) {
    if (row == Row::Credits) {
        app.m_ShowCredits = 1;
        app.m_OptKeyLock = 0;
        app.m_OptTouchLock = 0;
        app.m_ShowOptions = 0;
        return;
    }
    switch (row) {
        case Row::Sound: CycleSound(app); break;
        case Row::Touch:
            app.m_Opt[17] = app.m_Opt[17] == 0 ? 1 : 0;
            ClearControls(app);
            break;
        case Row::ICade: {
            int on = kr_Vex_iCadeControls == 0 ? 1 : 0;
            kr_Vex_iCadeControls = on;
            app.p_iCade(on);
            ClearControls(app);
            break;
        }
        default: app.p_FullscreenFlip(); break;
    }
    app.m_OptKeyLock = 1;
    app.m_OptTouchLock = 1;
    app.p_PlaySFX(kSfxSelect);
}

static bool AnyHeld(c_MyApp& app, int first, int last) {
    for (int action = first; action <= last; ++action) {
        if (app.p_PlayKeyAll(action, 1) != 0) return true;
    }
    return false;
}

// --- Back gear and overscan slider ---

// The white corner marks that show where the picture must fit on a
// television.
static void DrawOverscanGuide(c_MyApp& app) {
    float w = kr_Vex_jscrw;
    float h = kr_Vex_jscrh;
    const float corners[4][2] = {{0, 0}, {w, 0}, {0, h}, {w, h}};
    for (const auto& c : corners) {
        float left = c[0] == 0 ? 0 : c[0] - 8;
        float top = c[1] == 0 ? 0 : c[1] - 16;
        app.p_Rect(left, top, 8, 16);
        left = c[0] == 0 ? 0 : c[0] - 16;
        top = c[1] == 0 ? 0 : c[1] - 8;
        app.p_Rect(left, top, 16, 8);
    }
}

static void BackGear(c_MyApp& app, int slide) {
    float x = 12 * static_cast<float>(slide) - 260;
    app.p_SetCol(255, 255, 255);  // on the panel's alpha
    app.p_SetSize(app.m_OptionSel == 0 ? 2 : 1.5f);
    app.m_GearAngle += 0.2f;
    DrawGearWheels(app, x, 60);
    app.p_SetRot(app.m_GearAngle);
    int pressed = app.p_Button95(x, 60, 10);
    app.p_SetRot(0);
    app.p_SetSize(2);
    app.p_Text(x + 76, 60, String("<[BACK]"), 0, 1);
    if ((pressed != 0 || BackOnAnyDevice(app)) && app.m_OptKeyLock == 0 && app.m_OptTouchLock == 0) {
        CloseOptions(app);
    }
}

// OUYA's border slider: a click jumps between the extremes, the shoulders
// step by 16; the border is kept within 1..96 device pixels.
static void OverscanSlider(c_MyApp& app, int slide) {
    float w = kr_Vex_jscrw;
    float y = 12 * static_cast<float>(slide) - 268;
    float cx = 0.6f * w;
    app.p_SetSize(2);
    app.p_SetCol(255, 255, 255);
    app.p_Text(cx, y, String("L1 <      Overscan      > R1"), 1, 1);
    app.p_SetCol(0, 128, 255, 0.5f);
    app.p_Rect(cx - 128, y - 5, 256, 9);
    app.p_SetCol(255, 255, 0, 0.75f);
    app.p_Rect(cx - 132 + 2.67f * static_cast<float>(app.m_Opt[14]), y - 8, 8, 16);
    if (app.m_OptTouchLock == 0 && app.p_MouseIn_Centered(cx, y - 8, 256, 16) != 0) {
        app.m_OptTouchLock = 1;
        app.p_PlaySFX(kSfxClick);
        app.m_Opt[14] = kr_Vex_overscan >= 32 ? 1 : 96;
    }
    std::int64_t border = app.m_Opt[14];
    if (app.m_OptKeyLock == 0) {
        if (app.p_PlayKeyAll(kActionButton5, 1) != 0) {
            border -= 16;
            app.m_OptKeyLock = 1;
        } else if (app.p_PlayKeyAll(kActionButton6, 1) != 0) {
            border += 16;
            app.m_OptKeyLock = 1;
        }
    }
    border = border < 1 ? 1 : border > 96 ? 96 : border;
    app.m_Opt[14] = static_cast<int>(border);
    kr_Vex_overscan = static_cast<float>(border);
}

// --- Rows on the panel, keys and locks ---

static void OptionRowsStep(c_MyApp& app, int slide, const Row* rows, int count) {
    float w = kr_Vex_jscrw;
    float y = 850 - 24 * static_cast<float>(slide);
    bool keyed = AnyHeld(app, kActionButton1, kActionButton6);
    for (int k = 1; k <= count; ++k) {
        Row row = rows[k - 1];
        float textX = 100, barX = 84, barW = w - 168;
        if (row == Row::Credits) {
            y += 50;
            textX = w - 264;
            barX = textX - 16;
            barW = 180;
        } else if (k > 1) {
            y += 40;
        }
        bool selected = app.m_OptionSel == k;
        if (selected) {
            app.p_SetCol(0, 180, 255, 0.5f);
        } else {
            app.p_SetCol(0, 0, 160, 0.5f);
        }
        bool touched = app.p_Touch(barX, y - 2, barW, 24) != 0;
        String text = RowText(app, row);
        app.p_SetCol(255, 255, 255);  // on the bar's alpha
        app.p_SetSize(2);
        app.p_Text(textX, y, text, 0, 0);
        if (touched) app.m_OptionSel = k;
        if ((touched || (selected && keyed)) && RowMayAct(app, row, touched)) ActivateRow(app, row);
    }
}

static void OptionKeys(c_MyApp& app, int count) {
    if (app.m_OptKeyLock != 0) return;
    bool confirm = app.p_PlayKeyAll(kActionButton6, 1) != 0 || app.p_PlayKeyAll(kActionButton1, 1) != 0 ||
                   app.p_PlayKeyAll(kActionButton2, 1) != 0;
    bool up = app.p_PlayKeyAll(kActionUp, 1) != 0 || app.p_PlayKeyAll(kActionLeft, 1) != 0;
    bool down = app.p_PlayKeyAll(kActionDown, 1) != 0 || app.p_PlayKeyAll(kActionRight, 1) != 0;
    if (app.m_OptionSel == 0 && confirm) {
        CloseOptions(app);
    } else if (up && app.m_OptionSel > 0) {
        --app.m_OptionSel;
        app.m_OptKeyLock = 1;
        app.p_PlaySFX(kSfxSelect);
    } else if (down && app.m_OptionSel < count) {
        ++app.m_OptionSel;
        app.m_OptKeyLock = 1;
        app.p_PlaySFX(kSfxSelect);
    }
}

static void ReleaseOptionLocks(c_MyApp& app) {
    if (app.m_MouseDown == 0) app.m_OptTouchLock = 0;
    for (int action : kKeyLockActions) {
        if (app.p_PlayKeyAll(action, 1) != 0) return;
    }
    app.m_OptKeyLock = 0;
}

// --- The box ---

int c_MyApp::p_OptionBox() {
    int slide = m_OptionsSlide;
    p_ResetDraw();
    if (kr_Vex_isOuya == 1) DrawOverscanGuide(*this);
    m_KeyLock = 1;
    m_ClickLock = 1;
    if (slide != kSlideIn) {
        m_OptKeyLock = 1;
        m_OptTouchLock = 1;
    }
    p_SetCol(150, 75, 0, 0.85f);
    p_Rect(50, 720 - 24 * static_cast<float>(slide), kr_Vex_jscrw - 100, kr_Vex_jscrh);
    BackGear(*this, slide);
    if (kr_Vex_isOuya == 1) OverscanSlider(*this, slide);
    Row rows[kMaxRows];
    int count = OptionRows(*this, rows);
    OptionRowsStep(*this, slide, rows, count);
    OptionKeys(*this, count);
    ReleaseOptionLocks(*this);
    p_ResetDraw();
    return 0;
}
