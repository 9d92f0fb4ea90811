// SPDX-License-Identifier: Zlib
// Filing a finished game's score on the return to the menu: into the mode's
// top ten (best first) when it beats an entry, always into its last ten
// (newest first), then saving.
#include "game/game.h"

namespace {

// Moves table[from .. n - 2] down by one place; the last entry is lost.
void ShiftDown(Array<int>& table, int base, int from, int n) {
    for (int j = n - 2; j >= from; --j) table[base + j + 1] = table[base + j];
}

}  // namespace

int c_MyApp::p_LoadMenu() {
    constexpr int kEntries = 10;
    constexpr int kLastTables = 30;  // the last-ten tables follow the top tens
    int g = m_GameMode;
    int s = m_Score;
    if (g < 1 || g > 3) return 0;  // no table for a mode the menu cannot choose

    m_HiBase = (g - 1) * kEntries;
    for (int p = 0; p < kEntries; ++p) {
        if (s > m_Hi[m_HiBase + p]) {
            ShiftDown(m_Hi, m_HiBase, p, kEntries);
            m_Hi[m_HiBase + p] = s;
            break;
        }
    }

    m_HiBase += kLastTables;
    ShiftDown(m_Hi, m_HiBase, 0, kEntries);
    m_Hi[m_HiBase] = s;

    p_Save();
    return 0;
}
