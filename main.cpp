// SPDX-License-Identifier: Zlib
#include "game/state_digest.h"
#include "host/desktop/launch.h"

int main(int argc, char** argv) {
    return KrDesktopMain(argc, const_cast<const char**>(argv), KrDescribeGameState);
}
