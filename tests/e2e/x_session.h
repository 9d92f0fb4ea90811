// Real X sessions for tests: a private Xvfb per test (optionally with the
// openbox window manager), programs run in the background with their
// standard output read line by line, X tools run against the session, and
// the window manager's delete request sent with Xlib.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/process.h"

namespace xsession {

using Env = std::vector<std::pair<std::string, std::string>>;

inline double Now() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

inline void SleepSeconds(double s) {
    timespec ts{static_cast<time_t>(s), static_cast<long>((s - static_cast<time_t>(s)) * 1e9)};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

inline pid_t Spawn(const std::vector<std::string>& argv, const Env& env, int stdoutFd = -1,
                   const std::string& workDir = "") {
    pid_t pid = fork();
    if (pid != 0) return pid;
    int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(stdoutFd >= 0 ? stdoutFd : null, 1);
    dup2(null, 2);
    for (auto& [k, v] : env) setenv(k.c_str(), v.c_str(), 1);
    if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(126);
    std::vector<char*> args;
    for (auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

inline void Stop(pid_t& pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    pid = 0;
}

// Runs a program in the background; its standard output is read as lines.
class Child {
public:
    Child(const std::vector<std::string>& argv, const Env& env, const std::string& workDir = "") {
        int fds[2];
        if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
        pid_ = Spawn(argv, env, fds[1], workDir);
        close(fds[1]);
        out_ = fds[0];
        fcntl(out_, F_SETFL, O_NONBLOCK);
    }
    ~Child() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t Pid() const { return pid_; }

    // Every complete line read so far.
    const std::vector<std::string>& Lines() {
        Pump(0);
        return lines_;
    }

    // Waits for a line equal to `line` at or after index `from`; returns its
    // index, or -1 after the timeout.
    int WaitForLine(const std::string& line, double timeout, size_t from = 0) {
        double deadline = Now() + timeout;
        for (;;) {
            for (size_t i = from; i < lines_.size(); ++i)
                if (lines_[i] == line) return static_cast<int>(i);
            double left = deadline - Now();
            if (left <= 0 || !Pump(left)) return -1;
        }
    }

    // Waits for the program to end; its exit code (0..255), or -1 when it
    // was still running at the timeout (it is then killed).
    int Wait(double timeout) {
        double deadline = Now() + timeout;
        while (pid_ > 0) {
            int status = 0;
            pid_t done = waitpid(pid_, &status, WNOHANG);
            if (done == pid_) {
                pid_ = 0;
                Pump(0.2);
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (Now() > deadline) break;
            Pump(0.02);
        }
        return -1;
    }

private:
    // Reads what is available, waiting at most `timeout` seconds for more.
    // False when the output has ended.
    bool Pump(double timeout) {
        if (closed_) {
            SleepSeconds(std::min(timeout, 0.02));
            return false;
        }
        pollfd p{out_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(timeout * 1000)) <= 0) return !closed_;
        char buf[4096];
        for (;;) {
            ssize_t got = read(out_, buf, sizeof buf);
            if (got == 0) closed_ = true;
            if (got <= 0) break;
            partial_.append(buf, got);
        }
        for (size_t nl; (nl = partial_.find('\n')) != std::string::npos; partial_.erase(0, nl + 1))
            lines_.push_back(partial_.substr(0, nl));
        return !closed_;
    }

    pid_t pid_ = 0;
    int out_ = -1;
    bool closed_ = false;
    std::string partial_;
    std::vector<std::string> lines_;
};

// A private X server for one test, optionally with a window manager.
class XServer {
public:
    explicit XServer(bool windowManager = false, const std::vector<std::string>& extraArgs = {}) {
        StartXvfb(extraArgs);
        if (windowManager) StartWindowManager();
    }
    ~XServer() {
        Stop(wm_);
        Stop(xvfb_);
    }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    const std::string& Display() const { return display_; }
    Env Environment() const { return {{"DISPLAY", display_}}; }

    // Runs an X tool against this server; its standard output, trimmed.
    std::string Tool(const std::vector<std::string>& argv) const {
        testsupport::ProcessOptions options;
        options.env = Environment();
        options.timeoutSeconds = 20;
        std::string out = testsupport::RunProcess(argv, options).out;
        while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
        return out;
    }

    // The first top-level window of this name, waiting for it to appear;
    // 0 when none does.
    unsigned long FindWindow(const std::string& name, double timeout = 10) const {
        double deadline = Now() + timeout;
        do {
            std::string id = Tool({"xdotool", "search", "--name", "^" + name + "$"});
            if (!id.empty()) return std::stoul(id.substr(0, id.find('\n')));
            SleepSeconds(0.1);
        } while (Now() < deadline);
        return 0;
    }

private:
    void StartXvfb(const std::vector<std::string>& extraArgs) {
        int fds[2];
        if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
        std::vector<std::string> argv = {"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                                         "1024x768x24", "-nolisten", "tcp", "-noreset"};
        argv.insert(argv.end(), extraArgs.begin(), extraArgs.end());
        xvfb_ = fork();
        if (xvfb_ == 0) {
            close(fds[0]);
            int null = open("/dev/null", O_RDWR);
            dup2(null, 1);
            dup2(null, 2);
            std::vector<char*> args;
            for (auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            execvp(args[0], args.data());
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (number.empty()) throw std::runtime_error("Xvfb did not start");
        display_ = ":" + number;
    }

    void StartWindowManager() {
        wm_ = Spawn({"openbox", "--sm-disable"}, Environment());
        double deadline = Now() + 10;
        while (Now() < deadline) {
            std::string check = Tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"});
            if (check.find("window id") != std::string::npos) return;
            SleepSeconds(0.1);
        }
        throw std::runtime_error("the window manager did not start");
    }

    pid_t xvfb_ = 0;
    pid_t wm_ = 0;
    std::string display_;
};

// Sends the window manager's delete request (WM_DELETE_WINDOW), as a close
// button does.
inline bool SendDeleteWindow(const std::string& display, unsigned long window) {
    Display* dpy = XOpenDisplay(display.c_str());
    if (!dpy) return false;
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    Status sent = XSendEvent(dpy, window, False, NoEventMask, &e);
    XSync(dpy, False);
    XCloseDisplay(dpy);
    return sent != 0;
}

// A plain window of another client, to take the focus away.
class OtherWindow {
public:
    explicit OtherWindow(const std::string& display) {
        dpy_ = XOpenDisplay(display.c_str());
        if (!dpy_) throw std::runtime_error("cannot connect to " + display);
        window_ = XCreateSimpleWindow(dpy_, DefaultRootWindow(dpy_), 0, 0, 200, 150, 0, 0, 0);
        XStoreName(dpy_, window_, "Other");
        XMapRaised(dpy_, window_);
        XSync(dpy_, False);
    }
    ~OtherWindow() {
        XDestroyWindow(dpy_, window_);
        XCloseDisplay(dpy_);
    }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;

    unsigned long Id() const { return window_; }

private:
    ::Display* dpy_ = nullptr;
    Window window_ = 0;
};

}  // namespace xsession
