// SPDX-License-Identifier: Zlib
// A whole game with the real program on a private desktop, its sound going
// to a wave file: from the menu into a game by the keyboard (the keys that
// start the game and open the pause panel only tapped), a flight with
// the guns firing, giving up through the pause panel, the menu again, the
// score in ./.tandorstate, and the shots in the sound that was played.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/support/game_host.h"
#include "tests/support/game_run.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

bool Near(unsigned p, int r, int g, int b, int tol) {
    return std::abs(R(p) - r) <= tol && std::abs(G(p) - g) <= tol && std::abs(B(p) - b) <= tol;
}
bool Greenish(unsigned p) { return G(p) > 100 && G(p) > B(p) + 40 && R(p) < 120; }  // ground, maybe under sea
// The helicopter's red and dark paint; sky, beacon, ground and pad are none of it.
bool HeliPaint(unsigned p) { return !Greenish(p) && B(p) < 200 && (R(p) > G(p) + 30 || R(p) + G(p) + B(p) < 300); }

bool ShowsPlay(const Shot& s) {
    return s.Count(0, 0, 640, 38, [](unsigned p) { return Near(p, 0, 0, 120, 4); }) > 640 * 38 / 3 &&
           s.Count(0, 40, 640, 200, [](unsigned p) { return Near(p, 0, 175, 250, 6); }) > 640 * 40 &&
           s.Count(0, 40, 640, 480, Greenish) > 500 && s.Count(112, 200, 208, 272, HeliPaint) > 150;
}

// The x of the home pad's mark on the radar, or -1.
double RadarPadX(const Shot& s) {
    double sum = 0, n = 0;
    for (int y = 22; y < 34 && s.w; ++y)
        for (int x = 160; x < 480; ++x)
            if (Near(s.px[y * s.w + x], 0, 125, 255, 12)) sum += x, ++n;
    return n ? sum / n : -1;
}

// The orange pause panel, left and right of its buttons.
bool ShowsPausePanel(const Shot& s) {
    auto orange = [](unsigned p) { return R(p) > 170 && G(p) > 90 && G(p) < 160 && B(p) < 90; };
    return s.Count(190, 285, 250, 298, orange) > 500 && s.Count(390, 285, 450, 298, orange) > 500;
}

// Share of the menu's logo and backdrop that looks as in `before`.
double MenuLikeness(const Shot& before, const Shot& now) {
    if (now.w != 640 || before.w != 640) return 0;
    int same = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 490; ++x) same += Near(now.px[y * 640 + x], R(before.px[y * 640 + x]), G(before.px[y * 640 + x]), B(before.px[y * 640 + x]), 10);
    return same / (200.0 * 490);
}

// A saved state: first-run settings but effects only (no tune, so what
// sounds during play is effects), and mode 3's last ten scores 9, 8, .. 0.
String SeededState() {
    GameTestHost host;
    c_MyApp* app = StartBareGame(host);
    const int settings[][2] = {{5, 2}, {10, 64}, {11, 64}, {12, 10}, {14, 1}};
    for (auto [slot, value] : settings) app->m_Opt[slot] = value;
    for (int j = 0; j < 10; ++j) app->m_Hi[50 + j] = 9 - j;
    app->p_Save();
    return host.state;
}

// Share of the 10 ms blocks from `from` to `to` seconds of a 16-bit stereo
// 44100 Hz wave file in which anything sounded.
double SoundingShare(const fs::path& file, double from, double to) {
    const std::string b = ReadFile(file);
    constexpr std::size_t kBlock = 441 * 4;
    const std::size_t data = b.find("data") + 8;
    int n = 0, on = 0;
    for (int i = static_cast<int>(from * 100); i < static_cast<int>(to * 100); ++i, ++n) {
        std::size_t w = data + i * kBlock;
        double energy = 0;
        for (std::size_t j = w; j < w + kBlock && w + kBlock <= b.size(); j += 2) {
            double v = static_cast<std::int16_t>((b[j] & 0xFF) | b[j + 1] << 8) / 32768.0;
            energy += v * v;
        }
        on += std::sqrt(energy / (kBlock / 2)) > 0.01;
    }
    return n ? static_cast<double>(on) / n : 0;
}

void Down(const std::string& key) { Tool({"xdotool", "keydown", key}); }
void Release(const std::string& key) { Tool({"xdotool", "keyup", key}); }
void Press(const std::string& key) { Hold({key}, 0.12), Pause(0.12); }
// Down and up at once, between two updates: the game still sees it.
void Tap(const std::string& key) { Tool({"xdotool", "key", key}), Pause(0.12); }

TEST(PlayE2E, AGameFromTheMenuToTheScoreTables) {
    const fs::path dir = ScratchFolder(true), wav = dir / "sound.wav";
    std::FILE* f = std::fopen((dir / ".tandorstate").c_str(), "wb");
    SeededState().Save(f);
    std::fclose(f);
    const std::string seeded = ReadFile(dir / ".tandorstate");
    std::ofstream(dir / "alsoft.conf") << "channels = stereo\nsample-type = int16\nfrequency = 44100\n"
                                       << "hrtf = false\n[wave]\nfile = " << wav.string() << "\n";
    // Seconds of sound the wave file holds so far: a clock that runs with the audio device.
    auto soundClock = [&] { std::error_code ec; auto bytes = fs::file_size(wav, ec); return ec ? 0 : bytes / (44100.0 * 4); };
    int wm = StartDesktop();
    int game = Spawn({std::string(VORNHELM_BUILD_DIR) + "/vornhelm"}, dir, dir / "out.txt",
                     {{"ALSOFT_DRIVERS", "wave"}, {"ALSOFT_CONF", (dir / "alsoft.conf").string()}});
    const std::string window = ActivateWindow(game);
    ASSERT_FALSE(window.empty());
    // Loading (cleared to 40, 40, 80), then the menu's slide-in settles.
    Shot menu = Grab(window), next;
    ASSERT_TRUE(WaitUntil([&] {
        Pause(0.3), next = Grab(window);
        bool settled = next.w == 640 && !Near(next.px[5 * 640 + 5], 40, 40, 80, 2) && MenuLikeness(menu, next) > 0.97;
        return menu = next, settled;
    })) << "the menu after loading";

    // Mode 3 (the third item of the strip) by the keyboard; Enter only tapped.
    Press("Right"), Press("Right"), Tap("Return");
    Shot play;
    ASSERT_TRUE(WaitUntil([&] { return ShowsPlay(play = Grab(window)); })) << "sky, ground, helicopter and status bar";
    const double landedAt = soundClock(), padX = RadarPadX(play);
    EXPECT_NEAR(padX, 318, 3) << "the radar shows the pad under the helicopter";
    Pause(1.5);

    // A little up off the pad, then right with the guns firing.
    const double fireFrom = soundClock();
    Hold({"Up"}, 0.6);
    Down("Right"), Down("space");
    EXPECT_TRUE(WaitUntil([&] { double x = RadarPadX(Grab(window)); return x >= 0 && x < padX - 8; }))
        << "the helicopter flew right, away from the pad";
    Pause(1.5);
    Release("space"), Release("Right");
    const double fireTo = soundClock();

    // Give up: pause (Escape only tapped), select give-up, fire; the
    // game-over overlay, then the menu.
    Tap("Escape");
    EXPECT_TRUE(WaitUntil([&] { return ShowsPausePanel(Grab(window)); })) << "pause panel";
    Press("Left"), Press("space");
    EXPECT_TRUE(WaitUntil([&] { return MenuLikeness(menu, Grab(window)) > 0.9; })) << "the menu again";

    // The finished game was filed and saved (which table it went into is the
    // game's tests', GameOver.LoadMenuFilesTheScoreIntoTheTopAndLastTablesAndSaves).
    EXPECT_TRUE(WaitUntil([&] { return ReadFile(dir / ".tandorstate") != seeded; })) << "no score saved";

    Press("Escape");  // in the menu: the program ends
    EXPECT_EQ(WaitExit(game), 0);
    Kill(game), Kill(wm);

    // With the tune off, the helicopter standing on the pad was quiet and the
    // shots sounded in flight; 0.3 s kept away from the key presses.
    ASSERT_GT(soundClock(), fireTo) << "the wave file covers the game";
    ASSERT_GT(fireFrom - landedAt, 1.0);
    EXPECT_LT(SoundingShare(wav, landedAt + 0.3, fireFrom - 0.3), 0.1) << "quiet on the pad";
    EXPECT_GT(SoundingShare(wav, fireFrom + 0.9, fireTo - 0.3), 0.25) << "shots sounded";
    fs::remove_all(dir);
}

}  // namespace
