// SPDX-License-Identifier: Zlib
#include <cstdio>
#include <string>

#include "art.h"
#include "outputs.h"
#include "png_writer.h"
#include "preview.h"

namespace assetgen {

bool WriteImages(const std::string& root) {
    bool ok = true;
    for (const ImageAsset& asset : AllImages()) {
        Canvas level1, level4;
        for (int level : kLevels) {
            Canvas sheet = RenderSheet(asset, level);
            std::string path = root + "/" + LevelFileName(asset.layout.name, level);
            if (!WritePng(path, sheet)) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                ok = false;
            }
            if (level == 1) level1 = std::move(sheet);
            if (level == 4) level4 = std::move(sheet);
        }
        bool isFont = asset.layout.name.rfind("fonts/", 0) == 0;
        Canvas preview = isFont ? FontPreview(asset, level1, level4) : PreviewSheet(asset, level1, level4);
        std::string name = asset.layout.name;
        for (char& ch : name)
            if (ch == '/') ch = '_';
        ok = WritePng(root + "/preview/" + name + ".png", preview) && ok;
    }
    return ok && WriteWebIcons(root);
}

// The web app's icons, the desktop icon drawn at 192 and 512 pixels (3 and 8
// times its 64 base pixels), beside the desktop's under icon/.
bool WriteWebIcons(const std::string& root) {
    const ImageAsset icon = AppIconSheet();
    bool ok = true;
    for (int side : {192, 512}) {
        const std::string path = root + "/" + icon.layout.name + "-" + std::to_string(side) + ".png";
        if (!WritePng(path, RenderSheet(icon, side / icon.layout.frameWidth))) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ok = false;
        }
    }
    return ok;
}

}  // namespace assetgen
