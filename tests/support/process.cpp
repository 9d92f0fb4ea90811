#include "tests/support/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace testsupport {
namespace {

double now_seconds() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options) {
    int in[2], out[2], err[2];
    if (pipe(in) || pipe(out) || pipe(err)) return {};
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        for (auto& [k, v] : options.env) setenv(k.c_str(), v.c_str(), 1);
        if (!options.workDir.empty() && chdir(options.workDir.c_str()) != 0) _exit(126);
        std::vector<char*> args;
        for (auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    signal(SIGPIPE, SIG_IGN);

    ProcessResult result;
    size_t written = 0;
    const std::string& input = options.stdinText;
    if (input.empty()) close(in[1]), in[1] = -1;
    else fcntl(in[1], F_SETFL, O_NONBLOCK);

    double deadline = now_seconds() + options.timeoutSeconds;
    bool outOpen = true, errOpen = true;
    while (outOpen || errOpen) {
        pollfd fds[3];
        int n = 0;
        if (outOpen) fds[n++] = {out[0], POLLIN, 0};
        if (errOpen) fds[n++] = {err[0], POLLIN, 0};
        if (in[1] >= 0) fds[n++] = {in[1], POLLOUT, 0};
        int left = static_cast<int>((deadline - now_seconds()) * 1000);
        if (left <= 0) {
            result.timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        if (poll(fds, n, left) < 0 && errno != EINTR) break;
        for (int i = 0; i < n; ++i) {
            if (!fds[i].revents) continue;
            if (fds[i].fd == in[1]) {
                ssize_t w = write(in[1], input.data() + written, input.size() - written);
                if (w > 0) written += w;
                if (w < 0 || written == input.size()) close(in[1]), in[1] = -1;
                continue;
            }
            char buf[4096];
            ssize_t got = read(fds[i].fd, buf, sizeof buf);
            std::string& sink = fds[i].fd == out[0] ? result.out : result.err;
            if (got > 0) sink.append(buf, got);
            else (fds[i].fd == out[0] ? outOpen : errOpen) = false;
        }
    }
    if (in[1] >= 0) close(in[1]);
    close(out[0]);
    close(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    return result;
}

std::string TestAppPath(const std::string& name) {
    return std::string(VORNHELM_BUILD_DIR) + "/testapps/" + name;
}

}  // namespace testsupport
