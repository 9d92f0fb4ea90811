// SPDX-License-Identifier: Zlib
// Persistence: the state string and its checksums, the round trip, blocks
// that fail alone, the settings repair, and states that are not the game's.
#include <gtest/gtest.h>

#include <climits>

#include "tests/support/game_host.h"

namespace {

std::string Repeat(const std::string& s, int n) { return n > 0 ? s + Repeat(s, n - 1) : ""; }

std::vector<std::string> Pieces(const std::string& s) {
    std::vector<std::string> out(1);
    for (char c : s) c == '|' ? out.emplace_back() : out.back() += c;
    return out;
}

const std::string kFirstRun = "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|" + Repeat("0|", 10) + "1483|" + Repeat("0|", 72);
// The message of block b (settings, badges, scores of modes 1..3) as loaded or refused.
std::string Message(int b, bool good) {
    const char* names[] = {"Settings", "Badge", "Highscore 0", "Highscore 1", "Highscore 2"};
    return names[b] + std::string(good ? (b == 1 ? "s Loaded\n" : " Loaded\n") : " Checksum Invalid\n");
}
const std::string kAllLoaded = Message(0, 1) + Message(1, 1) + Message(2, 1) + Message(3, 1) + Message(4, 1);
const int kSettings[25] = {3, -7, 0, 12, 9, 2, 0, 0, 5, 0, 100, 200, 15, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 77, 123456};
const int kDefaults[25] = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 64, 64, 10, 0, 1};
bool Owned(int b) { return b == 0 || b == 31 || b == 32 || b == 100 || b == 200 || b == 255; }
int Score(int k) { return k == 59 ? -5 : k % 7 == 3 ? 2000000000 - k : 1000 * (k + 1) + k; }  // some wrap the sums

class Persistence : public ::testing::Test {
   protected:
    GameTestHost host;
    c_MyApp* app = Fresh();

    // A new game on the same stored state with start-up's values: sound mode 1.
    c_MyApp* Fresh() {
        c_MyApp* a = StartBareGame(host);
        a->m_Opt[5] = 1;
        return a;
    }
    std::string Load(const String& state, int ouya = 0) {
        host.state = String(state);
        app = Fresh();
        kr_Vex_isOuya = ouya;
        testing::internal::CaptureStdout();
        app->p_Load();
        return testing::internal::GetCapturedStdout();
    }
    std::string Save() {
        app->p_Save();
        std::string out;
        for (int i = 0; i < host.state.Length(); ++i) out += static_cast<char>(host.state[i]);
        return out;
    }
    void FillEverything() {
        for (int i = 0; i < 25; ++i) app->m_Opt[i] = kSettings[i];
        for (int b = 0; b < 256; ++b) app->m_BadgeOwned[b] = Owned(b);
        for (int k = 0; k < 60; ++k) app->m_Hi[k] = Score(k);
    }
};

TEST_F(Persistence, FirstRunStringThenRoundTrip) {
    EXPECT_EQ(Load(host.state), "") << "nothing stored: no block, no message";
    EXPECT_EQ(Save(), kFirstRun);
    FillEverything();
    const std::string saved = Save();
    EXPECT_EQ(Load(host.state), kAllLoaded);
    for (int i = 0; i < 25; ++i) EXPECT_EQ(app->m_Opt[i], kSettings[i]) << i;
    for (int b = 0; b < 256; ++b) EXPECT_EQ(app->m_BadgeOwned[b], Owned(b)) << b;
    for (int k = 0; k < 60; ++k) EXPECT_EQ(app->m_Hi[k], Score(k)) << k;
    EXPECT_EQ(Save(), saved);
}

TEST_F(Persistence, OneChangedDigitResetsOnlyItsBlock) {
    FillEverything();
    const std::vector<std::string> saved = Pieces(Save());
    // piece, block: settings, badges, scores of modes 1, 2 (best and newest), 3
    const int cases[][2] = {{10, 0}, {25, 0}, {27, 1}, {34, 1}, {35, 2}, {56, 3}, {57, 3}, {96, 4}, {97, 4}};
    for (auto [piece, block] : cases) {
        std::vector<std::string> pieces = saved;
        char& digit = pieces[piece].back();
        digit = digit == '9' ? '0' : static_cast<char>(digit + 1);
        std::string state, expected;
        for (const auto& s : pieces) state += s + "|";
        for (int b = 0; b < 5; ++b) expected += Message(b, b != block);
        EXPECT_EQ(Load(String(state.c_str())), expected) << "piece " << piece;
        for (int i = 0; i < 25; ++i) EXPECT_EQ(app->m_Opt[i], block == 0 ? kDefaults[i] : kSettings[i]) << piece;
        for (int b = 0; b < 256; ++b) EXPECT_EQ(app->m_BadgeOwned[b], block != 1 && Owned(b)) << piece;
        for (int k = 0; k < 60; ++k) EXPECT_EQ(app->m_Hi[k], (k % 30) / 10 == block - 2 ? 0 : Score(k)) << piece;
    }
}

// Pad x and y at least 64, size at least 8 (else 10); overscan 1 off OUYA,
// and on OUYA 64 unless stored in 1..96.
TEST_F(Persistence, RepairRulesBringSettingsIntoRange) {
    const int cases[][9] = {
        // OUYA, stored x, y, size, overscan; repaired x, y, size, overscan
        {0, 63, 64, 7, 40, 64, 64, 10, 1},       {0, 64, 65, 8, 0, 64, 65, 8, 1},
        {0, -5, INT_MIN, -1, -100, 64, 64, 10, 1}, {1, 100, 100, 25, 0, 100, 100, 25, 64},
        {1, 100, 100, 25, 40, 100, 100, 25, 40}, {1, 100, 100, 25, -3, 100, 100, 25, 64}};
    for (auto [ouya, x, y, size, overscan, rx, ry, rsize, roverscan] : cases) {
        app = Fresh();
        app->m_Opt[10] = x, app->m_Opt[11] = y, app->m_Opt[12] = size, app->m_Opt[14] = overscan;
        Save();
        EXPECT_EQ(Load(host.state, ouya), kAllLoaded);
        EXPECT_EQ(std::vector<int>({app->m_Opt[10], app->m_Opt[11], app->m_Opt[12], app->m_Opt[14]}),
                  std::vector<int>({rx, ry, rsize, roverscan}))
            << "OUYA " << ouya << ", stored " << x << ", " << y << ", " << size << ", " << overscan;
        EXPECT_EQ(kr_Vex_overscan, ouya ? roverscan : 0);
    }
}

// States that are not the game's: each loads without a crash, leaves the
// repaired settings in range and saves a well-formed string again.
TEST_F(Persistence, ForeignStatesLoadSoundly) {
    const std::tuple<const char*, String, const char*> cases[] = {  // name, state, messages if known
        {"empty", String(), ""},
        {"too short for a block", String("1|2|3|4|5|6|7|8"), ""},
        {"numbers beyond the Int range", String(Repeat("99999999999999999999|", 26).c_str()), nullptr},
        {"10 MB of separators", String(std::string(10 << 20, '|').c_str()), nullptr},
        {"10 MB without a separator", String(std::string(10 << 20, '9').c_str()), ""},
    };
    for (const auto& [name, state, messages] : cases) {
        const std::string out = Load(state);
        if (messages) EXPECT_EQ(out, messages) << name;
        EXPECT_TRUE(app->m_Opt[10] >= 64 && app->m_Opt[11] >= 64 && app->m_Opt[12] >= 8 && app->m_Opt[14] == 1) << name;
        EXPECT_EQ(Pieces(Save()).size(), 99u) << name;
    }
}

}  // namespace
