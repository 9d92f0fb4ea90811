// The few operating-system calls the host needs, on POSIX: opening a file by
// a UTF-16 path, and opening a URL in the desktop's browser.
#pragma once

#include <cstdio>
#include <string>

// UTF-16 to UTF-8; surrogate pairs are joined, lone surrogates become U+FFFD.
std::string kr_utf16_to_utf8(const char16_t* text, int length);

// Opens a file by UTF-16 path and mode (the POSIX counterpart of _wfopen).
std::FILE* kr_wfopen(const char16_t* path, int pathLength, const char16_t* mode, int modeLength);

// Starts `xdg-open url` as a detached child process, the URL passed as one
// argument (no shell). False when the process could not be started.
bool kr_open_url(const std::string& url);
