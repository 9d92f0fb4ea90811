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

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

std::string Repeat(const std::string& s, int n) {
    std::string out;
    out.reserve(s.size() * n);
    for (int i = 0; i < n; ++i) out.append(s);
    return out;
}

std::string Ascii(const String& s) {
    std::string out;
    for (int i = 0; i < s.Length(); ++i) out += static_cast<char>(s[i]);
    return out;
}

std::vector<std::string> Pieces(const std::string& s) {
    std::vector<std::string> out(1);
    for (char c : s) {
        if (c == '|') out.emplace_back();
        else out.back() += c;
    }
    return out;
}

std::string Join(const std::vector<std::string>& pieces) {
    std::string out;
    for (size_t i = 0; i < pieces.size(); ++i) out += (i ? "|" : "") + pieces[i];
    return out;
}

const std::string kAllLoaded =
    "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Loaded\nHighscore 2 Loaded\n";

class Persistence : public ::testing::Test {
protected:
    GameTestHost host;
    c_MyApp* app = Fresh();

    // A new game on the same host (and so the same stored state), with the
    // values the start-up gives before it loads: sound mode 1, all else 0.
    // Earlier games are gone.
    c_MyApp* Fresh() {
        c_MyApp* a = StartBareGame(host);
        a->m_Opt[5] = 1;
        return a;
    }

    std::string Load() {
        CaptureStdout();
        app->p_Load();
        return GetCapturedStdout();
    }

    std::string LoadString(const String& state) {
        host.state = state;
        app = Fresh();
        return Load();
    }

    std::string Save() {
        app->p_Save();
        return Ascii(host.state);
    }

    // Settings, badges and every saved score set to distinct values, some
    // large enough that the checksums wrap.
    void FillEverything() {
        const int settings[] = {3, -7, 0, 12, 9, 2, 0, 0, 5, 0, 100, 200, 15, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 77, 123456};
        for (int i = 0; i < 25; ++i) app->m_Opt[i] = settings[i];
        for (int b : {0, 31, 32, 100, 200, 255}) app->m_BadgeOwned[b] = true;
        for (int k = 0; k < 60; ++k) app->m_Hi[k] = (k % 7 == 3) ? 2000000000 - k : 1000 * (k + 1) + k;
        app->m_Hi[59] = -5;
    }
};

TEST_F(Persistence, FirstRunStringHasTheSettingsChecksumAndZerosElsewhere) {
    EXPECT_EQ(Load(), "");  // nothing stored: no block, no message
    const std::string expected =
        "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|" + Repeat("0|", 10) + "1483|" + Repeat("0|", 72);
    EXPECT_EQ(Save(), expected);
    EXPECT_EQ(Pieces(expected).size(), 99u);  // 98 numbers, each followed by "|"
    EXPECT_EQ(host.saves, 1);
    EXPECT_EQ(kr_Vex_overscan, 0.0f);
}

TEST_F(Persistence, SaveThenLoadGivesEverythingBackWithFiveMessages) {
    FillEverything();
    app->m_Hi[60] = 4242;  // beyond the saved tables
    const std::string saved = Save();

    app = Fresh();
    EXPECT_EQ(Load(), kAllLoaded);
    const int settings[] = {3, -7, 0, 12, 9, 2, 0, 0, 5, 0, 100, 200, 15, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 77, 123456};
    for (int i = 0; i < 25; ++i) EXPECT_EQ(app->m_Opt[i], settings[i]) << i;
    for (int b = 0; b < 256; ++b) {
        bool owned = b == 0 || b == 31 || b == 32 || b == 100 || b == 200 || b == 255;
        EXPECT_EQ(app->m_BadgeOwned[b], owned) << b;
    }
    for (int k = 0; k < 60; ++k) EXPECT_EQ(app->m_Hi[k], k == 59 ? -5 : (k % 7 == 3) ? 2000000000 - k : 1000 * (k + 1) + k);
    EXPECT_EQ(app->m_Hi[60], 0);
    EXPECT_EQ(Save(), saved);
}

TEST_F(Persistence, ChecksumsFollowTheirWeightsAndWrap) {
    app->m_Opt[24] = INT_MAX;          // 5 + 24 x (2^31 - 1) wraps to -19
    app->m_BadgeOwned[31] = true;      // two words of -2^31 sum to 0
    app->m_BadgeOwned[63] = true;
    app->m_Hi[0] = 1073741824;         // mode 1: 2^30 x 4 wraps to 0
    app->m_Hi[10 + 2] = 100;           // mode 2: top[2] x 6 + last[2] x 6
    app->m_Hi[40 + 2] = 50;
    app->m_Hi[20 + 9] = 7;             // mode 3: top[9] x 13 + last[9] x 14
    app->m_Hi[50 + 9] = -1;
    const std::vector<std::string> p = Pieces(Save());
    EXPECT_EQ(p[24], "2147483647");
    EXPECT_EQ(p[25], "-19");
    EXPECT_EQ(p[26], "-2147483648");
    EXPECT_EQ(p[27], "-2147483648");
    EXPECT_EQ(p[34], "0");
    EXPECT_EQ(p[35], "1073741824");
    EXPECT_EQ(p[55], "0");
    EXPECT_EQ(p[56 + 4], "100");
    EXPECT_EQ(p[56 + 5], "50");
    EXPECT_EQ(p[76], "900");
    EXPECT_EQ(p[77 + 18], "7");
    EXPECT_EQ(p[77 + 19], "-1");
    EXPECT_EQ(p[97], "77");

    app = Fresh();
    EXPECT_EQ(Load(), kAllLoaded);
    EXPECT_EQ(app->m_Opt[24], INT_MAX);
    EXPECT_EQ(app->m_Hi[0], 1073741824);
}

TEST_F(Persistence, BadgeThirtyOneAloneIsTheSignBit) {
    app->m_BadgeOwned[31] = true;
    const std::vector<std::string> p = Pieces(Save());
    EXPECT_EQ(p[26], "-2147483648");
    for (int g = 1; g < 8; ++g) EXPECT_EQ(p[26 + g], "0");
    EXPECT_EQ(p[34], "-2147483648");
    app = Fresh();
    EXPECT_EQ(Load(), kAllLoaded);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(app->m_BadgeOwned[b], b == 31) << b;
}

TEST_F(Persistence, OneChangedDigitResetsOnlyItsBlock) {
    FillEverything();
    const std::vector<std::string> saved = Pieces(Save());
    app = Fresh();
    Load();
    // What a full load gives, block by block.
    std::vector<int> opt(25), hi(60);
    std::vector<bool> badges(256);
    for (int i = 0; i < 25; ++i) opt[i] = app->m_Opt[i];
    for (int k = 0; k < 60; ++k) hi[k] = app->m_Hi[k];
    for (int b = 0; b < 256; ++b) badges[b] = app->m_BadgeOwned[b];

    enum Block { kSettings, kBadges, kMode0, kMode1, kMode2 };
    const struct { int piece; Block block; const char* message; } cases[] = {
        {10, kSettings, "Settings Checksum Invalid\n"},
        {25, kSettings, "Settings Checksum Invalid\n"},
        {27, kBadges, "Badge Checksum Invalid\n"},
        {34, kBadges, "Badge Checksum Invalid\n"},
        {35, kMode0, "Highscore 0 Checksum Invalid\n"},
        {56, kMode1, "Highscore 1 Checksum Invalid\n"},  // the best score of mode 2
        {57, kMode1, "Highscore 1 Checksum Invalid\n"},  // its newest score
        {96, kMode2, "Highscore 2 Checksum Invalid\n"},
        {97, kMode2, "Highscore 2 Checksum Invalid\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> pieces = saved;
        char& digit = pieces[c.piece].back();
        digit = digit == '9' ? '0' : static_cast<char>(digit + 1);
        std::string out = LoadString(String(Join(pieces).c_str()));

        std::string expected = kAllLoaded;
        const char* good[] = {"Settings Loaded\n", "Badges Loaded\n", "Highscore 0 Loaded\n",
                              "Highscore 1 Loaded\n", "Highscore 2 Loaded\n"};
        expected.replace(expected.find(good[c.block]), std::string(good[c.block]).size(), c.message);
        EXPECT_EQ(out, expected) << "piece " << c.piece;

        for (int i = 0; i < 25; ++i) {
            const int reset[25] = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 64, 64, 10, 0, 1};
            EXPECT_EQ(app->m_Opt[i], c.block == kSettings ? reset[i] : opt[i]) << c.piece << ": setting " << i;
        }
        for (int b = 0; b < 256; ++b) {
            EXPECT_EQ(app->m_BadgeOwned[b], c.block == kBadges ? false : badges[b]) << c.piece << ": badge " << b;
        }
        for (int k = 0; k < 60; ++k) {
            int mode = (k % 30) / 10;
            bool reset = c.block >= kMode0 && mode == c.block - kMode0;
            EXPECT_EQ(app->m_Hi[k], reset ? 0 : hi[k]) << c.piece << ": score " << k;
        }
    }
}

TEST_F(Persistence, TruncatedStringsKeepTheCompleteBlocks) {
    FillEverything();
    const std::string full = Save();
    const std::vector<std::string> saved = Pieces(full);
    auto firstNumbers = [&](int n) {
        std::string out;
        for (int i = 0; i < n; ++i) out += saved[i] + "|";
        return out;
    };
    const struct { std::string state; std::string messages; } cases[] = {
        {firstNumbers(26), "Settings Loaded\n"},
        // The settings' checksum is missing: its empty piece reads as 0.
        {firstNumbers(25), "Settings Checksum Invalid\n"},
        // Too short for the settings: the badge block is read from the start.
        {firstNumbers(24), "Badge Checksum Invalid\n"},
        {firstNumbers(35), "Settings Loaded\nBadges Loaded\n"},
        {firstNumbers(55), "Settings Loaded\nBadges Loaded\nHighscore 0 Checksum Invalid\n"},
        {firstNumbers(56), "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\n"},
        {firstNumbers(76), "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Checksum Invalid\n"},
        {full.substr(0, full.size() - 1), kAllLoaded},  // the last "|" is not needed
        {full.substr(0, full.size() - 2), "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\n"
                                          "Highscore 1 Loaded\nHighscore 2 Checksum Invalid\n"},
        {"0|0|0|0|0|0|0|0|0|", "Badges Loaded\n"},
        {"1|2|3|4|5|6|7|8|36|", "Badges Loaded\n"},
        {"1|2|3|4|5|6|7|8|", "Badge Checksum Invalid\n"},  // its checksum piece is empty
        {"1|2|3|4|5|6|7|8", ""},
        {"|", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadString(String(c.state.c_str())), c.messages) << c.state;
    }
    // A short string whose first nine numbers pass as the badge block.
    LoadString(String("1|2|3|4|5|6|7|8|36|"));
    for (int b = 0; b < 256; ++b) {
        bool owned = b == 0 || b == 33 || b == 64 || b == 65 || b == 98 || b == 128 || b == 130 ||
                     b == 161 || b == 162 || b == 192 || b == 193 || b == 194 || b == 227;
        EXPECT_EQ(app->m_BadgeOwned[b], owned) << b;
    }
    EXPECT_EQ(app->m_Opt[5], 1);
    EXPECT_EQ(app->m_Opt[10], 64);
}

TEST_F(Persistence, RepairRulesBringSettingsIntoRange) {
    const struct {
        int ouya;
        int x, y, size, overscan;  // stored
        int rx, ry, rsize, roverscan;
        float used;                // the overscan the screen then keeps free
    } cases[] = {
        {0, 63, 64, 7, 40, 64, 64, 10, 1, 0},
        {0, 64, 65, 8, 0, 64, 65, 8, 1, 0},
        {0, -5, INT_MIN, -1, -100, 64, 64, 10, 1, 0},
        {0, 1000, 1000, 99, 96, 1000, 1000, 99, 1, 0},
        {1, 100, 100, 25, 0, 100, 100, 25, 64, 64},
        {1, 100, 100, 25, 40, 100, 100, 25, 40, 40},
        {1, 100, 100, 25, 1, 100, 100, 25, 1, 1},
        {1, 100, 100, 25, -3, 100, 100, 25, 64, 64},
    };
    for (const auto& c : cases) {
        app = Fresh();
        app->m_Opt[10] = c.x;
        app->m_Opt[11] = c.y;
        app->m_Opt[12] = c.size;
        app->m_Opt[14] = c.overscan;
        Save();
        app = Fresh();
        kr_Vex_isOuya = c.ouya;
        EXPECT_EQ(Load(), kAllLoaded);
        EXPECT_EQ(app->m_Opt[10], c.rx);
        EXPECT_EQ(app->m_Opt[11], c.ry);
        EXPECT_EQ(app->m_Opt[12], c.rsize) << c.size;
        EXPECT_EQ(app->m_Opt[14], c.roverscan) << "ouya " << c.ouya << ", stored " << c.overscan;
        EXPECT_EQ(kr_Vex_overscan, c.used);
    }
    // Settings that fail their checksum are the defaults, repaired.
    for (int ouya : {0, 1}) {
        host.state = String((Repeat("9|", 25) + "0|").c_str());
        app = Fresh();
        kr_Vex_isOuya = ouya;
        EXPECT_EQ(Load(), "Settings Checksum Invalid\n");
        const int expected[25] = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 64, 64, 10, 0, ouya ? 64 : 1};
        for (int i = 0; i < 25; ++i) EXPECT_EQ(app->m_Opt[i], expected[i]) << i;
        EXPECT_EQ(kr_Vex_overscan, ouya ? 64.0f : 0.0f);
    }
}

TEST_F(Persistence, DebugModePrintsTheStringOnLoadAndSave) {
    kr_Vex_DebugMode = 1;
    CaptureStdout();
    app->p_Save();
    const std::string saved = Ascii(host.state);
    EXPECT_EQ(GetCapturedStdout(), saved + "\n");
    app = Fresh();
    kr_Vex_DebugMode = 1;
    EXPECT_EQ(Load(), saved + "\n" + kAllLoaded);
}

// States that are not the game's: each loads without a crash, leaves the
// repaired settings in range and saves a well-formed string again.
TEST_F(Persistence, ForeignStatesLoadSoundly) {
    std::minstd_rand rng(7);
    std::vector<unsigned char> garbage(4096);
    for (auto& b : garbage) b = static_cast<unsigned char>(rng() >> 8);
    std::vector<unsigned char> noisy(10 << 20);
    for (auto& b : noisy) b = "0123456789|-"[(rng() >> 8) % 12];

    const std::string firstRun = "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|" + Repeat("0|", 10) + "1483|" + Repeat("0|", 72);
    std::vector<unsigned char> utf16 = {0xff, 0xfe};
    for (char c : firstRun) utf16.insert(utf16.end(), {static_cast<unsigned char>(c), 0});
    std::vector<unsigned char> utf16NoMark(utf16.begin() + 2, utf16.end());

    auto bytes = [](const std::vector<unsigned char>& v) { return String::Load(v.data(), static_cast<int>(v.size())); };
    const struct { const char* name; String state; const char* messages; } cases[] = {
        {"empty", String(), ""},
        {"binary garbage", bytes(garbage), nullptr},
        {"UTF-16 with its mark", bytes(utf16), kAllLoaded.c_str()},
        {"UTF-16 without a mark", bytes(utf16NoMark), nullptr},
        {"numbers beyond the Int range", String((Repeat("99999999999999999999|", 26)).c_str()), nullptr},
        {"10 MB of ones", String(Repeat("1|", 5 << 20).c_str()), nullptr},
        {"10 MB of separators", String(std::string(10 << 20, '|').c_str()), nullptr},
        {"10 MB without a separator", String(std::string(10 << 20, '9').c_str()), ""},
        {"10 MB of digits and separators", bytes(noisy), nullptr},
    };
    for (const auto& c : cases) {
        std::string out = LoadString(c.state);
        if (c.messages) EXPECT_EQ(out, c.messages) << c.name;
        EXPECT_GE(app->m_Opt[10], 64) << c.name;
        EXPECT_GE(app->m_Opt[11], 64) << c.name;
        EXPECT_GE(app->m_Opt[12], 8) << c.name;
        EXPECT_EQ(app->m_Opt[14], 1) << c.name;
        EXPECT_EQ(kr_Vex_overscan, 0.0f) << c.name;
        EXPECT_EQ(Pieces(Save()).size(), 99u) << c.name;
    }
}

}  // namespace
