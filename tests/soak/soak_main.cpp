// SPDX-License-Identifier: Zlib
// The soak test: random play through the bare host for SOAK_SECONDS (default
// 8) or SOAK_MINUTES, from the seed SOAK_SEED (default: from the clock, and
// printed), in a build with the address and undefined-behaviour sanitizers,
// checking the game's invariants after every update. Prints the updates run,
// the games played and the peak resident size at the start and the end;
// exits 1 on a broken invariant. A sanitizer report ends the process itself.
//
// Input covers what a player and a misbehaving device can send: keys held and
// released, mouse and touches (with positions far outside the window, infinite
// or NaN), joystick sticks and buttons (values in range, extreme, infinite or
// NaN), accelerometer readings, typed characters, window resizes and
// suspensions at any point. Moods of a few seconds' play (rest, fly about,
// dive into the sea, hold fire, single key taps through the panels, pure
// chaos) alternate; a game or a menu that lasts too long gets a scripted way
// out (give up; start a game), so that games end and new ones start. Back
// sources are only sent during play: in the menu back ends the program.
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <random>

#include "host/events.h"
#include "tests/soak/invariants.h"
#include "tests/support/game_host.h"

// Every sanitizer report ends the run with its stack, and freed memory waits
// in a small quarantine so that the peak resident size shows the game's own.
extern "C" const char* __asan_default_options() {
    return "halt_on_error=1:handle_abort=1:detect_leaks=1:quarantine_size_mb=16";
}
extern "C" const char* __ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN(), kInf = std::numeric_limits<float>::infinity();
// Keys a player may press. F4 and the close key end the program and F11
// reopens the window, which a bare host has not got; all are left out.
const int kPlayKeys[] = {37, 38, 39, 40, 87, 65, 83, 68, 90, 74, 88, 75, 67, 76, 86,
                         73, 66, 85, 78, 79, 32, 13, 17, 16, 112, 80, 81, 49, 9};
const int kBackKeys[] = {27, 192, 46, 8}, kBackButtons[] = {6, 7, 14};  // what means back
const char kChars[] = "wexzadcqyturfimhrjnkpvWEXZADCQ";  // iCade characters; O and L (back) left out
const int kArrowKeys[] = {37, 38, 39, 40}, kFireKeys[] = {90, 32, 88, 67}, kTapKeys[] = {37, 38, 39, 40, 32, 13, 27};
constexpr int kWait = -1;  // a script step that presses nothing
enum Mood { kIdle, kFly, kDive, kFire, kTaps, kChaos, kMoods };

// A bare host whose joysticks report what the driver sets.
struct SoakHost : GameTestHost {
    struct Joy { float x[2] = {}, y[2] = {}, z[2] = {}; bool buttons[32] = {}; } joys[4];
    // Six axes in the host's order: the first stick's x, y, z, then the
    // second's.
    bool ReadPad(int port, KrPadReading* pad) override {
        if (port < 0 || port >= 4) return false;
        const Joy& j = joys[port];
        pad->axes = {j.x[0], j.y[0], j.z[0], j.x[1], j.y[1], j.z[1]};
        pad->buttons.assign(j.buttons, j.buttons + 32);
        return true;
    }
};

class SoakDriver {
public:
    long long updates = 0, games = 0, suspensions = 0, resizes = 0, broken = 0;

    // Starts the game as the delegate does (p_OnCreate) on a fresh runtime.
    explicit SoakDriver(std::uint64_t seed) : rng_(seed) {
        host_.clock = 1000;
        app_ = StartBareGame(host_);
        app_->p_OnCreate();
        host_.gc_collect();
        lastMode_ = app_->m_Mode;
    }

    // One update: random input, maybe a resize, the update and its
    // collection step with the invariants, maybe a suspension.
    void Step() {
        ChooseMood();
        RunScript();
        SendInput();
        if (!Playing()) {  // out of play nothing may hold back: in the menu it ends the program
            for (int k : kBackKeys) Key(k, false);
            for (SoakHost::Joy& j : host_.joys)
                for (int b : kBackButtons) j.buttons[b] = false;
        }
        if (Chance(0.004)) {  // any size, from a sliver of a pixel to a wall of screens
            ++resizes;
            auto side = [&] { return static_cast<int>(std::exp(std::uniform_real_distribution<float>(0, 9)(rng_))); };
            app_->p_FitScreen(side(), side());
        }
        host_.clock += Chance(0.01) ? Pick(5000) : 16 + Pick(2);
        UpdateAndCheck();
        if (Chance(0.002)) {  // a few updates at the low rate before the resumption
            ++suspensions;
            app_->p_OnSuspend();
            host_.gc_collect();
            for (int n = Pick(4); n > 0; --n) host_.clock += 200, UpdateAndCheck();
            app_->p_OnResume();
            host_.gc_collect();
        }
    }

private:
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Playing() const { return app_->m_Mode == 10 && app_->m_GameOverT == 0; }
    // A value in range most of the time, else NaN, an infinity, a huge value
    // or one of the `special` values given.
    float Wild(int odds, float lo, float hi, std::initializer_list<float> special) {
        int k = Pick(odds);
        if (k == 0) return kNaN;
        if (k == 1) return Chance(0.5) ? kInf : -kInf;
        if (k == 2) return Chance(0.5) ? 3e38f : -3e38f;
        if (k - 3 < static_cast<int>(special.size())) return special.begin()[k - 3];
        return std::uniform_real_distribution<float>(lo, hi)(rng_);
    }
    float Coordinate(float range) {
        return Pick(5) == 0 ? Wild(4, -1e6f, 1e6f, {}) : std::uniform_real_distribution<float>(-16, range + 16)(rng_);
    }
    // 0.4 is exactly on the stick's threshold.
    float Axis() { return Wild(24, -1, 1, {Chance(0.5) ? 0.4f : -0.4f, 0, 0, 0}); }

    void Key(int key, bool down) {
        if (keyDown_[key] == down) return;
        keyDown_[key] = down;
        kr_input_device->p_KeyEvent(down ? kr_event::KeyDown : kr_event::KeyUp, key);
    }
    // Every key, button, stick and touch let go, and every iCade button released.
    void ReleaseAll() {
        for (int k = 0; k < 512; ++k) Key(k, false);
        for (SoakHost::Joy& j : host_.joys) j = SoakHost::Joy();
        for (int b = 0; b < 3; ++b) kr_input_device->p_MouseEvent(kr_event::MouseUp, b, 0, 0);
        for (int f = 0; f < 32; ++f) kr_input_device->p_TouchEvent(kr_event::TouchUp, f, 0, 0);
        for (char c : std::string("ezqctfmgrnpv")) kr_input_device->p_KeyEvent(kr_event::KeyChar, c);
    }
    // A game or a menu that goes on too long gets a way out: give up (back,
    // left to the give-up button, fire), or start a game (up, fire: the
    // selected game mode, or the one before the gear). Scripts run from
    // their end.
    void ChooseMood() {
        ++modeUpdates_;
        bool stuckGame = modeUpdates_ > 1500 && Playing(), stuckMenu = app_->m_Mode == 1 && modeUpdates_ > 600;
        if (script_.empty() && (stuckGame || stuckMenu)) {
            ReleaseAll();
            script_ = stuckGame ? std::vector{32, kWait, 37, kWait, kWait, 27} : std::vector{32, kWait, kWait, 32, kWait, 38};
            if (!stuckGame) modeUpdates_ = 0;
            mood_ = kIdle, moodLeft_ = 40;
        }
        if (--moodLeft_ > 0) return;
        mood_ = static_cast<Mood>(Pick(kMoods));
        moodLeft_ = (mood_ == kDive ? 300 : 20) + Pick(300);
        if (mood_ == kIdle || mood_ == kTaps || mood_ == kDive) ReleaseAll();
        for (int k = 0; k < 512; ++k)
            if (keyDown_[k] && Chance(0.7)) Key(k, false);
    }
    // One tap per two updates: down, then up.
    void RunScript() {
        if (tapped_ != kWait) return Key(tapped_, false), void(tapped_ = kWait);
        if (script_.empty()) return;
        if (int key = script_.back(); script_.pop_back(), key != kWait) Key(key, true), tapped_ = key;
    }
    void SendInput() {
        bool chaos = mood_ == kChaos;
        if (mood_ == kFly || mood_ == kFire) {
            bool fly = mood_ == kFly;
            if (Chance(fly ? 0.1 : 0.05)) Key(kArrowKeys[Pick(4)], Chance(fly ? 0.6 : 0.5));
            if (Chance(fly ? 0.05 : 0.3)) Key(kFireKeys[Pick(4)], Chance(fly ? 0.5 : 0.7));
        } else if (mood_ == kDive) {  // off the pad sideways, then down into ground or sea
            Key(40, true);
            if (!keyDown_[37] && !keyDown_[39]) Key(Chance(0.5) ? 37 : 39, true);
        } else if (mood_ == kTaps && script_.empty() && Chance(0.1)) {
            script_ = {kTapKeys[Pick(Playing() ? 7 : 6)]};
        } else if (chaos) {
            if (Chance(0.3)) Key(kPlayKeys[Pick(std::size(kPlayKeys))], Chance(0.5));
            if (Playing() && Chance(0.02)) Key(kBackKeys[Pick(4)], Chance(0.5));
        }
        if (chaos || mood_ == kTaps) {  // the mouse
            float x = Coordinate(800), y = Coordinate(600);
            static const int kMouse[] = {kr_event::MouseDown, kr_event::MouseUp, kr_event::MouseMove, kr_event::MouseMove};
            if (int e = Pick(12); e < 4) kr_input_device->p_MouseEvent(kMouse[e], e < 2 ? Pick(3) : 0, x, y);
        }
        if ((chaos || mood_ == kFly) && Chance(0.2)) {  // touches, some by fingers that do not exist
            int finger = Chance(0.9) ? Pick(10) : Pick(40) - 4;
            float x = Coordinate(800), y = Coordinate(600);
            static const int kTouch[] = {kr_event::TouchDown, kr_event::TouchUp, kr_event::TouchMove};
            kr_input_device->p_TouchEvent(kTouch[Pick(3)], finger, x, y);
        }
        for (SoakHost::Joy& j : host_.joys) {
            if (chaos || (mood_ == kFly && Chance(0.2))) {
                for (int s = 0; s < 2; ++s) {
                    for (auto [axis, p] : {std::pair{j.x, 0.1}, {j.y, 0.1}, {j.z, 0.05}})
                        if (Chance(p)) axis[s] = Axis();
                }
                int b = Chance(0.1) ? Pick(32) : -1;
                bool back = b == 6 || b == 7 || b == 14;
                if (b >= 0 && (Playing() || !back)) j.buttons[b] = !j.buttons[b];
            } else if (mood_ == kIdle) {
                j = SoakHost::Joy();
            }
        }
        if (chaos && Chance(0.05)) kr_input_device->p_MotionEvent(kr_event::Motion, 0, Axis(), Axis(), Axis());
        if (chaos && Chance(0.05)) kr_input_device->p_KeyEvent(kr_event::KeyChar, kChars[Pick(sizeof kChars - 1)]);
    }
    void UpdateAndCheck() {
        UpdateOnce(app_);
        host_.gc_collect();
        ++updates;
        bool newGame = lastMode_ == 11 && app_->m_Mode == 10;
        games += newGame;
        if (app_->m_Mode != lastMode_) modeUpdates_ = 0;
        lastMode_ = app_->m_Mode;
        for (const std::string& v : checker_.Check(*app_, newGame))  // the first few
            if (++broken <= 20) std::printf("soak: broken: update %lld: %s\n", updates, v.c_str());
    }

    std::mt19937_64 rng_;
    SoakHost host_;
    c_MyApp* app_ = nullptr;
    InvariantChecker checker_;
    Mood mood_ = kIdle;
    int moodLeft_ = 0, lastMode_ = 0, modeUpdates_ = 0;  // updates since m_Mode last changed
    int tapped_ = kWait;       // the key a script step pressed, released next
    std::vector<int> script_;  // keys to tap, last first
    bool keyDown_[512] = {};
};

double EnvNumber(const char* name, double fallback) {
    const char* v = std::getenv(name);
    char* end = nullptr;
    double d = v ? std::strtod(v, &end) : 0;
    return v && end != v && d >= 0 ? d : fallback;
}

long PeakRssKiB() {
    rusage usage{};
    return getrusage(RUSAGE_SELF, &usage), usage.ru_maxrss;
}

}  // namespace

int main() {
    double seconds = std::getenv("SOAK_MINUTES") ? 60 * EnvNumber("SOAK_MINUTES", 30) : EnvNumber("SOAK_SECONDS", 8);
    auto seed = static_cast<std::uint64_t>(EnvNumber("SOAK_SEED", static_cast<double>(std::time(nullptr))));
    std::printf("soak: seed %llu, %.0f s\n", (unsigned long long)seed, seconds);
    std::fflush(stdout);
    SoakDriver driver(seed);
    long rssStart = PeakRssKiB();
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    do {
        for (int i = 0; i < 100 && driver.broken == 0; ++i) driver.Step();
    } while (driver.broken == 0 && std::chrono::steady_clock::now() < end);
    std::printf("soak: %lld updates, %lld games, %lld suspensions, %lld resizes\n", driver.updates, driver.games,
                driver.suspensions, driver.resizes);
    std::printf("soak: peak RSS %ld KiB at start, %ld KiB at end\n", rssStart, PeakRssKiB());
    if (driver.broken) std::printf("soak: %lld broken invariants (seed %llu)\n", driver.broken, (unsigned long long)seed);
    return driver.broken ? 1 : 0;
}
