// SPDX-License-Identifier: Zlib
#include "host/folders.h"

#include <filesystem>
#include <system_error>

namespace {

KrFolders current;

// "<folder>/<name>", without doubling a slash the folder ends in.
std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

void KrSetFolders(const KrFolders& folders) { current = folders; }

const KrFolders& KrCurrentFolders() { return current; }

std::string KrDataFolderPrefix() { return current.data.empty() ? "./data/" : Join(current.data, ""); }

std::string KrStateFilePath() { return Join(current.player.empty() ? "." : current.player, ".tandorstate"); }

std::string KrScreenshotPath(const std::string& name) { return Join(current.screenshots, name); }

bool KrMakeFolderFor(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) return true;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}
