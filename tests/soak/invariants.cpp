// SPDX-License-Identifier: Zlib
#include "tests/soak/invariants.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int kRecord = 10, kPoolRecords = 510;      // particles and stars: 5100 floats each
constexpr int kObjects = 501;                        // object records 0..500 are in play
constexpr int kDrawRecord = 15, kDrawMax = 37485;    // 2499 records
constexpr int kRectRecord = -3717, kOvalRecord = -3716;

bool Whole(float v) { return std::isfinite(v) && v == std::floor(v); }
bool In(float v, float lo, float hi) { return v >= lo && v <= hi; }

// Adds a violation when `bad`.
struct Report {
    std::vector<std::string>& out;
    template <class... A>
    void operator()(bool bad, const char* fmt, A... args) {
        if (!bad) return;
        char line[200];
        std::snprintf(line, sizeof line, fmt, args...);
        out.emplace_back(line);
    }
    // Elements from..to-1 of record r of a pool must be finite.
    void Finite(const char* pool, int r, const float* p, int from, int to) {
        for (int e = from; e < to; ++e) (*this)(!std::isfinite(p[e]), "%s %d element %d is %g", pool, r, e, p[e]);
    }
};

void CheckPools(const c_MyApp& app, Report& fail) {
    fail(!In(app.m_PartMax, -1, kPoolRecords - 1), "m_PartMax %d", app.m_PartMax);
    fail(!In(app.m_StarMax, -1, kPoolRecords - 1), "m_StarMax %d", app.m_StarMax);
    for (int r = 0; r < kPoolRecords; ++r) {
        const float* p = &app.m_Part[r * kRecord];
        fail(!Whole(p[0]) || p[0] < 0, "particle %d kind %g", r, p[0]);
        if (p[0] > 0) fail.Finite("particle", r, p, 1, kRecord);
    }
    for (int r = 0; r <= app.m_StarMax && r < kPoolRecords; ++r) {
        const float* s = &app.m_Star[r * kRecord];
        fail(!Whole(s[0]) || !In(s[0], 0, 255), "star %d colour %g", r, s[0]);
        fail.Finite("star", r, s, 1, 4);
    }
    float world = 32.0f * app.m_MapWidth;
    for (int r = 0; r < app.m_Obj.Length() / kRecord; ++r) {
        const float* o = &app.m_Obj[r * kRecord];
        fail(o[0] != 0 && o[0] != 1 && o[0] != 2 && o[0] != 3 && o[0] != 12, "object %d kind %g", r, o[0]);
        if (o[0] == 0) continue;
        fail(r >= kObjects, "object %d beyond the pool is used", r);
        fail.Finite("object", r, o, 1, kRecord);
        fail(o[1] < 0 || o[1] > world, "object %d x %g outside 0..%g", r, o[1], world);
    }
    int slot = app.m_ObjSlot;
    fail(slot != -1 && (slot < 0 || slot % kRecord != 0 || slot >= kObjects * kRecord), "m_ObjSlot %d", slot);
}

void CheckDrawList(const c_MyApp& app, Report& fail) {
    int n = app.m_DrawN;
    if (n < 0 || n > kDrawMax || n % kDrawRecord != 0) return fail(true, "m_DrawN %d", n);
    for (int i = 0, r = 0; i < n; i += kDrawRecord, ++r) {
        const float* d = &app.m_Draw[i];
        bool image = Whole(d[0]) && In(d[0], 0, 99);
        fail(!image && d[0] != kRectRecord && d[0] != kOvalRecord, "draw record %d type %g", r, d[0]);
        fail.Finite("draw record", r, d, 1, 8);
        fail.Finite("draw record", r, d, 10, 14);
        fail(image && d[6] < 0, "draw record %d frame %g", r, d[6]);
        fail(d[7] < 0, "draw record %d alpha %g", r, d[7]);
        for (int e = 10; e <= 12; ++e) fail(d[e] < 0 || d[e] > 255, "draw record %d colour %g", r, d[e]);
        fail(d[13] != 1 && d[13] != 3, "draw record %d blend %g", r, d[13]);
    }
}

}  // namespace

std::vector<std::string> InvariantChecker::Check(const c_MyApp& app, bool newGame) {
    std::vector<std::string> out;
    Report fail{out};
    int m = app.m_Mode;
    fail(m != 1 && m != 2 && m != 4 && m != 5 && m != 10 && m != 11, "m_Mode %d", m);
    if (newGame) inGame_ = true, lastScore_ = app.m_Score, lastHealth_ = app.m_Health;
    if (m == 10 && inGame_) {
        fail(app.m_Score < lastScore_, "score fell from %d to %d", lastScore_, app.m_Score);
        fail(app.m_Health > lastHealth_, "health rose from %d to %d", lastHealth_, app.m_Health);
        fail(app.m_Health < 0 || app.m_Health > 99, "health %d", app.m_Health);
        lastScore_ = app.m_Score, lastHealth_ = app.m_Health;
    }
    inGame_ = inGame_ && m == 10;
    for (int i = 1; i < 30; ++i)  // three top-ten tables, each in falling order
        if (i % 10) fail(app.m_Hi[i - 1] < app.m_Hi[i], "top table %d out of order at %d: %d < %d", i / 10 + 1,
             i % 10, app.m_Hi[i - 1], app.m_Hi[i]);
    CheckPools(app, fail);
    CheckDrawList(app, fail);
    return out;
}
