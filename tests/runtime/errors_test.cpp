// The runtime as a separate process sees it: exit codes (-1 reads as 255),
// reports on standard output, the stop marker on standard error, the
// debugger's line protocol on standard input, and kr_std_main's order.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "tests/support/process.h"

namespace {

const std::string kApp = testsupport::TestAppPath("runtime_errors_app");
const std::string kReport = "Tandor Runtime Error : abc\n\n";  // then the (empty) stack trace
const std::string kStop = "{{~~~~}}\n\n";                     // the marker, then an empty line

// Each row runs the child once: its arguments, standard input, then what it
// must write to standard output and standard error and its exit code.
TEST(RuntimeProcess, ExitCodesOutputsAndDebuggerProtocol) {
    const struct { const char *mode, *message; std::string input, out, err; int exitCode; } cases[] = {
        {"error", "", "", "", "", 0},                                        // the quiet exit
        {"error", "abc", "", kReport, kStop, 255},                           // end of input
        {"error", "abc", "r\nq\n", kReport + kReport, kStop + kStop, 0},     // resumes into the error
        {"error", "abc", "@0x10\n@zz\nq\n", kReport, kStop + "\n\n", 0},     // bogus addresses
        {"segv", "", "", "Tandor Runtime Error : Memory access violation\n\n", kStop, 255},
        {"throw", "", "", "Tandor Runtime Error : Uncaught Tandor Exception\n", "", 255},
        // kr_std_main: handlers, then empty lists, then krInit, then krMain.
        {"startup", "", "", "rc=0 handlers=111 forgotten=1 seed=1234 context=1 sources=1 app=1 delegate=1\n", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " / " + c.input);
        testsupport::ProcessOptions options;
        options.stdinText = c.input;
        testsupport::ProcessResult r = testsupport::RunProcess({kApp, c.mode, c.message}, options);
        EXPECT_EQ(r.exitCode, c.exitCode);  // -1000 when a signal ended it
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
    }
}

std::string ReadAll(std::FILE* f) {
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
    std::fclose(f);
    return text;
}

// Plays the debugger: reads the addresses the stopped child printed, then asks
// about each. Only the live Object answers with its debug text.
TEST(RuntimeError, InspectAnswersOnlyForLiveObjects) {
    int in[2], out[2], err[2];
    ASSERT_EQ(pipe(in) | pipe(out) | pipe(err), 0);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0), dup2(out[1], 1), dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        execl(kApp.c_str(), kApp.c_str(), "inspect", nullptr);
        _exit(127);
    }
    close(in[0]), close(out[1]), close(err[1]);
    std::signal(SIGPIPE, SIG_IGN);
    std::FILE* childOut = fdopen(out[0], "r");
    std::string ask;
    char line[64];
    for (int i = 0; i < 3 && std::fgets(line, sizeof line, childOut); ++i) ask += "@" + std::string(line);
    ask += "q\n";
    EXPECT_EQ(write(in[1], ask.data(), ask.size()), static_cast<ssize_t>(ask.size()));
    close(in[1]);
    EXPECT_EQ(ReadAll(childOut), "Tandor Runtime Error : inspect\n\n");
    // Array storage and the destroyed Object get the empty line.
    EXPECT_EQ(ReadAll(fdopen(err[0], "r")), kStop + "+Object\n\n" + "\n" + "\n");
    int status = -1;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
