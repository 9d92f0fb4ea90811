// The state file "./.tandorstate": UTF-8 on disk, tolerant loading, and
// saves that never lose the previous file.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <csignal>
#include <functional>

#include "host/glfw_game.h"
#include "tests/host/temp_dir.h"

namespace {

const char* const kState = ".tandorstate";
const char* const kTemp = ".tandorstate.tmp";

class StateFile : public InTempDir {
protected:
    // Runs `check` with an ordinary user's rights, since permissions do not
    // stop root: as root, in a child process that owns the directory and
    // gives root up. True when the check held.
    bool AsOrdinaryUser(const std::function<bool()>& check) {
        if (geteuid() != 0) return check();
        pid_t child = fork();
        if (child == 0) {
            const uid_t nobody = 65534;
            if (chown(dir.c_str(), nobody, nobody) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0)
                _exit(2);
            _exit(check() ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    KrGlfwGame host;
};

String Utf16(const std::u16string& s) { return String(s.data(), static_cast<int>(s.size())); }

TEST_F(StateFile, SaveThenLoadGivesTheSameTextWrittenAsUtf8) {
    String state = Utf16(u"H\u00f6he|\u20ac|42|");
    EXPECT_EQ(host.SaveState(state), 0);
    EXPECT_EQ(ReadFile(kState), "H\xc3\xb6he|\xe2\x82\xac|42|");
    EXPECT_TRUE(host.LoadState() == state);
    EXPECT_FALSE(Exists(kTemp));
}

TEST_F(StateFile, CharactersBeyondSixteenBitsComeBackUnchanged) {
    String state = Utf16(u"\U0001D11E|x");  // a surrogate pair
    EXPECT_EQ(host.SaveState(state), 0);
    EXPECT_TRUE(host.LoadState() == state);
}

TEST_F(StateFile, EverySaveReplacesTheWholeFile) {
    EXPECT_EQ(host.SaveState(String("a much longer first state")), 0);
    EXPECT_EQ(host.SaveState(String("short")), 0);
    EXPECT_EQ(ReadFile(kState), "short");
}

TEST_F(StateFile, EmptyStateMakesAnEmptyFile) {
    EXPECT_EQ(host.SaveState(String()), 0);
    ASSERT_TRUE(Exists(kState));
    EXPECT_EQ(ReadFile(kState), "");
    EXPECT_EQ(host.LoadState().Length(), 0);
}

TEST_F(StateFile, MissingFileLoadsAsEmpty) { EXPECT_EQ(host.LoadState().Length(), 0); }

TEST_F(StateFile, FilesWithByteOrderMarksLoad) {
    WriteFile(kState, std::string("\xff\xfeh\0i\0", 6));  // UTF-16, little-endian
    EXPECT_TRUE(host.LoadState() == String("hi"));
    WriteFile(kState, std::string("\xfe\xff\0o\0k", 6));  // UTF-16, big-endian
    EXPECT_TRUE(host.LoadState() == String("ok"));
    WriteFile(kState, "\xef\xbb\xbfyes");  // UTF-8 with a mark
    EXPECT_TRUE(host.LoadState() == String("yes"));
}

TEST_F(StateFile, InvalidUtf8StillLoads) {
    WriteFile(kState, "a\xff\xfe" "b");
    String loaded = host.LoadState();
    ASSERT_GE(loaded.Length(), 2);
    EXPECT_EQ(loaded[0], u'a');
    EXPECT_EQ(loaded[loaded.Length() - 1], u'b');
}

TEST_F(StateFile, LeftoverTemporaryFileDisturbsNeitherLoadNorSave) {
    WriteFile(kState, "good");
    EXPECT_TRUE(AsOrdinaryUser([this] {
        // Left read-only by whoever was interrupted.
        WriteFile(kTemp, "half-written garbage from an interrupted save");
        std::filesystem::permissions(kTemp, std::filesystem::perms::owner_read);
        return host.LoadState() == String("good") && host.SaveState(String("new")) == 0;
    }));
    EXPECT_EQ(ReadFile(kState), "new");
    EXPECT_FALSE(Exists(kTemp));
}

TEST_F(StateFile, UnwritableDirectoryGivesMinusOneAndKeepsTheOldFile) {
    WriteFile(kState, "old");
    EXPECT_TRUE(AsOrdinaryUser([this] {
        std::filesystem::permissions(dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        bool refused = host.SaveState(String("new")) == -1;
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        return refused;
    }));
    EXPECT_EQ(ReadFile(kState), "old");
    EXPECT_FALSE(Exists(kTemp));
}

TEST_F(StateFile, RemovedWorkingDirectoryGivesMinusOne) {
    std::string gone = dir + "/gone";
    std::filesystem::create_directory(gone);
    ASSERT_EQ(chdir(gone.c_str()), 0);
    std::filesystem::remove(gone);
    EXPECT_EQ(host.SaveState(String("x")), -1);
    EXPECT_EQ(host.LoadState().Length(), 0);
    ASSERT_EQ(chdir(dir.c_str()), 0);
}

// A save that cannot write every byte reports -2 and leaves the previous
// state file exactly as it was. The write is cut short by a file-size limit
// in a child process.
TEST_F(StateFile, IncompleteWriteGivesMinusTwoAndKeepsTheOldFile) {
    WriteFile(kState, "previous state");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        String big = String("0123456789abcdef");
        for (int i = 0; i < 10; ++i) big = big + big;  // 16 KiB
        _exit(host.SaveState(big) == -2 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save did not report -2";
    EXPECT_EQ(ReadFile(kState), "previous state");
    EXPECT_FALSE(Exists(kTemp));
}

}  // namespace
