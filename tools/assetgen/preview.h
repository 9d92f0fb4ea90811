// SPDX-License-Identifier: Zlib
// Contact sheets for reviewing the art: every frame of an image at the base
// size and at four times the pixels, each under its frame number.
#pragma once

#include <functional>
#include <string>

#include "canvas.h"
#include "sheet.h"

namespace assetgen {

// `level1` and `level4` are the rendered sheets of `asset` at levels 1 and 4;
// `label` names frame i (its number by default).
Canvas PreviewSheet(const ImageAsset& asset, const Canvas& level1, const Canvas& level4,
                    const std::function<std::string(int)>& label = nullptr);

// The font preview adds sample lines set the way the game's text writer
// spaces them (advance 7 plus each letter's adjustment) at levels 1 and 4.
Canvas FontPreview(const ImageAsset& font, const Canvas& level1, const Canvas& level4);

// Stacks canvases top to bottom on a dark background with a gap.
Canvas Stack(const std::vector<Canvas>& parts, int gap);

}  // namespace assetgen
