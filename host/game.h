// The host: the one native object that owns the window and the main loop and
// dispatches into the application's delegate. KrGame holds what every host
// shares; KrGlfwGame (host/desktop/glfw_game.h) adds the window, the loop and input.
#pragma once

#include <cstdio>

#include "runtime/runtime.h"

// Counts the windows the host has opened. Surfaces compare it with the value
// they made their texture under: a new window means a new OpenGL context.
extern int glfwGraphicsSeq;

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

class KrGame {
public:
    KrGame();
    virtual ~KrGame();

    static KrGame* _game;

    virtual void SetDelegate(KrGameDelegate* delegate);
    virtual KrGameDelegate* Delegate();
    virtual void SetKeyboardEnabled(bool enabled);
    virtual bool KeyboardEnabled();
    virtual void SetUpdateRate(int hertz);
    virtual int UpdateRate();
    virtual bool Started();
    virtual bool Suspended();
    virtual int Millisecs();
    virtual void GetDate(Array<int> date);
    virtual int SaveState(String state);
    virtual String LoadState();
    virtual String LoadString(String path);
    virtual bool PollJoystick(int port, Array<float> axesX, Array<float> axesY, Array<float> axesZ,
                              Array<bool> buttons);
    virtual void OpenUrl(String url);
    virtual void SetMouseVisible(bool visible);
    virtual String PathToFilePath(String path);
    virtual std::FILE* OpenFile(String path, String mode);
    virtual unsigned char* LoadData(String path, int* length);
    [[noreturn]] virtual void Die(ThrowableObject* ex);
    // Whether sound can start only after the player's first input (a
    // browser's rule): the game then waits on its start screen for a click.
    virtual bool SoundNeedsGesture() { return false; }
    virtual void gc_collect();

    // Dispatchers into the delegate: guard, state change, guarded call, then
    // one collection step.
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

protected:
    KrGameDelegate* _delegate = nullptr;
    bool _keyboardEnabled = false;
    int _updateRate = 0;
    bool _started = false;
    bool _suspended = false;
    int _dispatchDepth = 0;  // delegate calls in progress
};
