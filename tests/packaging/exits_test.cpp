// SPDX-License-Identifier: Zlib
// Every way the packaged game ends leaves standard error empty: the sound
// device and its context are closed on the way out (OpenAL complains of a
// device left open), whether the player quits from the menu, presses F4 or
// the close button, a recording or a replay ends, a fast replay ends with no
// display, or the window cannot be opened at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "tests/packaging/package.h"
// Last: Xlib defines macros that clash with the test library.
#include <X11/Xlib.h>

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

const std::string kReplays = std::string(VORNHELM_SOURCE_DIR) + "/tests/replays";

void Press(const std::string& key) { Tool({"xdotool", "keydown", key}), Pause(0.1), Tool({"xdotool", "keyup", key}); }

// The window manager's delete request, as a close button sends it.
void CloseButton(const std::string& window) {
    Display* dpy = XOpenDisplay(nullptr);
    ASSERT_NE(dpy, nullptr);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = std::stoul(window);
    e.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    XSendEvent(dpy, e.xclient.window, False, NoEventMask, &e);
    XCloseDisplay(dpy);
}

struct Exit {
    const char* way;
    std::vector<std::string> args;
    Env env;
    // What ends the game once its menu is up; null: it ends by itself.
    std::function<void(const std::string& window)> end;
    int code;
    // The first line on standard output, when the exit says why.
    std::string says;
};

TEST(Exits, EveryWayOutLeavesStandardErrorEmpty) {
    int wm = StartDesktop();
    const std::string dir = UnpackPackage(), game = dir + "/root/usr/games/vornhelm", work = dir + "/work";
    fs::create_directories(work), fs::create_directories(dir + "/home");
    const Env noDisplay = {{"DISPLAY", ":65432"}, {"ALSOFT_DRIVERS", "null"}};
    // Rows run in order: the recording row writes the file the replays read.
    const std::vector<Exit> exits = {
        {"quit from the menu", {}, {}, [](const std::string&) { Press("Escape"); }, 0},
        {"F4", {}, {}, [](const std::string&) { Press("F4"); }, 0},
        {"the close button", {}, {}, CloseButton, 0},
        {"a recording ended by F4", {"--record", "short.vhr"}, {}, [](const std::string&) { Press("F4"); }, 0},
        {"a replay", {"--replay", "short.vhr"}, {}, nullptr, 0},
        {"a replay that saves a frame", {"--replay", "short.vhr", "--screenshot-at", "5", "shot.png"}, {}, nullptr, 0,
         "Screenshot saved as shot.png"},
        {"a fast replay without a display", {"--replay", kReplays + "/mode3-dive.vhr", "--fast"}, noDisplay, nullptr, 0},
        {"no display", {}, noDisplay, nullptr, 255, "glfwInit failed"},
    };
    for (const Exit& exit : exits) {
        SCOPED_TRACE(exit.way);
        std::vector<std::string> argv{game};
        argv.insert(argv.end(), exit.args.begin(), exit.args.end());
        Env env = {{"HOME", dir + "/home"}, {"ALSOFT_DRIVERS", "null"}};
        env.insert(env.end(), exit.env.begin(), exit.env.end());
        int pid = Spawn(argv, work, dir + "/out", env, dir + "/err");
        if (exit.end) {
            // Searched again while the last row's window goes away: a window
            // that vanishes under a search ends it with nothing found.
            std::string window;
            ASSERT_TRUE(WaitUntil([&] {
                window = Tool({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid), "--name", "^Vornhelm$"});
                return !window.empty();
            }, 20)) << "no window";
            Tool({"xdotool", "windowactivate", "--sync", window});
            ASSERT_TRUE(WaitUntil([&] { return ShowsMenu(Grab(window)); })) << "no menu";
            exit.end(window);
        }
        EXPECT_EQ(WaitExit(pid, 60), exit.code) << ReadFile(dir + "/out");
        EXPECT_EQ(ReadFile(dir + "/err"), "");
        const std::string out = ReadFile(dir + "/out");
        if (!exit.says.empty()) EXPECT_EQ(out.substr(0, out.find('\n')), exit.says);
        Kill(pid);
    }
    // Without OpenGL the window cannot be opened: one line says so.
    auto result = RunProcess({"xvfb-run", "-a", "-s", "-screen 0 640x480x24 -extension GLX", "sh", "-c", "\"$0\"; echo \"exit $?\"", game},
                             {.env = {{"HOME", dir + "/home"}, {"ALSOFT_DRIVERS", "null"}}, .workDir = work});
    EXPECT_EQ(result.out.rfind("Could not open the game window: ", 0), 0u) << result.out;
    EXPECT_NE(result.out.find("\nexit 255\n"), std::string::npos) << result.out;
    EXPECT_EQ(result.err, "");
    Kill(wm);
    fs::remove_all(dir);
}

}  // namespace
