// SPDX-License-Identifier: Zlib
#include "tests/support/game_run.h"

#include <filesystem>

#include "tests/support/display.h"
// Last: Xlib defines macros that clash with the rest.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace testsupport {

int StartDesktop(const std::string& screen) {
    unsetenv("DISPLAY");
    EnsureDisplay(screen);
    int wm = Spawn({"openbox", "--sm-disable"}, "", "/dev/null");
    WaitUntil([] { return Tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") != std::string::npos; });
    return wm;
}

std::string FirstRunState(int padSize) {
    std::string s = "0|0|0|0|0|1|0|0|0|0|64|64|" + std::to_string(padSize) + "|0|1|";
    for (int i = 0; i < 10 + 1 + 72; ++i) s += i == 10 ? std::to_string(5 + 10 * 64 + 11 * 64 + 12 * padSize + 14) + "|" : "0|";
    return s;
}

std::string ScratchFolder(bool withData) {
    char name[] = "/tmp/vornhelm_e2e_XXXXXX";
    std::string dir = mkdtemp(name);
    if (withData) std::filesystem::create_directory_symlink(std::string(VORNHELM_BUILD_DIR) + "/data", dir + "/data");
    return dir;
}

int Shot::Count(int x0, int y0, int x1, int y1, const std::function<bool(unsigned)>& is) const {
    int n = 0;
    for (int y = y0; y < std::min(y1, h); ++y)
        for (int x = x0; x < std::min(x1, w); ++x) n += is(px[y * w + x]);
    return n;
}

std::string ActivateWindow(int pid, const std::string& name) {
    std::string window;
    WaitUntil([&] {
        window = Tool({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid), "--name", name});
        return !window.empty() || (Pause(0.05), false);
    });
    if (!window.empty()) Tool({"xdotool", "windowactivate", "--sync", window});
    return window;
}

testing::AssertionResult AtTheMenu(int pid, std::string* window) {
    if ((*window = ActivateWindow(pid)).empty()) return testing::AssertionFailure() << "no window";
    if (!WaitUntil([&] { return ShowsMenu(Grab(*window)); })) return testing::AssertionFailure() << "no title menu";
    return testing::AssertionSuccess();
}

void Hold(const std::vector<std::string>& keys, double seconds) {
    for (const std::string& k : keys) Tool({"xdotool", "keydown", k});
    Pause(seconds);
    for (const std::string& k : keys) Tool({"xdotool", "keyup", k});
}

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

int FocusAnotherWindow() {
    int other = Spawn({"xmessage", "other"}, "", "/dev/null");
    ActivateWindow(other, "^xmessage$");
    return other;
}

// The program's own exit code is printed after its output, because xvfb-run
// now and then fails to remove its temporary folder and then exits with a
// code of its own.
void ExpectNoWindowWithoutOpenGL(const std::string& program, const ProcessOptions& options) {
    auto result = RunProcess({"xvfb-run", "-a", "-s", "-screen 0 640x480x24 -extension GLX", "sh", "-c",
                              "\"$0\"; echo \"exit $?\"", program}, options);
    const std::string tail = "exit 255\n";
    ASSERT_GE(result.out.size(), tail.size()) << result.out;
    EXPECT_EQ(result.out.substr(result.out.size() - tail.size()), tail) << result.out;
    const std::string said = result.out.substr(0, result.out.size() - tail.size());
    EXPECT_EQ(said.rfind("Could not open the game window: ", 0), 0u) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    EXPECT_EQ(result.err, "");
}

// The score panel darkens the backdrop right of x = 500 to 0.6 of its
// brightness: a straight edge down most of the screen.
bool ShowsMenu(const Shot& s) {
    if (s.w != 640) return false;
    auto brightness = [&](int x, int y) { unsigned p = s.px[y * s.w + x]; return R(p) + G(p) + B(p); };
    int edge = 0;
    for (int y = 0; y < s.h; ++y) edge += brightness(497, y) > 90 && brightness(503, y) < 0.75 * brightness(497, y);
    return edge > s.h * 2 / 3;
}

Shot Grab(const std::string& window) {
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // a window replaced under a shot
    Display* dpy = XOpenDisplay(nullptr);
    XWindowAttributes a{};
    Shot s;
    if (dpy && !window.empty() && XGetWindowAttributes(dpy, std::stoul(window), &a) && a.width > 0)
        if (XImage* img = XGetImage(dpy, std::stoul(window), 0, 0, a.width, a.height, AllPlanes, ZPixmap)) {
            s.w = a.width, s.h = a.height;
            for (int y = 0; y < s.h; ++y)
                for (int x = 0; x < s.w; ++x) s.px.push_back(XGetPixel(img, x, y) & 0xffffff);
            XDestroyImage(img);
        }
    if (dpy) XCloseDisplay(dpy);
    return s;
}

}  // namespace testsupport
