// Files the host writes or hands on, in a fresh temporary directory: the
// state file "./.tandorstate" (UTF-8, tolerant loading, saves that never lose
// the previous file) and OpenUrl's call of xdg-open.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "host/glfw_game.h"

namespace {

namespace fs = std::filesystem;
const char* const kState = ".tandorstate";
const char* const kTemp = ".tandorstate.tmp";

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vornhelm-host-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        previous = fs::current_path();
        fs::current_path(dir);
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }
    static void WriteFile(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Runs `check` in a child process; as root the child owns the directory
    // and gives root up, since permissions do not stop root. True if it held.
    bool InChild(const std::function<bool()>& check) {
        pid_t child = fork();
        if (child == 0) {
            const uid_t nobody = 65534;
            if (geteuid() == 0 &&
                (chown(dir.c_str(), nobody, nobody) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0))
                _exit(2);
            _exit(check() ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    std::string dir, previous;
    KrGlfwGame host;
};

TEST_F(Files, StateFileSaveThenLoadGivesTheSameTextWrittenAsUtf8) {
    const char16_t text[] = u"H\u00f6he|\u20ac|42|";
    String state(text, static_cast<int>(std::char_traits<char16_t>::length(text)));
    EXPECT_EQ(host.SaveState(state), 0);
    EXPECT_EQ(ReadFile(kState), "H\xc3\xb6he|\xe2\x82\xac|42|");
    EXPECT_TRUE(host.LoadState() == state);
    EXPECT_FALSE(fs::exists(kTemp));
}

TEST_F(Files, StateFileWithByteOrderMarksLoads) {
    struct Case { std::string bytes; const char* text; } cases[] = {
        {std::string("\xff\xfeh\0i\0", 6), "hi"},  // UTF-16 little-endian
        {std::string("\xfe\xff\0o\0k", 6), "ok"},  // UTF-16 big-endian
        {"\xef\xbb\xbfyes", "yes"}};
    for (auto& c : cases) {
        WriteFile(kState, c.bytes);
        EXPECT_TRUE(host.LoadState() == String(c.text)) << c.text;
    }
}

TEST_F(Files, StateFileLeftoverTemporaryFileDisturbsNeitherLoadNorSave) {
    WriteFile(kState, "good");
    EXPECT_TRUE(InChild([this] {
        WriteFile(kTemp, "half-written garbage from an interrupted save");
        fs::permissions(kTemp, fs::perms::owner_read);  // left read-only
        return host.LoadState() == String("good") && host.SaveState(String("new")) == 0;
    }));
    EXPECT_EQ(ReadFile(kState), "new");
    EXPECT_FALSE(fs::exists(kTemp));
}

TEST_F(Files, StateFileUnwritableDirectoryGivesMinusOneAndKeepsTheOldFile) {
    WriteFile(kState, "old");
    EXPECT_TRUE(InChild([this] {
        fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
        return host.SaveState(String("new")) == -1;
    }));
    EXPECT_EQ(ReadFile(kState), "old");
    EXPECT_FALSE(fs::exists(kTemp));
}

// The write is cut short by a file-size limit.
TEST_F(Files, StateFileIncompleteWriteGivesMinusTwoAndKeepsTheOldFile) {
    WriteFile(kState, "previous state");
    EXPECT_TRUE(InChild([this] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        String big("0123456789abcdef");
        for (int i = 0; i < 10; ++i) big = big + big;  // 16 KiB
        return host.SaveState(big) == -2;
    }));
    EXPECT_EQ(ReadFile(kState), "previous state");
    EXPECT_FALSE(fs::exists(kTemp));
}

// A recording stand-in for xdg-open earlier in PATH shows what it receives.
TEST_F(Files, OpenUrlPassesTheUrlAsOneArgumentWithoutAShell) {
    WriteFile("xdg-open",
              "#!/bin/sh\n"
              "{ echo \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > record.part\n"
              "mv record.part record\n");
    fs::permissions("xdg-open", fs::perms::owner_all);
    std::string path = std::getenv("PATH");
    setenv("PATH", (dir + ":" + path).c_str(), 1);

    const char16_t url[] = u"https://example.com/a b?x=1&y=$(touch pwned);touch pwned2 `touch pwned3` \u00e9";
    host.OpenUrl(String(url, static_cast<int>(std::char_traits<char16_t>::length(url))));
    for (int i = 0; i < 500 && !fs::exists("record"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    setenv("PATH", path.c_str(), 1);

    EXPECT_EQ(ReadFile("record"),
              "1\nhttps://example.com/a b?x=1&y=$(touch pwned);touch pwned2 `touch pwned3` \xc3\xa9\n");
    for (const char* f : {"pwned", "pwned2", "pwned3"}) EXPECT_FALSE(fs::exists(f)) << f;
}

}  // namespace
