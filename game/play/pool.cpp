// SPDX-License-Identifier: Zlib
// The object pool (enemies, shots, explosions in records of ten floats) and
// the waves: each wave places enemies away from the player and persons on
// the ground.
#include <cmath>

#include "game/game.h"
#include "game/play/math.h"
#include "game/play/records.h"

namespace {

// The enemy count is capped at this record number.
constexpr int kLastEnemyRecord = 400;
constexpr int kObjRecords = 512;
constexpr int kLastColumn = 499;
// Enemies are placed only farther than this from the player.
constexpr float kEnemyDistance = 1280;
// Persons are placed only more than this many columns from the player.
constexpr int kPersonColumns = 28;
// A search that has found no place after this many candidates gives up. On
// any world with a place to find, a wave needs a few hundred candidates.
constexpr int kCandidateBudget = 1 << 16;
// The largest value the generator gives (24 bits below 1).
constexpr float kMaxRnd = 16777215.0f / 16777216.0f;

struct Wave {
    int enemiesPerWave;
    int peopleLimit;
};

// By game mode; mode 1 and any unknown mode share the first entry.
Wave WaveRule(int mode) {
    if (mode == 2) return {8, 18};
    if (mode == 3) return {16, 10};
    return {4, 25};
}

// The last terrain column that exists in m_Column.
int LastColumn(const c_MyApp& app) { return play::ClampInt(app.m_MapWidth, -1, kLastColumn); }

// True when some x that Rnd x ww can give lies farther than the enemy
// distance from px. |x - px| is largest at an end of the range, so the two
// ends decide.
bool EnemyPlaceExists(float ww, float px) {
    float far = static_cast<float>(kr_Vex_ToInt(kMaxRnd * ww));
    return std::fabs(0 - px) > kEnemyDistance || std::fabs(far - px) > kEnemyDistance;
}

// Columns that the person search could pick: ground, nobody waiting, far
// enough from the player's column pc, and reachable by Rnd x m_MapWidth.
bool PersonPlaceExists(const c_MyApp& app, int pc) {
    int reach = kr_Vex_ToInt(kMaxRnd * static_cast<float>(app.m_MapWidth));
    int last = reach < LastColumn(app) ? reach : LastColumn(app);
    for (int c = 0; c <= last; ++c) {
        if (app.m_Column[c * 10] > 0 && app.m_Column[c * 10 + 1] == 0 && std::abs(c - pc) > kPersonColumns)
            return true;
    }
    return false;
}

// Enemies for records 0..last, each at a candidate far enough from the player.
void PlaceEnemies(c_MyApp& app, int last) {
    float px = app.m_Player[1], py = app.m_Player[2];
    float ww = 32.0f * static_cast<float>(app.m_MapWidth);
    if (!EnemyPlaceExists(ww, px)) return;
    int budget = kCandidateBudget;
    for (int i = 0; i <= last; ++i) {
        float x, y;
        // Candidates are drawn for every record, occupied ones included.
        do {
            if (budget-- <= 0) return;
            x = static_cast<float>(kr_Vex_ToInt(kr_random_Rnd() * ww));
            y = static_cast<float>(kr_Vex_ToInt(kr_random_Rnd() * 720)) + (py - 600);
            if (y > -80) y = -80;
        } while (!(std::fabs(x - px) > kEnemyDistance));
        int o = i * 10;
        if (app.m_Obj[o] != 0) continue;
        app.m_Obj[o] = 1;
        app.m_Obj[o + 1] = x;
        app.m_Obj[o + 2] = y;
        app.m_Obj[o + 3] = -2;
        app.m_Obj[o + 4] = 0;
        app.m_Obj[o + 5] = kr_random_Rnd() * 80;
        app.m_Obj[o + 6] = kr_random_Rnd2(2, 6);
        app.m_Obj[o + 8] = 8;
    }
}

// Persons on free ground columns until more than `limit` wait.
void PlacePeople(c_MyApp& app, int limit) {
    int last = LastColumn(app);
    app.m_People = 0;
    for (int c = 0; c <= last; ++c) {
        if (app.m_Column[c * 10 + 1] == 1) ++app.m_People;
    }
    int pc = 0;
    if (app.m_MapWidth > 0) {
        pc = kr_Vex_ToInt(std::fmod(app.m_Player[1] / 32, static_cast<float>(app.m_MapWidth)));
        if (pc < 0) pc += app.m_MapWidth;
    }
    do {
        if (!PersonPlaceExists(app, pc)) return;
        int c;
        do {
            c = kr_Vex_ToInt(kr_random_Rnd() * static_cast<float>(app.m_MapWidth));
        } while (!(c >= 0 && c <= last && app.m_Column[c * 10] > 0 && app.m_Column[c * 10 + 1] == 0 &&
                   std::abs(c - pc) > kPersonColumns));
        ++app.m_People;
        app.m_Column[c * 10 + 1] = 1;
    } while (app.m_People <= limit);
}

}  // namespace

int c_MyApp::p_ObjFree() {
    // The highest free record wins, so search from the top.
    for (int i = play::kLastObject; i >= 0; --i) {
        if (m_Obj[i * 10] == 0) return i * 10;
    }
    return -1;
}

int c_MyApp::p_AddBull(int slot, float x, float y, int kind, float angle) {
    if (slot < 0 || slot > (kObjRecords - 1) * 10) return 0;
    float ww = 32.0f * static_cast<float>(m_MapWidth);
    m_Obj[slot] = static_cast<float>(kind);
    m_Obj[slot + 1] = play::WrapWorld(x, ww);
    m_Obj[slot + 2] = y;
    m_Obj[slot + 3] = 0;
    m_Obj[slot + 4] = 0;
    if (kind == 2) m_Obj[slot + 3] = -6;
    if (kind == 3) {
        m_Obj[slot + 3] = static_cast<float>(12 * play::CosDeg(angle));
        m_Obj[slot + 4] = static_cast<float>(12 * play::SinDeg(angle));
    }
    for (int e = 5; e <= 9; ++e) m_Obj[slot + e] = 0;
    return 0;
}

int c_MyApp::p_Replenish() {
    m_Wave = play::AddSat(m_Wave, 1);
    Wave rule = WaveRule(m_GameMode);
    long long n = static_cast<long long>(m_Wave) * rule.enemiesPerWave;
    PlaceEnemies(*this, n > kLastEnemyRecord ? kLastEnemyRecord : static_cast<int>(n));
    PlacePeople(*this, rule.peopleLimit);
    return 0;
}

