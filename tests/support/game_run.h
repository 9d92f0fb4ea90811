// SPDX-License-Identifier: Zlib
// The real game (or a test program) on a private desktop, as the end-to-end
// and package tests run it: a scratch folder, an X server with openbox, its
// window found, driven and closed with xdotool and the window manager's
// requests, screenshots.
#pragma once

#include <gtest/gtest.h>

#include "tests/support/process.h"

namespace testsupport {

// A fresh private X server of the given size with openbox on it; returns openbox's pid.
int StartDesktop(const std::string& screen = "1024x768x24");
// The state string of a first run off OUYA: 25 settings (5 = 1, 10 = 64,
// 11 = 64, 12 = the on-screen pad's size, 14 = 1), their checksum (the sum
// of each setting times its place), then 72 zeros.
std::string FirstRunState(int padSize = 10);
// A scratch folder, holding a link to the built data/ when `withData`.
std::string ScratchFolder(bool withData);

// A screenshot of a window, 0xRRGGBB per pixel.
struct Shot {
    int w = 0, h = 0;
    std::vector<unsigned> px;
    int Count(int x0, int y0, int x1, int y1, const std::function<bool(unsigned)>& is) const;
};
Shot Grab(const std::string& window);
inline int R(unsigned p) { return p >> 16 & 255; }
inline int G(unsigned p) { return p >> 8 & 255; }
inline int B(unsigned p) { return p & 255; }

// The title menu is up and slid in: the score panel's edge at x = 500 of a
// 640 x 480 window.
bool ShowsMenu(const Shot& s);

// The visible window named `name` of process `pid`, activated once it shows;
// "" when none shows. The search is repeated: a window that vanishes under
// one search (another run's, closing) ends that search with nothing found.
std::string ActivateWindow(int pid, const std::string& name = "^Vornhelm$");
// The window of process `pid`, activated, once it shows the title menu.
testing::AssertionResult AtTheMenu(int pid, std::string* window);
// Keys held down together for `seconds`, then released: the game reads keys
// as held, so a press lasts a few updates.
void Hold(const std::vector<std::string>& keys, double seconds = 0.1);
// The window manager's delete request, as a close button sends it.
void CloseButton(const std::string& window);
// Another window takes the focus; returns its process.
int FocusAnotherWindow();
// `program` on a private X server without OpenGL, where no window can open:
// one line says so on standard output and it exits with -1.
void ExpectNoWindowWithoutOpenGL(const std::string& program, const ProcessOptions& options = {});

}  // namespace testsupport
