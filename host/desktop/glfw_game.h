// The desktop host: one GLFW window, the fixed-rate main loop, input
// translation, data paths and media decoding.
#pragma once

#include "host/game.h"

class KrGlfwVideoMode : public Object {
public:
    KrGlfwVideoMode() {}
    int Width = 0;
    int Height = 0;
    int RedBits = 0;
    int GreenBits = 0;
    int BlueBits = 0;
};

class KrGlfwGame : public KrGame {
public:
    KrGlfwGame();
    ~KrGlfwGame() override;

    static KrGlfwGame* _glfwGame;

    void SetUpdateRate(int hertz) override;
    int Millisecs() override;
    bool PollJoystick(int port, Array<float> axesX, Array<float> axesY, Array<float> axesZ,
                      Array<bool> buttons) override;
    void OpenUrl(String url) override;
    void SetMouseVisible(bool visible) override;
    String PathToFilePath(String path) override;

    // Decoded media for the devices; the caller frees the block with free().
    virtual unsigned char* LoadImageData(String path, int* width, int* height, int* bytesPerPixel);
    virtual unsigned char* LoadAudioData(String path, int* frameCount, int* channelCount,
                                         int* bytesPerSample, int* sampleRate);

    Array<KrGlfwVideoMode*> GetGlfwVideoModes();
    KrGlfwVideoMode* GetGlfwDesktopMode();
    virtual void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha,
                               int depth, int stencil, bool fullscreen);
    virtual void Run();

    // Input translation.
    static int TransKey(int glfwKey);
    static int KeyToChar(int key);
    static void OnKey(int glfwKey, int action);
    static void OnChar(int chr, int action);
    static void OnMouseButton(int button, int action);
    static void OnMousePos(int x, int y);
    static int OnWindowClose();

    // The stick axes in the order the game reads them: with exactly 4 axes
    // the third moves to the fifth place, with exactly 5 the fourth and fifth
    // swap. `axes` holds 6 values.
    static void ArrangeAxes(int count, float* axes);

protected:
    // The loop's view of time and of the window. The real ones ask the
    // window system; tests drive the loop with their own.
    virtual double Now();
    virtual void Sleep(double seconds);
    virtual void PollEvents();
    virtual void WaitEvents();
    virtual bool WindowOpen();
    virtual bool WindowIconified();
    virtual bool WindowActive();
    // The joystick reads of PollJoystick; the real ones ask the window system.
    virtual int JoystickParam(int port, int param);
    virtual void JoystickAxes(int port, float* axes, int count);
    virtual void JoystickButtons(int port, unsigned char* buttons, int count);

    // One pass of the main loop; false once the window is no longer open.
    bool RunPass();
    // Suspends or resumes the game as the window's state asks.
    void FollowWindowState();

    bool _minimised = false;
    double _updateDue = 0;
    double _updateInterval = 0;

private:
    bool TimedUpdatesOn() const;
    void RunDueUpdates();
    void ReleaseHeldKeys();
};

class KrTandorGame : public KrGlfwGame {
public:
    KrTandorGame() {}
    // Process entry: GLFW start-up, host creation, runtime start-up, main loop.
    // A host made beforehand (recording, replaying) is used instead of a new one.
    static int Main(int argc, const char** argv, KrTandorGame* host = nullptr);
    // False for a host that never opens a window: Main then leaves the
    // window system alone, so the host runs where there is none.
    virtual bool UsesWindowSystem() const { return true; }
};
