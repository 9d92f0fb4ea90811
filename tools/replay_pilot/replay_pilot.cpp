// SPDX-License-Identifier: Zlib
// Plays the real game binary while it records itself, for the regression
// replays of tests/replays/ (scripts/record-replays.sh runs it): it starts
// `GAME --record OUT` in the current folder, reads the game's state from the
// running process's memory (the game object's layout is this build's), and
// plays through real X input (xdotool): the menu's keys, the mouse held down
// as the touch stick, space to fire, F4 at the end.
//
//   replay_pilot GAME MODE PLAN OUT
//     MODE  1, 2 or 3: the game mode chosen in the menu
//     PLAN  rescue  pick three persons up, carry them to the pad and land,
//                   then hunt enemies until one falls; then dive into the
//                   ground
//           fight   hunt enemies until one falls; then dive
//           dive    dive into the ground at once
//
// Every game ends in a game over; after the return to the menu, F4 ends the
// program and so the recording. The last line says what the game achieved.
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "game/game.h"

namespace {

using Clock = std::chrono::steady_clock;

void Pause(double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); }

// REPLAY_PILOT_TRACE=1 says what the pilot is doing, on standard error.
void Trace(const std::string& what) {
    static const bool on = std::getenv("REPLAY_PILOT_TRACE") != nullptr;
    if (on) std::fprintf(stderr, "replay_pilot: %s\n", what.c_str());
}

[[noreturn]] void Fail(const std::string& why) {
    std::fprintf(stderr, "replay_pilot: %s\n", why.c_str());
    std::exit(1);
}

std::string Run(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
    }
    return out;
}

// ---- The game's memory -------------------------------------------------

struct State;

// Reads the running game's object through /proc/PID/mem: the address of the
// global kr_app__app comes from the program's symbol table and the load
// address of its first mapping.
class GameMemory {
public:
    GameMemory(pid_t pid, const std::string& program) : pid_(pid) {
        std::istringstream symbols(Run("nm --defined-only '" + program + "'"));
        for (std::string line; std::getline(symbols, line);)
            if (line.size() > 19 && line.compare(line.size() - 12, 12, " kr_app__app") == 0)
                appSymbol_ = std::stoull(line.substr(0, 16), nullptr, 16);
        if (!appSymbol_) Fail("no kr_app__app in " + program);
        program_ = std::string(realpath(program.c_str(), nullptr));
    }
    ~GameMemory() {
        if (fd_ >= 0) close(fd_);
    }

    bool Attach() {
        std::ifstream maps("/proc/" + std::to_string(pid_) + "/maps");
        for (std::string line; std::getline(maps, line);) {
            if (line.size() < program_.size() || line.compare(line.size() - program_.size(), program_.size(), program_))
                continue;
            base_ = std::stoull(line.substr(0, line.find('-')), nullptr, 16);
            break;
        }
        if (!base_) return false;
        fd_ = open(("/proc/" + std::to_string(pid_) + "/mem").c_str(), O_RDONLY);
        return fd_ >= 0;
    }

    // Reads the game's state afresh; false while the game object is not there yet.
    bool Read(State* s) const;

private:
    bool Raw(std::uint64_t address, void* out, std::size_t n) const {
        return pread(fd_, out, n, static_cast<off_t>(address)) == static_cast<ssize_t>(n);
    }
    template <class T>
    std::vector<T> Elements(typename Array<T>::Rep* rep, int n) const {
        std::vector<T> v(n);
        auto at = reinterpret_cast<std::uint64_t>(rep) + Array<T>::Rep::DataOffset();
        if (!rep || !Raw(at, v.data(), sizeof(T) * n)) v.clear();
        return v;
    }
    pid_t pid_;
    std::string program_;
    std::uint64_t appSymbol_ = 0, base_ = 0;
    int fd_ = -1;
};

// Where a field lies in the game object, from this build's own layout.
template <class T>
std::size_t OffsetOf(T c_MyApp::*member) {
    alignas(c_MyApp) static unsigned char shape[sizeof(c_MyApp)];
    auto* app = reinterpret_cast<c_MyApp*>(shape);
    return reinterpret_cast<unsigned char*>(&(app->*member)) - shape;
}

struct Enemy {
    int record;
    float x, y, health;
};

// What the pilot looks at, read afresh at every step.
struct State {
    int mode = 0, loadStep = 1, menuSel = 0, menuIntro = 0, paused = 0, gameOverT = 0;
    int health = 0, score = 0, wave = 0, mapWidth = 0;
    float x = 0, y = 0, tx = 0, ty = 0, aboard = 0;
    int anchorX = -1, anchorY = 0;  // the touch stick's anchor, x -1 while none
    std::vector<int> columns;  // height and person flag, ten Ints a column
    std::vector<Enemy> enemies;
    int Height(int c) const { return columns[c * 10]; }
    bool Person(int c) const { return columns[c * 10 + 1] == 1; }
    float World() const { return 32.0f * mapWidth; }
};

bool GameMemory::Read(State* s) const {
    std::uint64_t app = 0;
    std::vector<unsigned char> obj(sizeof(c_MyApp));
    if (!Raw(base_ + appSymbol_, &app, sizeof app) || !app || !Raw(app, obj.data(), obj.size())) return false;
    auto get = [&](auto member) {
        std::remove_reference_t<decltype(std::declval<c_MyApp>().*member)> v;
        std::memcpy(&v, obj.data() + OffsetOf(member), sizeof v);
        return v;
    };
    s->mode = get(&c_MyApp::m_Mode);
    s->loadStep = get(&c_MyApp::m_LoadStep);
    s->menuSel = get(&c_MyApp::m_MenuSel);
    s->menuIntro = get(&c_MyApp::m_MenuIntro);
    s->paused = get(&c_MyApp::m_Paused);
    s->gameOverT = get(&c_MyApp::m_GameOverT);
    s->health = get(&c_MyApp::m_Health);
    s->score = get(&c_MyApp::m_Score);
    s->wave = get(&c_MyApp::m_Wave);
    s->mapWidth = get(&c_MyApp::m_MapWidth);
    s->anchorX = get(&c_MyApp::m_StickAnchorX);
    s->anchorY = get(&c_MyApp::m_StickAnchorY);
    if (s->mapWidth < 1 || s->mapWidth > 499) return true;
    std::vector<float> player = Elements<float>(get(&c_MyApp::m_Player).rep, 201);
    std::vector<float> objects = Elements<float>(get(&c_MyApp::m_Obj).rep, 5010);
    s->columns = Elements<int>(get(&c_MyApp::m_Column).rep, 5000);
    if (player.empty() || objects.empty() || s->columns.empty()) return false;
    s->x = player[1], s->y = player[2], s->tx = player[3], s->ty = player[4], s->aboard = player[200];
    s->enemies.clear();
    for (int i = 0; i <= 500; ++i)
        if (objects[i * 10] == 1) s->enemies.push_back({i, objects[i * 10 + 1], objects[i * 10 + 2], objects[i * 10 + 8]});
    return true;
}

// ---- Real input through xdotool -----------------------------------------

class Hands {
public:
    explicit Hands(std::string window) : window_(std::move(window)) {}
    ~Hands() { LetGo(); }

    void Key(const std::string& key, double hold = 0.1) {
        Tool("keydown " + key);
        Pause(hold);
        Tool("keyup " + key);
        Pause(0.15);
    }
    void Fire(bool on) {
        if (on == firing_) return;
        Tool(on ? "keydown space" : "keyup space");
        firing_ = on;
    }
    // The touch stick: the left button held down, the pointer moved away
    // from the anchor by 72 pixels a unit. The game sets the anchor where it
    // first sees the button down, which may be after a move: the pilot steers
    // from the anchor the game took (anchorX -1 while it has none).
    void Stick(float sx, float sy, int anchorX, int anchorY) {
        if (!stickDown_) {
            // Two commands, apart: a button chained to a move goes to the
            // window as a sent event, and one right after a move can get lost.
            Tool("mousemove --window " + window_ + " " + std::to_string(kAnchorX) + " " + std::to_string(kAnchorY));
            Pause(0.2);
            Tool("mousedown 1");
            stickDown_ = true;
            lastX_ = kAnchorX, lastY_ = kAnchorY;
        }
        if (anchorX < 0) return;
        int px = anchorX + static_cast<int>(std::lround(72 * sx)), py = anchorY + static_cast<int>(std::lround(72 * sy));
        if (px == lastX_ && py == lastY_) return;
        Tool("mousemove --window " + window_ + " " + std::to_string(px) + " " + std::to_string(py));
        lastX_ = px, lastY_ = py;
    }
    void LetGo() {
        Fire(false);
        if (stickDown_) Tool("mouseup 1");
        stickDown_ = false, lastX_ = lastY_ = -1;
    }

private:
    // Left of 0.7 of the screen's width (the moving side) and far from the
    // pause button; the stick's range keeps it within 64 pixels.
    static constexpr int kAnchorX = 260, kAnchorY = 300;
    void Tool(const std::string& args) { std::system(("xdotool " + args + " >/dev/null 2>&1").c_str()); }
    std::string window_;
    bool firing_ = false, stickDown_ = false;
    int lastX_ = -1, lastY_ = -1;
};

// ---- Flying ---------------------------------------------------------------

// dx wrapped into -W/2 .. W/2.
float Wrap(float dx, float world) {
    while (dx > world / 2) dx -= world;
    while (dx < -world / 2) dx += world;
    return dx;
}

int ColumnAt(const State& s, float x) {
    int c = static_cast<int>(std::floor(x / 32)) % s.mapWidth;
    return c < 0 ? c + s.mapWidth : c;
}

// A height from which nothing between here and there is hit, with room for
// the rope.
float CruiseY(const State& s, float toX) {
    int highest = 0;
    float dx = Wrap(toX - s.x, s.World());
    int steps = static_cast<int>(std::fabs(dx) / 32) + 4;
    for (int k = -3; k <= steps; ++k) highest = std::max(highest, s.Height(ColumnAt(s, s.x + (dx < 0 ? -32.0f : 32.0f) * k)));
    return -16.0f * highest - 150;
}

struct Pilot {
    State s;
    Hands& hands;
    int landings = 0, kills = 0, pickups = 0;
    int lastWave = 0;
    std::vector<float> health = std::vector<float>(501, 1e9f);  // of each enemy record; 1e9 when none

    // Counts landings by the waves they start, and kills by enemies gone
    // with no health left (others leave by flying off the world).
    void Tally() {
        if (s.wave != lastWave) ++landings, lastWave = s.wave;
        std::vector<float> now(501, 1e9f);
        for (const Enemy& e : s.enemies) now[e.record] = e.health;
        for (int i = 0; i <= 500; ++i)
            if (health[i] < 1.5f && now[i] > 1e8f) ++kills;
        health = now;
    }
    // Steers the target toward (gx, gy) through the touch stick: fast when
    // far, slower near, still within a few pixels.
    void SteerTo(float gx, float gy) {
        float ex = Wrap(gx - s.tx, s.World()), ey = gy - s.ty;
        float sx = std::clamp(ex / 40.0f, -0.85f, 0.85f), sy = std::clamp(ey / 20.0f, -0.85f, 0.85f);
        if (std::fabs(sx) < 0.1f && std::fabs(sy) < 0.1f) sx = sy = 0;
        hands.Stick(sx, sy, s.anchorX, s.anchorY);
    }
    // The nearest enemy ahead (shots fly right), or null.
    const Enemy* Ahead() const {
        const Enemy* best = nullptr;
        float bestDx = 1e9f;
        for (const Enemy& e : s.enemies) {
            float dx = Wrap(e.x - s.x, s.World());
            if (dx > 0 && dx < bestDx) bestDx = dx, best = &e;
        }
        return best;
    }
    // Shoots when an enemy is ahead on the helicopter's level and the
    // helicopter hangs level (shots fly along its tilt); the button is let
    // go now and then, since holding it fires ever more slowly.
    void Shoot(int tick) {
        const Enemy* e = Ahead();
        bool aim = e && Wrap(e->x - s.x, s.World()) < 520 && std::fabs(e->y - s.y) < 24 &&
                   std::fabs(Wrap(s.tx - s.x, s.World())) < 24;
        hands.Fire(aim && tick % 6 != 0);
    }
    // Waits for the nearest enemy ahead at a safe height, closing in while it
    // is far; it steers to the helicopter's height by itself.
    void Hunt() {
        const Enemy* e = Ahead();
        float cruise = CruiseY(s, s.x + 400);
        if (!e) return SteerTo(s.tx, cruise);
        float dx = Wrap(e->x - s.x, s.World());
        float gy = std::min(std::max(e->y, cruise - 200), cruise);
        SteerTo(dx > 420 ? e->x - 320 : s.tx, gy);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) Fail("usage: replay_pilot GAME MODE PLAN OUT");
    const std::string game = argv[1], plan = argv[3], out = argv[4];
    const int gameMode = std::atoi(argv[2]);
    if (gameMode < 1 || gameMode > 3) Fail("MODE is 1, 2 or 3");
    if (plan != "rescue" && plan != "fight" && plan != "dive") Fail("PLAN is rescue, fight or dive");

    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        execl(game.c_str(), game.c_str(), "--record", out.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    GameMemory memory(pid, game);
    std::string window = Run("xdotool search --sync --pid " + std::to_string(pid) + " --name '^Vornhelm$' | head -1");
    window = window.substr(0, window.find('\n'));
    if (window.empty() || !memory.Attach()) Fail("the game did not start");
    Trace("window " + window);
    std::system(("xdotool windowactivate --sync " + window + " >/dev/null 2>&1").c_str());

    Hands hands(window);
    Pilot pilot{State{}, hands};
    State& s = pilot.s;
    auto read = [&] {
        while (!memory.Read(&s)) Pause(0.01);
    };

    // The menu: loaded, slid in, the mode selected, then a game.
    for (read(); !(s.mode == 1 && s.loadStep == 0 && s.menuIntro >= 0); read()) Pause(0.05);
    Trace("menu");
    Pause(0.3);
    for (int tries = 0; read(), s.menuSel != gameMode; ++tries) {
        if (tries > 10) Fail("the menu does not select mode " + std::to_string(gameMode));
        hands.Key(s.menuSel < gameMode ? "Right" : "Left");
        Pause(0.3);
    }
    hands.Key("Return");
    for (read(); s.mode != 10 || s.mapWidth < 1; read()) Pause(0.02);
    Trace("playing");

    const int mid = s.mapWidth / 2;
    const float padX = 32.0f * mid + 13, padY = -16.0f * s.Height(mid) - 10;
    const auto start = Clock::now();
    auto seconds = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
    enum Phase { Climb, Travel, Descend, ToPad, Land, Hunt, Dive } phase = Climb;
    const char* const kPhases[] = {"climb", "travel", "descend", "to pad", "land", "hunt", "dive"};
    int goal = -1;  // the column of the person sought
    const float diveX = padX + 200;
    pilot.lastWave = s.wave;

    for (int tick = 0; s.gameOverT == 0; ++tick, Pause(0.03), read()) {
        if (s.paused) Fail("the game paused");
        pilot.Tally();
        // What comes after a climb, and when to give up and dive.
        Phase next = plan == "dive" ? Dive
                   : plan == "fight" ? (pilot.kills >= 1 ? Dive : Hunt)
                   : pilot.landings < 1 ? Travel
                   : pilot.kills < 1 ? Hunt
                                     : Dive;
        if (seconds() > 150) next = Dive;
        if ((phase == Hunt || phase == Travel) && next != phase) phase = Climb;
        if (phase != Dive) pilot.Shoot(tick);
        else hands.Fire(false);
        if (tick % 30 == 0) {
            char line[200];
            std::snprintf(line, sizeof line, "%s at %.0f, %.0f, health %d, aboard %.0f, %d landings, %d kills",
                          kPhases[phase], s.x, s.y, s.health, s.aboard, pilot.landings, pilot.kills);
            Trace(line);
        }
        switch (phase) {
            case Climb:  // up to a safe height, then on
                pilot.SteerTo(s.tx, CruiseY(s, s.x));
                if (s.ty < CruiseY(s, s.x) + 20) phase = next;
                break;
            case Travel: {
                if (s.aboard >= 3) {
                    phase = ToPad;
                    break;
                }
                if (goal < 0 || !s.Person(goal)) {  // the nearest person waiting
                    goal = -1;
                    float best = 1e9f;
                    for (int c = 0; c <= s.mapWidth; ++c) {
                        float d = std::fabs(Wrap(32.0f * c + 16 - s.x, s.World()));
                        if (s.Person(c) && d < best) best = d, goal = c;
                    }
                    if (goal < 0) {
                        phase = ToPad;
                        break;
                    }
                }
                float gx = 32.0f * goal + 16 - 4;  // the rope's end hangs 4 right of the helicopter
                pilot.SteerTo(gx, CruiseY(s, gx));
                if (std::fabs(Wrap(gx - s.tx, s.World())) < 6 && std::fabs(Wrap(gx - s.x, s.World())) < 24) phase = Descend;
                break;
            }
            case Descend: {  // the rope's end, 104 below, onto the person
                float gx = 32.0f * goal + 16 - 4, gy = -16.0f * s.Height(goal) - 8 - 104;
                pilot.SteerTo(gx, gy);
                if (!s.Person(goal)) {
                    ++pilot.pickups;
                    phase = Climb;
                }
                break;
            }
            case ToPad:
                pilot.SteerTo(padX, CruiseY(s, padX));
                if (std::fabs(Wrap(padX - s.tx, s.World())) < 6 && std::fabs(Wrap(padX - s.x, s.World())) < 16) phase = Land;
                break;
            case Land:  // onto the pad, and up again once everybody is off
                pilot.SteerTo(padX, padY);
                if (s.aboard < 0.5f) phase = Climb;
                break;
            case Hunt:
                pilot.Hunt();
                break;
            case Dive:  // away from the pad, then down into the ground
                if (std::fabs(Wrap(diveX - s.tx, s.World())) > 10) pilot.SteerTo(diveX, CruiseY(s, diveX));
                else pilot.SteerTo(diveX, s.ty + 60);
                break;
        }
    }
    hands.LetGo();
    for (read(); s.mode != 1; read()) Pause(0.05);  // the game-over sequence returns to the menu
    Pause(1.0);
    hands.Key("F4");
    int status = 0;
    waitpid(pid, &status, 0);
    std::printf("replay_pilot: mode %d, plan %s: score %d, wave %d, %d pickups, %d landings, %d kills\n",
                gameMode, plan.c_str(), s.score, s.wave, pilot.pickups, pilot.landings, pilot.kills);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}
