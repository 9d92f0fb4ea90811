// SPDX-License-Identifier: Zlib
// The state string: settings, badges and the three modes' high-score tables
// as decimal numbers, each followed by "|", every block closed by its own
// checksum. Blocks load independently: one that fails its checksum is reset
// alone. Checksums are 32-bit sums that wrap, computed unsigned.
#include <cstdint>
#include <string>
#include <vector>

#include "game/game.h"

namespace {

constexpr int kSettings = 25;
constexpr int kBadgeWords = 8;
constexpr int kModes = 3;
constexpr int kRanks = 10;
constexpr int kModeBlock = 2 * kRanks;  // numbers before the block's checksum
constexpr int kLastScores = 30;         // element of the first "last ten" table
constexpr int kPieces = kSettings + 1 + kBadgeWords + 1 + kModes * (kModeBlock + 1);

int Top(int t, int j) { return kRanks * t + j; }
int Last(int t, int j) { return kLastScores + kRanks * t + j; }

// Signed weights of the block checksums, taken modulo 2^32.
uint32_t Weighted(int value, int weight) { return static_cast<uint32_t>(value) * static_cast<uint32_t>(weight); }

uint32_t BadgeWord(const Array<bool>& owned, int g) {
    uint32_t word = 0;
    for (int c = 0; c < 32; ++c) {
        if (owned[32 * g + c]) word |= uint32_t{1} << c;
    }
    return word;
}

// The pieces of the stored string between "|" separators, as String::Split
// gives them, found without building the pieces nobody reads.
class StatePieces {
public:
    explicit StatePieces(const String& s) : text_(s) {
        const Char* p = s.Data();
        int start = 0;
        for (int i = 0; i < s.Length(); ++i) {
            if (p[i] != '|') continue;
            if (static_cast<int>(starts_.size()) < kPieces) Record(start, i);
            start = i + 1;
            ++count_;
        }
        if (static_cast<int>(starts_.size()) < kPieces) Record(start, s.Length());
    }

    int Count() const { return count_; }
    int ToInt(int k) const {
        if (k >= static_cast<int>(starts_.size())) return 0;
        return text_.Slice(starts_[k], ends_[k]).ToInt();
    }

private:
    void Record(int start, int end) {
        starts_.push_back(start);
        ends_.push_back(end);
    }

    String text_;
    std::vector<int> starts_, ends_;
    int count_ = 1;
};

void Put(std::string& out, int value) {
    out += std::to_string(value);
    out += '|';
}

}  // namespace

int c_MyApp::p_Save() {
    std::string out;
    uint32_t sum = 0;
    for (int i = 0; i < kSettings; ++i) {
        Put(out, m_Opt[i]);
        sum += Weighted(m_Opt[i], i);
    }
    Put(out, static_cast<int>(sum));

    sum = 0;
    for (int g = 0; g < kBadgeWords; ++g) {
        uint32_t word = BadgeWord(m_BadgeOwned, g);
        Put(out, static_cast<int>(word));
        sum += word;
    }
    Put(out, static_cast<int>(sum));

    for (int t = 0; t < kModes; ++t) {
        sum = 0;
        for (int j = 0; j < kRanks; ++j) {
            Put(out, m_Hi[Top(t, j)]);
            Put(out, m_Hi[Last(t, j)]);
            sum += Weighted(m_Hi[Top(t, j)], j + 4) + Weighted(m_Hi[Last(t, j)], t + j + 3);
        }
        Put(out, static_cast<int>(sum));
    }

    String state(out.c_str());
    if (kr_Vex_DebugMode == 1) krPrint(state);
    kr_app_SaveState(state);
    return 0;
}

int c_MyApp::p_Load() {
    String s = kr_app_LoadState();
    StatePieces parts(s);
    int n = parts.Count();
    int p = 0;
    if (kr_Vex_DebugMode == 1) krPrint(s);

    if (n >= kSettings + 1) {
        uint32_t sum = 0;
        for (int i = 0; i < kSettings; ++i) {
            m_Opt[i] = parts.ToInt(i);
            sum += Weighted(m_Opt[i], i);
        }
        uint32_t check = static_cast<uint32_t>(parts.ToInt(kSettings));
        p = kSettings + 1;
        if (sum == check) {
            krPrint(String("Settings Loaded"));
        } else {
            krPrint(String("Settings Checksum Invalid"));
            for (int i = 0; i < kSettings; ++i) m_Opt[i] = 0;
            m_Opt[5] = 1;
        }
    }

    if (m_Opt[10] < 64) m_Opt[10] = 64;
    if (m_Opt[11] < 64) m_Opt[11] = 64;
    if (m_Opt[12] < 8) m_Opt[12] = 10;
    if (m_Opt[14] < 1) m_Opt[14] = 64;
    if (kr_Vex_isOuya == 1) {
        kr_Vex_overscan = static_cast<float>(m_Opt[14]);
    } else if (kr_Vex_isOuya == 0) {
        m_Opt[14] = 1;
        kr_Vex_overscan = 0;
    }

    if (p + kBadgeWords < n) {
        uint32_t sum = 0;
        for (int g = 0; g < kBadgeWords; ++g) {
            uint32_t word = static_cast<uint32_t>(parts.ToInt(p + g));
            for (int c = 0; c < 32; ++c) m_BadgeOwned[32 * g + c] = (word >> c) & 1;
            sum += word;
        }
        p += kBadgeWords;
        uint32_t check = static_cast<uint32_t>(parts.ToInt(p));
        p += 1;
        if (sum == check) {
            krPrint(String("Badges Loaded"));
        } else {
            krPrint(String("Badge Checksum Invalid"));
            for (int b = 0; b < 32 * kBadgeWords; ++b) m_BadgeOwned[b] = false;
        }
    }

    for (int t = 0; t < kModes; ++t) {
        if (p + kModeBlock >= n) continue;
        uint32_t sum = 0;
        for (int j = 0; j < kRanks; ++j) {
            m_Hi[Top(t, j)] = parts.ToInt(p + 2 * j);
            m_Hi[Last(t, j)] = parts.ToInt(p + 2 * j + 1);
            sum += Weighted(m_Hi[Top(t, j)], j + 4) + Weighted(m_Hi[Last(t, j)], t + j + 3);
        }
        p += kModeBlock;
        uint32_t check = static_cast<uint32_t>(parts.ToInt(p));
        p += 1;
        String mode = String("Highscore ") + String(t);
        if (sum == check) {
            krPrint(mode + String(" Loaded"));
        } else {
            krPrint(mode + String(" Checksum Invalid"));
            for (int j = 0; j < kRanks; ++j) m_Hi[Top(t, j)] = m_Hi[Last(t, j)] = 0;
        }
    }
    return 0;
}
