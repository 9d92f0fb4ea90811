// SPDX-License-Identifier: Zlib
// The host: the one native object that owns the window (a desktop window, a
// page's canvas, or nothing at all) and the main loop, and dispatches into the
// application's delegate.
//
// KrGame is the one interface the layers above ask of a host, and it holds
// what every host shares: the guarded dispatchers, the fixed-rate loop with
// its catch-up rule, joystick reading in the game's layout, files and the
// state file, the size the game is shown, screenshots, and the session tap
// that every call into the game and every value read back passes (recording
// and replaying). The hosts are its siblings, each in its own folder:
// host/desktop (a GLFW window), host/web (the page's canvas) and
// host/headless (nothing to show: fast replays).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/runtime.h"

// The window the game opens at start, and the one a failed reopen falls back to.
constexpr int kKrStartWindowWidth = 640;
constexpr int kKrStartWindowHeight = 480;

// Joystick ports the game may poll.
constexpr int kKrJoystickPorts = 16;

// The application's side of the host; every operation does nothing here.
class KrGameDelegate : public Object {
public:
    KrGameDelegate() {}
    virtual void StartGame() {}
    virtual void SuspendGame() {}
    virtual void ResumeGame() {}
    virtual void UpdateGame() {}
    virtual void RenderGame() {}
    virtual void KeyEvent(int event, int data) {}
    virtual void MouseEvent(int event, int data, float x, float y) {}
    virtual void TouchEvent(int event, int data, float x, float y) {}
    virtual void MotionEvent(int event, int data, float x, float y, float z) {}
    virtual void DiscardGraphics() {}
};

class KrGlfwVideoMode : public Object {
public:
    KrGlfwVideoMode() {}
    int Width = 0;
    int Height = 0;
    int RedBits = 0;
    int GreenBits = 0;
    int BlueBits = 0;
};

// A window as the game, a replay or a test asks for it.
struct KrWindowRequest {
    enum Input { Game, LeaveOnly };
    int width = kKrStartWindowWidth, height = kKrStartWindowHeight;
    int red = 8, green = 8, blue = 8, alpha = 0, depth = 0, stencil = 0;
    bool fullscreen = false;
    bool resizable = true;
    const char* title = "Vornhelm";
    // Game: keys, mouse and the close button reach the game. LeaveOnly (a
    // replay's window): F4 and the close button only ask to leave.
    Input input = Game;
};

// One joystick as a host reads it: axes and buttons (1 pressed) in the
// game's layout where the device is known, in its own order otherwise.
struct KrPadReading {
    std::vector<float> axes;
    std::vector<unsigned char> buttons;
};

// What a host is, as far as the game's behaviour depends on it. Every trait
// is false on the desktop.
enum KrHostTrait {
    // Sound can start only after the player's first input (a browser's
    // rule): the game then waits on its start screen for a click.
    kKrTraitSoundNeedsGesture = 0,
    // The program may not end itself (a page has no exit): F4, the window's
    // close and the menu's back do nothing. Format 3 of replays on.
    kKrTraitNoExit = 1,
    // The screen is touched rather than pointed at (a phone): the game
    // shows its on-screen pad. Format 3 of replays on.
    kKrTraitTouchFirst = 2,
};

// What a recording notes: every call into the game and every value the game
// reads back, in order. host/replay/ writes it down.
class KrSessionTap {
public:
    enum Call { Start, Suspend, Resume, Update, Render, Key, Mouse, Touch, Motion, DiscardGraphics,
                WindowBegin, WindowEnd };
    virtual ~KrSessionTap() = default;
    // a, b: device size for Start and Render, event and data for input,
    // window size and full screen (c) for WindowEnd.
    virtual void Called(Call call, int a = 0, int b = 0, int c = 0, float x = 0, float y = 0, float z = 0) = 0;
    virtual void Clock(int millisecs) = 0;
    // The game's arrays as they hold after the poll.
    virtual void Joystick(int port, bool present, const Array<float>& axesX, const Array<float>& axesY,
                          const Array<float>& axesZ, const Array<bool>& buttons) = 0;
    virtual void StateLoaded(const String& state) = 0;
    virtual void StateSaved(int result) = 0;
    virtual void Date(const Array<int>& date) = 0;
    virtual void Trait(int trait, bool value) = 0;
};

// What a replay gives the game instead of the host: every value the game
// reads back comes from the recording, and reopening the window plays the
// recorded window records.
class KrSessionSource {
public:
    virtual ~KrSessionSource() = default;
    virtual int Clock() = 0;
    virtual bool Joystick(int port, Array<float> axesX, Array<float> axesY, Array<float> axesZ,
                          Array<bool> buttons) = 0;
    virtual String LoadState() = 0;
    virtual int SaveState() = 0;
    virtual void Date(Array<int> date) = 0;
    virtual bool Trait(int trait) = 0;
    virtual void WindowAsked() = 0;
};

class KrGame {
public:
    KrGame();
    virtual ~KrGame();

    static KrGame* _game;

    // ---- What the application asks -------------------------------------
    virtual void SetDelegate(KrGameDelegate* delegate);
    virtual KrGameDelegate* Delegate();
    virtual void SetKeyboardEnabled(bool enabled);
    virtual bool KeyboardEnabled();
    virtual void SetUpdateRate(int hertz);
    virtual int UpdateRate();
    virtual bool Started();
    virtual bool Suspended();
    // The values below pass the session tap: a recording notes them, a
    // replay gives them.
    int Millisecs();
    void GetDate(Array<int> date);
    int SaveState(String state);
    String LoadState();
    bool PollJoystick(int port, Array<float> axesX, Array<float> axesY, Array<float> axesZ, Array<bool> buttons);
    virtual String LoadString(String path);
    virtual void OpenUrl(String url);
    virtual void SetMouseVisible(bool visible);
    virtual String PathToFilePath(String path);
    virtual std::FILE* OpenFile(String path, String mode);
    virtual unsigned char* LoadData(String path, int* length);
    // Decoded media for the devices; the caller frees the block with free().
    virtual unsigned char* LoadImageData(String path, int* width, int* height, int* bytesPerPixel);
    virtual unsigned char* LoadAudioData(String path, int* frameCount, int* channelCount,
                                         int* bytesPerSample, int* sampleRate);
    virtual Array<KrGlfwVideoMode*> GetGlfwVideoModes();
    virtual KrGlfwVideoMode* GetGlfwDesktopMode();
    // (Re)opens the game's window; the session tap sees it.
    void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                       int stencil, bool fullscreen);
    // A game has ended (its game-over sequence begins): what an embedding
    // page may want to know.
    virtual void GameOver(int gameMode, int score) {}
    [[noreturn]] virtual void Die(ThrowableObject* ex);
    // A trait of this host (or, in a replay, of the recording's).
    bool Trait(KrHostTrait trait);
    bool SoundNeedsGesture() { return Trait(kKrTraitSoundNeedsGesture); }
    bool CanQuit() { return !Trait(kKrTraitNoExit); }
    bool TouchFirst() { return Trait(kKrTraitTouchFirst); }
    virtual void gc_collect();

    // ---- What the graphics device asks ---------------------------------
    // The OpenGL context the device draws into: 0 while there is none (no
    // window yet, or a host that never has one); a new number for every new
    // context, whose textures the old one's are not.
    int GraphicsContext() const { return _graphicsContext; }
    static int CurrentGraphicsContext() { return _game ? _game->_graphicsContext : 0; }
    // The size the game is shown: the drawable's, unless a recording or a
    // replay holds the recorded size for the call in progress.
    void DeviceSize(int* width, int* height);
    // The drawable as it really is; 0 x 0 without one.
    virtual void FramebufferSize(int* width, int* height) { *width = *height = 0; }
    // Asks for another drawable size (a replay following its recording).
    virtual void RequestFramebufferSize(int width, int height) {}
    // Shows the finished frame.
    virtual void SwapBuffers() {}
    // A screenshot of the next frame presented: the device reads the
    // finished frame and hands it over before presenting it.
    void CaptureNextFrame(const std::string& path);
    bool CapturePending() const { return _capturePending; }
    bool LastCaptureSaved() const { return _lastCaptureSaved; }
    // RGB rows from the top down; writes the PNG and names it on one line.
    void FrameCaptured(int width, int height, const std::vector<unsigned char>& rgb);

    // ---- Dispatchers into the delegate ---------------------------------
    // Guard, state change, guarded call, then one collection step; the
    // session tap notes each call first.
    virtual void StartGame();
    virtual void SuspendGame();
    virtual void ResumeGame();
    virtual void UpdateGame();
    virtual void RenderGame();
    virtual void KeyEvent(int event, int data);
    virtual void MouseEvent(int event, int data, float x, float y);
    virtual void TouchEvent(int event, int data, float x, float y);
    virtual void MotionEvent(int event, int data, float x, float y, float z);
    virtual void DiscardGraphics();

    // ---- The process entry ---------------------------------------------
    // Starts the host's window system, then the runtime (an uncaught error
    // there ends the window system and goes to Die), then runs the host's
    // loop, or `run` instead (a replay driving the game from its records),
    // while an application exists; ends the window system on the way out.
    // A window system that cannot start ends the process with -1.
    static int Main(int argc, const char** argv, KrGame* host, void (*run)() = nullptr);
    // What a host that never opens a window starts and ends is nothing.
    virtual bool StartWindowSystem() { return true; }
    virtual void EndWindowSystem() {}

    // ---- The loop and the window system --------------------------------
    // Opens the first window, starts the game and runs the loop.
    virtual void Run();
    // One pass of the loop; false once the window is no longer open.
    bool RunPass();
    // Suspends or resumes the game as the window's state asks.
    void FollowWindowState();
    // Opens (or reopens) the window as asked; what a host without one does
    // is nothing.
    virtual void OpenWindow(const KrWindowRequest& request) {}
    // The loop's view of time and of the window; a host without a window
    // has a clock only.
    virtual double Now() { return 0; }
    virtual void Sleep(double seconds) {}
    virtual void PollEvents() {}
    virtual void WaitEvents() {}
    virtual bool WindowOpen() { return false; }
    virtual bool WindowIconified() { return false; }
    virtual bool WindowActive() { return false; }
    // Whether the player asked to leave a replay (F4 or the close button).
    virtual bool LeaveAsked() { return false; }

    // ---- Sessions ------------------------------------------------------
    void SetSessionTap(KrSessionTap* tap) { _tap = tap; }
    void SetSessionSource(KrSessionSource* source) { _source = source; }
    KrSessionSource* SessionSource() const { return _source; }
    // Holds the size the game is shown during a replayed call; (0, 0) lets
    // the drawable's size through again.
    void SetReportedSize(int width, int height) { _reportedWidth = width, _reportedHeight = height; }

protected:
    // What each host reads or writes its own way.
    virtual int ReadClock() { return static_cast<int>(Now() * 1000); }
    virtual bool ReadPad(int port, KrPadReading* reading) { return false; }
    virtual int WriteState(String state);
    virtual String ReadState();
    virtual bool HasTrait(KrHostTrait trait) { return false; }
    // A new OpenGL context exists (a window opened, a lost context restored).
    void NewGraphicsContext() { ++_graphicsContext; }

    KrGameDelegate* _delegate = nullptr;
    bool _keyboardEnabled = false;
    int _updateRate = 0;
    bool _started = false;
    bool _suspended = false;
    bool _minimised = false;
    double _updateDue = 0;
    double _updateInterval = 0;

private:
    bool TimedUpdatesOn() const;
    void RunDueUpdates();
    template <class Dispatch>
    void WithDeviceSize(KrSessionTap::Call call, Dispatch dispatch);

    int _dispatchDepth = 0;  // delegate calls in progress
    int _graphicsContext = 0;
    int _reportedWidth = 0, _reportedHeight = 0;
    KrSessionTap* _tap = nullptr;
    KrSessionSource* _source = nullptr;
    std::string _capturePath;
    bool _capturePending = false;
    bool _lastCaptureSaved = false;
};

// The data-path mapping every host with files uses: "tandor://data/" to the
// data folder (./data/ unless named, host/folders.h) and its siblings to
// folders of the working directory; any other "tandor:" path to the empty
// string; anything else unchanged.
String KrMapDataPath(String path);

// UTF-16 to UTF-8; surrogate pairs are joined, lone surrogates become U+FFFD.
std::string kr_utf16_to_utf8(const char16_t* text, int length);

// Opens a file by UTF-16 path and mode (the POSIX counterpart of _wfopen).
std::FILE* kr_wfopen(const char16_t* path, int pathLength, const char16_t* mode, int modeLength);
