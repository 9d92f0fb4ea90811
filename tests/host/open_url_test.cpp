// Opening a URL starts the desktop's opener with the URL as one argument,
// never through a shell. A recording stand-in for xdg-open earlier in PATH
// shows what a real one would receive.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "host/glfw_game.h"
#include "tests/e2e/x_session.h"
#include "tests/host/temp_dir.h"

namespace {

class OpenUrl : public InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        WriteFile("xdg-open",
                  "#!/bin/sh\n"
                  "{ echo \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \"$RECORD.part\"\n"
                  "mv \"$RECORD.part\" \"$RECORD\"\n");
        std::filesystem::permissions("xdg-open", std::filesystem::perms::owner_all);
        const char* path = std::getenv("PATH");
        savedPath = path ? path : "";
        setenv("PATH", (dir + ":" + savedPath).c_str(), 1);
        setenv("RECORD", (dir + "/record").c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", savedPath.c_str(), 1);
        unsetenv("RECORD");
        InTempDir::TearDown();
    }

    // What the opener was started with, waiting for it to finish.
    std::string Record() {
        double deadline = xsession::Now() + 10;
        while (!Exists("record") && xsession::Now() < deadline) xsession::SleepSeconds(0.02);
        return ReadFile("record");
    }

    KrGlfwGame host;
    std::string savedPath;
};

TEST_F(OpenUrl, PassesTheUrlAsOneArgumentWithoutAShell) {
    const char16_t url[] = u"https://example.com/a b?x=1&y=$(touch pwned);touch pwned2 `touch pwned3` \u00e9";
    host.OpenUrl(String(url, static_cast<int>(std::char_traits<char16_t>::length(url))));
    EXPECT_EQ(Record(),
              "1\nhttps://example.com/a b?x=1&y=$(touch pwned);touch pwned2 `touch pwned3` \xc3\xa9\n");
    for (const char* f : {"pwned", "pwned2", "pwned3"}) EXPECT_FALSE(Exists(f)) << f;
}

TEST_F(OpenUrl, EmptyUrlStartsNothing) {
    host.OpenUrl(String());
    xsession::SleepSeconds(0.3);
    EXPECT_FALSE(Exists("record"));
}

// Without an opener the call still returns, and leaves no child process of
// ours behind (not even one waiting to be reaped).
TEST_F(OpenUrl, MissingOpenerIsHarmless) {
    setenv("PATH", "/nonexistent", 1);
    host.OpenUrl(String("https://example.com/"));
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(OpenUrl, LeavesNoChildProcessBehind) {
    host.OpenUrl(String("https://example.com/"));
    EXPECT_EQ(Record(), "1\nhttps://example.com/\n");
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

}  // namespace
