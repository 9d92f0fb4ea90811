// Gives a test process an X display: the one in DISPLAY, or a private Xvfb
// started on first use and stopped when the process exits.
#pragma once

#include <string>

namespace testsupport {

// Makes sure DISPLAY names a running X server; returns its name.
std::string EnsureDisplay();

}  // namespace testsupport
