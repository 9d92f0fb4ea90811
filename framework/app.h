// SPDX-License-Identifier: Zlib
// The application object and the game delegate that connects it to the
// host: the delegate owns the graphics, audio and input devices, creates
// them when the host starts, and turns every host call into the
// application's callbacks and into input-state updates.
#pragma once

#include "host/host.h"

class gxtkGraphics;
class gxtkAudio;
class c_InputDevice;

// The base of the game's application class. Creating one installs the
// framework's delegate into the host.
class c_App : public Object {
public:
    c_App() {}
    c_App* m_new();

    virtual int p_OnCreate();
    virtual int p_OnSuspend();
    virtual int p_OnResume();
    virtual int p_OnUpdate();
    virtual int p_OnRender();

    int p_OnLoading();
    // Both end the program.
    int p_OnClose();
    int p_OnBack();
};

class c_GameDelegate : public KrGameDelegate {
public:
    gxtkGraphics* m_graphicsDevice = nullptr;
    gxtkAudio* m_audioDevice = nullptr;
    c_InputDevice* m_inputDevice = nullptr;

    c_GameDelegate() {}
    c_GameDelegate* m_new();
    void mark() override;

    void StartGame() override;
    void SuspendGame() override;
    void ResumeGame() override;
    void UpdateGame() override;
    void RenderGame() override;
    void KeyEvent(int event, int data) override;
    void MouseEvent(int event, int data, float x, float y) override;
    void TouchEvent(int event, int data, float x, float y) override;
    void MotionEvent(int event, int data, float x, float y, float z) override;
    void DiscardGraphics() override;
};

// The kinds of event that travel from the host through the delegate. Never
// instantiated.
class c_KrGameEvent : public Object {
public:
    c_KrGameEvent() {}
    static constexpr int KeyDown = kr_event::KeyDown;
    static constexpr int KeyUp = kr_event::KeyUp;
    static constexpr int KeyChar = kr_event::KeyChar;
    static constexpr int MouseDown = kr_event::MouseDown;
    static constexpr int MouseUp = kr_event::MouseUp;
    static constexpr int MouseMove = kr_event::MouseMove;
    static constexpr int TouchDown = kr_event::TouchDown;
    static constexpr int TouchUp = kr_event::TouchUp;
    static constexpr int TouchMove = kr_event::TouchMove;
    static constexpr int Motion = kr_event::Motion;
};

extern c_App* kr_app__app;
extern c_GameDelegate* kr_app__delegate;
extern KrGame* kr_app__game;
extern int kr_app__updateRate;

int kr_app_SetUpdateRate(int hertz);
int kr_app_Millisecs();
String kr_app_LoadState();
int kr_app_SaveState(String state);
// Ends the program at once with exit code 0.
[[noreturn]] int kr_app_EndApp();
