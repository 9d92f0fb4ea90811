// Screenshots: a finished frame, read from the back buffer just before it is
// presented, written as a PNG file with one line on standard output naming it.
#pragma once

#include <ctime>
#include <string>
#include <vector>

// A name for a screenshot taken at `when` (local time) that names no file in
// the working directory yet: "vornhelm-YYYYMMDD-HHMMSS.png", or, when that
// exists, the same with "-2", "-3" and so on before ".png".
std::string KrScreenshotName(std::time_t when);

// The pixels of OpenGL's read buffer, width x height from the bottom-left
// corner, as RGB rows from the top down.
std::vector<unsigned char> KrReadFrameRgb(int width, int height);

// Writes RGB rows as a PNG file; false when the file cannot be written.
bool KrWritePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb);

// Saves the next frame presented, at the window's size, as a PNG at path,
// and prints "Screenshot saved as PATH" (or "Screenshot could not be saved
// as PATH"). A second request before that frame replaces the first.
void KrCaptureNextFrame(const std::string& path);

// Whether a capture asked for is still waiting for its frame.
bool KrCapturePending();

// Whether the last capture that ran wrote its file.
bool KrLastCaptureSaved();
