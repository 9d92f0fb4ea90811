// SPDX-License-Identifier: Zlib
// Arbitrary state files, decoded as the host decodes them, loaded by the
// game on an ordinary machine and on the console: loading must leave every
// repaired setting in range, and what it then saves must load back to the
// same settings, badges and scores. Each input is also loaded after the
// leading pieces of a valid state, so that the later blocks and the cursor
// over them are reached from an empty corpus.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/support/game_host.h"

namespace {

GameTestHost* host;
c_MyApp* app;
String* valid;  // a saved state with every block in use

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_state_load: %s\n", what);
        std::abort();
    }
}

// The values the start-up sets before it loads.
void Defaults() {
    for (int i = 0; i < 25; ++i) app->m_Opt[i] = 0;
    app->m_Opt[5] = 1;
    for (int i = 0; i < 256; ++i) app->m_BadgeOwned[i] = false;
    for (int i = 0; i < 150; ++i) app->m_Hi[i] = 0;
    kr_Vex_overscan = 0;
}

void CheckRepaired(int ouya) {
    Check(app->m_Opt[10] >= 64, "pad x below 64");
    Check(app->m_Opt[11] >= 64, "pad y below 64");
    Check(app->m_Opt[12] >= 8, "pad size below 8");
    if (ouya) {
        Check(app->m_Opt[14] >= 1, "console overscan below 1");
        Check(kr_Vex_overscan == static_cast<float>(app->m_Opt[14]), "console overscan not applied");
    } else {
        Check(app->m_Opt[14] == 1, "overscan setting off the console");
        Check(kr_Vex_overscan == 0, "overscan off the console");
    }
}

struct Snapshot {
    int opt[25];
    bool badges[256];
    int hi[60];
};

Snapshot Take() {
    Snapshot s;
    for (int i = 0; i < 25; ++i) s.opt[i] = app->m_Opt[i];
    for (int i = 0; i < 256; ++i) s.badges[i] = app->m_BadgeOwned[i];
    for (int i = 0; i < 60; ++i) s.hi[i] = app->m_Hi[i];
    return s;
}

bool Same(const Snapshot& a, const Snapshot& b) {
    for (int i = 0; i < 25; ++i) if (a.opt[i] != b.opt[i]) return false;
    for (int i = 0; i < 256; ++i) if (a.badges[i] != b.badges[i]) return false;
    for (int i = 0; i < 60; ++i) if (a.hi[i] != b.hi[i]) return false;
    return true;
}

int CountSeparators(const String& s) {
    int n = 0;
    for (int i = 0; i < s.Length(); ++i) n += s[i] == '|';
    return n;
}

// The first `pieces` numbers of the valid state, each with its separator.
String ValidPrefix(int pieces) {
    int end = 0;
    for (int seen = 0; seen < pieces && end < valid->Length(); ++end) seen += (*valid)[end] == '|';
    return valid->Slice(0, end);
}

void LoadAndCheck(const String& state) {
    for (int ouya : {0, 1}) {
        kr_Vex_isOuya = ouya;
        Defaults();
        host->state = state;
        app->p_Load();
        CheckRepaired(ouya);
        Snapshot loaded = Take();

        app->p_Save();
        Check(CountSeparators(host->state) == 98, "saved string is not 98 numbers");
        Defaults();
        app->p_Load();
        CheckRepaired(ouya);
        Check(Same(loaded, Take()), "saved state does not load back");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The load messages go to standard output; the fuzzer reports on stderr.
    if (!std::freopen("/dev/null", "w", stdout)) std::abort();
    host = new GameTestHost;
    app = StartBareGame(*host);
    for (int i = 0; i < 25; ++i) app->m_Opt[i] = 37 * i - 100;
    for (int b = 0; b < 256; b += 7) app->m_BadgeOwned[b] = true;
    for (int k = 0; k < 60; ++k) app->m_Hi[k] = 1000003 * k;
    app->p_Save();
    valid = new String(host->state);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > (1u << 20)) return 0;
    String state = String::Load(data, static_cast<int>(size));
    LoadAndCheck(state);
    LoadAndCheck(ValidPrefix(static_cast<int>(size % 99)) + state);
    return 0;
}
