// SPDX-License-Identifier: Zlib
// F12 screenshots on the desktop: the file name a screenshot takes. The
// frame itself is read by the graphics device and written by the host
// (KrGame::CaptureNextFrame).
#pragma once

#include <ctime>
#include <string>

// A path for a screenshot taken at `when` (local time) that names no file in
// the screenshot folder yet (host/folders.h; the working directory unless
// named): "vornhelm-YYYYMMDD-HHMMSS.png" in it, or, when that exists, the
// same with "-2", "-3" and so on before ".png".
std::string KrScreenshotName(std::time_t when);
