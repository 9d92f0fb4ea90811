// F12 screenshots on the desktop: the file name a screenshot takes. The
// frame itself is read by the graphics device and written by the host
// (KrGame::CaptureNextFrame).
#pragma once

#include <ctime>
#include <string>

// A name for a screenshot taken at `when` (local time) that names no file in
// the working directory yet: "vornhelm-YYYYMMDD-HHMMSS.png", or, when that
// exists, the same with "-2", "-3" and so on before ".png".
std::string KrScreenshotName(std::time_t when);
