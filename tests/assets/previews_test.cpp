// The review contact sheets: one per image, each showing the frames at the
// base size and at four times the pixels.
#include <gtest/gtest.h>

#include "asset_expectations.h"

using namespace assettest;

TEST(Previews, EveryImageHasAContactSheetLargerThanItsBiggestLevel) {
    for (const ImageEntry& image : GameImages()) {
        std::string name = image.name;
        for (char& c : name)
            if (c == '/') c = '_';
        Image sheet = LoadPng(DataDir() + "/preview/" + name + ".png");
        ASSERT_TRUE(sheet.Ok()) << name;
        // Frames are shown at level 1 and, below them, at their level-4 size.
        EXPECT_GE(sheet.width, image.frameWidth * 4) << name;
        EXPECT_GE(sheet.height, image.frameHeight * (4 + 1)) << name;
    }
    EXPECT_TRUE(LoadPng(DataDir() + "/preview/fenx_font.png").Ok());
}
