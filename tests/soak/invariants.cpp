#include "tests/soak/invariants.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int kRecord = 10;
constexpr int kPoolRecords = 510;  // particles and stars: 5100 floats each
constexpr int kObjects = 501;      // object records 0..500 are in play
constexpr int kDrawRecord = 15;
constexpr int kDrawMax = 37485;    // 2499 records
constexpr int kRectRecord = -3717, kOvalRecord = -3716;

bool Whole(float v) { return std::isfinite(v) && v == std::floor(v); }

template <class... A>
void Fail(std::vector<std::string>& out, const char* fmt, A... args) {
    char line[200];
    std::snprintf(line, sizeof line, fmt, args...);
    out.emplace_back(line);
}

// Elements from..to-1 of record r of a pool must be finite.
void Finite(std::vector<std::string>& out, const char* pool, int r, const float* p, int from, int to) {
    for (int e = from; e < to; ++e)
        if (!std::isfinite(p[e])) Fail(out, "%s %d element %d is %g", pool, r, e, p[e]);
}

void CheckPools(const c_MyApp& app, std::vector<std::string>& out) {
    if (app.m_PartMax < -1 || app.m_PartMax >= kPoolRecords) Fail(out, "m_PartMax %d", app.m_PartMax);
    for (int r = 0; r < kPoolRecords; ++r) {
        const float* p = &app.m_Part[r * kRecord];
        if (!Whole(p[0]) || p[0] < 0) Fail(out, "particle %d kind %g", r, p[0]);
        if (p[0] > 0) Finite(out, "particle", r, p, 1, kRecord);
    }
    if (app.m_StarMax < -1 || app.m_StarMax >= kPoolRecords) Fail(out, "m_StarMax %d", app.m_StarMax);
    for (int r = 0; r <= app.m_StarMax && r < kPoolRecords; ++r) {
        const float* s = &app.m_Star[r * kRecord];
        if (!Whole(s[0]) || s[0] < 0 || s[0] > 255) Fail(out, "star %d colour %g", r, s[0]);
        Finite(out, "star", r, s, 1, 4);
    }
    float world = 32.0f * app.m_MapWidth;
    for (int r = 0; r < app.m_Obj.Length() / kRecord; ++r) {
        const float* o = &app.m_Obj[r * kRecord];
        if (o[0] != 0 && o[0] != 1 && o[0] != 2 && o[0] != 3 && o[0] != 12) Fail(out, "object %d kind %g", r, o[0]);
        if (o[0] == 0) continue;
        if (r >= kObjects) Fail(out, "object %d beyond the pool is used", r);
        Finite(out, "object", r, o, 1, kRecord);
        if (o[1] < 0 || o[1] > world) Fail(out, "object %d x %g outside 0..%g", r, o[1], world);
    }
    int slot = app.m_ObjSlot;
    if (slot != -1 && (slot < 0 || slot % kRecord != 0 || slot >= kObjects * kRecord)) Fail(out, "m_ObjSlot %d", slot);
}

void CheckDrawList(const c_MyApp& app, std::vector<std::string>& out) {
    int n = app.m_DrawN;
    if (n < 0 || n > kDrawMax || n % kDrawRecord != 0) return Fail(out, "m_DrawN %d", n);
    for (int i = 0; i < n; i += kDrawRecord) {
        const float* d = &app.m_Draw[i];
        int r = i / kDrawRecord;
        bool image = Whole(d[0]) && d[0] >= 0 && d[0] <= 99;
        if (!image && d[0] != kRectRecord && d[0] != kOvalRecord) Fail(out, "draw record %d type %g", r, d[0]);
        Finite(out, "draw record", r, d, 1, 8);
        Finite(out, "draw record", r, d, 10, 14);
        if (image && d[6] < 0) Fail(out, "draw record %d frame %g", r, d[6]);
        if (d[7] < 0) Fail(out, "draw record %d alpha %g", r, d[7]);
        for (int e = 10; e <= 12; ++e)
            if (d[e] < 0 || d[e] > 255) Fail(out, "draw record %d colour %g", r, d[e]);
        if (d[13] != 1 && d[13] != 3) Fail(out, "draw record %d blend %g", r, d[13]);
    }
}

}  // namespace

std::vector<std::string> InvariantChecker::Check(const c_MyApp& app, bool newGame) {
    std::vector<std::string> out;
    int m = app.m_Mode;
    if (m != 1 && m != 2 && m != 4 && m != 5 && m != 10 && m != 11) Fail(out, "m_Mode %d", m);
    if (newGame) inGame_ = true, lastScore_ = app.m_Score, lastHealth_ = app.m_Health;
    if (m == 10 && inGame_) {
        if (app.m_Score < lastScore_) Fail(out, "score fell from %d to %d", lastScore_, app.m_Score);
        if (app.m_Health > lastHealth_) Fail(out, "health rose from %d to %d", lastHealth_, app.m_Health);
        if (app.m_Health < 0 || app.m_Health > 99) Fail(out, "health %d", app.m_Health);
        lastScore_ = app.m_Score, lastHealth_ = app.m_Health;
    }
    if (m != 10) inGame_ = false;
    for (int mode = 0; mode < 3; ++mode)
        for (int j = 1; j < 10; ++j) {
            int a = app.m_Hi[10 * mode + j - 1], b = app.m_Hi[10 * mode + j];
            if (a < b) Fail(out, "top table %d out of order at %d: %d < %d", mode + 1, j, a, b);
        }
    CheckPools(app, out);
    CheckDrawList(app, out);
    return out;
}
