// Runs a child program to its end and collects what it wrote and its exit code.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct ProcessResult {
    int exitCode = -1000;  // the low 8 bits as the shell reports them (255 for -1)
    int signal = 0;        // the signal that ended it, 0 if it exited
    bool timedOut = false;
    std::string out;
    std::string err;
};

struct ProcessOptions {
    std::string stdinText;                                 // written, then closed
    std::vector<std::pair<std::string, std::string>> env;  // added to the environment
    std::string workDir;                                   // empty: the current one
    double timeoutSeconds = 30;
};

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});

// Path of a program built from tests/<label>/apps/<name>.cpp.
std::string TestAppPath(const std::string& name);

}  // namespace testsupport
