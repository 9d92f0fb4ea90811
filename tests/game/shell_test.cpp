// The game shell on the bare host: start-up values, loading before mode work,
// the locks, the F-keys, the rate measure, suspension with the pause rule,
// the iCade switch and the missing-data-folder line.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/game_host.h"

namespace {

class Shell : public ::testing::Test {
   protected:
    void SetUp() override { app = StartBareGame(host); }
    // A fresh game after start-up and the loader's 28 updates: mode 1 at rest.
    void Loaded() {
        app = StartBareGame(host);
        app->p_OnCreate();
        for (int i = 0; i < 28; ++i) UpdateOnce(app);
        ASSERT_EQ(app->m_LoadStep, 0);
    }
    static void Key(int event, int key) { kr_input_device->p_KeyEvent(event, key); }
    static void Tap(int key) { Key(1, key), Key(2, key); }
    GameTestHost host;
    c_MyApp* app = nullptr;
};

TEST_F(Shell, FirstRunValuesAfterCreate) {
    app->m_Opt[7] = 9, app->m_Hi[30] = 5, app->m_Hi[31] = 6, app->m_Ctl[19] = 1;
    app->m_BadgeOwned[127] = app->m_BadgeOwned[128] = true, app->m_ChanMap[3] = 7;
    app->p_OnCreate();
    struct V {
        const char* name;
        double got, want;
    };
    // Only m_Hi[0..30], m_Ctl[0..18] and badges 0..127 are cleared.
    for (const V& v : std::initializer_list<V>{
             {"mode", app->m_Mode, 1}, {"rate", host.UpdateRate(), 60}, {"load step", app->m_LoadStep, 1},
             {"level", app->m_HdLevel, 1}, {"image scale", app->m_ImgScale, 1}, {"font", app->m_Font, 90},
             {"clear alpha", app->m_ClsA, 1}, {"game mode", app->m_GameMode, 2}, {"intro", app->m_MenuIntro, -32},
             {"paused", app->m_Paused, 0}, {"pause dir", app->m_PauseDir, -1}, {"pause y", app->m_PauseY, -64},
             {"sound", app->m_Opt[5], 1}, {"opt 7", app->m_Opt[7], 0}, {"hi 30", app->m_Hi[30], 0},
             {"hi 31", app->m_Hi[31], 6}, {"ctl 19", app->m_Ctl[19], 1}, {"badge 127", app->m_BadgeOwned[127], 0},
             {"badge 128", app->m_BadgeOwned[128], 1}, {"glyph width", app->m_ImgInfo[270], 7},
             {"glyph height", app->m_ImgInfo[271], 10}, {"jingle", app->m_JinglePlayed, 0}})
        EXPECT_EQ(v.got, v.want) << v.name;
    for (int i = 0; i <= 32; ++i) EXPECT_EQ(app->m_ChanMap[i], i);
}

// While the loader runs the mode's work waits: mode 2 would go to the menu
// and the credits panel would slide. Update 29 is the first with mode work.
TEST_F(Shell, TwentyEightLoadingUpdatesThenModeWork) {
    app->p_OnCreate();
    app->m_Mode = 2, app->m_ShowCredits = 1;
    for (int update = 1; update <= 28; ++update) {
        UpdateOnce(app);
        SCOPED_TRACE(update);
        EXPECT_EQ(app->m_LoadStep, update < 28 ? update + 1 : 0);
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

// Back in the menu closes credits and badges and locks keys and pointer;
// options stay open; in play, or with the key lock on, nothing happens.
// The key lock then lasts until every control is up.
TEST_F(Shell, BackAndCreditsLockRule) {
    struct Case {
        int mode, credits, options, badges, keyLock, creditsAfter, badgesAfter, keyLockAfter, clickLockAfter;
    };
    const Case cases[] = {{1, 1, 0, 0, 0, 0, 0, 1, 1}, {1, 0, 0, 1, 0, 0, 0, 1, 1}, {1, 1, 0, 1, 0, 0, 0, 1, 1},
                          {1, 0, 1, 0, 0, 0, 0, 1, 1}, {1, 1, 0, 1, 1, 1, 1, 1, 0}, {10, 1, 0, 1, 0, 1, 1, -1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " panels " << c.credits << c.options << c.badges);
        Loaded();
        app->m_Mode = c.mode, app->m_ShowCredits = c.credits, app->m_ShowOptions = c.options;
        app->m_ShowBadges = c.badges, app->m_KeyLock = c.keyLock;
        Key(1, 27);
        UpdateOnce(app);
        EXPECT_EQ(app->m_ShowCredits, c.creditsAfter);
        EXPECT_EQ(app->m_ShowOptions, c.options);
        EXPECT_EQ(app->m_ShowBadges, c.badgesAfter);
        if (c.keyLockAfter >= 0) EXPECT_EQ(app->m_KeyLock, c.keyLockAfter);
        EXPECT_EQ(app->m_ClickLock, c.clickLockAfter);
    }
    Loaded();
    app->m_ShowCredits = 1;
    Key(1, 27);
    UpdateOnce(app);
    app->m_ShowCredits = 1;
    UpdateOnce(app);
    EXPECT_EQ(app->m_ShowCredits, 1) << "back still held: locked";
    Key(1, 32);
    Key(2, 27);
    UpdateOnce(app);
    EXPECT_EQ(app->m_KeyLock, 1) << "space is still held";
    Key(2, 32);
    UpdateOnce(app);
    EXPECT_EQ(app->m_KeyLock, 0);
}

// Open options force both locks every update; the panels slide within 0..30
// and the locks fall once the options panel is out.
TEST_F(Shell, OptionsLockRule) {
    Loaded();
    app->m_ShowOptions = app->m_ShowCredits = 1;
    for (int i = 0; i < 40; ++i) {
        app->m_KeyLock = app->m_ClickLock = 0;
        UpdateOnce(app);
        ASSERT_EQ(app->m_KeyLock + app->m_ClickLock, 2);
    }
    EXPECT_EQ(app->m_OptionsSlide, 30);
    EXPECT_EQ(app->m_CreditsSlide, 30);
    app->m_ShowOptions = app->m_ShowCredits = 0;
    for (int i = 0; i < 30; ++i) UpdateOnce(app);
    EXPECT_EQ(app->m_OptionsSlide, 0);
    EXPECT_EQ(app->m_KeyLock, 1) << "locked until the panel is out";
    UpdateOnce(app);
    EXPECT_EQ(app->m_CreditsSlide, 0);
    EXPECT_EQ(app->m_KeyLock + app->m_ClickLock, 0);
}

// F1 flips the debug line "0:0.0,0.0" (9 glyphs after the loading screen).
TEST_F(Shell, F1TwiceRestoresTheDebugLine) {
    app->p_OnCreate();
    for (int on : {1, 0}) {
        Tap(112);
        UpdateOnce(app);
        EXPECT_EQ(kr_Vex_DebugMode, on);
        EXPECT_EQ(app->m_DrawN, (25 + 9 * on) * 15);
    }
}

// Integer division only when the clock advanced; the average moves a tenth.
TEST_F(Shell, UpdateRateMeasure) {
    app->p_OnCreate();
    const int steps[][3] = {{0, 0, 0},   {16, 62, 6},   {16, 62, 11},        {33, 58, 15},
                            {20, 58, 19}, {3020, 0, 17}, {3021, 1000, 115}};  // clock, rate, average
    for (auto [clock, fps, average] : steps) {
        host.clock = clock;
        UpdateOnce(app);
        EXPECT_EQ(app->m_UpdateFps, fps) << clock;
        EXPECT_EQ(app->m_UpdateFpsAvg, average) << clock;
    }
}

// Suspended play pauses with its panel; elsewhere the pause is cleared.
// Both directions switch iCade off; the suspension saves.
TEST_F(Shell, SuspendAndResumeApplyThePauseRule) {
    const int cases[][4] = {{10, 1, 1, 240}, {11, 1, 1, 240}, {1, 0, 0, 0}, {9, 0, 0, 0}};
    for (auto [mode, paused, dir, y] : cases) {
        SCOPED_TRACE(mode);
        Loaded();
        app->m_Mode = mode;
        for (auto [callback, rate, saves] : {std::tuple{&c_MyApp::p_OnSuspend, 5, host.saves + 1},
                                             std::tuple{&c_MyApp::p_OnResume, 60, host.saves + 1}}) {
            app->m_Paused = app->m_PauseDir = app->m_PauseY = 7;
            app->p_iCade(1);
            app->m_Ctl[0] = 2;
            (app->*callback)();
            EXPECT_EQ(host.UpdateRate(), rate);
            EXPECT_EQ(host.saves, saves);
            EXPECT_EQ(app->m_Paused, paused);
            EXPECT_EQ(app->m_PauseDir, dir);
            EXPECT_EQ(app->m_PauseY, y);
            EXPECT_EQ(kr_Vex_iCadeControls, 0);
            EXPECT_FALSE(host.KeyboardEnabled());
            EXPECT_EQ(app->m_Ctl[0], 0);
        }
    }
}

// On: the character queue is drained and tilt is off. Other values do
// nothing. Off: the controls are released, except back.
TEST_F(Shell, ICadeOnAndOff) {
    app->p_OnCreate();
    for (char c : std::string("wxad")) Key(3, c);
    app->m_LastChar = 5;
    app->p_iCade(1);
    EXPECT_TRUE(kr_Vex_iCadeControls == 1 && host.KeyboardEnabled());
    EXPECT_EQ(app->m_LastChar, 0);
    EXPECT_EQ(kr_input_GetChar(), 0) << "the queue is empty";
    for (int i = 0; i < 20; ++i) app->m_Ctl[i] = 2;
    app->m_AccelX = app->m_AccelSmoothY = 0.5f;
    UpdateOnce(app);
    EXPECT_EQ(app->m_AccelX + app->m_AccelSmoothY, 0) << "tilt is off while iCade is on";
    app->m_Ctl[19] = 2;
    app->p_iCade(2);
    EXPECT_EQ(kr_Vex_iCadeControls, 1);
    app->p_iCade(0);
    EXPECT_FALSE(kr_Vex_iCadeControls || host.KeyboardEnabled());
    for (int i = 0; i <= 18; ++i) EXPECT_EQ(app->m_Ctl[i], 0) << i;
    EXPECT_EQ(app->m_Ctl[19], 2);
}

// A host whose data folder is a real path, as the desktop host's is.
class FolderHost : public GameTestHost {
   public:
    std::string folder;
    String PathToFilePath(String path) override {
        String scheme("tandor://data/");
        return path.StartsWith(scheme) ? String(folder.c_str()) + path.Slice(scheme.Length()) : path;
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
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Data folder not found: " + dir + "/data/ (start the game from the folder that holds data/)\n");
    EXPECT_EQ(app->m_LoadStep, 0) << "the game runs on with empty slots";
    rmdir(dir.c_str());
}

}  // namespace
