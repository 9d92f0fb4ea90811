// SPDX-License-Identifier: Zlib
// The runtime as a separate process sees it: exit codes (-1 reads as 255),
// reports on standard output, the stop marker on standard error, the
// debugger's line protocol on standard input, and kr_std_main's order.
#include <gtest/gtest.h>
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
        // kr_std_main: handlers, then empty lists, then krInit, then krMain.
        {"startup", "", "", "rc=0 handlers=111 forgotten=1 seed=1234 context=1 sources=1 app=1 delegate=1\n", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " / " + c.input);
        auto r = testsupport::RunProcess({kApp, c.mode, c.message}, {.stdinText = c.input});
        EXPECT_EQ(r.exitCode, c.exitCode);  // -1000 when a signal ended it
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
    }
}

}  // namespace
