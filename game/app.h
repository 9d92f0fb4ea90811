// SPDX-License-Identifier: Zlib
// The game's application class: its fields grouped by concern, and its
// methods grouped by the file that holds them. Fields and methods are public
// so that tests can drive the game directly.
#pragma once

#include "framework/framework.h"
#include "game/shell/music_player.h"

// Stands for an omitted numeric argument throughout the game.
constexpr int kOmitted = -3717;

class c_MyApp : public c_App {
public:
    // --- Shell: the mode, the device and loading ---
    int m_Mode = 0;
    int m_GameMode = 0;  // chosen in the menu, 1..3
    int m_Fullscreen = 0;
    int m_DevW = 0;  // device size at the last render
    int m_DevH = 0;
    int m_LoadStep = 0;  // 0 when no loading is in progress
    int m_SpinAngle = 0;  // the loading spinner, degrees
    int m_JinglePlayed = 0;
    int m_HdLevel = 0;  // asset resolution: 1, 2 or 4
    float m_ImgScale = 0;  // 1 / m_HdLevel

    // --- Update and render rates ---
    int m_UpdateMs = 0;
    int m_UpdateFps = 0;
    int m_UpdateFpsAvg = 0;
    int m_RenderMs = 0;
    int m_RenderFps = 0;
    int m_RenderFpsAvg = 0;

    // --- Images, sounds and music ---
    Array<c_Image*> m_Img;  // image slots (game/names.h)
    Array<int> m_ImgInfo;  // three Ints per image slot
    int m_Font = 0;  // image slot of the font
    Array<c_Sound*> m_Snd;  // sound slots (game/names.h)
    int m_SfxChan = 0;  // last effect channel, 0..23
    Array<int> m_ChanMap;
    int m_TunePlaying = 0;
    c_LxPlayer* m_Music = nullptr;

    // --- Screen fitting and draw state ---
    float m_ScaleX = 0;  // device pixels per virtual pixel
    float m_ScaleY = 0;
    int m_FitMode = 0;
    int m_Landscape = 0;
    float m_ClsR = 0;  // clear colour 0..255, alpha 0..1
    float m_ClsG = 0;
    float m_ClsB = 0;
    float m_ClsA = 0;
    int m_DrawN = 0;  // floats used in m_Draw
    Array<float> m_Draw;  // 2500 records of 15 floats
    float m_DrawSX = 0;
    float m_DrawSY = 0;
    float m_DrawRot = 0;
    float m_DrawR = 0;
    float m_DrawG = 0;
    float m_DrawB = 0;
    float m_DrawA = 0;
    int m_DrawBlend = 0;

    // --- Controls and locks ---
    Array<int> m_Ctl;  // virtual controls by action (game/names.h)
    int m_KeyLock = 0;  // a key press was used; held until all are up
    int m_ClickLock = 0;  // a pointer press was used; held until all are up
    int m_LastChar = 0;  // iCade character being read
    int m_ButtonHit = 0;

    // --- Pointer and touch, in virtual pixels ---
    int m_MouseX = 0;
    int m_MouseOldX = 0;  // at the previous update or the press
    int m_MouseY = 0;
    int m_MouseOldY = 0;
    int m_MouseWasDown = 0;
    int m_MouseDown = 0;  // left button or any touch down
    int m_MouseHit = 0;
    Array<int> m_TouchDown;  // touches 0..9
    Array<int> m_TouchX;  // -3717 while up
    Array<int> m_TouchY;

    // --- Sticks, on-screen pad and tilt ---
    float m_StickX = 0;  // -1..1, for the helicopter
    float m_StickY = 0;
    int m_StickAnchorX = 0;  // -1 while no movement touch is down
    int m_StickAnchorY = 0;
    float m_KeyStickY = 0;  // ramped by the direction keys
    float m_KeyStickX = 0;
    int m_PadX = 0;
    int m_PadY = 0;
    float m_PadSize = 0;
    int m_PadDrag = 0;  // 1 while the pad is resized
    float m_AccelZeroX = 0;  // the reading taken as level
    float m_AccelZeroY = 0;
    float m_AccelX = 0;
    float m_AccelY = 0;
    float m_AccelSmoothX = 0;
    float m_AccelSmoothY = 0;

    // --- Menu ---
    int m_MenuIntro = 0;  // slide-in counter, -32 up to 0
    int m_MenuTick = 0;
    int m_MenuSel = 0;  // 1..3 the game modes, 4 the gear
    float m_MenuDrag = 0;
    float m_MenuTarget = 0;
    float m_MenuSpeed = 0;
    float m_MenuPos = 0;
    int m_MenuH = 0;  // the strip's axis: 1 - m_Landscape
    int m_MenuSnap = 0;  // 0 while free
    float m_GearAngle = 0;
    float m_ScorePanelW = 0;

    // --- Pause ---
    int m_Paused = 0;
    int m_PauseDir = 0;  // 1 opening, -1 closing
    int m_PauseY = 0;
    int m_PauseSel = 0;  // -1 give up, 0 resume, 1 options

    // --- Panels: options, credits, badges ---
    int m_ShowOptions = 0;
    int m_OptionsSlide = 0;  // 0..30
    int m_OptionSel = 0;  // 0 is the back gear
    int m_OptKeyLock = 0;
    int m_OptTouchLock = 0;
    int m_ShowCredits = 0;
    int m_CreditsSlide = 0;  // 0..30
    int m_CreditA = 0;
    int m_CreditB = 0;
    int m_CreditC = 0;
    float m_CreditD = 0;
    int m_CreditE = 0;
    int m_ShowBadges = 0;
    Array<int> m_BadgeQueue;  // notifications: badge ids
    Array<int> m_BadgeQueue2;  // and their ages
    float m_BadgeScroll = 0;
    float m_BadgeScroll2 = 0;

    // --- Saved: settings, records and badges ---
    Array<int> m_Opt;  // settings
    Array<int> m_Hi;  // top tens at 0..29, last tens at 30..59
    int m_HiBase = 0;  // table being shown or filled
    Array<bool> m_BadgeOwned;

    // --- Flight and the world ---
    Array<float> m_Player;  // the helicopter, its rope and gun (play/records.h)
    int m_Health = 0;
    int m_Score = 0;
    int m_ScoreShown = 0;  // eased toward m_Score
    int m_GameOverT = 0;  // above 0 once the game is lost
    int m_GameOverAnim = 0;
    int m_Frame = 0;
    int m_Tick = 0;
    int m_Rotor = 0;  // 0..359
    int m_MapWidth = 0;  // the last terrain column
    int m_WorldW = 0;  // 32 x m_MapWidth, during an update
    Array<int> m_Column;  // ten Ints per terrain column
    int m_Wave = 0;
    int m_People = 0;  // persons waiting

    // --- Camera ---
    float m_CamX = 0;
    float m_CamTargetX = 0;
    float m_CamY = 0;
    float m_CamTargetY = 0;

    // --- Pools: objects, particles, stars ---
    Array<float> m_Obj;  // ten floats per object (play/records.h)
    int m_ObjSlot = 0;  // the last free record found
    Array<float> m_Part;
    int m_PartMax = 0;
    Array<float> m_Star;
    int m_StarMax = 0;

    // --- Scratch: shared loop counters and temporaries ---
    int m_I = 0;
    int m_TmpB = 0;
    int m_TmpC = 0;
    int m_TmpD = 0;
    int m_TmpF = 0;
    int m_TmpG = 0;
    int m_TmpH = 0;
    int m_TmpI = 0;
    int m_TmpJ = 0;
    int m_TmpL = 0;
    int m_TmpM = 0;
    int m_TmpN = 0;
    int m_TmpO = 0;
    int m_TmpP = 0;
    int m_PosY = 0;
    int m_PosX = 0;
    // --- Methods, by the file that holds them ---
    c_MyApp() {}
    c_MyApp* m_new();
    void mark() override;

    // shell/shell.cpp: the framework callbacks and the mode machine.
    int p_OnCreate() override;
    int p_OnSuspend() override;
    int p_OnResume() override;
    int p_OnUpdate() override;
    int p_OnRender() override;
    int p_iCade(int on);

    // shell/draw_list.cpp: draw state, draw records, fitting and replay.
    int p_SetSize(float sx, float sy = kOmitted);
    int p_SetRot(float angle);
    int p_SetCol(float r, float g, float b, float a = kOmitted);
    int p_Alpha(float a);
    int p_ResetDraw();
    int p_CLS2D(float r, float g, float b, float a);
    int p_DrawImg(int slot, float x, float y, float frame);
    int p_Rect(float x, float y, float w, float h);
    int p_Oval(float x, float y, float rx, float ry);
    int p_FullscreenFlip();
    // The render's two halves, apart so that the fit can be checked without
    // a window: fit the virtual screen to a device of devW x devH, and replay
    // the list into the render device.
    int p_FitScreen(int devW, int devH);
    int p_ReplayDrawList(int devW, int devH);

    // shell/text.cpp: the bitmap-font writer and number formatting.
    int p_Text(float x, float y, String text, float alignX, float alignY);
    String p_rstr(int value, int n, String pad);
    // The score tables' form: eleven characters wide.
    String p_rstr(int value, String pad);

    // shell/loader.cpp: images, font, sounds, tunes, the loader and start screen.
    int p_LoadImg(int slot, String name, int w, int h, int frames, int flags);
    int p_LoadFont(int slot, String name, int advance, int line);
    int p_LoadSFX(int n);
    int p_PlaySFX(int n, float rate = 1, float volume = 1, float pan = 0);
    int p_PlayTune(String name, int loop);
    int p_StopTune();
    int p_Reload();
    int p_Loader();
    int p_WaitStart(int loading);
    // At start: one line on standard output when the data folder is missing.
    int p_FindDataFolder();

    // play/new_game.cpp and screens/score_tables.cpp: a new world, and filing
    // the score on return to the menu.
    int p_LoadGame();
    int p_LoadMenu();

    // shell/controls.cpp, pointer.cpp, icade.cpp, onscreen_pad.cpp, tilt.cpp:
    // pointer, actions, sticks, on-screen buttons, iCade, pad, tilt.
    int p_PlayKey(int action, int useStick, int device);
    int p_PlayKeyAll(int action, int useStick);
    float p_StickX(int stick, int joy);
    float p_StickY(int stick, int joy);
    int p_Button(int slot, float x, float y, int frame);
    // The same button with the slot fixed: 95 (buttons) and 97 (icons).
    int p_Button95(float x, float y, int frame);
    int p_Button97(float x, float y, int frame);
    int p_Button0(int slot, float x, float y, int frame);
    int p_Touch(float x, float y, float w, float h);
    // The same touch area with x fixed at 24 and height 24.
    int p_Touch24(float y, float w);
    int p_MouseIn_Centered(float x, float y, float w, float h);
    int p_AnalogueControl();
    // The shell's per-update control steps: the pointer and touches in
    // virtual pixels, iCade characters into m_Ctl, the on-screen pad, tilt.
    int p_ReadPointer();
    int p_ReadICade();
    int p_OnScreenPad();
    int p_ReadTilt();

    // shell/persistence.cpp: the state string.
    int p_Save();
    int p_Load();

    // play/play.cpp (and the other files of play/): one gameplay update.
    int p_Game();
    int p_InGame();
    int p_ResetPlayers();
    int p_Rand(float lo, float hi);
    // The steps of p_Game, each in the file of play/ of its concern: sky and
    // ceiling, camera and stars, flight, the helicopter, the rope, climbing
    // and boarding, firing, the terrain, one column of it with landing, crash
    // and pick-up, the objects (one record; an enemy; shots and explosions;
    // hits; enemy fire), the sea, the status bar and game over.
    int p_GameSky();
    int p_GameCamera();
    int p_GameFlight();
    int p_GameHeli();
    int p_GameRope();
    int p_GameBoard();
    int p_GameFire();
    int p_GameTerrain();
    int p_GameColumn(int i, float sx);
    int p_GameLand(int i, float sx, int h);
    int p_GameCrash();
    int p_GamePerson(int i, float sx, float gy);
    int p_GameObjects();
    int p_GameObject(int o);
    int p_GameEnemy(int o, float sx, float sy);
    int p_GameShot(int o, float sx, float sy, bool shown);
    int p_GameShotHit(int o);
    int p_GameShotEnemies(int o);
    int p_GameEnemyFire(int o);
    int p_GameSea();
    int p_GameStatus();
    int p_GameLost();

    // play/particles.cpp, play/stars.cpp, play/pool.cpp: the pools and the waves.
    int p_ResetParticles(int n);
    int p_FreeParticle();
    int p_AddParticle(int kind, float x, float y, float vx, float vy, int value, int colour, int life);
    int p_ThrowParticle(float x, float y, int kind, int colour, float angle = kOmitted,
                        float speed = kOmitted);
    int p_Gimme(int amount, float x, float y);
    int p_Gimme2(int amount, float x, float y);
    int p_DoParticles();
    int p_Ink(int colour, int brightness);
    int p_ResetStars(int n);
    int p_DoStars(float dx, float dy);
    int p_ObjFree();
    int p_AddBull(int slot, float x, float y, int kind, float angle);
    int p_Replenish();

    // screens/menu.cpp, screens/options.cpp, play/pause.cpp,
    // screens/ouya_quit.cpp: the screens.
    int p_Menu();
    int p_OptionBox();
    int p_PauseMenu();
    int p_OuyaQuit();
    bool p_CanQuit();

    // play/game_over.cpp, screens/credits.cpp, screens/badges.cpp.
    int p_GameOver();
    String p_MyNth();
    int p_CreditBox();
    String p_BadgeID(int id);
    String p_BadgeName(int id);
    String p_BadgeDetail(int id);
    int p_ShowBadges();
    int p_BadgesBox();
    int p_GC_Badges();
    int p_GC_PostScore(int score, int board);
};
