// SPDX-License-Identifier: Zlib
// vornhelm_assetgen OUTPUT_DIR
// Draws, synthesises and writes the game's whole data folder. The output
// depends on nothing but this program, so every run gives the same bytes.
//
// vornhelm_assetgen --ogg-seeds DIR
// Writes the Ogg fuzzer's seed files (fuzz/seeds/fuzz_ogg/) instead.
#include <cstdio>
#include <future>
#include <string>

#include "outputs.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--ogg-seeds") return assetgen::WriteOggSeeds(argv[2]) ? 0 : 1;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n       %s --ogg-seeds DIR\n", argv[0], argv[0]);
        return 2;
    }
    std::string root = argv[1];
    // The tune is the longest single job and shares nothing with the images,
    // so it is made on a second thread.
    auto tune = std::async(std::launch::async, [&root] { return assetgen::WriteTune(root); });
    bool ok = assetgen::WriteImages(root);
    ok = assetgen::WriteDefaultFont(root) && ok;
    ok = assetgen::WriteSoundEffects(root) && ok;
    ok = tune.get() && ok;
    return ok ? 0 : 1;
}
