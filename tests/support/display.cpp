// SPDX-License-Identifier: Zlib
#include "tests/support/display.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace testsupport {
namespace {

pid_t xvfb_pid = 0;
pid_t owner_pid = 0;

// Only the process that started the server stops it: a forked child (a death
// test) that exits must not take the display away from its parent.
void stop_xvfb() {
    if (xvfb_pid > 0 && getpid() == owner_pid) {
        kill(xvfb_pid, SIGTERM);
        waitpid(xvfb_pid, nullptr, 0);
        xvfb_pid = 0;
    }
}

// Starts Xvfb, letting it choose a free display number and report it on a pipe.
std::string start_xvfb(const std::string& screen) {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
    pid_t pid = fork();
    if (pid == 0) {
        // The server dies with the test process, and never holds the test's
        // output open: a reader waiting for end of output would wait forever.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        int devnull = open("/dev/null", O_RDWR);
        for (int stdfd = 0; stdfd < 3; ++stdfd) dup2(devnull, stdfd);
        close(fds[0]);
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten",
               "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    char buf[32] = {0};
    FILE* in = fdopen(fds[0], "r");
    bool told = std::fgets(buf, sizeof buf, in) != nullptr;
    std::fclose(in);
    if (!told) throw std::runtime_error("Xvfb did not start");
    xvfb_pid = pid;
    owner_pid = getpid();
    std::atexit(stop_xvfb);
    return ":" + std::string(buf, std::strcspn(buf, "\n"));
}

}  // namespace

std::string EnsureDisplay(const std::string& screen) {
    const char* current = std::getenv("DISPLAY");
    if (current && *current) return current;
    std::string name = start_xvfb(screen);
    setenv("DISPLAY", name.c_str(), 1);
    return name;
}

}  // namespace testsupport
