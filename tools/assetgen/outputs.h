// SPDX-License-Identifier: Zlib
// The parts of the data folder, each written by its own module.
#pragma once

#include <string>

namespace assetgen {

// Every image at levels 1, 2 and 4, plus the preview sheets under preview/.
bool WriteImages(const std::string& root);
// "icon/vornhelm-192.png" and "-512.png", the web app's icons (WriteImages
// writes them too).
bool WriteWebIcons(const std::string& root);
// "fenx_font.png", the framework's default font.
bool WriteDefaultFont(const std::string& root);
// sfx/NNN.wav sound effects.
bool WriteSoundEffects(const std::string& root);
// sfx/choppa.ogg, the in-game tune.
bool WriteTune(const std::string& root);
// Short Ogg files of the tune and some effects, the Ogg fuzzer's seeds.
bool WriteOggSeeds(const std::string& dir);

}  // namespace assetgen
