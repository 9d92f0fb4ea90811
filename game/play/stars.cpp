// SPDX-License-Identifier: Zlib
// The star field: background dots in screen pixels that drift against the
// camera, faster ones brighter, recycled across the edges of a field a little
// larger than the screen.
#include <cmath>

#include "game/game.h"
#include "game/play/math.h"

namespace {

constexpr int kStarRecords = 510;

// A recycled star's colour value, a whole number 0..255.
float StarColour() { return static_cast<float>(play::FloorInt(255.99f * kr_random_Rnd())); }

}  // namespace

int c_MyApp::p_ResetStars(int n) {
    if (n >= 1 && n <= 499) m_StarMax = n;
    int last = m_StarMax < kStarRecords ? m_StarMax : kStarRecords - 1;
    for (int i = 0; i <= last; ++i) {
        int s = i * 10;
        m_Star[s] = StarColour();
        m_Star[s + 1] = kr_random_Rnd2(-8, kr_Vex_jscrw + 8);
        m_Star[s + 2] = kr_random_Rnd2(-8, kr_Vex_jscrh + 8);
        m_Star[s + 3] = kr_random_Rnd2(0.2f, 0.8f);
    }
    return 0;
}

int c_MyApp::p_DoStars(float dx, float dy) {
    p_ResetDraw();
    if (m_StarMax < 0) return 0;
    // A camera step that is not a number would strand every star for good.
    if (!std::isfinite(dx)) dx = 0;
    if (!std::isfinite(dy)) dy = 0;
    float o = kr_Vex_overscan, w = kr_Vex_jscrw, h = kr_Vex_jscrh;
    float m = o + 16;
    int last = m_StarMax < kStarRecords ? m_StarMax : kStarRecords - 1;
    for (int i = 0; i <= last; ++i) {
        int s = i * 10;
        m_Star[s + 1] += dx * m_Star[s + 3];
        m_Star[s + 2] += dy * m_Star[s + 3];
        // A star that left the field comes back across it with a new place
        // across its travel (element `across`), speed and colour. Four tests
        // in turn, each on what the one before left.
        auto renew = [&](int across, float span) {
            m_Star[s + across] = kr_random_Rnd2(-8, span + 8);
            m_Star[s + 3] = kr_random_Rnd2(0.2f, 0.8f);
            m_Star[s] = StarColour();
        };
        if (m_Star[s + 1] < -m) {
            m_Star[s + 1] += 2 * o + 32 + w;
            renew(2, h);
        }
        if (m_Star[s + 1] > w + m) {
            m_Star[s + 1] -= 2 * o + 32 + w;
            renew(2, h);
        }
        if (m_Star[s + 2] < -m) {
            m_Star[s + 2] += 2 * o + 32 + h;
            renew(1, w);
        }
        if (m_Star[s + 2] > h + m) {
            m_Star[s + 2] -= 2 * o + 32 + h;
            renew(1, w);
        }
        p_Alpha(m_Star[s + 3]);
        p_SetSize(1, 1);
        p_SetRot(0);
        p_SetCol(255, 255, 255);
        p_DrawImg(kImgParts, m_Star[s + 1], m_Star[s + 2], m_Star[s]);
    }
    p_ResetDraw();
    return 0;
}
