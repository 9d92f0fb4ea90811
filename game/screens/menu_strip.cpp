// SPDX-License-Identifier: Zlib
// The menu's mode strip: three game modes and the options gear, 88 pixels
// apart along one axis, scrolled by keys, taps and drags, eased toward its
// target and pulled back when dragged past either end.
#include <cmath>

#include "game/game.h"
#include "game/screens/menu_parts.h"

namespace {

constexpr float kItemGap = 88;
constexpr int kItems = 4;
constexpr int kGearItem = 4;

// Where the strip lies on the virtual screen this update.
struct Strip {
    bool horizontal;
    float cx, cy;  // centre point; item 1 sits here at offset 0
};

}  // namespace

void MenuSelect(c_MyApp& app, int item) {
    app.m_MenuSel = item;
    app.m_MenuSnap = item;
    app.m_MenuTarget = static_cast<float>(1 - item) * kItemGap;
    app.m_MenuSpeed = 0;
    app.m_MenuDrag = 0;
}

void MenuActivate(c_MyApp& app) {
    if (app.m_ClickLock != 0 || app.m_KeyLock != 0) return;
    int item = app.m_MenuSel;
    if (item >= 1 && item <= 3) {
        app.m_GameMode = item;
        app.m_Mode = kModeNewGame;
    } else if (item == kGearItem) {
        app.m_ShowOptions = 1;
        app.m_OptionSel = 0;
    } else {
        return;
    }
    app.m_ClickLock = 1;
    app.m_KeyLock = 1;
    app.p_PlaySFX(kSfxClick);
}

void DrawGearWheels(c_MyApp& app, float x, float y) {
    app.p_SetRot(-0.66f * app.m_GearAngle);
    app.p_DrawImg(kImgButtons, x, y, 8);
    app.p_SetRot(0.33f * app.m_GearAngle);
    app.p_DrawImg(kImgButtons, x, y, 9);
}

// The target follows the fling speed, which dies away quickly; the shown
// position eases an eighth of the way to the target each update.
static void StripScroll(c_MyApp& app) {
    app.m_MenuTarget += app.m_MenuSpeed;
    app.m_MenuPos += (app.m_MenuTarget - app.m_MenuPos) / 8;
    if (app.m_MenuSpeed != 0) {
        app.m_MenuSpeed *= 0.2f;
        if (std::fabs(app.m_MenuSpeed) < 3) app.m_MenuSpeed = 0;
    }
}

// Dragged past item 1 or item 4, the strip creeps back and the end item is
// selected.
static void StripEdges(c_MyApp& app, const Strip& strip, int item, float at) {
    float w = kr_Vex_jscrw;
    float h = kr_Vex_jscrh;
    if (item == 1 && at > (strip.horizontal ? (w - 140) * 0.75f : 0.75f * h)) {
        app.m_MenuTarget -= 8;
        app.m_MenuSel = 1;
    }
    if (item == kItems && at < (strip.horizontal ? 0.25f * w : 0.45f * h)) {
        app.m_MenuTarget += 8;
        app.m_MenuSel = kItems;
    }
}

static void DrawStripItem(c_MyApp& app, int item, float x, float y, float distance) {
    bool selected = item == app.m_MenuSel;
    app.p_SetSize(selected ? 1.75f : 1);
    app.p_SetCol(255, 255, 255, selected ? 1 : std::fmax(0.5f, 1 - distance / 480));
    if (item != kGearItem) {
        app.p_DrawImg(kImgButtons, x, y, static_cast<float>(item - 1));
        return;
    }
    DrawGearWheels(app, x, y);
    app.p_SetRot(app.m_GearAngle);
    app.p_DrawImg(kImgButtons, x, y, 10);
    app.p_SetRot(0);
}

// A pointer on an unselected item selects it; on the selected one it
// activates it.
static void StripTap(c_MyApp& app, int item, float x, float y) {
    if (app.m_MouseDown <= 0) return;
    float scale = app.m_ImgScale * app.m_DrawSX;
    float boxW = static_cast<float>(app.m_ImgInfo[3 * kImgButtons]) * scale;
    float boxH = static_cast<float>(app.m_ImgInfo[3 * kImgButtons + 1]) * scale;
    if (app.p_MouseIn_Centered(x, y, boxW, boxH) == 0) return;
    if (item == app.m_MenuSel) {
        MenuActivate(app);
    } else if (app.m_ClickLock == 0 && app.m_KeyLock == 0) {
        MenuSelect(app, item);
        app.m_ClickLock = 1;
        app.m_KeyLock = 1;
        app.p_PlaySFX(kSfxSelect, 1, 1, 0);
    }
}

static void StripPlayButton(c_MyApp& app) {
    if (app.m_MenuSel < 1 || app.m_MenuSel > 3) return;
    app.p_SetSize(3, 2.5f);
    app.p_SetCol(100, 255, 100, 0.3f);
    float y = kr_Vex_jscrh - 48 - 4 * static_cast<float>(app.m_MenuIntro);
    if (app.p_Button97(kr_Vex_jscrw - 70, y, 3) != 0) MenuActivate(app);
}

void MenuStrip(c_MyApp& app) {
    if (app.m_MenuSel < 1 || app.m_MenuSel > kItems) app.m_MenuSel = 1;
    if (app.m_MenuSel == kGearItem) {
        app.m_GearAngle += 0.5f;
    } else {
        app.m_GameMode = app.m_MenuSel;
    }
    app.m_MenuH = 1 - app.m_Landscape;
    Strip strip;
    strip.horizontal = app.m_MenuH == 0;
    strip.cx = (kr_Vex_jscrw - 140) / 2;
    strip.cy = (strip.horizontal ? 0.65f : 0.6f) * kr_Vex_jscrh;
    StripScroll(app);
    if (MenuPanelRequested(app)) return;

    int nearest = 0;
    float nearestDistance = 1024;
    for (int item = 1; item <= kItems; ++item) {
        float along = app.m_MenuPos + kItemGap * static_cast<float>(item - 1);
        float x = strip.horizontal ? strip.cx + along : strip.cx;
        float y = strip.horizontal ? strip.cy : strip.cy + along;
        float distance = std::fabs(along);
        StripEdges(app, strip, item, strip.horizontal ? x : y);
        DrawStripItem(app, item, x, y, distance);
        if (distance < nearestDistance) {
            nearest = item;
            nearestDistance = distance;
        }
        StripTap(app, item, x, y);
    }
    StripPlayButton(app);

    if (app.m_MenuSnap == 0 && nearest != 0 && nearest != app.m_MenuSel) {
        app.m_MenuSel = nearest;
        app.p_PlaySFX(kSfxSelect);
    }
    if (std::fabs(app.m_MenuPos - app.m_MenuTarget) < 32) app.m_MenuSnap = 0;
}
