// SPDX-License-Identifier: Zlib
// Runs child programs: to their end, collecting what they wrote and their
// exit code, or in the background while a test drives them.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

using Env = std::vector<std::pair<std::string, std::string>>;

struct ProcessResult {
    int exitCode = -1000;  // the low 8 bits as the shell reports them (255 for -1)
    int signal = 0;        // the signal that ended it, 0 if it exited
    bool timedOut = false;
    std::string out, err;
};

struct ProcessOptions {
    std::string stdinText;  // what it reads
    Env env;                // added to the environment
    std::string workDir;    // empty: the current one
    double timeoutSeconds = 30;
};

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});
// The first line a tool such as xdotool prints.
std::string Tool(const std::vector<std::string>& argv);

// Starts argv in `dir` (empty: here), its output in the files `out` and
// `err`, its input from `in`; it dies with the test.
int Spawn(const std::vector<std::string>& argv, const std::string& dir, const std::string& out, const Env& env = {},
          const std::string& err = "/dev/null", const std::string& in = "/dev/null");
// Deadlines are generous: they only bound a wait for something that should
// happen, so a loaded machine makes a test slower, never failed.
constexpr double kWaitSeconds = 120;
// The exit code (128 + signal when killed), or -1 while it runs after `timeout`.
int WaitExit(int& pid, double timeout = kWaitSeconds);
void Kill(int& pid);

void Pause(double seconds);
// Polls `done` every 5 ms until it holds or `timeout` seconds have passed.
bool WaitUntil(const std::function<bool()>& done, double timeout = kWaitSeconds);
std::string ReadFile(const std::string& path);

// Path of a program built from tests/<label>/apps/<name>.cpp.
std::string TestAppPath(const std::string& name);

}  // namespace testsupport
