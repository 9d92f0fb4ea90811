// SPDX-License-Identifier: Zlib
#include "tests/support/window_game.h"

#include <unistd.h>

#include <filesystem>

#include "graphics/graphics.h"
#include "host/glfw2/glfw2.h"
#include "tests/support/display.h"

bool WindowGame::EnterScratch() {
    testsupport::EnsureDisplay();
    if (glfw2::glfwInit() != 1) return false;
    char name[] = "/tmp/vornhelm_window_game_XXXXXX";
    char here[4096];
    if (!mkdtemp(name) || !getcwd(here, sizeof here) || chdir(name) != 0) return false;
    dir = name;
    cwd_ = here;
    return true;
}

void WindowGame::LeaveScratch() {
    if (!cwd_.empty() && chdir(cwd_.c_str()) != 0) std::perror("chdir");
    if (!dir.empty()) std::filesystem::remove_all(dir);
}

bool WindowGame::OpenGame(int w, int h) {
    host.OpenFixedWindow(w, h);
    app = StartBareGame(host);
    KrGame::_game = &host;
    kr_graphics_SetGraphicsDevice(device = new gxtkGraphics);
    app->p_OnCreate();
    return true;
}

void WindowGame::CloseGame() {
    kr_graphics_EndRender();
    glfw2::glfwCloseWindow();
}

void WindowGame::RenderFrame() {
    kr_graphics_EndRender();
    device->BeginRender();
    kr_graphics_BeginRender();
    app->p_OnRender();
    device->Flush();
}
