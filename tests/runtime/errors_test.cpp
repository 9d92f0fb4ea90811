// Runtime errors as a separate process sees them: exit codes, the report on
// standard output, the stop marker on standard error and the debugger's line
// protocol on standard input.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/runtime.h"
#include "tests/runtime/debugger_session.h"
#include "tests/support/process.h"

namespace {

using testsupport::ProcessOptions;
using testsupport::ProcessResult;
using testsupport::RunProcess;

const std::string kApp = testsupport::TestAppPath("runtime_errors_app");
const std::string kReport = "Tandor Runtime Error : abc\n\n";
const std::string kStop = "{{~~~~}}\n\n";

ProcessResult RunApp(const std::vector<std::string>& args, const std::string& input = "") {
    std::vector<std::string> argv{kApp};
    argv.insert(argv.end(), args.begin(), args.end());
    ProcessOptions options;
    options.stdinText = input;
    options.timeoutSeconds = 20;
    ProcessResult r = RunProcess(argv, options);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.signal, 0);
    return r;
}

std::string Repeat(const std::string& s, int n) {
    std::string all;
    for (int i = 0; i < n; ++i) all += s;
    return all;
}

TEST(RuntimeError, EmptyMessageIsAQuietExit) {
    ProcessResult r = RunApp({"error", ""});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST(RuntimeError, ReportsAndStopsThenExitsAtEndOfInput) {
    ProcessResult r = RunApp({"error", "abc"});
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_EQ(r.out, kReport);
    EXPECT_EQ(r.err, kStop);
}

// Each stop answers commands until one ends it; the table holds the input a
// debugger sends and what the process does with it.
struct ProtocolCase {
    const char* name;
    std::string input;
    int exitCode;
    int reports;     // error reports on standard output
    const char* tail;  // written to standard output after the last report
    int stops;       // stop markers on standard error
};

const ProtocolCase kProtocol[] = {
    {"Quit", "q\n", 0, 1, "", 1},
    {"QueryThenQuit", "?\n?\nq\n", 0, 1, "", 1},
    {"ResumeRepeatsTheReport", "r\n", 255, 2, "", 2},
    {"EveryResumeLetter", "r\ns\ne\nl\nq\n", 0, 5, "", 5},
    {"UnknownCommand", "x\n", 255, 1, "????? x ?????", 1},
    {"UnknownAfterResume", "r\nhello there\n", 255, 2, "????? hello there ?????", 2},
    {"EmptyLineIsUnknown", "\n", 255, 1, "?????  ?????", 1},
    {"LineWithoutLineFeed", "q", 255, 1, "", 1},
    // A command line holds at most 255 characters, its line feed included.
    {"LongestLine", "q" + std::string(253, ' ') + "\n", 0, 1, "", 1},
    {"LineOneCharacterTooLong", "q" + std::string(254, ' ') + "\n", 255, 1, "", 1},
    {"OverlongLine", "q" + std::string(299, ' ') + "\n", 255, 1, "", 1},
};

void PrintTo(const ProtocolCase& c, std::ostream* os) { *os << c.name; }

class DebuggerProtocol : public testing::TestWithParam<ProtocolCase> {};

TEST_P(DebuggerProtocol, AnswersCommands) {
    const ProtocolCase& c = GetParam();
    ProcessResult r = RunApp({"error", "abc"}, c.input);
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_EQ(r.out, Repeat(kReport, c.reports) + c.tail);
    EXPECT_EQ(r.err, Repeat(kStop, c.stops));
}

INSTANTIATE_TEST_SUITE_P(Commands, DebuggerProtocol, testing::ValuesIn(kProtocol),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RuntimeError, InspectAnswersOnlyForLiveObjects) {
    runtime_tests::DebuggerSession child({kApp, "inspect"});
    ASSERT_TRUE(child.started());
    std::string live = child.ReadOutputLine();
    std::string storage = child.ReadOutputLine();
    std::string gone = child.ReadOutputLine();
    ASSERT_FALSE(live.empty());
    ASSERT_FALSE(gone.empty());
    child.Send("@" + live + "\n");
    child.Send("@" + storage + "\n");
    child.Send("@" + gone + "\n");
    child.Send("@0x10\n");
    child.Send("@\n");
    child.Send("@" + live + "\n");
    child.Send("q\n");
    ProcessResult r = child.Finish();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, live + "\n" + storage + "\n" + gone + "\n" +
                         "Tandor Runtime Error : inspect\n\n");
    // The live Object's text ends with a line feed of its own; every other
    // address (array storage, destroyed, made up, none) gets the empty line.
    EXPECT_EQ(r.err, kStop + "+Object\n\n" + "\n" + "\n" + "\n" + "\n" + "+Object\n\n");
}

TEST(RuntimeError, SegmentationFaultBecomesARuntimeError) {
    ProcessResult r = RunApp({"segv"});
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_EQ(r.out, "Tandor Runtime Error : Memory access violation\n\n");
    EXPECT_EQ(r.err, kStop);
}

TEST(RuntimeError, RaisedSignalsUseTheirMessages) {
    const std::pair<int, const char*> cases[] = {
        {SIGFPE, "Floating point exception"},
        {SIGILL, "Illegal instruction"},
        {SIGSEGV, "Memory access violation"},
    };
    for (const auto& [sig, message] : cases) {
        ProcessResult r = RunApp({"signal", std::to_string(sig)}, "q\n");
        EXPECT_EQ(r.exitCode, 0) << message;
        EXPECT_EQ(r.out, std::string("Tandor Runtime Error : ") + message + "\n\n");
    }
}

TEST(RuntimeError, SignalMessages) {
    EXPECT_STREQ(dbg_signal_message(SIGFPE), "Floating point exception");
    EXPECT_STREQ(dbg_signal_message(SIGSEGV), "Memory access violation");
    EXPECT_STREQ(dbg_signal_message(SIGILL), "Illegal instruction");
    EXPECT_STREQ(dbg_signal_message(SIGUSR1), "Unknown signal");
    EXPECT_STREQ(dbg_signal_message(0), "Unknown signal");
}

// Nothing maintains the position text, so reports carry none; when it is
// set, it is the stack trace line and it fills the stop marker.
TEST(RuntimeError, StackTraceIsThePositionText) {
    EXPECT_EQ(dbg_stacktrace().Length(), 0);
    const char* kept = dbg_info;
    dbg_info = "";
    EXPECT_EQ(dbg_stacktrace().Length(), 0);
    dbg_info = "game.cpp<12>";
    EXPECT_TRUE(dbg_stacktrace() == String("game.cpp<12>\n"));
    dbg_info = kept;
}

TEST(RuntimeError, PositionTextGoesIntoTheReportAndTheMarker) {
    ProcessResult r = RunApp({"position"});
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_EQ(r.out, "Tandor Runtime Error : abc\ngame.cpp<12>\n\n");
    EXPECT_EQ(r.err, "{{~~game.cpp<12>~~}}\n\n");
}

TEST(RuntimeError, UncaughtThrowableDies) {
    ProcessResult r = RunApp({"throw"});
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_EQ(r.out, "Tandor Runtime Error : Uncaught Tandor Exception\n");
    EXPECT_EQ(r.err, "");
}

TEST(ConsoleOutput, PrintWritesUtf8Lines) {
    ProcessResult r = RunApp({"print"});
    EXPECT_EQ(r.exitCode, 0);
    // The empty string is a lone line feed; non-ASCII units go out as UTF-8.
    EXPECT_EQ(r.out, "\nA\xc3\xa9\xe2\x82\xac\nlog\n");
    EXPECT_EQ(r.err, "");
}

}  // namespace
