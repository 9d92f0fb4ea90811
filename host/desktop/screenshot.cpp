// SPDX-License-Identifier: Zlib
#include "host/desktop/screenshot.h"

#include <sys/stat.h>

#include "host/folders.h"

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

}  // namespace

std::string KrScreenshotName(std::time_t when) {
    std::tm local = *std::localtime(&when);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "vornhelm-%Y%m%d-%H%M%S", &local);
    std::string path = KrScreenshotPath(std::string(stamp) + ".png");
    for (int n = 2; Exists(path); ++n) path = KrScreenshotPath(std::string(stamp) + "-" + std::to_string(n) + ".png");
    return path;
}
