// SPDX-License-Identifier: Zlib
// Gives a test process an X display: the one in DISPLAY, or a private Xvfb
// started on first use and stopped when the process exits.
#pragma once

#include <string>

namespace testsupport {

// Makes sure DISPLAY names a running X server; returns its name. A private
// server gets a screen of the given size and depth ("WIDTHxHEIGHTxDEPTH").
std::string EnsureDisplay(const std::string& screen = "1024x768x24");

}  // namespace testsupport
