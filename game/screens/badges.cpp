// SPDX-License-Identifier: Zlib
// Badges: the badge table, notifications of newly earned badges sliding in
// at the bottom-left corner, and the scrolling badges panel. Nothing in this
// game awards a badge or opens the panel, but all of it works when driven.
// Also the two hooks for a platform score service, which do nothing.
#include "game/game.h"

namespace {

// The table: "name|detail" by badge id.
const char* const kBadges[] = {
    "Test Badge|This is a Test Badge which has no purpose.",
};
constexpr int kBadgeCount = sizeof(kBadges) / sizeof(kBadges[0]);

constexpr int kShownSlots = 13;  // of the 15; the last two are never shown
constexpr float kNoteWidth = 160;
constexpr int kNoteLife = 240;

// Part `index` of a table entry split at "|", empty when it has none.
String BadgePart(const String& entry, int index) {
    Array<String> parts = entry.Split(String("|"));
    return index < parts.Length() ? parts[index] : String();
}

// Left edge of a note of age t: in from the left over ten updates, out again
// from age 231.
float NoteX(int age) {
    int x = age > kNoteLife - 10 ? 16 * (kNoteLife - age) - 160 : 16 * age - 160;
    return static_cast<float>(x < 0 ? x : 0);
}

}  // namespace

String c_MyApp::p_BadgeID(int id) {
    if (id < 0 || id >= kBadgeCount) return String();
    return String(kBadges[id]);
}

String c_MyApp::p_BadgeName(int id) { return BadgePart(p_BadgeID(id), 0); }

String c_MyApp::p_BadgeDetail(int id) { return BadgePart(p_BadgeID(id), 1); }

int c_MyApp::p_ShowBadges() {
    p_ResetDraw();
    float h = kr_Vex_jscrh;
    for (int i = 0; i < kShownSlots; ++i) {
        int age = m_BadgeQueue2[i];
        if (age < 1) continue;
        age = age < kNoteLife ? age + 1 : kNoteLife + 1;  // no overflow from a stray age
        m_BadgeQueue2[i] = age > kNoteLife ? 0 : age;
        float x = NoteX(age);
        float y = h - 34 * static_cast<float>(i + 1);
        int id = m_BadgeQueue[i];
        p_SetCol(0, 0, 80, 0.8f);
        p_Rect(x, y, kNoteWidth, 32);
        p_SetCol(255, 255, 255, 1);
        p_Text(x + 16, y + 4, p_BadgeName(id), 0, 0);
        if (id >= 0 && id <= 63) {
            p_SetSize(0.5f);
            p_DrawImg(kImgBadges, x + 144, y + 16, static_cast<float>(id));
            p_SetSize(1);
        }
    }
    return 0;
}

// The panel: two coloured columns and the scroll, by the up and down
// actions or by dragging inside it. It lists no entries, since the table has
// none to show.
int c_MyApp::p_BadgesBox() {
    float w = kr_Vex_jscrw;
    float h = kr_Vex_jscrh;
    p_SetSize(1);
    p_SetRot(0);
    m_DrawBlend = 1;
    p_SetCol(255, 125, 0, 0.8f);
    p_Rect(0.1f * w, -1, 0.8f * w, h + 2);
    p_SetCol(100, 0, 0, 0.8f);
    p_Rect(0.12f * w, -1, 0.76f * w, h + 2);
    p_SetCol(255, 255, 255, 1);
    bool down = false, up = false;
    for (int device = 0; device <= 3; ++device) {
        down = down || p_PlayKey(kActionDown, 1, device) != 0;
        up = up || p_PlayKey(kActionUp, 1, device) != 0;
    }
    if (down) m_BadgeScroll2 -= 16;
    if (up) m_BadgeScroll2 += 16;
    if (m_BadgeScroll2 > 0) m_BadgeScroll2 = 0;
    if (m_MouseWasDown > 0 && static_cast<float>(m_MouseX) > 0.12f * w) {
        m_BadgeScroll2 -= 1.5f * (static_cast<float>(m_MouseOldY) - static_cast<float>(m_MouseY));
    }
    m_BadgeScroll += (m_BadgeScroll2 - m_BadgeScroll) / 6;
    float gap = m_BadgeScroll2 - m_BadgeScroll;
    if (gap < 6 && gap > -6) m_BadgeScroll = m_BadgeScroll2;
    return 0;
}

int c_MyApp::p_GC_Badges() { return 0; }

int c_MyApp::p_GC_PostScore(int, int) { return 0; }
