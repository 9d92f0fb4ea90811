// SPDX-License-Identifier: Zlib
// Files the host writes or hands on, in a fresh temporary directory: the
// state file "./.tandorstate" (UTF-8, tolerant loading, saves that reach the
// file a link names and never lose the previous file) and OpenUrl's call of
// xdg-open.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "host/desktop/glfw_game.h"
#include "tests/support/process.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;
const char* const kState = ".tandorstate";
const char* const kTemp = ".tandorstate.tmp";

class Files : public InScratchFolder {
protected:
    static void WriteFile(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
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

// Where and how a save lands. Each case prepares its own folder in a child
// process, which as root first hands the folder to "nobody" and takes that
// user on (permissions do not stop root), then saves and exits with what
// SaveState returned; the parent then looks at what is on disk.
struct SaveCase {
    const char* what;
    std::function<void()> prepare;  // in the child, inside the case's folder
    int result;
    std::function<void(const std::string& folder)> check;
};

TEST_F(Files, StateFileSavesWhereThePlainWriteWouldAndNeverLosesTheOldContent) {
    using P = fs::perms;
    auto write = [](const char* path, const char* text) { WriteFile(path, text); };
    const std::vector<SaveCase> cases = {
        {"no state file yet", [] {}, 0,
         [](const std::string& d) { EXPECT_EQ(ReadFile(d + "/.tandorstate"), "new"); }},
        {"a link to a file in another folder",
         [&] { fs::create_directory("real"), write("real/state", "old"), fs::create_symlink("real/state", kState); }, 0,
         [&](const std::string& d) {
             EXPECT_EQ(fs::read_symlink(d + "/.tandorstate"), "real/state");
             EXPECT_EQ(ReadFile(d + "/real/state"), "new");
             EXPECT_FALSE(fs::exists(d + "/real/state.tmp"));
         }},
        {"a link to a link in another folder, which names its file from there",
         [&] {
             fs::create_directory("real"), write("real/state", "old");
             fs::create_symlink("state", "real/link"), fs::create_symlink("real/link", kState);
         }, 0,
         [&](const std::string& d) {
             EXPECT_EQ(ReadFile(d + "/real/state"), "new");
             EXPECT_FALSE(fs::exists(d + "/state"));
         }},
        {"a link that leads to itself", [] { fs::create_symlink(kState, kState); }, -1,
         [&](const std::string& d) { EXPECT_TRUE(fs::is_symlink(fs::symlink_status(d + "/.tandorstate"))); }},
        {"a read-only folder with a writable state file",
         [&] { write(kState, "old"), fs::permissions(".", P::owner_read | P::owner_exec); }, 0,
         [](const std::string& d) { EXPECT_EQ(ReadFile(d + "/.tandorstate"), "new"); }},
        {"a read-only state file in a writable folder",
         [&] { write(kState, "old"), fs::permissions(kState, P::owner_read); }, -1,
         [](const std::string& d) { EXPECT_EQ(ReadFile(d + "/.tandorstate"), "old"); }},
        {"a folder in its place", [] { fs::create_directory(kState); }, -1,
         [](const std::string& d) { EXPECT_TRUE(fs::is_directory(d + "/.tandorstate")); }},
        {"a write cut short by a file-size limit",
         [&] {
             write(kState, "previous state");
             std::signal(SIGXFSZ, SIG_IGN);
             rlimit limit{4096, 4096};
             setrlimit(RLIMIT_FSIZE, &limit);
         },
         -2, [](const std::string& d) { EXPECT_EQ(ReadFile(d + "/.tandorstate"), "previous state"); }},
    };
    const String kNew("new"), big(std::string(16 * 1024, 'x').c_str());  // beyond the file-size limit below
    for (size_t i = 0; i < cases.size(); ++i) {
        const SaveCase& c = cases[i];
        SCOPED_TRACE(c.what);
        std::string folder = dir + "/case" + std::to_string(i);
        fs::create_directory(folder);
        const String& state = c.result == -2 ? big : kNew;
        pid_t child = fork();
        if (child == 0) {
            const uid_t nobody = 65534;
            if (geteuid() == 0 && (chown(dir.c_str(), nobody, nobody) != 0 || chown(folder.c_str(), nobody, nobody) != 0 ||
                                   setgid(nobody) != 0 || setuid(nobody) != 0))
                _exit(100);
            if (chdir(folder.c_str()) != 0) _exit(101);
            c.prepare();
            _exit(host.SaveState(state) + 2);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << status;
        EXPECT_EQ(WEXITSTATUS(status) - 2, c.result);
        fs::permissions(folder, P::owner_all);
        c.check(folder);
        EXPECT_FALSE(fs::exists(fs::symlink_status(folder + "/.tandorstate.tmp")));
    }
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
