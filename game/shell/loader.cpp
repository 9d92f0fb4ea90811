// SPDX-License-Identifier: Zlib
// Images and the font at the level that suits the device, the progressive
// loader (one asset per update behind the spinner screen) and the start
// screen.
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <string>

#include "game/float_to_int.h"
#include "game/game.h"
#include "host/events.h"
#include "host/host.h"

namespace {

// One image of the loader: the step that loads it, its slot, file name,
// frame size in design pixels and frame count.
struct ImageStep {
    int step, slot;
    const char* name;
    int w, h, frames;
};
constexpr ImageStep kImages[] = {
    {1, kImgIcons, "common/icons", 32, 32, 16},
    {2, kImgButtons, "common/Buttons", 64, 64, 16},
    {3, kImgPad, "common/dpad", 32, 32, 16},
    {4, kImgStudioLogo, "common/ZelvLogo", 256, 256, 1},
    {5, kImgTestCard, "common/Testcard_Circle", 256, 256, 1},
    {11, kImgMenu, "menu", 256, 256, 4},
    {12, kImgLogo, "logo", 256, 128, 1},
    {13, kImgParts, "parts", 8, 8, 256},
    {14, kImgBadges, "BadgesA", 64, 64, 64},
    {15, kImgSprites, "gfx", 32, 32, 16},
    {16, kImgSmall, "gfx_small", 8, 8, 64},
    {27, kImgAircraft, "gfx_harrier", 128, 32, 16},
};

// The sound a loader step loads.
struct SoundStep {
    int step, sound;
};
constexpr SoundStep kSounds[] = {
    {1, kSfxJingle},     {7, kSfxBlip},        {8, kSfxConfirm},       {9, kSfxClick},
    {10, kSfxSelect},    {17, kSfxGunshot},    {18, kSfxGunshot + 1},  {19, kSfxHit},
    {20, kSfxHit + 1},   {21, kSfxExplosion},  {22, kSfxBigExplosion}, {23, kSfxScrape},
    {24, kSfxClimb},     {25, kSfxPickup},     {26, kSfxFanfare},
};

constexpr int kFontStep = 6, kJingleStep = 4, kLastStep = 27;

String LevelSuffix(int level) {
    return level == 4 ? String("-hd2") : level == 2 ? String("-hd") : String();
}

float Sin(float degrees) { return static_cast<float>(std::sin(degrees * (M_PI / 180))); }
float Cos(float degrees) { return static_cast<float>(std::cos(degrees * (M_PI / 180))); }

// The level for the current device: 1, 2 above 630 pixels, 4 above 1230.
void ChooseLevel(c_MyApp* app) {
    const int w = kr_graphics_DeviceWidth(), h = kr_graphics_DeviceHeight();
    app->m_HdLevel = 1;
    app->m_ImgScale = 1;
    if (w > 630 || h > 630) app->m_HdLevel = 2, app->m_ImgScale = 0.5f;
    if (w > 1230 || h > 1230) app->m_HdLevel = 4, app->m_ImgScale = 0.25f;
}

}  // namespace

// --- Images and the font ---

int c_MyApp::p_LoadImg(int slot, String name, int w, int h, int frames, int flags) {
    if (slot < 0 || slot >= m_Img.Length()) return 0;
    gc_assign(m_Img[slot], static_cast<c_Image*>(nullptr));
    const String path = name + LevelSuffix(m_HdLevel) + String(".png");
    gc_assign(m_Img[slot],
              kr_graphics_LoadImage2(path, w * m_HdLevel, h * m_HdLevel, frames, flags));
    m_ImgInfo[3 * slot] = w * m_HdLevel;
    m_ImgInfo[3 * slot + 1] = h * m_HdLevel;
    m_ImgInfo[3 * slot + 2] = frames;
    return 0;
}

// One glyph per character code 32..159 in square cells of 16 design pixels.
int c_MyApp::p_LoadFont(int slot, String name, int advance, int line) {
    if (slot < 0 || slot >= m_Img.Length()) return 0;
    const String path = name + LevelSuffix(m_HdLevel) + String(".png");
    const int cell = 16 * m_HdLevel;
    gc_assign(m_Img[slot], kr_graphics_LoadImage2(path, cell, cell, 128, 1));
    m_ImgInfo[3 * slot] = advance;
    m_ImgInfo[3 * slot + 1] = line;
    m_ImgInfo[3 * slot + 2] = 128;
    m_Font = slot;
    return 0;
}

int c_MyApp::p_Reload() {
    m_ClsR = m_ClsG = m_ClsB = 0;
    m_ClsA = 1;
    ChooseLevel(this);
    p_LoadImg(kImgStudioLogo, String("common/ZelvLogo"), 256, 256, 1, 1);
    p_LoadFont(kImgFont, String("fonts/editundo"), 7, 10);
    m_LoadStep = 1;
    return 0;
}

// --- The loader ---

int c_MyApp::p_Loader() {
    ChooseLevel(this);
    const int step = m_LoadStep;
    for (const ImageStep& i : kImages) {
        if (i.step == step) p_LoadImg(i.slot, String(i.name), i.w, i.h, i.frames, 1);
    }
    if (step == kFontStep) p_LoadFont(kImgFont, String("fonts/editundo"), 7, 10);
    for (const SoundStep& s : kSounds) {
        if (s.step == step) p_LoadSFX(s.sound);
    }
    if (step == kJingleStep && m_JinglePlayed == 0) {
        p_PlaySFX(kSfxJingle, 1);
        m_JinglePlayed = 1;
    }
    if (step > kLastStep) m_LoadStep = 0;
    if (m_LoadStep > 0) ++m_LoadStep;
    p_WaitStart(1);
    return 0;
}

// --- The loading and start screens ---

// A ring of 11 dots fading in from alpha 0 to 1, a quarter of the smaller
// screen side around the centre.
static void Ring(c_MyApp* app, float grey, int firstAngle, float radius) {
    for (int i = 0; i <= 10; ++i) {
        app->p_SetCol(grey, grey, grey);
        app->p_Alpha(static_cast<float>(i) / 10);
        const float a = static_cast<float>(firstAngle + 16 * i);
        app->p_Oval(kr_Vex_jscrw / 2 + Sin(a) * radius / 4, kr_Vex_jscrh / 2 - Cos(a) * radius / 4,
                    8, 8);
    }
}

// Any key or pad button hit since the previous update: keyboard keys and pad
// buttons lie from backspace up to the first touch's key (1 to 3 are the
// mouse buttons), and the back key above.
static bool AnyKeyHit() {
    for (int key = kr_key::Backspace; key < kr_key::TouchFirst; ++key) {
        if (kr_input_KeyHit(key) > 0) return true;
    }
    return kr_input_KeyHit(kr_key::Back) > 0;
}

int c_MyApp::p_WaitStart(int loading) {
    p_CLS2D(40, 40, 80, 1);
    const int r = kr_Vex_ToInt(kr_Vex_jscrw < kr_Vex_jscrh ? kr_Vex_jscrw : kr_Vex_jscrh);
    const float radius = static_cast<float>(r);
    // The angle stays in 0..359, so the angles drawn from it never overflow.
    m_SpinAngle = ((m_SpinAngle % 360 + 360) % 360 + 16) % 360;
    const float w = kr_Vex_jscrw, h = kr_Vex_jscrh;

    if (loading == 1) Ring(this, 250, m_SpinAngle + 180, radius);
    p_SetCol(255, 255, 0);
    p_Alpha(0.8f);
    p_Oval(w / 2, h / 2, 0.3f * radius, 0.3f * radius);
    p_SetCol(250, 160, 60);
    p_Alpha(0.7f);
    p_Rect(0, 0.4f * h, w, 0.2f * h);
    p_SetCol(255, 255, 255, 1);
    p_SetSize(1);
    p_DrawImg(kImgStudioLogo, 0.5f * w, 0.48f * h, 0);
    if (loading == 1) {
        Ring(this, 50, m_SpinAngle, radius);
        return 0;
    }

    p_SetCol(0, 0, 0);
    p_Alpha(0.2f);
    p_Oval(0.5f * w, 0.7f * h, 136, 24);
    p_Oval(0.5f * w, 0.7f * h, 132, 20);
    p_Oval(0.5f * w, 0.7f * h, 128, 16);
    p_SetCol(255, 255, 255);
    p_SetSize(2);
    p_Text(0.5f * w, 0.7f * h, String("Click to Start"), 1, 1);
    const float mx = static_cast<float>(m_MouseX), my = static_cast<float>(m_MouseY);
    // A tap counts as a click here: a touch screen has no mouse. A key or a
    // pad button starts as well, wherever the pointer is; it locks the keys
    // so that the menu does not take the same press.
    const bool hit = m_MouseHit > 0 || kr_input_KeyHit(kr_key::TouchFirst) > 0;
    const bool key = AnyKeyHit();
    if (key || (hit && mx > 0.25f * w && mx < 0.75f * w && my > 0.25f * h && my < 0.75f * h)) {
        m_ClickLock = 1;
        if (key) m_KeyLock = 1;
        m_Mode = kModeMenu;
        p_Reload();
        kr_app_SetUpdateRate(60);
    }
    return 0;
}

// --- The data folder ---

// A player who starts the game away from its data folder sees an empty
// screen; this line says where the game looked. A host whose data paths are
// no files (the bare test host) has no folder to look for.
int c_MyApp::p_FindDataFolder() {
    if (!kr_app__game) return 0;
    const String folder = kr_app__game->PathToFilePath(String("tandor://data/"));
    if (folder.Length() == 0 || folder.StartsWith(String("tandor:"))) return 0;
    std::string path = kr_utf16_to_utf8(folder.Data(), folder.Length());
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return 0;
    char cwd[4096];
    if (path[0] != '/' && getcwd(cwd, sizeof cwd)) {
        path = std::string(cwd) + "/" + (path.rfind("./", 0) == 0 ? path.substr(2) : path);
    }
    const std::string line =
        "Data folder not found: " + path + " (start the game from the folder that holds data/, or name it with --data-folder)";
    krPrint(String::Load(reinterpret_cast<const unsigned char*>(line.data()),
                         static_cast<int>(line.size())));
    return 0;
}
