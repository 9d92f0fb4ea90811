// SPDX-License-Identifier: Zlib
// The real game (or a test program) on a private desktop, as the end-to-end
// tests run it: a scratch folder, an X server with openbox, screenshots.
#pragma once

#include "tests/support/process.h"

namespace testsupport {

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
inline int R(unsigned p) { return p >> 16 & 255; }
inline int G(unsigned p) { return p >> 8 & 255; }
inline int B(unsigned p) { return p & 255; }

// The title menu is up and slid in: the score panel's edge at x = 500 of a
// 640 x 480 window.
bool ShowsMenu(const Shot& s);

}  // namespace testsupport
