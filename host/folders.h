// SPDX-License-Identifier: Zlib
// Where the desktop game reads its data and keeps the player's things. Run
// without options, all of it lies in the folder the game runs in: data/, the
// state file and F12 screenshots. The command line may name each folder
// elsewhere (the installed launcher names all three).
#pragma once

#include <string>

struct KrFolders {
    std::string data;         // empty: ./data
    std::string player;       // the state file's folder; empty: .
    std::string screenshots;  // empty: .
};

void KrSetFolders(const KrFolders& folders);
const KrFolders& KrCurrentFolders();

// The data folder as a prefix for file names: "./data/" or "<data>/".
std::string KrDataFolderPrefix();
// "./.tandorstate" or "<player>/.tandorstate".
std::string KrStateFilePath();
// The path of a screenshot file of that name: the name itself or
// "<screenshots>/<name>".
std::string KrScreenshotPath(const std::string& name);

// Makes the folder that will hold `path` and any missing folders above it;
// false when that folder does not exist afterwards.
bool KrMakeFolderFor(const std::string& path);
