// Records a session while it is played: every call the host makes into the
// game and every value the game reads back from the host are written to a
// replay file (host/replay/file.h) as they happen. The game is played
// exactly as without recording; F12 screenshots work as usual.
#pragma once

#include <cstdio>
#include <string>

#include "host/desktop/play_host.h"
#include "host/replay/file.h"
#include "host/replay/replay_host.h"

class KrRecordingHost : public KrPlayHost {
public:
    // Opens path for writing; null, with *error set, when it cannot. The file
    // is completed (end record and checksum) when the program ends, however
    // it ends short of being killed; its last line names the game's state as
    // describe gives it, as a replay's last line does.
    static KrRecordingHost* Create(const std::string& path, KrReplayHost::Describe describe,
                                   std::string* error);

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

    int Millisecs() override;
    bool PollJoystick(int port, Array<float> axesX, Array<float> axesY, Array<float> axesZ,
                      Array<bool> buttons) override;
    String LoadState() override;
    int SaveState(String state) override;
    void GetDate(Array<int> date) override;
    void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                       int stencil, bool fullscreen) override;

    // Writes the end record, closes the file and says how it went. Runs once.
    void Finish();

    // SIGINT and SIGTERM end a recording normally (exit code 128 + the
    // signal), so that its file is complete.
    void Run() override;

protected:
    void PollEvents() override;
    void WaitEvents() override;

private:
    KrRecordingHost(std::FILE* file, std::string path, KrReplayHost::Describe describe)
        : file_(file), path_(std::move(path)), describe_(describe) {}
    void Write(const KrRecord& record);
    void Flush();
    void StopIfAsked();
    template <class Dispatch>
    void WithDeviceSize(KrRecordKind kind, Dispatch dispatch);

    std::FILE* file_;
    std::string path_;
    KrReplayHost::Describe describe_;
    KrReplayEncoder encoder_;
    long long updates_ = 0;
    bool writeFailed_ = false;
    bool finished_ = false;
};
