// SPDX-License-Identifier: Zlib
// Text in the game's bitmap font, written as image records of the draw list,
// and right-aligned number formatting.
#include <cmath>

#include "game/float_to_int.h"
#include "game/game.h"

namespace {

// Narrow and wide letters sit closer or further apart than the advance.
struct Spacing {
    const char* letters;
    int adjust;
};
constexpr Spacing kSpacing[] = {
    {"mw", 2},
    {"MW", 1},
    {"fil", -3},
    {"sjkrtnz", -1},
};

int Adjust(Char c) {
    for (const Spacing& s : kSpacing) {
        for (const char* p = s.letters; *p; ++p) {
            if (c == static_cast<Char>(*p)) return s.adjust;
        }
    }
    return 0;
}

constexpr double kDegree = 3.14159265358979323846 / 180;
float Sin(float degrees) { return static_cast<float>(std::sin(degrees * kDegree)); }
float Cos(float degrees) { return static_cast<float>(std::cos(degrees * kDegree)); }

constexpr Char kFirstGlyph = 33, kLastGlyph = 159;

}  // namespace

// The text gets a leading space; its width counts every character but the
// last. alignX 1 centres the text on x, alignY 1 puts the glyph handles on y;
// "\n" (a backslash and an n) starts a new line below the start point.
int c_MyApp::p_Text(float x, float y, String text, float alignX, float alignY) {
    // Read through an index shift rather than built, to spare an allocation per text.
    const int n = text.Length() + 1;
    auto at = [&](int i) { return i == 0 ? static_cast<Char>(' ') : text[i - 1]; };
    const int f = m_Font >= 0 && m_Font < m_Img.Length() ? m_Font : 0;
    const int gw = m_ImgInfo[3 * f], gh = m_ImgInfo[3 * f + 1];

    int width = 0;
    for (int i = 0; i < n - 1; ++i) {
        width = kr_Vex_ToInt(static_cast<float>(width) +
                             static_cast<float>(Adjust(at(i)) + gw) * m_DrawSX);
    }

    const float t = -m_DrawRot;
    const float h = static_cast<float>(gh) * m_DrawSY;
    const float w = static_cast<float>(width);
    const float x0 = x + Sin(t - 90) * w * 0.5f * alignX + Sin(t) * h * (alignY - 1) * 0.5f;
    const float y0 = y - Cos(t - 90) * w * 0.5f * alignX - Cos(t) * h * (alignY - 1) * 0.5f;

    float px = x0, py = y0;
    int line = 0;
    for (int i = 0; i < n; ++i) {
        const Char c = at(i);
        if (c == '\\' && i + 1 < n && at(i + 1) == 'n') {
            ++line;
            px = x0 + Sin(180 + t) * h * static_cast<float>(line);
            py = y0 - Cos(180 + t) * h * static_cast<float>(line);
            ++i;
            continue;
        }
        if (c >= kFirstGlyph && c <= kLastGlyph) {
            p_DrawImg(f, px, py, static_cast<float>(c - 32));
        }
        if (c != 0) {
            const float a = static_cast<float>(Adjust(c) + gw) * m_DrawSX;
            px += Sin(90 + t) * a;
            py -= Cos(90 + t) * a;
        }
    }
    return 0;
}

// The last n characters of pad repeated n times followed by the digits of
// value. Only the part of the repeated pad that can reach the result is
// built, so a long pad costs no more than a short one.
String c_MyApp::p_rstr(int value, int n, String pad) {
    const String digits(value);
    if (n <= 0) return String();
    if (digits.Length() >= n || pad.Length() == 0) {
        return digits.Slice(digits.Length() > n ? digits.Length() - n : 0);
    }
    const int fill = n - digits.Length();
    const long long padTotal = static_cast<long long>(n) * pad.Length();
    std::vector<Char> units(static_cast<size_t>(fill));
    for (int j = 0; j < fill; ++j) {
        units[j] = pad[static_cast<int>((padTotal - fill + j) % pad.Length())];
    }
    return String(units.data(), fill) + digits;
}

String c_MyApp::p_rstr(int value, String pad) { return p_rstr(value, 11, pad); }
