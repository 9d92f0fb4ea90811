// SPDX-License-Identifier: Zlib
// Recording and replaying the real game binary on a private desktop driven
// by xdotool: a session played windowed and full screen at 1280 x 720
// replays to the same last line windowed, fast and in a window on a smaller
// screen, whatever real input reaches the replay's window; its F12
// screenshot equals the replay's --screenshot-at frame; a replay never
// writes the player's state file (the committed regression replays are the
// headless host's test). Fast replays run with no display and no sound
// system named, as they must run anywhere. (Bad files: the host's replay
// file tests, and through the launcher the install test.)
#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "host/replay/file.h"
#include "tests/support/game_run.h"
#include "tests/support/process.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;
using K = KrRecordKind;

const std::string kGame = std::string(VORNHELM_BUILD_DIR) + "/vornhelm";

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// The game's state in its last line, without what says who printed it.
std::string EndState(const std::string& path) {
    std::istringstream in(ReadFile(path));
    std::string line, last;
    while (std::getline(in, line)) last = line;
    return std::regex_replace(last, std::regex("^(Recorded|Replay ended after) [0-9]+ updates[^:]*: "), "");
}

void Tap(const std::string& key) { Hold({key}, 0.1), Pause(0.1); }

// The update after which the frame F12 saved was rendered: F12 goes down,
// then updates run, then the frame.
long long UpdateOfScreenshot(const KrReplay& replay) {
    long long updates = 0;
    bool pressed = false;
    for (const KrRecord& r : replay.records) {
        updates += r.kind == K::Update;
        pressed |= r.kind == K::Key && r.a == 1 && r.b == 123;
        if (r.kind == K::Render && pressed) return updates;
    }
    return -1;
}

// A PNG's size and pixels as RGB bytes.
std::string Png(const std::string& path) {
    int w = 0, h = 0, n = 0;
    unsigned char* data = stbi_load(path.c_str(), &w, &h, &n, 3);
    std::string rgb = std::to_string(w) + "x" + std::to_string(h) + ":" + (data ? std::string(data, data + w * h * 3) : "");
    stbi_image_free(data);
    return rgb;
}

TEST(Replays, AGameReplaysToTheSameEndWindowedFastAndElsewhere) {
    int wm = StartDesktop("1280x720x24");
    const std::string dir = ScratchFolder(true);
    Write(dir + "/.tandorstate", "1|2|3|");
    const Env quiet = {{"ALSOFT_DRIVERS", "null"}};
    auto run = [&](const std::vector<std::string>& args, const std::string& name, Env env = {}) {
        std::vector<std::string> argv{kGame};
        argv.insert(argv.end(), args.begin(), args.end());
        env.insert(env.end(), quiet.begin(), quiet.end());
        return Spawn(argv, dir, dir + "/" + name + ".out", env, dir + "/" + name + ".err");
    };

    int game = run({"--record", "game.vhr"}, "record");
    std::string window;
    ASSERT_TRUE(AtTheMenu(game, &window));
    // The selected item, a game, by a tap between two updates: the
    // recording and its replays must both see it.
    Tool({"xdotool", "key", "Return"}), Pause(0.5);
    Hold({"Right", "space"}, 0.8);
    Tap("F12"), Pause(0.3);
    Tap("F11"), Pause(0.8);  // full screen at the desktop's size
    Hold({"Left", "Up"}, 0.5);
    Tap("F4");
    ASSERT_EQ(WaitExit(game), 0) << ReadFile(dir + "/record.err");
    const std::string recorded = EndState(dir + "/record.out");
    EXPECT_NE(recorded.find("mode 10, score "), std::string::npos) << recorded;
    std::vector<std::string> shots;
    for (const auto& e : fs::directory_iterator(dir))
        if (std::regex_match(e.path().filename().string(), std::regex(R"(vornhelm-\d{8}-\d{6}\.png)")))
            shots.push_back(e.path().string());
    ASSERT_EQ(shots.size(), 1u);

    KrReplay replay;
    std::string error;
    ASSERT_TRUE(KrReadReplayFile(dir + "/game.vhr", &replay, &error)) << error;
    bool full = false, wide = false;
    for (const KrRecord& r : replay.records) {
        full |= r.kind == K::WindowEnd && r.c == 1;
        wide |= r.kind == K::Render && r.a == 1280 && r.b == 720;
    }
    EXPECT_TRUE(full && wide) << "the session never went full screen";
    const long long update = UpdateOfScreenshot(replay);
    ASSERT_GT(update, 0);

    // The player's file changes: replays see the recorded state all the
    // same, and leave the file as it is.
    Write(dir + "/.tandorstate", "changed");
    int windowed = run({"--replay", "game.vhr"}, "windowed");
    int quick = Spawn({"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "ALSOFT_DRIVERS", kGame, "--replay", "game.vhr", "--fast"},
                      dir, dir + "/fast.out", {}, dir + "/fast.err");
    int shot = run({"--replay", "game.vhr", "--screenshot-at", std::to_string(update), "shot.png"}, "shot");
    // On a smaller screen, where full screen cannot be had: a second X
    // server, which tells its number once it is ready.
    int xvfb = Spawn({"Xvfb", "-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp"}, dir, dir + "/xvfb.out");
    ASSERT_TRUE(WaitUntil([&] { return ReadFile(dir + "/xvfb.out").find('\n') != std::string::npos; }));
    int elsewhere = run({"--replay", "game.vhr"}, "elsewhere", {{"DISPLAY", ":" + Tool({"cat", dir + "/xvfb.out"})}});

    // The windowed replay takes no real input. A replay reopens its window
    // where the recording did, so it is looked up just before use.
    auto replayWindow = [&] {
        return Tool({"xdotool", "search", "--sync", "--all", "--onlyvisible", "--pid", std::to_string(windowed), "--name", "^Vornhelm replay$"});
    };
    Tool({"xdotool", "windowactivate", "--sync", replayWindow()});
    Tool({"xdotool", "mousemove", "--window", replayWindow(), "300", "200", "click", "1"});
    Hold({"Down", "space", "Escape"}, 0.3);

    for (auto [name, pid] : std::vector<std::pair<std::string, int*>>{{"fast", &quick}, {"elsewhere", &elsewhere}, {"windowed", &windowed}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(WaitExit(*pid), 0) << ReadFile(dir + "/" + name + ".err");
        EXPECT_EQ(EndState(dir + "/" + name + ".out"), recorded);
    }
    EXPECT_EQ(WaitExit(shot), 0) << ReadFile(dir + "/shot.err");
    EXPECT_EQ(ReadFile(dir + "/shot.out"), "Screenshot saved as shot.png\n");
    const std::string played = Png(shots[0]);
    EXPECT_EQ(played.substr(0, 8), "640x480:");
    EXPECT_TRUE(played == Png(dir + "/shot.png")) << "the replayed frame differs from the one F12 saved";
    EXPECT_EQ(ReadFile(dir + "/.tandorstate"), "changed");
    Kill(xvfb), Kill(wm);
    fs::remove_all(dir);
}

}  // namespace
