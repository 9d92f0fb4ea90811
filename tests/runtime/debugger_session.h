// A child process whose standard input is written while it runs: the test
// reads what the child printed (an address, say) before answering it, as an
// attached debugger does.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/process.h"

namespace runtime_tests {

class DebuggerSession {
public:
    explicit DebuggerSession(const std::vector<std::string>& argv) {
        int in[2], out[2], err[2];
        if (pipe(in) || pipe(out) || pipe(err)) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], 0);
            dup2(out[1], 1);
            dup2(err[1], 2);
            for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
            std::vector<char*> args;
            for (auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            execv(args[0], args.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        close(err[1]);
        signal(SIGPIPE, SIG_IGN);
        in_ = in[1];
        out_ = out[0];
        err_ = err[0];
    }

    ~DebuggerSession() {
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        for (int fd : {in_, out_, err_}) {
            if (fd >= 0) close(fd);
        }
    }

    bool started() const { return pid_ > 0 && out_ >= 0; }

    // The next line of standard output without its line feed; empty when the
    // child printed none within the time limit.
    std::string ReadOutputLine(double seconds = 10) {
        double deadline = Now() + seconds;
        for (;;) {
            size_t eol = out_text_.find('\n', out_used_);
            if (eol != std::string::npos) {
                std::string line = out_text_.substr(out_used_, eol - out_used_);
                out_used_ = eol + 1;
                return line;
            }
            if (!Pump(deadline)) return "";
        }
    }

    void Send(const std::string& text) {
        size_t done = 0;
        while (done < text.size()) {
            ssize_t w = write(in_, text.data() + done, text.size() - done);
            if (w <= 0) return;
            done += static_cast<size_t>(w);
        }
    }

    // Closes standard input and waits for the child to end.
    testsupport::ProcessResult Finish(double seconds = 10) {
        close(in_);
        in_ = -1;
        double deadline = Now() + seconds;
        while ((out_ >= 0 || err_ >= 0) && Pump(deadline)) {
        }
        testsupport::ProcessResult result;
        if (out_ >= 0 || err_ >= 0) {
            result.timedOut = true;
            kill(pid_, SIGKILL);
        }
        int status = 0;
        waitpid(pid_, &status, 0);
        reaped_ = true;
        if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
        result.out = out_text_;
        result.err = err_text_;
        return result;
    }

private:
    static double Now() {
        timespec ts;
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return ts.tv_sec + ts.tv_nsec * 1e-9;
    }

    // Reads whatever is ready on either output; false at the deadline or
    // when both outputs have ended.
    bool Pump(double deadline) {
        pollfd fds[2];
        int n = 0;
        if (out_ >= 0) fds[n++] = {out_, POLLIN, 0};
        if (err_ >= 0) fds[n++] = {err_, POLLIN, 0};
        int left = static_cast<int>((deadline - Now()) * 1000);
        if (n == 0 || left <= 0) return false;
        if (poll(fds, n, left) <= 0) return Now() < deadline;
        for (int i = 0; i < n; ++i) {
            if (!fds[i].revents) continue;
            int& fd = fds[i].fd == out_ ? out_ : err_;
            std::string& sink = fds[i].fd == out_ ? out_text_ : err_text_;
            char buf[4096];
            ssize_t got = read(fd, buf, sizeof buf);
            if (got > 0) {
                sink.append(buf, static_cast<size_t>(got));
            } else {
                close(fd);
                fd = -1;
            }
        }
        return true;
    }

    pid_t pid_ = -1;
    bool reaped_ = false;
    int in_ = -1, out_ = -1, err_ = -1;
    std::string out_text_, err_text_;
    size_t out_used_ = 0;
};

}  // namespace runtime_tests
