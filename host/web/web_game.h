// SPDX-License-Identifier: Zlib
// The browser host: the page's canvas is the window (opened through the
// classic window interface on the browser's GLFW), the shared loop runs once
// per animation frame instead of in a loop of its own, and the page gives
// what a window system gives the desktop: visibility and focus for suspend
// and resume, touches, gamepads, the Fullscreen API, localStorage for the
// state, and the canvas's size.
#pragma once

#include "host/game.h"

class KrWebGame : public KrGame {
public:
    KrWebGame();

    // Opens the canvas's window, starts the game and hands the loop to the
    // browser; does not return.
    void Run() override;
    // One animation frame: one pass of the loop, unless the loop would still
    // be blocked waiting for an event.
    void Frame();

    // The first call opens the canvas's window; later ones (F11, the
    // options' display row) only enter or leave full screen.
    void OpenWindow(const KrWindowRequest& request) override;
    void FramebufferSize(int* width, int* height) override;
    void SwapBuffers() override;
    void OpenUrl(String url) override;
    void SetMouseVisible(bool visible) override;
    String PathToFilePath(String path) override;
    Array<KrGlfwVideoMode*> GetGlfwVideoModes() override;
    KrGlfwVideoMode* GetGlfwDesktopMode() override;
    // Tells the page: a "vornhelm:gameover" event on window.
    void GameOver(int gameMode, int score) override;

    double Now() override;
    void Sleep(double seconds) override {}  // the next frame comes by itself
    void PollEvents() override;
    void WaitEvents() override { waiting_ = true; }
    bool WindowOpen() override { return true; }
    bool WindowIconified() override { return hidden_ || pausedByPage_; }
    bool WindowActive() override { return focused_ && !hidden_ && !pausedByPage_; }
    bool LeaveAsked() override { return leaveAsked_; }
    // The browser's GLFW; the page never ends it.
    bool StartWindowSystem() override;

    // From the page's events (host/web/page_events.cpp).
    void PageHidden(bool hidden);
    void PageFocused(bool focused);
    // Something happened that would have woken the loop's wait.
    void Wake() { woken_ = true; }
    // Makes the canvas's drawable as large as it is shown, in device pixels.
    void FollowCanvasSize();
    // The page entered or left full screen.
    void FullscreenChanged(bool fullscreen);
    // The browser gave the canvas its WebGL context back after losing it.
    void ContextRestored() {
        restored_ = true;
        Wake();
    }
    // The embedding page's pause and resume (window.vornhelm): the same
    // suspension as a hidden page's.
    void PausedByPage(bool paused);

protected:
    bool ReadPad(int port, KrPadReading* pad) override;
    int WriteState(String state) override;
    String ReadState() override;
    // A browser's: sound after a gesture, no exit; touch first on phones.
    bool HasTrait(KrHostTrait trait) override;

private:
    bool hidden_ = false;
    bool focused_ = true;
    bool waiting_ = false;
    bool woken_ = false;
    bool fullscreen_ = false;  // the game last asked for full screen
    bool leaveAsked_ = false;
    bool restored_ = false;  // a restored context waits for its window
    bool pausedByPage_ = false;

    void ReopenWindow();
};
