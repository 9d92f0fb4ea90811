// A small deterministic application on the real desktop program (command
// line, play, record and replay hosts): everything it reads from the host
// and from its input goes into one running hash, and it draws a frame that
// depends on that hash, so a replay that differs anywhere ends differently.
// F11 toggles full screen, F4 quits, S saves the state, and losing focus
// saves it too.
#include <cinttypes>
#include <cstdio>

#include "framework/framework.h"
#include "host/glfw_game.h"
#include "host/launch.h"

namespace {

std::uint64_t hash = 0xcbf29ce484222325ull;
long long updates = 0;
int saves = 0;
bool fullscreen = false;

void Mix(double v) {
    auto bits = static_cast<std::uint64_t>(static_cast<std::int64_t>(v * 1024));
    for (int i = 0; i < 8; ++i) hash = (hash ^ ((bits >> (8 * i)) & 0xff)) * 0x100000001b3ull;
}

void Save() {
    ++saves;
    kr_app_SaveState(String("probe saves ") + String(saves));
}

class ProbeApp : public c_App {
public:
    ProbeApp() {}
    int p_OnCreate() override {
        kr_app_SetUpdateRate(60);
        String state = kr_app_LoadState();
        for (int i = 0; i < state.Length(); ++i) Mix(state[i]);
        Array<int> date(3);
        kr_app__game->GetDate(date);
        Mix(kr_graphics_DeviceWidth()), Mix(kr_graphics_DeviceHeight());
        return 0;
    }
    int p_OnUpdate() override {
        ++updates;
        if (kr_input_KeyHit(115)) krError(String());  // F4
        if (kr_input_KeyHit(122)) Flip();              // F11
        if (kr_input_KeyHit('S')) Save();
        Mix(kr_app_Millisecs());
        for (int key = 1; key < 256; ++key)
            if (kr_input_KeyDown(key)) Mix(key);
        for (int c; (c = kr_input_GetChar()) != 0;) Mix(c);
        Mix(kr_input_MouseX()), Mix(kr_input_MouseY()), Mix(kr_input_JoyX(0, 0)), Mix(kr_input_JoyY(0, 0));
        return 0;
    }
    int p_OnRender() override {
        Mix(kr_app_Millisecs());
        int w = kr_graphics_DeviceWidth(), h = kr_graphics_DeviceHeight();
        Mix(w), Mix(h);
        kr_graphics_Cls(hash & 0xff, (hash >> 8) & 0xff, (hash >> 16) & 0xff);
        kr_graphics_SetColor(255, 255 - (updates & 0xff), 40);
        kr_graphics_DrawRect((updates * 3) % (w > 40 ? w - 40 : 1), h / 3, 40, 30);
        kr_graphics_SetColor(40, 200, 255);
        kr_graphics_DrawRect(kr_input_MouseX() - 4, kr_input_MouseY() - 4, 9, 9);
        return 0;
    }
    int p_OnSuspend() override { return Save(), 0; }

private:
    void Flip() {
        fullscreen = !fullscreen;
        KrGlfwGame* host = KrGlfwGame::_glfwGame;
        KrGlfwVideoMode* desktop = host->GetGlfwDesktopMode();
        if (fullscreen) host->SetGlfwWindow(desktop->Width, desktop->Height, 8, 8, 8, 0, 0, 0, true);
        else host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    }
};

std::string Describe() {
    char line[96];
    std::snprintf(line, sizeof line, "updates %lld, saves %d, hash %016" PRIx64, updates, saves, hash);
    return line;
}

}  // namespace

int krMain() {
    (new ProbeApp)->m_new();
    return 0;
}

int main(int argc, char** argv) { return KrDesktopMain(argc, const_cast<const char**>(argv), Describe); }
