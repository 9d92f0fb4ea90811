// SPDX-License-Identifier: Zlib
// The command line: what each form asks for, and a one-line reason for
// every form that makes no sense.
#include <gtest/gtest.h>

#include <tuple>

#include "host/desktop/launch.h"

namespace {

struct Parsed { bool ok; std::string error; KrLaunch launch; };

Parsed ParseArgs(std::vector<const char*> args) {
    args.insert(args.begin(), "vornhelm");
    Parsed p;
    p.ok = KrParseCommandLine(static_cast<int>(args.size()), args.data(), &p.launch, &p.error);
    return p;
}

TEST(CommandLine, ValidForms) {
    struct Case {
        std::vector<const char*> args;
        KrLaunch::Mode mode;
        std::string record, replay;
        bool fast;
        long long at;
        std::string shot;
    } cases[] = {
        {{}, KrLaunch::Play, "", "", false, -1, ""},
        {{"--record", "a.vhr"}, KrLaunch::Record, "a.vhr", "", false, -1, ""},
        {{"--replay", "b.vhr", "--fast"}, KrLaunch::Replay, "", "b.vhr", true, -1, ""},
        {{"--replay", "b.vhr", "--screenshot-at", "0", "o.png"}, KrLaunch::Replay, "", "b.vhr", false, 0, "o.png"},
        {{"--screenshot-at", "120", "--x.png", "--replay", "--fast"}, KrLaunch::Replay, "", "--fast", false, 120,
         "--x.png"},
        {{"--record", "a.vhr", "-h"}, KrLaunch::Help, "a.vhr", "", false, -1, ""},
        {{"--version", "--bogus"}, KrLaunch::Version, "", "", false, -1, ""},
        {{"--replay", "b.vhr", "--version"}, KrLaunch::Version, "", "b.vhr", false, -1, ""},
        // The options of a replay in any order around it.
        {{"--fast", "--replay", "b.vhr"}, KrLaunch::Replay, "", "b.vhr", true, -1, ""},
        {{"--fast", "--screenshot-at", "7", "o.png", "--replay", "b.vhr"}, KrLaunch::Replay, "", "b.vhr", true, 7,
         "o.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        Parsed p = ParseArgs(c.args);
        ASSERT_TRUE(p.ok) << p.error;
        const KrLaunch& l = p.launch;
        EXPECT_EQ(std::tie(l.mode, l.recordPath, l.replay.path, l.replay.fast, l.replay.screenshotAt, l.replay.screenshotPath),
                  std::tie(c.mode, c.record, c.replay, c.fast, c.at, c.shot));
    }
}

// The folders go with any form; each names one folder, a later one wins,
// and one not named stays empty (the folder the game runs in).
TEST(CommandLine, FolderOptions) {
    struct Case {
        std::vector<const char*> args;
        KrLaunch::Mode mode;
        std::string data, player, screenshots;
    } cases[] = {
        {{"--data-folder", "/usr/share/games/vornhelm", "--player-folder", "p", "--screenshot-folder", "/s"}, KrLaunch::Play,
         "/usr/share/games/vornhelm", "p", "/s"},
        {{"--replay", "b.vhr", "--fast", "--data-folder", "d"}, KrLaunch::Replay, "d", "", ""},
        {{"--screenshot-folder", "--replay", "--record", "a.vhr"}, KrLaunch::Record, "", "", "--replay"},
        {{"--player-folder", "a", "--player-folder", "b"}, KrLaunch::Play, "", "b", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        Parsed p = ParseArgs(c.args);
        ASSERT_TRUE(p.ok) << p.error;
        const KrFolders& f = p.launch.folders;
        EXPECT_EQ(std::tie(p.launch.mode, f.data, f.player, f.screenshots), std::tie(c.mode, c.data, c.player, c.screenshots));
    }
}

TEST(CommandLine, FormsThatMakeNoSense) {
    struct Case {
        std::vector<const char*> args;
        const char* error;
    } cases[] = {
        {{"--record"}, "--record needs a file name"},
        {{"--replay", ""}, "--replay needs a file name"},
        {{"--record", "a", "--replay", "b"}, "--record and --replay go one at a time"},
        {{"--fast"}, "--fast goes with --replay"},
        {{"--fast", "--record", "a"}, "--fast goes with --replay"},
        {{"--replay", "b", "--record", "a"}, "--record and --replay go one at a time"},
        {{"--screenshot-at", "3", "x.png"}, "--screenshot-at goes with --replay"},
        {{"--replay", "a", "--screenshot-at"}, "--screenshot-at needs an update number and a file name"},
        {{"--replay", "a", "--screenshot-at", "-1", "x.png"}, "--screenshot-at needs an update number (0 or more), not '-1'"},
        {{"--replay", "a", "--screenshot-at", "9999999999999999", "x.png"},
         "--screenshot-at needs an update number (0 or more), not '9999999999999999'"},
        {{"--replay", "a", "--screenshot-at", "5"}, "--screenshot-at needs a file name after the update number"},
        {{"--replay", "a", "extra"}, "unknown argument 'extra'"},
        {{"--bogus", "--help"}, "unknown option '--bogus'"},
        {{"--data-folder"}, "--data-folder needs a folder"},
        {{"--player-folder", ""}, "--player-folder needs a folder"},
        {{"--replay", "a", "--screenshot-folder"}, "--screenshot-folder needs a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        Parsed p = ParseArgs(c.args);
        EXPECT_FALSE(p.ok);
        EXPECT_EQ(p.error, c.error);
    }
}

}  // namespace
