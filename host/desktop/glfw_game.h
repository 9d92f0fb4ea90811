// SPDX-License-Identifier: Zlib
// The desktop host: one GLFW window through the classic interface
// (host/glfw2/), the shared loop run in it, GLFW's joysticks, files in the
// working folder, F12 screenshots, and the program's command line
// (host/desktop/launch.h).
#pragma once

#include <string>

#include "host/game.h"

class KrGlfwGame : public KrGame {
public:
    KrGlfwGame();
    ~KrGlfwGame() override;

    static KrGlfwGame* _glfwGame;

    void OpenUrl(String url) override;
    void SetMouseVisible(bool visible) override;
    String PathToFilePath(String path) override;
    Array<KrGlfwVideoMode*> GetGlfwVideoModes() override;
    KrGlfwVideoMode* GetGlfwDesktopMode() override;

    // The one way a desktop window opens: the game's (which falls back to a
    // window like the one at start when a reopen is refused), a replay's, a
    // test's. Each new window is a new OpenGL context.
    void OpenWindow(const KrWindowRequest& request) override;
    void FramebufferSize(int* width, int* height) override;
    void RequestFramebufferSize(int width, int height) override;
    void SwapBuffers() override;

    double Now() override;
    void Sleep(double seconds) override;
    void PollEvents() override;
    void WaitEvents() override;
    bool WindowOpen() override;
    bool WindowIconified() override;
    bool WindowActive() override;
    bool LeaveAsked() override { return _leaveAsked; }

    // GLFW, and the identity every window of the program carries; GLFW's
    // end.
    bool StartWindowSystem() override;
    void EndWindowSystem() override;

    // SIGINT and SIGTERM end the program from the loop, between two calls
    // into the game (host/desktop/stop_signals.h), so that a recording's
    // file is complete.
    void StopOnSignals(bool on) { _stopOnSignals = on; }

protected:
    bool ReadPad(int port, KrPadReading* pad) override;

private:
    void StopIfAsked();

    bool _leaveAsked = false;
    bool _stopOnSignals = false;
};

class KrTandorGame : public KrGlfwGame {
public:
    KrTandorGame() {}
};

// The desktop's key state asked of the X server (host/desktop/x11_key_state.cpp).
int KrX11KeyDownNow(int key3);

// Starts `xdg-open url` as a detached child process, the URL passed as one
// argument (no shell). False when the process could not be started.
bool kr_open_url(const std::string& url);
