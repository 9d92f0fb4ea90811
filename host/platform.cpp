#include "host/platform.h"

#if !defined(__EMSCRIPTEN__)
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

std::string kr_utf16_to_utf8(const char16_t* text, int length) {
    std::string out;
    out.reserve(length);
    for (int i = 0; i < length; ++i) {
        unsigned c = text[i];
        if (c >= 0xd800 && c <= 0xdbff && i + 1 < length && text[i + 1] >= 0xdc00 && text[i + 1] <= 0xdfff) {
            c = 0x10000 + ((c - 0xd800) << 10) + (text[i + 1] - 0xdc00);
            ++i;
        } else if (c >= 0xd800 && c <= 0xdfff) {
            c = 0xfffd;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xc0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3f));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xe0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (c & 0x3f));
        } else {
            out += static_cast<char>(0xf0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (c & 0x3f));
        }
    }
    return out;
}

std::FILE* kr_wfopen(const char16_t* path, int pathLength, const char16_t* mode, int modeLength) {
    std::string p = kr_utf16_to_utf8(path, pathLength);
    std::string m = kr_utf16_to_utf8(mode, modeLength);
    // An embedded zero would silently open a different, shorter path.
    if (p.empty() || p.find('\0') != std::string::npos) return nullptr;
    return std::fopen(p.c_str(), m.c_str());
}

#if defined(__EMSCRIPTEN__)
// A page has no processes to start; the browser host opens URLs itself.
bool kr_open_url(const std::string&) { return false; }
#else
bool kr_open_url(const std::string& url) {
    // Double fork, so the browser launcher never lingers as our zombie.
    pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        pid_t pid;
        const char* argv[] = {"xdg-open", url.c_str(), nullptr};
        int rc = posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char**>(argv), environ);
        _exit(rc == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif
