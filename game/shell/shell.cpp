// SPDX-License-Identifier: Zlib
// The framework's callbacks: start-up, the per-update order of work with the
// mode machine, the render, suspension and the iCade switch.
#include <climits>

#include "game/float_to_int.h"
#include "game/game.h"
#include "host/events.h"

namespace {

constexpr int kPanelSteps = 30;
constexpr int kVirtualControls = kCtlBackKey;  // m_Ctl[0..18], all but the back key

// A rate in frames per second from the time since the previous one; the
// average moves a tenth of the way. The rate stays when the clock has not
// advanced, so there is never a division by zero.
void MeasureRate(int& lastMs, int& fps, int& average) {
    const int t = kr_app_Millisecs();
    if (t > lastMs) {
        const long long elapsed = static_cast<long long>(t) - lastMs;
        fps = static_cast<int>(1000 / elapsed);
    }
    average = (average * 9 + fps) / 10;
    lastMs = t;
}

int StepToward(int value, bool up) {
    if (up) return value < kPanelSteps ? value + 1 : kPanelSteps;
    return value > 0 ? value - 1 : 0;
}

}  // namespace

// --- Start-up ---

int c_MyApp::p_OnCreate() {
    if (kr_Vex_isOuya == 1) kr_Vex_overscan = 64;
    m_Fullscreen = 0;
    m_JinglePlayed = 0;
    // A host whose sound waits for the player's input starts on the start
    // screen, whose "Click to Start" is that input.
    m_Mode = kr_app__game && kr_app__game->SoundNeedsGesture() ? kModeStart : kModeMenu;
    // A touch screen without keys gets the on-screen pad.
    if (kr_app__game && kr_app__game->TouchFirst()) kr_Vex_OnScreenControls = 1;
    kr_app_SetUpdateRate(60);
    m_DevW = kr_graphics_DeviceWidth();
    m_DevH = kr_graphics_DeviceHeight();
    if (kr_Vex_HasMusic == 1) m_Music->p_Lx_Init(32, 4, 3, 3, 4);
    m_AccelZeroX = m_AccelZeroY = 0;
    p_FindDataFolder();
    p_Reload();
    m_GameMode = 2;
    m_MenuIntro = -32;
    m_Paused = 0;
    m_PauseDir = -1;
    m_PauseY = -64;
    for (int i = 0; i <= 14; ++i) m_BadgeQueue[i] = m_BadgeQueue2[i] = 0;
    for (int i = 0; i <= 127; ++i) m_BadgeOwned[i] = false;
    for (int i = 0; i < kVirtualControls; ++i) m_Ctl[i] = 0;
    for (int i = 0; i <= 24; ++i) m_Opt[i] = 0;
    m_Opt[5] = 1;
    for (int i = 0; i <= 30; ++i) m_Hi[i] = 0;
    p_Load();
    for (int i = 0; i <= 32; ++i) m_ChanMap[i] = i;
    return 0;
}

// --- Updates: the mode machine and the order of work ---

// A pause panel still open when a game ends (opened during the game-over
// overlay) closes with it: the menu is never paused.
static void ClosePause(c_MyApp* app) {
    app->m_Paused = 0;
    app->m_PauseDir = -1;
    app->m_PauseY = -64;
}

// The work of the current mode; the panels and the results overlay follow.
static int ModeWork(c_MyApp* app) {
    switch (app->m_Mode) {
        case kModeMenu: app->p_Menu(); break;
        case kModeToMenu:
            ClosePause(app);
            app->p_LoadMenu();
            app->p_PlaySFX(kSfxJingle, 1);
            app->m_Mode = kModeMenu;
            break;
        case kModeQuit: app->p_OuyaQuit(); break;
        case kModeStart: app->p_WaitStart(0); break;
        case kModePlay:
            app->p_Game();
            app->p_InGame();
            break;
        case kModeNewGame: app->p_LoadGame(); break;
        default: break;
    }
    if (app->m_Mode == kModePlay && app->m_GameOverT > 0) app->p_GameOver();
    if (app->m_Mode == kModeMenu || app->m_Mode == kModeToMenu) app->p_GameOver();
    if (app->m_Mode == kModeMenu && (app->m_ShowCredits == 1 || app->m_CreditsSlide > 0))
        app->p_CreditBox();
    app->m_CreditsSlide = StepToward(app->m_CreditsSlide, app->m_ShowCredits == 1);
    if (app->m_Mode == kModeMenu && app->m_ShowBadges == 1) app->p_BadgesBox();
    if (app->m_ShowOptions == 1 || app->m_OptionsSlide > 0) {
        app->p_OptionBox();
        app->m_OptionsSlide = StepToward(app->m_OptionsSlide, app->m_ShowOptions == 1);
    }
    return 0;
}

// A held control keeps the key lock; back in the menu closes the credits and
// badges panels and locks keys and pointer until everything is released.
// The options panel reads its own input, so it keeps both locks on.
static int UpdateLocks(c_MyApp* app) {
    bool held = false;
    for (int action : kKeyLockActions) {
        if (app->p_PlayKeyAll(action, 1) != 0) {
            held = true;
            break;
        }
    }
    if (!held) app->m_KeyLock = 0;
    if (app->m_KeyLock == 0 && app->m_ClickLock == 0 && app->p_PlayKeyAll(kActionBack, 1) != 0 &&
        app->m_Mode == kModeMenu &&
        (app->m_ShowCredits == 1 || app->m_ShowOptions == 1 || app->m_ShowBadges == 1)) {
        app->m_ShowCredits = 0;
        app->m_ShowBadges = 0;
        app->m_KeyLock = 1;
        app->m_ClickLock = 1;
    }
    if (app->m_ShowOptions == 1) {
        app->m_KeyLock = 1;
        app->m_ClickLock = 1;
    }
    return 0;
}

int c_MyApp::p_OnUpdate() {
    if (kr_Vex_isOuya == 1)
        m_Ctl[kCtlBackKey] = kr_input_KeyHit(kr_key::PadBack) > 0 ? 1 : 0;
    else
        m_Ctl[kCtlBackKey] = kr_input_KeyHit(kr_key::Back);
    if (kr_input_KeyHit(kr_key::F11)) p_FullscreenFlip();
    if ((kr_input_KeyHit(kr_key::F4) || kr_input_KeyHit(kr_key::Close)) && p_CanQuit()) krError(String());
    if (kr_input_KeyHit(kr_key::F1)) kr_Vex_DebugMode = 1 - kr_Vex_DebugMode;
    kr_asyncevent_UpdateAsyncEvents();
    if (kr_Vex_HasMusicStream == 1 && m_TunePlaying == 1) {
        if (m_Paused != 0)
            kr_audio_PauseMusic();
        else
            kr_audio_ResumeMusic();
    }
    MeasureRate(m_UpdateMs, m_UpdateFps, m_UpdateFpsAvg);
    if (kr_Vex_HasMusic == 1) {
        m_Music->p_Lx_Alive_U(m_Paused, m_Opt[5] == 1 || m_Opt[5] == 3 ? 1 : 0);
    }
    p_ReadPointer();
    if (m_MouseDown == 0) m_ClickLock = 0;
    UpdateLocks(this);
    if (m_LoadStep == 0) ModeWork(this);
    if (m_LoadStep > 0) p_Loader();
    if (kr_Vex_iCadeControls == 1) p_ReadICade();
    for (int i = 0; i < kVirtualControls; ++i) {
        if (m_Ctl[i] == 1) m_Ctl[i] = 0;
    }
    if (kr_Vex_OnScreenControls == 1 && m_Mode > kModeStart && kr_Vex_iCadeControls == 0) {
        p_OnScreenPad();
    }
    if (kr_Vex_AccelerometerControls == 1 && kr_Vex_iCadeControls == 0) p_ReadTilt();
    if (kr_Vex_iCadeControls == 1) m_AccelX = m_AccelY = m_AccelSmoothX = m_AccelSmoothY = 0;
    if (kr_Vex_DebugMode == 1 && m_Mode != kModeStart) {
        p_ResetDraw();
        const bool tilt = kr_Vex_AccelerometerControls == 1 && kr_Vex_iCadeControls == 0;
        p_Text(16, tilt ? kr_Vex_jscrh * 0.5f : kr_Vex_jscrh - 16,
               String(m_RenderFpsAvg) + String(":") + String(m_ScaleX) + String(",") +
                   String(m_ScaleY),
               0, 0);
    }
    p_ShowBadges();
    return 0;
}

// --- Render ---

int c_MyApp::p_OnRender() {
    if (kr_Vex_HasMusic == 1) m_Music->p_Lx_Alive_R();
    MeasureRate(m_RenderMs, m_RenderFps, m_RenderFpsAvg);
    const int w = kr_graphics_DeviceWidth(), h = kr_graphics_DeviceHeight();
    kr_graphics_SetColor(m_ClsR, m_ClsG, m_ClsB);
    kr_graphics_SetAlpha(m_ClsA);
    kr_graphics_DrawRect(-1, -1, static_cast<float>(w) + 2, static_cast<float>(h) + 2);
    kr_graphics_SetColor(255, 255, 255);
    kr_graphics_SetAlpha(1);
    if (w != m_DevW || h != m_DevH) {
        m_LoadStep = 1;
        m_DevW = w;
        m_DevH = h;
    }
    p_FitScreen(w, h);
    p_ReplayDrawList(w, h);
    kr_graphics_SetAlpha(0.5f);
    kr_graphics_SetColor(255, 255, 255);
    return 0;
}

// --- Suspension, resumption and iCade ---

// A running game comes back paused with the pause panel open at mid-height.
static int PauseRule(c_MyApp* app) {
    if (app->m_Mode >= kModePlay) {
        app->m_Paused = 1;
        app->m_PauseDir = 1;
        app->m_PauseY = kr_Vex_ToInt(kr_Vex_jscrh * 0.5f);
    } else {
        app->m_Paused = app->m_PauseDir = app->m_PauseY = 0;
    }
    return 0;
}

int c_MyApp::p_OnSuspend() {
    p_iCade(0);
    PauseRule(this);
    kr_app_SetUpdateRate(5);
    p_Save();
    return 0;
}

int c_MyApp::p_OnResume() {
    PauseRule(this);
    kr_app_SetUpdateRate(60);
    p_iCade(0);
    return 0;
}

// The host decides whether the program may end itself (a page may not).
bool c_MyApp::p_CanQuit() { return !kr_app__game || kr_app__game->CanQuit(); }

int c_MyApp::p_iCade(int on) {
    if (on == 1) {
        if (kr_app__game) kr_app__game->SetKeyboardEnabled(true);
        kr_Vex_iCadeControls = 1;
        do {
            m_LastChar = kr_input_GetChar();
        } while (m_LastChar != 0);
    } else if (on == 0) {
        if (kr_app__game) kr_app__game->SetKeyboardEnabled(false);
        kr_Vex_iCadeControls = 0;
        for (int i = 0; i < kVirtualControls; ++i) m_Ctl[i] = 0;
    }
    return 0;
}
