// SPDX-License-Identifier: Zlib
#include "game/state_digest.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "game/game.h"

// Every field of c_MyApp but the three that hold objects (m_Music, m_Img,
// m_Snd), in a fixed order of their own: the digests of the recorded replays
// depend on it, so it stays as it is when app.h groups its fields otherwise.
#define KR_STATE_FIELDS(X) \
    X(m_Fullscreen) X(m_JinglePlayed) X(m_Mode) X(m_DevW) X(m_DevH) X(m_AccelZeroX) \
    X(m_AccelZeroY) X(m_ClsR) X(m_ClsG) X(m_ClsB) X(m_ClsA) X(m_HdLevel) X(m_ImgScale) \
    X(m_ImgInfo) X(m_Font) X(m_LoadStep) X(m_GameMode) X(m_MenuIntro) X(m_Paused) X(m_PauseDir) \
    X(m_PauseY) X(m_I) X(m_BadgeQueue) X(m_BadgeQueue2) X(m_BadgeOwned) X(m_Ctl) X(m_Opt) \
    X(m_Hi) X(m_People) X(m_TmpB) X(m_TmpC) X(m_TmpD) X(m_HiBase) X(m_TmpF) X(m_ChanMap) \
    X(m_RenderMs) X(m_RenderFps) X(m_RenderFpsAvg) X(m_ScaleX) X(m_ScaleY) X(m_FitMode) \
    X(m_Landscape) X(m_DrawN) X(m_Draw) X(m_LastChar) X(m_TunePlaying) X(m_UpdateMs) \
    X(m_UpdateFps) X(m_UpdateFpsAvg) X(m_MouseX) X(m_MouseOldX) X(m_MouseY) X(m_MouseOldY) \
    X(m_MouseWasDown) X(m_MouseDown) X(m_MouseHit) X(m_TouchDown) X(m_TouchX) X(m_TouchY) \
    X(m_ClickLock) X(m_KeyLock) X(m_ShowCredits) X(m_ShowOptions) X(m_ShowBadges) X(m_DrawSX) \
    X(m_DrawSY) X(m_DrawRot) X(m_DrawR) X(m_DrawG) X(m_DrawB) X(m_DrawA) X(m_DrawBlend) \
    X(m_ScorePanelW) X(m_MenuTick) X(m_ButtonHit) X(m_SfxChan) X(m_BadgeScroll) \
    X(m_BadgeScroll2) X(m_TmpG) X(m_TmpH) X(m_TmpI) X(m_TmpJ) X(m_MenuSel) X(m_GearAngle) \
    X(m_MenuDrag) X(m_MenuTarget) X(m_MenuSpeed) X(m_MenuPos) X(m_MenuH) X(m_PosY) X(m_PosX) \
    X(m_TmpL) X(m_TmpM) X(m_TmpN) X(m_MenuSnap) X(m_OptionSel) X(m_TmpO) X(m_Score) \
    X(m_SpinAngle) X(m_Player) X(m_CamX) X(m_CamTargetX) X(m_CamY) X(m_CamTargetY) X(m_StarMax) \
    X(m_Star) X(m_StickX) X(m_StickY) X(m_StickAnchorX) X(m_StickAnchorY) X(m_KeyStickY) \
    X(m_KeyStickX) X(m_GameOverT) X(m_PartMax) X(m_Part) X(m_Frame) X(m_Obj) X(m_ObjSlot) \
    X(m_MapWidth) X(m_WorldW) X(m_Column) X(m_Wave) X(m_Health) X(m_Tick) X(m_TmpP) X(m_Rotor) \
    X(m_ScoreShown) X(m_PauseSel) X(m_GameOverAnim) X(m_CreditsSlide) X(m_CreditA) X(m_CreditB) \
    X(m_PadDrag) X(m_CreditC) X(m_CreditD) X(m_CreditE) X(m_OptionsSlide) X(m_OptKeyLock) \
    X(m_OptTouchLock) X(m_PadX) X(m_PadY) X(m_PadSize) X(m_AccelX) X(m_AccelY) X(m_AccelSmoothX) \
    X(m_AccelSmoothY)

namespace {

class Fnv {
public:
    void Bytes(const void* p, std::size_t n) {
        auto* b = static_cast<const unsigned char*>(p);
        for (std::size_t i = 0; i < n; ++i) h_ = (h_ ^ b[i]) * 0x100000001b3ull;
    }
    void Mix(int v) { Bytes(&v, sizeof v); }
    void Mix(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        Bytes(&bits, 4);
    }
    void Mix(bool v) {
        unsigned char b = v ? 1 : 0;
        Bytes(&b, 1);
    }
    template <class T>
    void Mix(const Array<T>& a) {
        Mix(a.Length());
        for (int i = 0; i < a.Length(); ++i) Mix(a[i]);
    }
    std::uint64_t Value() const { return h_; }

private:
    std::uint64_t h_ = 0xcbf29ce484222325ull;
};

}  // namespace

std::uint64_t KrGameStateHash(c_MyApp* app) {
    Fnv fnv;
#define KR_MIX_FIELD(name) fnv.Mix(app->name);
    KR_STATE_FIELDS(KR_MIX_FIELD)
#undef KR_MIX_FIELD
    for (int v : {kr_random_Seed, kr_Vex_DebugMode, kr_Vex_iCadeControls}) fnv.Mix(v);
    for (float v : {kr_Vex_rawscrw, kr_Vex_rawscrh, kr_Vex_jscrw, kr_Vex_jscrh, kr_Vex_overscan}) fnv.Mix(v);
    return fnv.Value();
}

const std::vector<std::string>& KrGameStateFields() {
    static const std::vector<std::string> names = {
#define KR_NAME_FIELD(name) #name,
        KR_STATE_FIELDS(KR_NAME_FIELD)
#undef KR_NAME_FIELD
    };
    return names;
}

std::string KrDescribeGameState() {
    auto* app = dynamic_cast<c_MyApp*>(kr_app__app);
    if (!app) return "no game";
    char line[160];
    std::snprintf(line, sizeof line, "mode %d, score %d, health %d, wave %d, state %016" PRIx64, app->m_Mode,
                  app->m_Score, app->m_Health, app->m_Wave, KrGameStateHash(app));
    return line;
}
