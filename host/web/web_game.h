// The browser host: the desktop host's loop, input translation, data paths
// and media decoding on emscripten's GLFW (the canvas is the window), driven
// by the browser's animation frames instead of a loop of its own. The page
// gives it what a window system gave the desktop: visibility and focus for
// suspend and resume, touches, gamepads, the Fullscreen API, localStorage for
// the state, and the canvas's size.
#pragma once

#include "host/desktop/glfw_game.h"

class KrWebGame : public KrTandorGame {
public:
    KrWebGame() {}

    // Opens the canvas's window, starts the game and hands the loop to the
    // browser; does not return.
    void Run() override;
    // One animation frame: one pass of the desktop loop, unless that loop
    // would still be blocked waiting for an event.
    void Frame();

    // The first call opens the canvas's window; later ones (F11, the
    // options' display row) only enter or leave full screen.
    void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                       int stencil, bool fullscreen) override;
    int SaveState(String state) override;
    String LoadState() override;
    void OpenUrl(String url) override;
    bool SoundNeedsGesture() override { return true; }

    // From the page's events (host/web/page_events.cpp).
    void PageHidden(bool hidden);
    void PageFocused(bool focused);
    // Something happened that would have woken the desktop loop's wait.
    void Wake() { woken_ = true; }
    // Makes the canvas's drawable as large as it is shown, in device pixels.
    void FollowCanvasSize();
    // The page entered or left full screen.
    void FullscreenChanged(bool fullscreen);

protected:
    void Sleep(double seconds) override {}  // the next frame comes by itself
    void PollEvents() override;
    void WaitEvents() override { waiting_ = true; }
    bool WindowOpen() override { return true; }
    bool WindowIconified() override { return hidden_; }
    bool WindowActive() override { return focused_ && !hidden_; }

private:
    bool hidden_ = false;
    bool focused_ = true;
    bool waiting_ = false;
    bool woken_ = false;
    bool fullscreen_ = false;  // the game last asked for full screen
};
