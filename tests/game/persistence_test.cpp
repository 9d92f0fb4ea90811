// Persistence: the state string's layout and checksums, the round trip with
// its messages, independent blocks, the cursor over truncated strings, the
// settings repair, and states that are not the game's at all.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

#include "tests/support/game_host.h"

namespace {

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

std::vector<std::string> Pieces(const std::string& s) {
    std::vector<std::string> out(1);
    for (char c : s) c == '|' ? out.emplace_back() : out.back() += c;
    return out;
}

const std::string kFirstRun = "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|" + Repeat("0|", 10) + "1483|" + Repeat("0|", 72);
const std::string kAllLoaded =
    "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Loaded\nHighscore 2 Loaded\n";
const int kSettings[25] = {3, -7, 0, 12, 9, 2, 0, 0, 5, 0, 100, 200, 15, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 77, 123456};
const int kDefaults[25] = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 64, 64, 10, 0, 1};
bool Owned(int b) { return b == 0 || b == 31 || b == 32 || b == 100 || b == 200 || b == 255; }
int Score(int k) { return k == 59 ? -5 : k % 7 == 3 ? 2000000000 - k : 1000 * (k + 1) + k; }  // some wrap the sums

class Persistence : public ::testing::Test {
   protected:
    GameTestHost host;
    c_MyApp* app = Fresh();

    // A new game on the same stored state, with the values start-up gives
    // before it loads: sound mode 1, all else 0.
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
    std::string Reload() { return Load(host.state); }
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

TEST_F(Persistence, FirstRunStringHasTheSettingsChecksumAndZerosElsewhere) {
    EXPECT_EQ(Reload(), "") << "nothing stored: no block, no message";
    EXPECT_EQ(Save(), kFirstRun);
    EXPECT_EQ(Pieces(kFirstRun).size(), 99u);  // 98 numbers, each followed by "|"
    EXPECT_EQ(host.saves, 1);
}

TEST_F(Persistence, SaveThenLoadGivesEverythingBackWithFiveMessages) {
    FillEverything();
    app->m_Hi[60] = 4242;  // beyond the saved tables
    const std::string saved = Save();
    EXPECT_EQ(Reload(), kAllLoaded);
    for (int i = 0; i < 25; ++i) EXPECT_EQ(app->m_Opt[i], kSettings[i]) << i;
    for (int b = 0; b < 256; ++b) EXPECT_EQ(app->m_BadgeOwned[b], Owned(b)) << b;
    for (int k = 0; k < 60; ++k) EXPECT_EQ(app->m_Hi[k], Score(k)) << k;
    EXPECT_EQ(app->m_Hi[60], 0);
    EXPECT_EQ(Save(), saved);
}

// Checksums are weighted sums that wrap; badge 31 alone is the sign bit.
TEST_F(Persistence, ChecksumsFollowTheirWeightsAndWrap) {
    app->m_Opt[24] = INT_MAX;      // 5 + 24 x (2^31 - 1) wraps to -19
    app->m_BadgeOwned[31] = true;  // with 63: two words of -2^31 sum to 0
    app->m_BadgeOwned[63] = true;
    app->m_Hi[0] = 1073741824;  // mode 1: 2^30 x 4 wraps to 0
    app->m_Hi[12] = 100, app->m_Hi[42] = 50;  // mode 2: top[2] x 6 + last[2] x 6
    app->m_Hi[29] = 7, app->m_Hi[59] = -1;    // mode 3: top[9] x 13 + last[9] x 14
    const std::vector<std::string> p = Pieces(Save());
    const std::pair<int, const char*> pieces[] = {{24, "2147483647"}, {25, "-19"}, {26, "-2147483648"},
                                                  {27, "-2147483648"}, {34, "0"}, {35, "1073741824"},
                                                  {55, "0"}, {60, "100"}, {61, "50"}, {76, "900"},
                                                  {95, "7"}, {96, "-1"}, {97, "77"}};
    for (auto [i, text] : pieces) EXPECT_EQ(p[i], text) << "piece " << i;
    EXPECT_EQ(Reload(), kAllLoaded);
    EXPECT_EQ(app->m_Opt[24], INT_MAX);
    EXPECT_EQ(app->m_Hi[0], 1073741824);

    app = Fresh();
    app->m_BadgeOwned[31] = true;
    const std::vector<std::string> badge = Pieces(Save());
    for (int g = 0; g < 9; ++g) EXPECT_EQ(badge[26 + g], g % 8 ? "0" : "-2147483648") << g;
    EXPECT_EQ(Reload(), kAllLoaded);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(app->m_BadgeOwned[b], b == 31) << b;
}

TEST_F(Persistence, OneChangedDigitResetsOnlyItsBlock) {
    FillEverything();
    const std::vector<std::string> saved = Pieces(Save());
    const char* good[] = {"Settings Loaded\n", "Badges Loaded\n", "Highscore 0 Loaded\n", "Highscore 1 Loaded\n",
                          "Highscore 2 Loaded\n"};
    const char* bad[] = {"Settings Checksum Invalid\n", "Badge Checksum Invalid\n", "Highscore 0 Checksum Invalid\n",
                         "Highscore 1 Checksum Invalid\n", "Highscore 2 Checksum Invalid\n"};
    // piece, block: settings, badges, scores of modes 1, 2 (best and newest), 3
    const int cases[][2] = {{10, 0}, {25, 0}, {27, 1}, {34, 1}, {35, 2}, {56, 3}, {57, 3}, {96, 4}, {97, 4}};
    for (auto [piece, block] : cases) {
        std::vector<std::string> pieces = saved;
        char& digit = pieces[piece].back();
        digit = digit == '9' ? '0' : static_cast<char>(digit + 1);
        std::string state;
        for (const auto& s : pieces) state += s + "|";
        state.pop_back();
        std::string expected;
        for (int b = 0; b < 5; ++b) expected += b == block ? bad[b] : good[b];
        EXPECT_EQ(Load(String(state.c_str())), expected) << "piece " << piece;
        for (int i = 0; i < 25; ++i) EXPECT_EQ(app->m_Opt[i], block == 0 ? kDefaults[i] : kSettings[i]) << piece;
        for (int b = 0; b < 256; ++b) EXPECT_EQ(app->m_BadgeOwned[b], block != 1 && Owned(b)) << piece;
        for (int k = 0; k < 60; ++k) EXPECT_EQ(app->m_Hi[k], (k % 30) / 10 == block - 2 ? 0 : Score(k)) << piece;
    }
}

// Complete blocks load; a missing checksum reads as 0; a string too short
// for the settings is read as the badge block from the start.
TEST_F(Persistence, TruncatedStringsKeepTheCompleteBlocks) {
    FillEverything();
    const std::string full = Save();
    const std::vector<std::string> saved = Pieces(full);
    auto first = [&](int n) {
        std::string out;
        for (int i = 0; i < n; ++i) out += saved[i] + "|";
        return out;
    };
    const std::string sb = "Settings Loaded\nBadges Loaded\n";
    const std::pair<std::string, std::string> cases[] = {
        {first(26), "Settings Loaded\n"},
        {first(25), "Settings Checksum Invalid\n"},
        {first(24), "Badge Checksum Invalid\n"},
        {first(55), sb + "Highscore 0 Checksum Invalid\n"},
        {first(56), sb + "Highscore 0 Loaded\n"},
        {full.substr(0, full.size() - 1), kAllLoaded},  // the last "|" is not needed
        {full.substr(0, full.size() - 2), sb + "Highscore 0 Loaded\nHighscore 1 Loaded\nHighscore 2 Checksum Invalid\n"},
        {"1|2|3|4|5|6|7|8|", "Badge Checksum Invalid\n"},  // its checksum piece is empty
        {"1|2|3|4|5|6|7|8", ""},
        {"1|2|3|4|5|6|7|8|36|", "Badges Loaded\n"},
    };
    for (const auto& [state, messages] : cases) EXPECT_EQ(Load(String(state.c_str())), messages) << state;
    for (int b : {0, 33, 64, 65, 98, 227}) EXPECT_TRUE(app->m_BadgeOwned[b]) << b;
    EXPECT_FALSE(app->m_BadgeOwned[1]);
    EXPECT_EQ(app->m_Opt[10], 64) << "the settings keep their defaults";
}

// Pad x and y at least 64, size at least 8 (else 10); overscan 1 off OUYA,
// and on OUYA 64 unless stored in 1..96; the screen keeps that free.
TEST_F(Persistence, RepairRulesBringSettingsIntoRange) {
    const int cases[][9] = {
        // OUYA, stored x, y, size, overscan; repaired x, y, size, overscan
        {0, 63, 64, 7, 40, 64, 64, 10, 1},           {0, 64, 65, 8, 0, 64, 65, 8, 1},
        {0, -5, INT_MIN, -1, -100, 64, 64, 10, 1},  {0, 1000, 1000, 99, 96, 1000, 1000, 99, 1},
        {1, 100, 100, 25, 0, 100, 100, 25, 64},     {1, 100, 100, 25, 40, 100, 100, 25, 40},
        {1, 100, 100, 25, 1, 100, 100, 25, 1},      {1, 100, 100, 25, -3, 100, 100, 25, 64},
    };
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
    // Settings that fail their checksum are the defaults, repaired.
    for (int ouya : {0, 1}) {
        EXPECT_EQ(Load(String((Repeat("9|", 25) + "0|").c_str()), ouya), "Settings Checksum Invalid\n");
        EXPECT_EQ(app->m_Opt[14], ouya ? 64 : 1);
        EXPECT_EQ(kr_Vex_overscan, ouya ? 64 : 0);
    }
}

// States that are not the game's: each loads without a crash, leaves the
// repaired settings in range and saves a well-formed string again.
TEST_F(Persistence, ForeignStatesLoadSoundly) {
    std::minstd_rand rng(7);
    std::vector<unsigned char> garbage(4096), noisy(10 << 20), utf16 = {0xff, 0xfe};
    for (auto& b : garbage) b = static_cast<unsigned char>(rng() >> 8);
    for (auto& b : noisy) b = "0123456789|-"[(rng() >> 8) % 12];
    for (char c : kFirstRun) utf16.insert(utf16.end(), {static_cast<unsigned char>(c), 0});
    auto bytes = [](const unsigned char* p, size_t n) { return String::Load(p, static_cast<int>(n)); };
    const struct {
        const char* name;
        String state;
        const char* messages;
    } cases[] = {
        {"empty", String(), ""},
        {"binary garbage", bytes(garbage.data(), garbage.size()), nullptr},
        {"UTF-16 with its mark", bytes(utf16.data(), utf16.size()), kAllLoaded.c_str()},
        {"numbers beyond the Int range", String(Repeat("99999999999999999999|", 26).c_str()), nullptr},
        {"10 MB of separators", String(std::string(10 << 20, '|').c_str()), nullptr},
        {"10 MB without a separator", String(std::string(10 << 20, '9').c_str()), ""},
        {"10 MB of digits and separators", bytes(noisy.data(), noisy.size()), nullptr},
    };
    for (const auto& c : cases) {
        const std::string out = Load(c.state);
        if (c.messages) EXPECT_EQ(out, c.messages) << c.name;
        EXPECT_TRUE(app->m_Opt[10] >= 64 && app->m_Opt[11] >= 64 && app->m_Opt[12] >= 8) << c.name;
        EXPECT_EQ(app->m_Opt[14], 1) << c.name;
        EXPECT_EQ(kr_Vex_overscan, 0.0f) << c.name;
        EXPECT_EQ(Pieces(Save()).size(), 99u) << c.name;
    }
}

}  // namespace
