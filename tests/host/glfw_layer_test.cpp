// The classic window interface and the host's window handling against a
// private Xvfb: opening and closing, the close request, the title and
// placement, held keys on reopening, key repeat, the pointer, video modes.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "host/glfw2.h"
#include "host/glfw_game.h"
#include "tests/e2e/x_session.h"

using namespace glfw2;

namespace {

// Polls events until `done` holds or the timeout passes.
bool PollUntil(const std::function<bool()>& done, double timeout = 5) {
    double deadline = xsession::Now() + timeout;
    while (!done()) {
        if (xsession::Now() > deadline) return false;
        glfwPollEvents();
        xsession::SleepSeconds(0.01);
    }
    return true;
}

class RecordingHost : public KrGlfwGame {
public:
    std::vector<std::string> keys;
    void KeyEvent(int event, int data) override {
        keys.push_back(std::to_string(event) + " " + std::to_string(data));
    }
};

class GlfwLayer : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("DISPLAY", x.Display().c_str(), 1);
        ASSERT_EQ(glfwInit(), 1) << glfwGetLastError();
    }
    void TearDown() override { glfwTerminate(); }

    unsigned long OpenNamed(const char* title, int width = 320, int height = 240) {
        EXPECT_EQ(glfwOpenWindow(width, height, 8, 8, 8, 0, 0, 0, GLFW_WINDOW), 1);
        glfwSetWindowTitle(title);
        glfwPollEvents();
        return x.FindWindow(title);
    }

    xsession::XServer x;
};

TEST_F(GlfwLayer, OneWindowAtATimeWithItsSizeAndState) {
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 0);
    ASSERT_EQ(glfwOpenWindow(320, 240, 8, 8, 8, 0, 0, 0, GLFW_WINDOW), 1);
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 1);
    EXPECT_EQ(glfwGetWindowParam(GLFW_ICONIFIED), 0);
    int w = 0, h = 0;
    glfwGetWindowSize(&w, &h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
    EXPECT_EQ(glfwOpenWindow(100, 100, 8, 8, 8, 0, 0, 0, GLFW_WINDOW), 0);

    glfwCloseWindow();
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 0);
    glfwGetWindowSize(&w, &h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    glfwWaitEvents();  // without a window there is nothing to wait for
}

int GlInteger(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

// The renderer draws with the fixed-function pipeline.
TEST_F(GlfwLayer, WindowHasAFixedFunctionContextWithTheAskedBits) {
    ASSERT_EQ(glfwOpenWindow(64, 64, 8, 8, 8, 0, 0, 0, GLFW_WINDOW), 1);
    ASSERT_NE(glGetString(GL_VERSION), nullptr);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 64, 64, 0, -1, 1);
    glEnableClientState(GL_VERTEX_ARRAY);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(GlInteger(GL_MATRIX_MODE), GL_PROJECTION);
    EXPECT_EQ(GlInteger(GL_RED_BITS), 8);
    EXPECT_EQ(GlInteger(GL_GREEN_BITS), 8);
    EXPECT_EQ(GlInteger(GL_BLUE_BITS), 8);
    EXPECT_EQ(GlInteger(GL_DEPTH_BITS), 0);
    EXPECT_EQ(GlInteger(GL_STENCIL_BITS), 0);
    glfwCloseWindow();

    ASSERT_EQ(glfwOpenWindow(64, 64, 8, 8, 8, 8, 24, 8, GLFW_WINDOW), 1);
    EXPECT_EQ(GlInteger(GL_ALPHA_BITS), 8);
    EXPECT_GE(GlInteger(GL_DEPTH_BITS), 24);
    EXPECT_EQ(GlInteger(GL_STENCIL_BITS), 8);
}

TEST_F(GlfwLayer, UnknownWindowModeIsRefused) {
    EXPECT_EQ(glfwOpenWindow(320, 240, 8, 8, 8, 0, 0, 0, 12345), 0);
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 0);
}

int closeRequests = 0;
int closeAnswer = 0;
int CountClose() {
    ++closeRequests;
    return closeAnswer;
}

TEST_F(GlfwLayer, CloseRequestAnsweredFalseKeepsTheWindowOpen) {
    unsigned long id = OpenNamed("Layer Close");
    ASSERT_NE(id, 0u);
    closeRequests = 0;
    closeAnswer = 0;
    glfwSetWindowCloseCallback(CountClose);
    ASSERT_TRUE(xsession::SendDeleteWindow(x.Display(), id));
    ASSERT_TRUE(PollUntil([] { return closeRequests == 1; }));
    glfwPollEvents();
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 1);

    closeAnswer = 1;
    ASSERT_TRUE(xsession::SendDeleteWindow(x.Display(), id));
    ASSERT_TRUE(PollUntil([] { return closeRequests == 2; }));
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 0);
    glfwSetWindowCloseCallback(nullptr);
}

TEST_F(GlfwLayer, GameWindowIsCentredTitledAndCounted) {
    RecordingHost host;
    int seq = glfwGraphicsSeq;
    host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    EXPECT_EQ(glfwGraphicsSeq, seq + 1);
    glfwPollEvents();
    unsigned long id = x.FindWindow("Vornhelm");
    ASSERT_NE(id, 0u);
    std::string info = x.Tool({"xwininfo", "-id", std::to_string(id)});
    // The screen is 1024 x 768.
    EXPECT_NE(info.find("Absolute upper-left X:  192\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Absolute upper-left Y:  144\n"), std::string::npos) << info;

    // Reopening replaces the window. Centring divides in whole pixels,
    // dropping the half: (1024 - 401) / 2 = 311, (768 - 301) / 2 = 233.
    host.SetGlfwWindow(401, 301, 8, 8, 8, 0, 0, 0, false);
    EXPECT_EQ(glfwGraphicsSeq, seq + 2);
    glfwPollEvents();
    std::string all = x.Tool({"xdotool", "search", "--name", "^Vornhelm$"});
    EXPECT_EQ(all.find('\n'), std::string::npos) << "more than one game window: " << all;
    int w = 0, h = 0;
    glfwGetWindowSize(&w, &h);
    EXPECT_EQ(w, 401);
    EXPECT_EQ(h, 301);
    info = x.Tool({"xwininfo", "-id", all});
    EXPECT_NE(info.find("Absolute upper-left X:  311\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Absolute upper-left Y:  233\n"), std::string::npos) << info;
}

// A full-screen window takes the screen's mode (Xvfb has only its own,
// 1024 x 768), whatever size was asked for; it is counted but not titled.
TEST_F(GlfwLayer, FullScreenWindowCoversTheDesktopWithoutATitle) {
    RecordingHost host;
    int seq = glfwGraphicsSeq;
    host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, true);
    EXPECT_EQ(glfwGraphicsSeq, seq + 1);
    glfwPollEvents();
    int w = 0, h = 0;
    glfwGetWindowSize(&w, &h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    EXPECT_EQ(x.Tool({"xdotool", "search", "--name", "^Vornhelm$"}), "");
}

// Events reach the callbacks only through the loop's own poll: the game's
// window does not poll when its buffers are swapped.
TEST_F(GlfwLayer, GameWindowDeliversEventsOnlyWhenPolled) {
    RecordingHost host;
    host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    ASSERT_TRUE(PollUntil([] { return glfwGetWindowParam(GLFW_ACTIVE) == 1; }));
    host.keys.clear();
    x.Tool({"xdotool", "key", "a"});
    xsession::SleepSeconds(0.3);
    glfwSwapBuffers();
    EXPECT_TRUE(host.keys.empty());
    EXPECT_TRUE(PollUntil([&] { return host.keys.size() >= 3; }));
    EXPECT_EQ(host.keys, (std::vector<std::string>{"1 65", "3 97", "2 65"}));
}

TEST_F(GlfwLayer, KeysHeldWhenTheWindowIsReplacedAreReleased) {
    RecordingHost host;
    host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    ASSERT_TRUE(PollUntil([] { return glfwGetWindowParam(GLFW_ACTIVE) == 1; }));
    x.Tool({"xdotool", "keydown", "a"});
    ASSERT_TRUE(PollUntil([] { return glfwGetKey('A') == GLFW_PRESS; }));
    host.keys.clear();
    host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    x.Tool({"xdotool", "keyup", "a"});
    EXPECT_EQ(host.keys, (std::vector<std::string>{"2 65"}));
}

// Presses of a held key that arrive as key-down events.
int HeldKeyPresses(xsession::XServer& x) {
    static int presses;
    presses = 0;
    glfwSetKeyCallback([](int key, int action) {
        if (key == GLFW_KEY_LEFT && action == GLFW_PRESS) ++presses;
    });
    x.Tool({"xdotool", "keydown", "Left"});
    PollUntil([] { return false; }, 1.0);
    x.Tool({"xdotool", "keyup", "Left"});
    PollUntil([] { return glfwGetKey(GLFW_KEY_LEFT) == GLFW_RELEASE; });
    glfwSetKeyCallback(nullptr);
    return presses;
}

TEST_F(GlfwLayer, RepeatsArriveAsPressesOnlyWhileKeyRepeatIsOn) {
    OpenNamed("Layer Repeat");
    ASSERT_TRUE(PollUntil([] { return glfwGetWindowParam(GLFW_ACTIVE) == 1; }));
    glfwDisable(GLFW_KEY_REPEAT);
    EXPECT_EQ(HeldKeyPresses(x), 1);
    glfwEnable(GLFW_KEY_REPEAT);
    EXPECT_GT(HeldKeyPresses(x), 2);
}

TEST_F(GlfwLayer, PointerPositionIsInWindowPixels) {
    unsigned long id = OpenNamed("Layer Pointer");
    ASSERT_NE(id, 0u);
    static int lastX, lastY;
    lastX = lastY = -1;
    glfwSetMousePosCallback([](int px, int py) {
        lastX = px;
        lastY = py;
    });
    x.Tool({"xdotool", "mousemove", "--window", std::to_string(id), "37", "211"});
    EXPECT_TRUE(PollUntil([] { return lastX == 37 && lastY == 211; }));
    int px = 0, py = 0;
    glfwGetMousePos(&px, &py);
    EXPECT_EQ(px, 37);
    EXPECT_EQ(py, 211);
    glfwSetMousePosCallback(nullptr);
}

TEST_F(GlfwLayer, VideoModesIncludeTheDesktopOnce) {
    KrGlfwGame host;
    KrGlfwVideoMode* desktop = host.GetGlfwDesktopMode();
    EXPECT_EQ(desktop->Width, 1024);
    EXPECT_EQ(desktop->Height, 768);
    EXPECT_EQ(desktop->RedBits, 8);
    EXPECT_EQ(desktop->GreenBits, 8);
    EXPECT_EQ(desktop->BlueBits, 8);

    Array<KrGlfwVideoMode*> modes = host.GetGlfwVideoModes();
    ASSERT_GE(modes.Length(), 1);
    int desktopCount = 0;
    for (int i = 0; i < modes.Length(); ++i) {
        KrGlfwVideoMode* m = modes[i];
        for (int j = 0; j < i; ++j) {
            KrGlfwVideoMode* o = modes[j];
            EXPECT_FALSE(m->Width == o->Width && m->Height == o->Height && m->RedBits == o->RedBits &&
                         m->GreenBits == o->GreenBits && m->BlueBits == o->BlueBits)
                << "listed twice: " << m->Width << "x" << m->Height;
        }
        if (m->Width == 1024 && m->Height == 768) ++desktopCount;
    }
    EXPECT_EQ(desktopCount, 1);
}

}  // namespace
