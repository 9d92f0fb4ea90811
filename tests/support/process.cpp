// SPDX-License-Identifier: Zlib
#include "tests/support/process.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace testsupport {

// The child's input and output go through files in a scratch folder: no
// pipe can fill up while the test waits.
ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options) {
    char name[] = "/tmp/vornhelm_run_XXXXXX";
    const std::string dir = mkdtemp(name);
    std::ofstream(dir + "/in", std::ios::binary) << options.stdinText;
    int pid = Spawn(argv, options.workDir, dir + "/out", options.env, dir + "/err", dir + "/in"), status = 0;
    ProcessResult result;
    if (!WaitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, options.timeoutSeconds)) {
        result.timedOut = true;
        kill(pid, SIGKILL), waitpid(pid, &status, 0);
    }
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    result.out = ReadFile(dir + "/out"), result.err = ReadFile(dir + "/err");
    std::filesystem::remove_all(dir);
    return result;
}

std::string Tool(const std::vector<std::string>& argv) {
    std::string out = RunProcess(argv).out;
    return out.substr(0, out.find('\n'));
}

int Spawn(const std::vector<std::string>& argv, const std::string& dir, const std::string& out, const Env& env,
          const std::string& err, const std::string& in) {
    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        dup2(open(in.c_str(), O_RDONLY), 0);
        dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(126);
        for (const auto& [key, value] : env) setenv(key.c_str(), value.c_str(), 1);
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

void Pause(double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); }

// The deadline is on the wall clock: on a busy machine a check (a screen
// grab, a file read) may itself take long.
bool WaitUntil(const std::function<bool()>& done, double timeout) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
    for (; std::chrono::steady_clock::now() < deadline; Pause(0.005))
        if (done()) return true;
    return done();
}

std::string ReadFile(const std::string& path) {
    return {std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}};
}

std::string TestAppPath(const std::string& name) { return std::string(VORNHELM_BUILD_DIR) + "/testapps/" + name; }

}  // namespace testsupport
