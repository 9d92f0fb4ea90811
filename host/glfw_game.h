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

protected:
    bool _minimised = false;
    double _updateDue = 0;
    double _updateInterval = 0;
};

class KrTandorGame : public KrGlfwGame {
public:
    KrTandorGame() {}
    // Process entry: GLFW start-up, host creation, runtime start-up, main loop.
    static int Main(int argc, const char** argv);
};
