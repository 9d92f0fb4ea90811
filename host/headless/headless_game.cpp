// SPDX-License-Identifier: Zlib
#include "host/headless/headless_game.h"

#include <chrono>
#include <thread>

KrHeadlessGame::KrHeadlessGame() {}

String KrHeadlessGame::PathToFilePath(String path) { return KrMapDataPath(path); }

double KrHeadlessGame::Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void KrHeadlessGame::Sleep(double seconds) {
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}
