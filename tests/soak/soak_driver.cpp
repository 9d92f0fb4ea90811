#include "tests/soak/soak_driver.h"

#include <cmath>
#include <limits>

#include "host/events.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// Keys a player may press. F4 and the close key end the program and F11
// reopens the window, which a bare host has not got; all are left out.
const int kPlayKeys[] = {37, 38, 39, 40, 87, 65, 83, 68, 90, 74, 88, 75, 67, 76, 86,
                         73, 66, 85, 78, 79, 32, 13, 17, 16, 112, 80, 81, 49, 9};
// Keys and joystick buttons that mean back.
const int kBackKeys[] = {27, 192, 46, 8};
const int kBackButtons[] = {6, 7, 14};
// Typed characters, as an iCade sends them; O and L (back) are left out.
const char kChars[] = "wexzadcqyturfimhrjnkpvWEXZADCQ";

const int kArrowKeys[] = {37, 38, 39, 40};
constexpr int kSpaceKey = 32, kLeftKey = 37, kUpKey = 38, kEscapeKey = 27;
const int kFireKeys[] = {90, 32, 88, 67};

bool IsBackButton(int b) {
    for (int k : kBackButtons) {
        if (b == k) return true;
    }
    return false;
}

}  // namespace

bool SoakHost::PollJoystick(int port, Array<float> axesX, Array<float> axesY, Array<float> axesZ,
                            Array<bool> buttons) {
    const Joy& j = joys[port];
    for (int i = 0; i < 2 && i < axesX.Length(); ++i) {
        axesX[i] = j.x[i];
        axesY[i] = j.y[i];
        axesZ[i] = j.z[i];
    }
    for (int b = 0; b < 32 && b < buttons.Length(); ++b) buttons[b] = j.buttons[b];
    return true;
}

SoakDriver::SoakDriver(std::uint64_t seed) : rng_(seed) {}

void SoakDriver::Start() {
    host_.clock = 1000;
    app_ = StartBareGame(host_);
    app_->p_OnCreate();
    host_.gc_collect();
    lastMode_ = app_->m_Mode;
}

bool SoakDriver::PlayRunning() const { return app_->m_Mode == 10 && app_->m_GameOverT == 0; }

float SoakDriver::Coordinate(float range) {
    switch (Pick(20)) {
        case 0: return kNaN;
        case 1: return Chance(0.5) ? kInf : -kInf;
        case 2: return Chance(0.5) ? 3e38f : -3e38f;
        case 3: return std::uniform_real_distribution<float>(-1e6f, 1e6f)(rng_);
        default: return std::uniform_real_distribution<float>(-16, range + 16)(rng_);
    }
}

float SoakDriver::Axis() {
    switch (Pick(24)) {
        case 0: return kNaN;
        case 1: return Chance(0.5) ? kInf : -kInf;
        case 2: return Chance(0.5) ? 3e38f : -3e38f;
        case 3: return Chance(0.5) ? 0.4f : -0.4f;  // exactly on the threshold
        case 4: case 5: case 6: return 0;
        default: return std::uniform_real_distribution<float>(-1, 1)(rng_);
    }
}

void SoakDriver::Key(int key, bool down) {
    if (keyDown_[key] == down) return;
    keyDown_[key] = down;
    kr_input_device->p_KeyEvent(down ? kr_event::KeyDown : kr_event::KeyUp, key);
}

// Every key, button, stick and touch let go, and every iCade button released
// by its character.
void SoakDriver::ReleaseAll() {
    for (int k = 0; k < 512; ++k) Key(k, false);
    for (SoakHost::Joy& j : host_.joys) j = SoakHost::Joy();
    for (int b = 0; b < 3; ++b) kr_input_device->p_MouseEvent(kr_event::MouseUp, b, 0, 0);
    for (int f = 0; f < 32; ++f) kr_input_device->p_TouchEvent(kr_event::TouchUp, f, 0, 0);
    for (char c : std::string("ezqctfmgrnpv")) kr_input_device->p_KeyEvent(kr_event::KeyChar, c);
}

// A game or a menu that goes on too long gets a way out: give up (back,
// left to the give-up button, fire), or start a game (up, fire: the selected
// game mode, or the one before the gear). Scripts run from their end.
void SoakDriver::ChooseMood() {
    ++modeUpdates_;
    if (script_.empty() && modeUpdates_ > 1500 && PlayRunning()) {
        ReleaseAll();
        script_ = {kSpaceKey, kWait, kLeftKey, kWait, kWait, kEscapeKey};
        mood_ = kIdle;
        moodLeft_ = 40;
    } else if (script_.empty() && app_->m_Mode == 1 && modeUpdates_ > 600) {
        ReleaseAll();
        script_ = {kSpaceKey, kWait, kWait, kSpaceKey, kWait, kUpKey};
        mood_ = kIdle;
        moodLeft_ = 40;
        modeUpdates_ = 0;
    }
    if (--moodLeft_ > 0) return;
    mood_ = static_cast<Mood>(Pick(kMoods));
    moodLeft_ = (mood_ == kDive ? 300 : 20) + Pick(300);
    if (mood_ == kIdle || mood_ == kTaps || mood_ == kDive) ReleaseAll();
    for (int k = 0; k < 512; ++k) {
        if (keyDown_[k] && Chance(0.7)) Key(k, false);
    }
}

// One tap per two updates: down, then up.
void SoakDriver::RunScript() {
    if (tapped_ != kWait) {
        Key(tapped_, false);
        tapped_ = kWait;
        return;
    }
    if (script_.empty()) return;
    int key = script_.back();
    script_.pop_back();
    if (key == kWait) return;
    Key(key, true);
    tapped_ = key;
}

void SoakDriver::SendKeys() {
    switch (mood_) {
        case kIdle:
            break;
        case kFly:
            if (Chance(0.1)) Key(kArrowKeys[Pick(4)], Chance(0.6));
            if (Chance(0.05)) Key(kFireKeys[Pick(4)], Chance(0.5));
            break;
        case kDive:  // off the pad sideways, then down into ground or sea
            Key(40, true);
            if (!keyDown_[37] && !keyDown_[39]) Key(Chance(0.5) ? 37 : 39, true);
            break;
        case kFire:
            if (Chance(0.3)) Key(kFireKeys[Pick(4)], Chance(0.7));
            if (Chance(0.05)) Key(kArrowKeys[Pick(4)], Chance(0.5));
            break;
        case kTaps:
            if (script_.empty() && Chance(0.1)) {
                static const int kTapKeys[] = {37, 38, 39, 40, 32, 13, 27};
                int key = kTapKeys[Pick(PlayRunning() ? 7 : 6)];
                script_ = {key};
            }
            break;
        case kChaos:
        case kMoods:
            if (Chance(0.3)) Key(kPlayKeys[Pick(std::size(kPlayKeys))], Chance(0.5));
            if (PlayRunning() && Chance(0.02)) Key(kBackKeys[Pick(4)], Chance(0.5));
            break;
    }
}

void SoakDriver::SendPointer() {
    if (mood_ != kChaos && mood_ != kTaps) return;
    float x = Coordinate(800), y = Coordinate(600);
    switch (Pick(12)) {
        case 0: kr_input_device->p_MouseEvent(kr_event::MouseDown, Pick(3), x, y); break;
        case 1: kr_input_device->p_MouseEvent(kr_event::MouseUp, Pick(3), x, y); break;
        case 2: case 3: kr_input_device->p_MouseEvent(kr_event::MouseMove, 0, x, y); break;
        default: break;
    }
}

void SoakDriver::SendTouches() {
    if (mood_ != kChaos && mood_ != kFly) return;
    if (!Chance(0.2)) return;
    int finger = Chance(0.9) ? Pick(10) : Pick(40) - 4;  // some fingers do not exist
    float x = Coordinate(800), y = Coordinate(600);
    static const int kEvents[] = {kr_event::TouchDown, kr_event::TouchUp, kr_event::TouchMove};
    kr_input_device->p_TouchEvent(kEvents[Pick(3)], finger, x, y);
}

void SoakDriver::SendJoysticks() {
    bool back = PlayRunning();
    for (SoakHost::Joy& j : host_.joys) {
        if (mood_ == kChaos || (mood_ == kFly && Chance(0.2))) {
            for (int s = 0; s < 2; ++s) {
                if (Chance(0.1)) j.x[s] = Axis();
                if (Chance(0.1)) j.y[s] = Axis();
                if (Chance(0.05)) j.z[s] = Axis();
            }
            if (Chance(0.1)) {
                int b = Pick(32);
                if (back || !IsBackButton(b)) j.buttons[b] = !j.buttons[b];
            }
        } else if (mood_ == kIdle) {
            j = SoakHost::Joy();
        }
    }
}

void SoakDriver::SendOther() {
    if (mood_ != kChaos) return;
    if (Chance(0.05)) {
        kr_input_device->p_MotionEvent(kr_event::Motion, 0, Axis(), Axis(), Axis());
    }
    if (Chance(0.05)) {
        kr_input_device->p_KeyEvent(kr_event::KeyChar, kChars[Pick(sizeof kChars - 1)]);
    }
}

// Out of play, nothing may hold back: in the menu it ends the program.
void SoakDriver::ReleaseBack() {
    if (PlayRunning()) return;
    for (int k : kBackKeys) Key(k, false);
    for (SoakHost::Joy& j : host_.joys) {
        for (int b : kBackButtons) j.buttons[b] = false;
    }
}

// A new window size, fitted as a render would fit it: from a sliver of a
// pixel to a wall of screens, in any proportion.
void SoakDriver::MaybeResize() {
    if (!Chance(0.004)) return;
    ++stats_.resizes;
    auto side = [&] { return static_cast<int>(std::exp(std::uniform_real_distribution<float>(0, 9)(rng_))); };
    app_->p_FitScreen(side(), side());
}

// A suspension at any point, with a few updates (at the low rate) before the
// resumption.
void SoakDriver::MaybeSuspend() {
    if (!Chance(0.002)) return;
    ++stats_.suspensions;
    app_->p_OnSuspend();
    host_.gc_collect();
    for (int n = Pick(4); n > 0; --n) {
        host_.clock += 200;
        UpdateAndCheck();
    }
    app_->p_OnResume();
    host_.gc_collect();
}

void SoakDriver::UpdateAndCheck() {
    UpdateOnce(app_);
    host_.gc_collect();
    ++stats_.updates;
    bool newGame = lastMode_ == 11 && app_->m_Mode == 10;
    if (newGame) ++stats_.games;
    if (app_->m_Mode != lastMode_) modeUpdates_ = 0;
    lastMode_ = app_->m_Mode;
    for (const std::string& v : checker_.Check(*app_, newGame)) {
        if (++stats_.violationCount <= 20) {
            stats_.violations.push_back("update " + std::to_string(stats_.updates) + ": " + v);
        }
    }
}

void SoakDriver::Step() {
    ChooseMood();
    RunScript();
    SendKeys();
    SendPointer();
    SendTouches();
    SendJoysticks();
    SendOther();
    ReleaseBack();
    MaybeResize();
    host_.clock += Chance(0.01) ? Pick(5000) : 16 + Pick(2);
    UpdateAndCheck();
    MaybeSuspend();
}
