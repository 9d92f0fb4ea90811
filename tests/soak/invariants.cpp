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

class Report {
public:
    explicit Report(std::vector<std::string>& out) : out_(out) {}
    template <class... A>
    void operator()(const char* fmt, A... args) {
        char line[200];
        std::snprintf(line, sizeof line, fmt, args...);
        out_.emplace_back(line);
    }

private:
    std::vector<std::string>& out_;
};

void CheckParticles(const c_MyApp& app, Report& fail) {
    if (app.m_PartMax < -1 || app.m_PartMax >= kPoolRecords) fail("m_PartMax %d", app.m_PartMax);
    for (int r = 0; r < kPoolRecords; ++r) {
        const float* p = &app.m_Part[r * kRecord];
        if (!Whole(p[0]) || p[0] < 0) fail("particle %d kind %g", r, p[0]);
        if (p[0] <= 0) continue;
        for (int e = 1; e < kRecord; ++e) {
            if (!std::isfinite(p[e])) fail("particle %d element %d is %g", r, e, p[e]);
        }
    }
}

void CheckStars(const c_MyApp& app, Report& fail) {
    if (app.m_StarMax < -1 || app.m_StarMax >= kPoolRecords) fail("m_StarMax %d", app.m_StarMax);
    for (int r = 0; r <= app.m_StarMax && r < kPoolRecords; ++r) {
        const float* s = &app.m_Star[r * kRecord];
        if (!Whole(s[0]) || s[0] < 0 || s[0] > 255) fail("star %d colour %g", r, s[0]);
        for (int e = 1; e < 4; ++e) {
            if (!std::isfinite(s[e])) fail("star %d element %d is %g", r, e, s[e]);
        }
    }
}

void CheckObjects(const c_MyApp& app, Report& fail) {
    static const int kKinds[] = {0, 1, 2, 3, 12};
    float world = 32.0f * app.m_MapWidth;
    for (int r = 0; r < app.m_Obj.Length() / kRecord; ++r) {
        const float* o = &app.m_Obj[r * kRecord];
        bool known = false;
        for (int k : kKinds) known = known || o[0] == k;
        if (!known) fail("object %d kind %g", r, o[0]);
        if (r >= kObjects && o[0] != 0) fail("object %d beyond the pool is used", r);
        if (o[0] == 0) continue;
        for (int e = 1; e < kRecord; ++e) {
            if (!std::isfinite(o[e])) fail("object %d element %d is %g", r, e, o[e]);
        }
        if (o[1] < 0 || o[1] > world) fail("object %d x %g outside 0..%g", r, o[1], world);
    }
    int slot = app.m_ObjSlot;
    if (slot != -1 && (slot < 0 || slot % kRecord != 0 || slot >= kObjects * kRecord)) {
        fail("m_ObjSlot %d", slot);
    }
}

void CheckTables(const c_MyApp& app, Report& fail) {
    for (int mode = 0; mode < 3; ++mode) {
        for (int j = 1; j < 10; ++j) {
            int a = app.m_Hi[10 * mode + j - 1], b = app.m_Hi[10 * mode + j];
            if (a < b) fail("top table %d out of order at %d: %d < %d", mode + 1, j, a, b);
        }
    }
}

void CheckDrawList(const c_MyApp& app, Report& fail) {
    int n = app.m_DrawN;
    if (n < 0 || n > kDrawMax || n % kDrawRecord != 0) {
        fail("m_DrawN %d", n);
        return;
    }
    for (int i = 0; i < n; i += kDrawRecord) {
        const float* d = &app.m_Draw[i];
        bool image = Whole(d[0]) && d[0] >= 0 && d[0] <= 99;
        if (!image && d[0] != kRectRecord && d[0] != kOvalRecord) {
            fail("draw record %d type %g", i / kDrawRecord, d[0]);
        }
        for (int e : {1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13}) {
            if (!std::isfinite(d[e])) fail("draw record %d element %d is %g", i / kDrawRecord, e, d[e]);
        }
        if (image && d[6] < 0) fail("draw record %d frame %g", i / kDrawRecord, d[6]);
        if (d[7] < 0) fail("draw record %d alpha %g", i / kDrawRecord, d[7]);
        for (int e = 10; e <= 12; ++e) {
            if (d[e] < 0 || d[e] > 255) fail("draw record %d colour %g", i / kDrawRecord, d[e]);
        }
        if (d[13] != 1 && d[13] != 3) fail("draw record %d blend %g", i / kDrawRecord, d[13]);
    }
}

}  // namespace

std::vector<std::string> InvariantChecker::Check(const c_MyApp& app, bool newGame) {
    std::vector<std::string> out;
    Report fail(out);
    static const int kModes[] = {1, 2, 4, 5, 10, 11};
    bool known = false;
    for (int m : kModes) known = known || app.m_Mode == m;
    if (!known) fail("m_Mode %d", app.m_Mode);

    if (newGame) {
        inGame_ = true;
        lastScore_ = app.m_Score;
        lastHealth_ = app.m_Health;
    }
    if (app.m_Mode == 10 && inGame_) {
        if (app.m_Score < lastScore_) fail("score fell from %d to %d", lastScore_, app.m_Score);
        if (app.m_Health > lastHealth_) fail("health rose from %d to %d", lastHealth_, app.m_Health);
        if (app.m_Health < 0 || app.m_Health > 99) fail("health %d", app.m_Health);
        lastScore_ = app.m_Score;
        lastHealth_ = app.m_Health;
    }
    if (app.m_Mode != 10) inGame_ = false;

    CheckParticles(app, fail);
    CheckStars(app, fail);
    CheckObjects(app, fail);
    CheckTables(app, fail);
    CheckDrawList(app, fail);
    return out;
}
