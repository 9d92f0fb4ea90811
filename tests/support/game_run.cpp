#include "tests/support/game_run.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/display.h"
#include "tests/support/process.h"
// Last: Xlib defines macros that clash with the rest.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace testsupport {

void Pause(double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); }

bool WaitUntil(const std::function<bool()>& done, double timeout) {
    for (double t = 0; t < timeout; t += 0.02, Pause(0.02))
        if (done()) return true;
    return done();
}

std::string Tool(const std::vector<std::string>& argv) {
    std::string out = RunProcess(argv).out;
    return out.substr(0, out.find('\n'));
}

std::string ReadFile(const std::string& path) {
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

int Spawn(const std::vector<std::string>& argv, const std::string& dir, const std::string& out, const Env& env,
          const std::string& err) {
    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(126);
        dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

int WaitExit(int& pid, double timeout) {
    int status = 0;
    if (pid <= 0 || !WaitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, timeout)) return -1;
    pid = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void Kill(int& pid) {
    if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
    pid = 0;
}

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

Shot Grab(const std::string& window) {
    static Display* dpy = nullptr;
    static std::string on;
    if (!dpy || on != getenv("DISPLAY")) {
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // a window replaced under a shot
        if (dpy) XCloseDisplay(dpy);
        dpy = XOpenDisplay(nullptr), on = getenv("DISPLAY");
    }
    Shot s;
    XWindowAttributes a{};
    if (!dpy || window.empty() || !XGetWindowAttributes(dpy, std::stoul(window), &a) || a.width <= 0) return s;
    XImage* img = XGetImage(dpy, std::stoul(window), 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (!img) return s;
    s.w = a.width, s.h = a.height;
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.w; ++x) s.px.push_back(XGetPixel(img, x, y) & 0xffffff);
    XDestroyImage(img);
    return s;
}

int R(unsigned p) { return p >> 16 & 255; }
int G(unsigned p) { return p >> 8 & 255; }
int B(unsigned p) { return p & 255; }

}  // namespace testsupport
