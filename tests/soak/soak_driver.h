// Plays the game through the bare host with random input for as long as it is
// asked to, checking the game's invariants after every update.
//
// Input covers what a player and a misbehaving device can send: keys held and
// released, mouse and touches (with positions far outside the window, infinite
// or NaN), joystick sticks and buttons (values in range, extreme, infinite or
// NaN), accelerometer readings, typed characters, window resizes and
// suspensions at any point. Moods of a few seconds' play (rest, fly about,
// dive into the sea, hold fire, single key taps through the panels, pure
// chaos) alternate; a game or a menu that lasts too long gets a scripted way
// out (give up; start a game), so that games end and new ones start. Back
// sources are only sent during play: in the menu back ends the program, as it
// should.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tests/soak/invariants.h"
#include "tests/support/game_host.h"

// A bare host whose joysticks report what the driver sets.
class SoakHost : public GameTestHost {
public:
    struct Joy {
        float x[2] = {}, y[2] = {}, z[2] = {};
        bool buttons[32] = {};
    };
    Joy joys[4];

    bool PollJoystick(int port, Array<float> axesX, Array<float> axesY, Array<float> axesZ,
                      Array<bool> buttons) override;
};

struct SoakStats {
    long long updates = 0;
    long long games = 0;        // games started
    long long suspensions = 0;
    long long resizes = 0;
    std::vector<std::string> violations;  // the first few, with the update they came at
    long long violationCount = 0;
};

class SoakDriver {
public:
    explicit SoakDriver(std::uint64_t seed);

    // Starts the game as the delegate does (p_OnCreate) on a fresh runtime.
    void Start();
    // One update: random input, maybe a resize or a suspension, the update
    // and its collection step, then the invariants.
    void Step();

    const SoakStats& Stats() const { return stats_; }
    c_MyApp* App() const { return app_; }

private:
    enum Mood { kIdle, kFly, kDive, kFire, kTaps, kChaos, kMoods };
    static constexpr int kWait = -1;  // a script step that presses nothing

    void ChooseMood();
    void ReleaseAll();
    void RunScript();
    void SendKeys();
    void SendPointer();
    void SendTouches();
    void SendJoysticks();
    void SendOther();
    void ReleaseBack();
    void MaybeResize();
    void MaybeSuspend();
    void UpdateAndCheck();

    void Key(int key, bool down);
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    float Coordinate(float range);
    float Axis();
    bool PlayRunning() const;

    std::mt19937_64 rng_;
    SoakHost host_;
    c_MyApp* app_ = nullptr;
    InvariantChecker checker_;
    SoakStats stats_;
    Mood mood_ = kIdle;
    int moodLeft_ = 0;
    int lastMode_ = 0;
    int modeUpdates_ = 0;  // updates since m_Mode last changed
    int tapped_ = kWait;   // the key a script step pressed, released next
    std::vector<int> script_;  // keys to tap, last first
    bool keyDown_[512] = {};
};
