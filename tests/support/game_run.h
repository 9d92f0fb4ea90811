// Running the real game (or a test program) under a private X server with a
// window manager, as the end-to-end tests do: start, wait, look, exit.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

using Env = std::vector<std::pair<std::string, std::string>>;

void Pause(double seconds);
// Polls `done` every 20 ms for up to `timeout` seconds.
bool WaitUntil(const std::function<bool()>& done, double timeout = 10);
// The first line a tool such as xdotool prints.
std::string Tool(const std::vector<std::string>& argv);
std::string ReadFile(const std::string& path);
// Starts argv in `dir` (empty: here), its output in `out` and `err`; it dies with the test.
int Spawn(const std::vector<std::string>& argv, const std::string& dir, const std::string& out,
          const Env& env = {}, const std::string& err = "/dev/null");
// The exit code (128 + signal when killed), or -1 while it runs after `timeout`.
int WaitExit(int& pid, double timeout = 10);
void Kill(int& pid);
// A fresh private X server of the given size with openbox on it; returns openbox's pid.
int StartDesktop(const std::string& screen = "1024x768x24");
// A scratch folder, holding a link to the built data/ when `withData`.
std::string ScratchFolder(bool withData);

// A screenshot of a window, 0xRRGGBB per pixel.
struct Shot {
    int w = 0, h = 0;
    std::vector<unsigned> px;
    int Count(int x0, int y0, int x1, int y1, const std::function<bool(unsigned)>& is) const;
};
Shot Grab(const std::string& window);
int R(unsigned p);
int G(unsigned p);
int B(unsigned p);

}  // namespace testsupport
