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

// "name.png", "name-hd.png", "name-hd2.png".
std::string LevelFileName(const std::string& name, int level);

Canvas RenderSheet(const ImageAsset& asset, int level);

}  // namespace assetgen
