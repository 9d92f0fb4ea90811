// The game shell on the bare host: start-up values, the order of work in an
// update (loading before mode work, locks, F-keys, control clearing), the
// rate measure, suspension with the pause rule, the iCade switch and the
// missing-data-folder line.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/support/game_host.h"

namespace {

constexpr int kLoadingUpdates = 28;

class Shell : public ::testing::Test {
   protected:
    void SetUp() override { app = StartBareGame(host); }
    // Start-up, then the loader's 28 updates: the game is in mode 1 at rest.
    void CreateAndLoad() {
        app->p_OnCreate();
        for (int i = 0; i < kLoadingUpdates; ++i) UpdateOnce(app);
        ASSERT_EQ(app->m_LoadStep, 0);
    }
    void Key(int event, int key) { kr_input_device->p_KeyEvent(event, key); }
    void Tap(int key) {
        Key(1, key);
        Key(2, key);
    }
    GameTestHost host;
    c_MyApp* app = nullptr;
};

TEST_F(Shell, FirstRunValuesAfterCreate) {
    app->m_Opt[7] = 9, app->m_Hi[30] = 5, app->m_Hi[31] = 6, app->m_Ctl[19] = 1;
    app->m_BadgeOwned[127] = true, app->m_BadgeOwned[128] = true, app->m_ChanMap[3] = 7;
    app->p_OnCreate();
    EXPECT_EQ(app->m_Mode, 1);
    EXPECT_EQ(app->m_Fullscreen, 0);
    EXPECT_EQ(app->m_JinglePlayed, 0);
    EXPECT_EQ(host.UpdateRate(), 60);
    EXPECT_EQ(app->m_DevW, 0);  // no graphics device
    EXPECT_EQ(app->m_DevH, 0);
    EXPECT_EQ(app->m_LoadStep, 1);
    EXPECT_EQ(app->m_HdLevel, 1);
    EXPECT_EQ(app->m_ImgScale, 1);
    EXPECT_EQ(app->m_Font, 90);
    EXPECT_EQ(app->m_ClsA, 1);
    EXPECT_EQ(app->m_GameMode, 2);
    EXPECT_EQ(app->m_MenuIntro, -32);
    EXPECT_EQ(app->m_Paused, 0);
    EXPECT_EQ(app->m_PauseDir, -1);
    EXPECT_EQ(app->m_PauseY, -64);
    EXPECT_EQ(app->m_Opt[5], 1);
    EXPECT_EQ(app->m_Opt[7], 0);
    EXPECT_EQ(app->m_Hi[30], 0);
    EXPECT_EQ(app->m_Hi[31], 6) << "only m_Hi[0..30] is cleared";
    EXPECT_EQ(app->m_Ctl[19], 1) << "only m_Ctl[0..18] is cleared";
    EXPECT_FALSE(app->m_BadgeOwned[127]);
    EXPECT_TRUE(app->m_BadgeOwned[128]) << "only badges 0..127 are cleared";
    for (int i = 0; i <= 32; ++i) EXPECT_EQ(app->m_ChanMap[i], i);
    // The font and the logo are set up at once, before the loader runs.
    EXPECT_EQ(app->m_ImgInfo[270], 7);
    EXPECT_EQ(app->m_ImgInfo[271], 10);
    EXPECT_EQ(app->m_ImgInfo[272], 128);
    EXPECT_EQ(app->m_ImgInfo[279], 256);
    EXPECT_EQ(app->m_ImgInfo[281], 1);
    EXPECT_EQ(app->m_Img[93], nullptr) << "no device: an empty slot";
}

TEST_F(Shell, OuyaStartsWithOverscan64) {
    kr_Vex_isOuya = 1;
    app->p_OnCreate();
    EXPECT_EQ(kr_Vex_overscan, 64);
    kr_Vex_isOuya = 0;
}

// While the loader runs, the mode's work waits: mode 2 would go to the menu
// and the credits panel would slide. Update 29 is the first with mode work.
TEST_F(Shell, TwentyEightLoadingUpdatesThenModeWork) {
    app->p_OnCreate();
    app->m_Mode = 2;
    app->m_ShowCredits = 1;
    for (int update = 1; update <= kLoadingUpdates; ++update) {
        UpdateOnce(app);
        SCOPED_TRACE(update);
        EXPECT_EQ(app->m_LoadStep, update < kLoadingUpdates ? update + 1 : 0);
        EXPECT_EQ(app->m_Mode, 2);
        EXPECT_EQ(app->m_CreditsSlide, 0);
        EXPECT_EQ(app->m_JinglePlayed, update >= 4 ? 1 : 0);
        EXPECT_EQ(app->m_DrawN, 25 * 15) << "the loading screen is the frame";
    }
    EXPECT_EQ(app->m_SfxChan, 1) << "the jingle, once";
    UpdateOnce(app);
    EXPECT_EQ(app->m_Mode, 1);
    EXPECT_EQ(app->m_SfxChan, 2) << "sound 96 on the way back to the menu";
    EXPECT_EQ(app->m_CreditsSlide, 1);
}

// The credits and options slides move one step a update within 0..30.
TEST_F(Shell, PanelsSlideWithinZeroToThirty) {
    CreateAndLoad();
    app->m_ShowCredits = 1;
    for (int i = 0; i < 40; ++i) UpdateOnce(app);
    EXPECT_EQ(app->m_CreditsSlide, 30);
    app->m_ShowCredits = 0;
    UpdateOnce(app);
    EXPECT_EQ(app->m_CreditsSlide, 29);
    app->m_ShowOptions = 1;
    for (int i = 0; i < 31; ++i) UpdateOnce(app);
    EXPECT_EQ(app->m_OptionsSlide, 30);
    app->m_ShowOptions = 0;
    for (int i = 0; i < 40; ++i) UpdateOnce(app);
    EXPECT_EQ(app->m_OptionsSlide, 0);
    EXPECT_EQ(app->m_CreditsSlide, 0);
}

// Back (escape) in the menu closes credits and badges and locks keys and
// pointer; options stay open; other modes, or a key lock already on, do
// nothing. (Back in the menu with no panel open is the menu's: it quits.)
TEST_F(Shell, BackClosesCreditsAndBadgesInTheMenuOnly) {
    struct Case {
        int mode, credits, options, badges, keyLock;
        int creditsAfter, optionsAfter, badgesAfter, keyLockAfter, clickLockAfter;
    };
    const Case cases[] = {
        {1, 1, 0, 0, 0, 0, 0, 0, 1, 1}, {1, 0, 0, 1, 0, 0, 0, 0, 1, 1},
        {1, 1, 0, 1, 0, 0, 0, 0, 1, 1}, {1, 0, 1, 0, 0, 0, 1, 0, 1, 1},
        {1, 1, 0, 1, 1, 1, 0, 1, 1, 0}, {10, 1, 0, 1, 0, 1, 0, 1, -1, 0},  // play takes back itself
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "mode " << c.mode << " panels " << c.credits << c.options << c.badges);
        app = StartBareGame(host);
        CreateAndLoad();
        app->m_Mode = c.mode;
        app->m_ShowCredits = c.credits, app->m_ShowOptions = c.options;
        app->m_ShowBadges = c.badges;
        app->m_KeyLock = c.keyLock;
        Key(1, 27);
        UpdateOnce(app);
        EXPECT_EQ(app->m_ShowCredits, c.creditsAfter);
        EXPECT_EQ(app->m_ShowOptions, c.optionsAfter);
        EXPECT_EQ(app->m_ShowBadges, c.badgesAfter);
        if (c.keyLockAfter >= 0) EXPECT_EQ(app->m_KeyLock, c.keyLockAfter);
        EXPECT_EQ(app->m_ClickLock, c.clickLockAfter);
    }
}

// The key lock lasts while any control is held and falls when all are up.
TEST_F(Shell, KeyLockHoldsUntilEveryControlIsUp) {
    CreateAndLoad();
    app->m_ShowCredits = 1;
    Key(1, 27);
    UpdateOnce(app);
    ASSERT_EQ(app->m_KeyLock, 1);
    app->m_ShowCredits = 1;
    UpdateOnce(app);
    EXPECT_EQ(app->m_ShowCredits, 1) << "back still held from before: locked";
    Key(1, 32);  // space (fire)
    Key(2, 27);
    UpdateOnce(app);
    EXPECT_EQ(app->m_KeyLock, 1) << "space is still held";
    Key(2, 32);
    UpdateOnce(app);
    EXPECT_EQ(app->m_KeyLock, 0);
}

TEST_F(Shell, OptionsPanelForcesBothLocksEveryUpdate) {
    CreateAndLoad();
    app->m_ShowOptions = 1;
    for (int i = 0; i < 3; ++i) {
        app->m_KeyLock = 0, app->m_ClickLock = 0;
        UpdateOnce(app);
        EXPECT_EQ(app->m_KeyLock, 1);
        EXPECT_EQ(app->m_ClickLock, 1);
    }
    // Closed, the panel slides out over 30 updates and then lets go.
    app->m_ShowOptions = 0;
    for (int i = 0; i < 30; ++i) UpdateOnce(app);
    ASSERT_EQ(app->m_OptionsSlide, 0);
    UpdateOnce(app);
    EXPECT_EQ(app->m_KeyLock, 0);
    EXPECT_EQ(app->m_ClickLock, 0) << "no pointer down";
}

// F1 flips the debug line; the line is drawn also while loading, but not on
// the start screen (mode 5).
TEST_F(Shell, F1TwiceRestoresTheDebugLine) {
    app->p_OnCreate();
    app->m_ImgInfo[270] = 7;
    const int before = kr_Vex_DebugMode;
    Tap(112);
    UpdateOnce(app);
    EXPECT_EQ(kr_Vex_DebugMode, 1 - before);
    // Loading screen (25 records) and the line "0:0.0,0.0": 9 glyphs.
    EXPECT_EQ(app->m_DrawN, (25 + 9) * 15);
    const float* first = &app->m_Draw[25 * 15];
    EXPECT_EQ(first[0], 90);
    EXPECT_EQ(first[6], '0' - 32);
    EXPECT_FLOAT_EQ(first[1], 16 + 7) << "the leading space, then the text";
    EXPECT_FLOAT_EQ(first[2], 480 - 16 + 5) << "alignY 0: half a line lower";
    Tap(112);
    UpdateOnce(app);
    EXPECT_EQ(kr_Vex_DebugMode, before);
    EXPECT_EQ(app->m_DrawN, 25 * 15);
}

TEST_F(Shell, DebugLineSkipsTheStartScreenAndMovesUpWithTilt) {
    CreateAndLoad();
    kr_Vex_DebugMode = 1;
    app->m_Mode = 5;
    UpdateOnce(app);
    const int startScreen = app->m_DrawN;
    EXPECT_GT(startScreen, 0);
    for (int i = 0; i < startScreen; i += 15) EXPECT_NE(app->m_Draw[i + 2], 480 - 16 + 5);
    app->m_Mode = 1;
    kr_Vex_AccelerometerControls = 1;
    app->p_CLS2D(kOmitted, 0, 0, 0);
    UpdateOnce(app);
    ASSERT_GT(app->m_DrawN, 0);
    EXPECT_FLOAT_EQ(app->m_Draw[app->m_DrawN - 15 + 2], 240 + 5);
    kr_Vex_AccelerometerControls = 0;
    kr_Vex_DebugMode = 0;
}

TEST_F(Shell, F4AndTheCloseKeyEndTheProgramWithZero) {
    for (int key : {115, 432}) {
        EXPECT_EXIT(
            {
                app->p_OnCreate();
                Tap(key);
                UpdateOnce(app);
                std::exit(3);
            },
            ::testing::ExitedWithCode(0), "")
            << key;
    }
}

TEST_F(Shell, BackKeyFillsControl19) {
    app->p_OnCreate();
    Tap(416);
    UpdateOnce(app);
    EXPECT_EQ(app->m_Ctl[19], 1);
    UpdateOnce(app);
    EXPECT_EQ(app->m_Ctl[19], 0);
    kr_Vex_isOuya = 1;
    Tap(416);
    UpdateOnce(app);
    EXPECT_EQ(app->m_Ctl[19], 0) << "on OUYA only the console button";
    Tap(270);
    Tap(270);
    UpdateOnce(app);
    EXPECT_EQ(app->m_Ctl[19], 1) << "two presses still give 1";
    kr_Vex_isOuya = 0;
}

// Integer division, only when the clock advanced; the average moves a tenth.
TEST_F(Shell, UpdateRateMeasure) {
    app->p_OnCreate();
    struct Step {
        int clock, fps, average;
    };
    const Step steps[] = {
        {0, 0, 0},      // the clock has not advanced: nothing to divide by
        {16, 62, 6},    // 1000 / 16
        {16, 62, 11},   // same time: the last rate again
        {33, 58, 15},   // 1000 / 17
        {20, 58, 19},   // the clock went back: the last rate again
        {3020, 0, 17},  // 1000 / 3000
        {3021, 1000, 115},
    };
    for (const Step& s : steps) {
        host.clock = s.clock;
        UpdateOnce(app);
        EXPECT_EQ(app->m_UpdateFps, s.fps) << s.clock;
        EXPECT_EQ(app->m_UpdateFpsAvg, s.average) << s.clock;
        EXPECT_EQ(app->m_UpdateMs, s.clock);
    }
}

// Values 1 (on-screen controls) last one update, 2 (iCade) stay.
TEST_F(Shell, OneUpdateControlsAreCleared) {
    app->p_OnCreate();
    for (int i = 0; i < 20; ++i) app->m_Ctl[i] = i % 3;
    UpdateOnce(app);
    for (int i = 0; i <= 18; ++i) EXPECT_EQ(app->m_Ctl[i], i % 3 == 1 ? 0 : i % 3) << i;
    EXPECT_EQ(app->m_Ctl[19], 0) << "the back key of this update";
}

TEST_F(Shell, SuspendAndResumeApplyThePauseRule) {
    struct Case {
        int mode, paused, pauseDir, pauseY;
    };
    for (const Case& c :
         {Case{10, 1, 1, 240}, Case{11, 1, 1, 240}, Case{1, 0, 0, 0}, Case{9, 0, 0, 0}}) {
        SCOPED_TRACE(c.mode);
        app = StartBareGame(host);
        CreateAndLoad();
        app->m_Mode = c.mode;
        app->m_Paused = 7, app->m_PauseDir = 7, app->m_PauseY = 7;
        const int saves = host.saves;
        app->p_OnSuspend();
        EXPECT_EQ(host.UpdateRate(), 5);
        EXPECT_EQ(host.saves, saves + 1);
        EXPECT_EQ(app->m_Paused, c.paused);
        EXPECT_EQ(app->m_PauseDir, c.pauseDir);
        EXPECT_EQ(app->m_PauseY, c.pauseY);
        app->m_Paused = 7, app->m_PauseDir = 7, app->m_PauseY = 7;
        app->p_OnResume();
        EXPECT_EQ(host.UpdateRate(), 60);
        EXPECT_EQ(app->m_Paused, c.paused);
        EXPECT_EQ(app->m_PauseDir, c.pauseDir);
        EXPECT_EQ(app->m_PauseY, c.pauseY);
    }
}

TEST_F(Shell, SuspendAndResumeSwitchICadeOff) {
    app->p_OnCreate();
    for (auto callback : {&c_MyApp::p_OnSuspend, &c_MyApp::p_OnResume}) {
        app->p_iCade(1);
        app->m_Ctl[0] = 2;
        (app->*callback)();
        EXPECT_EQ(kr_Vex_iCadeControls, 0);
        EXPECT_FALSE(host.KeyboardEnabled());
        EXPECT_EQ(app->m_Ctl[0], 0);
    }
}

TEST_F(Shell, ICadeOnDrainsCharactersOffReleasesControls) {
    app->p_OnCreate();
    for (char c : std::string("wxad")) Key(3, c);
    app->m_LastChar = 5;
    app->p_iCade(1);
    EXPECT_EQ(kr_Vex_iCadeControls, 1);
    EXPECT_TRUE(host.KeyboardEnabled());
    EXPECT_EQ(app->m_LastChar, 0);
    EXPECT_EQ(kr_input_GetChar(), 0) << "the queue is empty";

    for (int i = 0; i < 20; ++i) app->m_Ctl[i] = 2;
    app->m_AccelX = app->m_AccelY = app->m_AccelSmoothX = app->m_AccelSmoothY = 0.5f;
    UpdateOnce(app);
    EXPECT_EQ(app->m_AccelX, 0) << "tilt is off while iCade is on";
    EXPECT_EQ(app->m_AccelSmoothY, 0);

    app->m_Ctl[19] = 2;
    app->p_iCade(2);
    EXPECT_EQ(kr_Vex_iCadeControls, 1) << "other values do nothing";
    EXPECT_EQ(app->m_Ctl[4], 2);
    app->p_iCade(0);
    EXPECT_EQ(kr_Vex_iCadeControls, 0);
    EXPECT_FALSE(host.KeyboardEnabled());
    for (int i = 0; i <= 18; ++i) EXPECT_EQ(app->m_Ctl[i], 0) << i;
    EXPECT_EQ(app->m_Ctl[19], 2);
}

// A start-screen click strictly inside the middle half goes to the menu and
// reloads; the start screen shows while the game waits.
TEST_F(Shell, StartScreenClickInTheMiddleHalf) {
    struct Case {
        int x, y, hit;
        bool starts;
    };
    const Case cases[] = {{320, 240, 1, true},  {161, 121, 1, true},  {160, 240, 1, false},
                          {480, 240, 1, false}, {320, 360, 1, false}, {320, 240, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y << " hit " << c.hit);
        app = StartBareGame(host);
        CreateAndLoad();
        app->m_Mode = 5;
        host.SetUpdateRate(5);
        app->m_MouseX = c.x, app->m_MouseY = c.y, app->m_MouseHit = c.hit;
        app->p_WaitStart(0);
        EXPECT_EQ(app->m_Mode, c.starts ? 1 : 5);
        EXPECT_EQ(app->m_LoadStep, c.starts ? 1 : 0);
        EXPECT_EQ(app->m_ClickLock, c.starts ? 1 : 0);
        EXPECT_EQ(host.UpdateRate(), c.starts ? 60 : 5);
    }
}

// A host whose data folder is a real path, as the desktop host's is.
class FolderHost : public GameTestHost {
   public:
    std::string folder;
    String PathToFilePath(String path) override {
        String scheme("tandor://data/");
        if (!path.StartsWith(scheme)) return path;
        return String(folder.c_str()) + path.Slice(scheme.Length());
    }
};

TEST(ShellDataFolder, MissingFolderIsNamedOnceAtStart) {
    char name[] = "/tmp/vornhelm_shell_XXXXXX";
    ASSERT_TRUE(mkdtemp(name));
    const std::string dir = name;
    FolderHost host;
    host.folder = dir + "/data/";
    c_MyApp* app = StartBareGame(host);
    testing::internal::CaptureStdout();
    app->p_OnCreate();
    for (int i = 0; i < 30; ++i) UpdateOnce(app);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Data folder not found: " + dir +
                       "/data/ (start the game from the folder that holds data/)\n");
    EXPECT_EQ(app->m_LoadStep, 0) << "the game runs on with empty slots";

    ASSERT_EQ(mkdir((dir + "/data").c_str(), 0755), 0);
    app = StartBareGame(host);
    testing::internal::CaptureStdout();
    app->p_OnCreate();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    // A relative folder is named from the working directory.
    host.folder = "./no-such-folder/";
    app = StartBareGame(host);
    testing::internal::CaptureStdout();
    app->p_OnCreate();
    char cwd[4096];
    ASSERT_TRUE(getcwd(cwd, sizeof cwd));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Data folder not found: " + std::string(cwd) +
                  "/no-such-folder/ (start the game from the folder that holds data/)\n");
    rmdir((dir + "/data").c_str());
    rmdir(dir.c_str());
}

}  // namespace
