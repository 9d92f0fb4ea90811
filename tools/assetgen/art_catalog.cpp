// SPDX-License-Identifier: Zlib
#include "art.h"

namespace assetgen {

std::vector<ImageAsset> AllImages() {
    std::vector<ImageAsset> all = {GfxSheet(),        SmallSheet(), HarrierSheet(), BadgeSheet(), TestcardSheet(),
                                   StudioLogoSheet(), DpadSheet(),  ButtonSheet(),  PartsSheet(), IconSheet(),
                                   TitleLogoSheet(),  MenuSheet(),  GameFontSheet(), AppIconSheet()};
    for (ImageAsset& image : all) image.layout = FitToMaxSide(image.layout);
    return all;
}

}  // namespace assetgen
