// The application object and the game delegate: installing the delegate,
// the app module's functions, and how the delegate turns host calls into
// device and application calls. Devices are the real classes; where the
// order of calls matters they are subclassed to log it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "audio/device.h"
#include "framework/framework.h"
#include "graphics/renderer.h"
#include "host/glfw_game.h"
#include "tests/host/temp_dir.h"

namespace {

std::string journal;

class LoggingApp : public c_App {
public:
    LoggingApp() {}
    int seenHits = -1;
    int p_OnCreate() override { return journal += "create ", 0; }
    int p_OnSuspend() override { return journal += "app-suspend ", 0; }
    int p_OnResume() override { return journal += "app-resume ", 0; }
    int p_OnUpdate() override {
        seenHits = kr_input_KeyHit(65);
        journal += "update ";
        return 0;
    }
    int p_OnRender() override {
        journal += kr_graphics_renderDevice ? "render-in-frame " : "render ";
        return 0;
    }
};

class LoggingGraphics : public gxtkGraphics {
public:
    LoggingGraphics() {}
    int mode = 1;
    int BeginRender() override { return journal += "begin ", mode; }
    void EndRender() override { journal += "end "; }
    void DiscardGraphics() override { journal += "discard "; }
};

class LoggingAudio : public gxtkAudio {
public:
    LoggingAudio() {}
    int Suspend() override { return journal += "audio-suspend ", 0; }
    int Resume() override { return journal += "audio-resume ", 0; }
};

// Start-up as the program does it, with a real host and the application
// created through c_App::m_new.
class App : public ::testing::Test {
protected:
    void SetUp() override {
        journal.clear();
        krInit();
        app = new LoggingApp;
        app->m_new();
    }
    void TearDown() override {
        kr_app__app = nullptr;
        kr_app__delegate = nullptr;
        kr_input_device = nullptr;
        kr_graphics_device = nullptr;
    }

    // The devices StartGame would create, with logging graphics and audio.
    // The audio device, which opens the sound system, only when asked for.
    c_GameDelegate* DelegateWithDevices(bool audio = false) {
        c_GameDelegate* d = kr_app__delegate;
        gc_assign(d->m_graphicsDevice, static_cast<gxtkGraphics*>(graphics = new LoggingGraphics));
        kr_graphics_SetGraphicsDevice(d->m_graphicsDevice);
        if (audio) gc_assign(d->m_audioDevice, static_cast<gxtkAudio*>(new LoggingAudio));
        gc_assign(d->m_inputDevice, (new c_InputDevice)->m_new());
        kr_input_SetInputDevice(d->m_inputDevice);
        return d;
    }

    KrGlfwGame host;
    LoggingApp* app = nullptr;
    LoggingGraphics* graphics = nullptr;
};

TEST_F(App, CreatingTheAppInstallsTheDelegateIntoTheHost) {
    EXPECT_EQ(kr_app__app, app);
    ASSERT_NE(kr_app__delegate, nullptr);
    EXPECT_EQ(host.Delegate(), kr_app__delegate);
    EXPECT_EQ(kr_app__delegate->m_graphicsDevice, nullptr);
    EXPECT_EQ(kr_app__delegate->m_audioDevice, nullptr);
    EXPECT_EQ(kr_app__delegate->m_inputDevice, nullptr);
}

TEST_F(App, SecondAppIsARuntimeError) {
    EXPECT_EXIT(
        {
            std::freopen("/dev/null", "r", stdin);  // no debugger answers
            dup2(2, 1);
            (new c_App)->m_new();
        },
        ::testing::ExitedWithCode(255), "Tandor Runtime Error : App has already been created");
}

TEST_F(App, UpdateRateGoesToTheHost) {
    EXPECT_EQ(kr_app_SetUpdateRate(60), 0);
    EXPECT_EQ(kr_app__updateRate, 60);
    EXPECT_EQ(host.UpdateRate(), 60);
    kr_app_SetUpdateRate(0);
    EXPECT_EQ(kr_app__updateRate, 0);
    EXPECT_EQ(host.UpdateRate(), 0);
}

TEST_F(App, EndAppExitsQuietlyWithZero) {
    EXPECT_EXIT(
        {
            dup2(2, 1);
            kr_app_EndApp();
        },
        ::testing::ExitedWithCode(0), "^$");
}

TEST_F(App, CloseAndBackKeysEndTheProgramWhenTheyGoDown) {
    c_GameDelegate* d = DelegateWithDevices();
    EXPECT_EXIT(d->KeyEvent(1, 432), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(d->KeyEvent(1, 416), ::testing::ExitedWithCode(0), "");
}

TEST_F(App, CloseKeyReleasedAloneOnlyReachesTheInputState) {
    c_GameDelegate* d = DelegateWithDevices();
    d->KeyEvent(2, 432);
    d->KeyEvent(1, 65);
    d->KeyEvent(3, 'x');
    EXPECT_EQ(kr_input_KeyDown(65), 1);
    EXPECT_EQ(kr_input_KeyDown(432), 0);
    EXPECT_EQ(kr_input_GetChar(), 'x');
}

TEST_F(App, PointerTouchAndMotionEventsReachTheInputDevice) {
    c_GameDelegate* d = DelegateWithDevices();
    d->MouseEvent(4, 0, 3, 4);
    d->TouchEvent(7, 2, 5, 6);
    d->MotionEvent(10, 0, 0.5f, 0.25f, 1);
    EXPECT_EQ(kr_input_MouseDown(0), 1);
    EXPECT_EQ(kr_input_MouseX(), 3);
    EXPECT_EQ(kr_input_TouchDown(2), 1);
    EXPECT_EQ(kr_input_TouchX(2), 5);
    EXPECT_EQ(kr_input_AccelX(), 0.5f);
}

TEST_F(App, UpdateSeesThePressesSinceTheLastUpdateOnlyOnce) {
    c_GameDelegate* d = DelegateWithDevices();
    d->KeyEvent(1, 65);
    d->UpdateGame();
    EXPECT_EQ(app->seenHits, 1);
    d->UpdateGame();
    EXPECT_EQ(app->seenHits, 0);
}

TEST_F(App, RenderRunsTheApplicationInsideAGraphicsFrame) {
    c_GameDelegate* d = DelegateWithDevices();
    d->RenderGame();
    EXPECT_EQ(journal, "begin render-in-frame end ");
    EXPECT_EQ(kr_graphics_renderDevice, nullptr);

    journal.clear();
    graphics->mode = 0;  // the device draws without the module's frame
    d->RenderGame();
    EXPECT_EQ(journal, "begin render end ");

    journal.clear();
    graphics->mode = 2;  // still loading: the application is not asked to draw
    d->RenderGame();
    EXPECT_EQ(journal, "begin end ");
}

TEST_F(App, SuspendAndResumeBracketTheAudio) {
    c_GameDelegate* d = DelegateWithDevices(true);
    d->SuspendGame();
    d->ResumeGame();
    EXPECT_EQ(journal, "app-suspend audio-suspend audio-resume app-resume ");
}

TEST_F(App, DiscardGraphicsGoesToTheGraphicsDevice) {
    DelegateWithDevices()->DiscardGraphics();
    EXPECT_EQ(journal, "discard ");
}

TEST_F(App, TheDelegateKeepsItsDevicesThroughCollections) {
    c_GameDelegate* d = DelegateWithDevices(true);
    // Only the delegate holds the audio device.
    gxtkAudio* audio = d->m_audioDevice;
    for (int i = 0; i < 3; ++i) gc_collect_all();
    EXPECT_TRUE(gc_is_live_object(d));
    EXPECT_TRUE(gc_is_live_object(audio));
    EXPECT_TRUE(gc_is_live_object(d->m_graphicsDevice));
    EXPECT_TRUE(gc_is_live_object(d->m_inputDevice));
}

class AppState : public InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        krInit();
    }
    KrGlfwGame host;
};

TEST_F(AppState, SaveAndLoadGoThroughTheHostsStateFile) {
    EXPECT_EQ(kr_app_LoadState().Length(), 0);
    EXPECT_EQ(kr_app_SaveState(String("1|2|3|")), 0);
    EXPECT_EQ(ReadFile(".tandorstate"), "1|2|3|");
    EXPECT_TRUE(kr_app_LoadState() == String("1|2|3|"));
}

TEST_F(AppState, SaveGivesMinusOneWhenTheFileCannotBeCreated) {
    std::string gone = dir + "/gone";
    std::filesystem::create_directory(gone);
    ASSERT_EQ(chdir(gone.c_str()), 0);
    std::filesystem::remove(gone);
    EXPECT_EQ(kr_app_SaveState(String("x")), -1);
    ASSERT_EQ(chdir(dir.c_str()), 0);
}

}  // namespace
