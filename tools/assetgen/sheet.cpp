// SPDX-License-Identifier: Zlib
#include "sheet.h"

#include <algorithm>

namespace assetgen {

SheetLayout FitToMaxSide(SheetLayout layout) {
    int fit = std::max(1, kMaxImageSide / (layout.frameWidth * kTopLevel));
    layout.columns = std::min(layout.columns, fit);
    return layout;
}

std::string LevelFileName(const std::string& name, int level) {
    const char* suffix = level == 4 ? "-hd2" : level == 2 ? "-hd" : "";
    return name + suffix + ".png";
}

Canvas RenderSheet(const ImageAsset& asset, int level) {
    const SheetLayout& s = asset.layout;
    int fw = s.frameWidth * level, fh = s.frameHeight * level;
    Canvas canvas(fw * s.columns, fh * s.Rows());
    for (int f = 0; f < s.frames; ++f) {
        Painter painter(canvas, (f % s.columns) * fw, (f / s.columns) * fh, fw, fh,
                        static_cast<float>(level));
        asset.art(painter, f);
    }
    return canvas;
}

}  // namespace assetgen
