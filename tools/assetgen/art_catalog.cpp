#include "art.h"

namespace assetgen {

std::vector<ImageAsset> AllImages() {
    return {GfxSheet(),        SmallSheet(), HarrierSheet(), BadgeSheet(), TestcardSheet(),
            StudioLogoSheet(), DpadSheet(),  ButtonSheet(),  PartsSheet(), IconSheet(),
            TitleLogoSheet(),  MenuSheet(),  GameFontSheet()};
}

}  // namespace assetgen
