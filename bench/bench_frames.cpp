// SPDX-License-Identifier: Zlib
// What a player sees on the desktop: the real game in the real main loop, in
// a full-screen window at the desktop's size, first in the menu and then in a
// mode-3 game at wave 10 (full health kept, so the game does not end). For
// each it reports the frames shown per second (the presents the loop makes,
// counted), the updates per second, the process's CPU share (all of its
// threads, the renderer's among them; 100 % is one core), the CPU time per
// frame shown (steadier than the share on a busy machine) and the render
// rate that the debug line (F1) shows.
//
// Run from a folder that holds the game's data/ (or the build folder), on a
// display whose screen has the size to measure, for example:
//   xvfb-run -a -s "-screen 0 1920x1080x24" bench/bench_frames [SECONDS] [menu|play]
// A second argument measures that stretch alone (the other is passed through
// quickly), for a profiler attached to the whole run.
// bench/frames.sh runs it at 1280 x 720 and 1920 x 1080 for one or two
// builds in turns.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "game/game.h"
#include "host/desktop/glfw_game.h"
#include "host/events.h"

namespace {

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double WallSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

c_MyApp* App() { return dynamic_cast<c_MyApp*>(kr_app__app); }

// Counts over one measured stretch.
struct Stretch {
    double wall = 0, cpu = 0;
    long presents = 0, updates = 0;
};

// The script, one step per stage, run after every update.
enum class Stage { Loading, SettleMenu, Menu, ChooseMode, SettlePlay, Play, Done };

class FramesHost : public KrTandorGame {
public:
    FramesHost(double seconds, bool menu, bool play) : _seconds(seconds), _menu(menu), _play(play) {}

    void Run() override {
        KrGlfwVideoMode* desktop = GetGlfwDesktopMode();
        _width = desktop->Width;
        _height = desktop->Height;
        SetGlfwWindow(_width, _height, 8, 8, 8, 0, 0, 0, true);
        StartGame();
        RenderGame();
        while (RunPass()) {
        }
    }

    void UpdateGame() override {
        KrTandorGame::UpdateGame();
        ++_updates;
        Script();
    }

    void RenderGame() override {
        KrTandorGame::RenderGame();
        ++_presents;
    }

protected:
    // A fresh player every run: settings and scores live in memory only.
    int WriteState(String state) override {
        _state = state;
        return 0;
    }
    String ReadState() override { return _state; }

    // The measured game keeps running whatever the window system says about
    // focus: no window manager is needed.
    bool WindowActive() override { return true; }
    bool WindowIconified() override { return false; }
    bool WindowOpen() override { return _stage != Stage::Done && KrTandorGame::WindowOpen(); }

private:
    void Begin(Stage stage) {
        _stage = stage;
        _stageStart = WallSeconds();
        _stageUpdates = 0;
        _mark = {WallSeconds(), CpuSeconds(), _presents, _updates};
    }

    double StageSeconds() const { return WallSeconds() - _stageStart; }

    void Report(const char* what) {
        const double wall = WallSeconds() - _mark.wall, cpu = CpuSeconds() - _mark.cpu;
        const long frames = _presents - _mark.presents;
        std::printf("%s %dx%d: %.1f frames shown/s, %.1f updates/s, CPU %.0f %% of a core, "
                    "%.1f ms CPU per frame shown, F1 render rate %d\n",
                    what, _width, _height, static_cast<double>(frames) / wall,
                    static_cast<double>(_updates - _mark.updates) / wall, 100 * cpu / wall,
                    frames > 0 ? 1000 * cpu / static_cast<double>(frames) : 0.0,
                    App() ? App()->m_RenderFpsAvg : -1);
        std::fflush(stdout);
    }

    void Press(int key) {
        KeyEvent(kr_event::KeyDown, key);
        _release = key;
    }

    // Keys go down on one update and up on the next, one every ten updates.
    void ChooseModeThree() {
        static const int kKeys[] = {39, 39, 13};  // right, right, enter
        if (_release) {
            KeyEvent(kr_event::KeyUp, _release);
            _release = 0;
        }
        const int step = _stageUpdates / 10;
        if (_stageUpdates % 10 == 0 && step < 3) Press(kKeys[step]);
    }

    void Script() {
        c_MyApp* app = App();
        if (!app) return;
        ++_stageUpdates;
        switch (_stage) {
            case Stage::Loading:
                if (app->m_LoadStep == 0 && app->m_Mode == 1) Begin(Stage::SettleMenu);
                break;
            case Stage::SettleMenu:
                if (StageSeconds() >= 2) Begin(Stage::Menu);
                break;
            case Stage::Menu:
                if (!_menu || StageSeconds() >= _seconds) {
                    if (_menu) Report("menu");
                    Begin(_play ? Stage::ChooseMode : Stage::Done);
                }
                break;
            case Stage::ChooseMode:
                ChooseModeThree();
                if (app->m_Mode == 10) {
                    app->m_Wave = 9;
                    app->p_Replenish();
                    Begin(Stage::SettlePlay);
                }
                break;
            case Stage::SettlePlay:
            case Stage::Play:
                app->m_Health = 99;
                if (_stage == Stage::SettlePlay && StageSeconds() >= 2) Begin(Stage::Play);
                if (_stage == Stage::Play && StageSeconds() >= _seconds) {
                    Report("play");
                    Begin(Stage::Done);
                }
                break;
            case Stage::Done:
                break;
        }
        if (_stage != Stage::Done && StageSeconds() > 60 + _seconds) {
            std::printf("the game did not reach the next stage in time\n");
            std::exit(1);
        }
    }

    double _seconds;
    bool _menu, _play;
    int _width = 0, _height = 0;
    long _presents = 0, _updates = 0;
    Stage _stage = Stage::Loading;
    double _stageStart = WallSeconds();
    int _stageUpdates = 0;
    int _release = 0;
    Stretch _mark;
    String _state;
};

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10;
    const std::string only = argc > 2 ? argv[2] : "";
    if (!(seconds > 0) || argc > 3 || (argc > 2 && only != "menu" && only != "play")) {
        std::printf("usage: bench_frames [SECONDS per stretch, default 10] [menu|play]\n");
        return 2;
    }
    const char* args[] = {argv[0]};
    return KrGame::Main(1, args, new FramesHost(seconds, only != "play", only != "menu"));
}
