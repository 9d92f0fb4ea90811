// SPDX-License-Identifier: Zlib
// An image file of the data folder: a grid of equal frames that the game's
// loader cuts left to right, row by row, written at three resolution levels.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "canvas.h"
#include "painter.h"

namespace assetgen {

// Levels 1, 2 and 4 are the base size and two and four times the pixels.
constexpr int kLevels[] = {1, 2, 4};
constexpr int kTopLevel = 4;

// No generated image is wider or taller than this: many graphics cards take
// no larger texture, and an image they cannot take draws nothing.
constexpr int kMaxImageSide = 4096;

struct SheetLayout {
    std::string name;                     // path below the data folder, without level suffix or ".png"
    int frameWidth = 0, frameHeight = 0;  // base pixels
    int frames = 1;
    int columns = 1;  // frames per row of the file
    int Rows() const { return (frames + columns - 1) / columns; }
};

// Draws one frame; the painter is set up in the frame's base pixels.
using FrameArt = std::function<void(Painter&, int frame)>;

// Frames the game never draws may be left blank.
struct ImageAsset {
    SheetLayout layout;
    FrameArt art;
};

// The layout with as many frames to a row as fit in kMaxImageSide at the top
// level, never more than it asked for; the frames that do not fit wrap into
// further rows, which the game's frame grab walks in the same order.
SheetLayout FitToMaxSide(SheetLayout layout);

// "name.png", "name-hd.png", "name-hd2.png".
std::string LevelFileName(const std::string& name, int level);

Canvas RenderSheet(const ImageAsset& asset, int level);

}  // namespace assetgen
