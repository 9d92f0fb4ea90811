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
