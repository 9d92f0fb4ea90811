// Every image the game loads exists at all three levels with the frame
// layout the loader expects, the frames the game draws are not empty, and
// the larger levels are fresh drawings of the same frames.
#include <gtest/gtest.h>

#include <cmath>

#include "asset_expectations.h"

using namespace assettest;

namespace {

constexpr int kLevels[] = {1, 2, 4};

// Mean difference (0..1) between a frame at level 1 and the level-L frame
// averaged over L x L blocks, over alpha and the alpha-weighted colour.
double FrameDifference(const Image& small, const Rect& s, const Image& large, const Rect& l, int level) {
    double total = 0;
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.w; ++x) {
            double sum[4] = {0, 0, 0, 0};
            for (int j = 0; j < level; ++j)
                for (int i = 0; i < level; ++i) {
                    const uint8_t* p = large.At(l.x + x * level + i, l.y + y * level + j);
                    for (int k = 0; k < 3; ++k) sum[k] += p[k] * p[3] / 255.0;
                    sum[3] += p[3];
                }
            const uint8_t* q = small.At(s.x + x, s.y + y);
            for (int k = 0; k < 4; ++k) {
                double want = k < 3 ? q[k] * q[3] / 255.0 : q[3];
                total += std::fabs(sum[k] / (level * level) - want);
            }
        }
    return total / (s.w * s.h * 4 * 255.0);
}

// Share of ink-bearing L x L blocks whose pixels are not all the same, which
// is zero for a nearest-neighbour enlargement.
double VariedBlockShare(const Image& large, const Rect& l, int level) {
    int blocks = 0, varied = 0;
    for (int by = 0; by < l.h; by += level)
        for (int bx = 0; bx < l.w; bx += level) {
            const uint8_t* first = large.At(l.x + bx, l.y + by);
            bool inked = false, differs = false;
            for (int j = 0; j < level; ++j)
                for (int i = 0; i < level; ++i) {
                    const uint8_t* p = large.At(l.x + bx + i, l.y + by + j);
                    inked |= p[3] > 0;
                    differs |= std::memcmp(p, first, 4) != 0;
                }
            blocks += inked;
            varied += inked && differs;
        }
    return blocks ? double(varied) / blocks : 0;
}

}  // namespace

TEST(ImageFiles, EveryLevelHasExactSizeAndRoomForAllFrames) {
    for (const ImageEntry& image : GameImages()) {
        Image base = LoadPng(LevelPath(image.name, 1));
        ASSERT_TRUE(base.Ok()) << LevelPath(image.name, 1);
        for (int level : kLevels) {
            SCOPED_TRACE(image.name + " level " + std::to_string(level));
            Image img = LoadPng(LevelPath(image.name, level));
            ASSERT_TRUE(img.Ok());
            EXPECT_EQ(img.width, base.width * level);
            EXPECT_EQ(img.height, base.height * level);
            EXPECT_EQ(img.width % (image.frameWidth * level), 0);
            EXPECT_EQ(img.height % (image.frameHeight * level), 0);
            EXPECT_EQ(
                GrabFrames(img, image.frameWidth * level, image.frameHeight * level, image.frames).size(),
                static_cast<size_t>(image.frames));
        }
    }
}

TEST(ImageFiles, FramesTheGameDrawsAreNotEmpty) {
    for (const ImageEntry& image : GameImages()) {
        for (int level : kLevels) {
            SCOPED_TRACE(image.name + " level " + std::to_string(level));
            Image img = LoadPng(LevelPath(image.name, level));
            ASSERT_TRUE(img.Ok());
            auto frames = GrabFrames(img, image.frameWidth * level, image.frameHeight * level, image.frames);
            ASSERT_EQ(frames.size(), static_cast<size_t>(image.frames));
            // At least the area of one base pixel (a full stop is not much more).
            for (int f : image.named)
                EXPECT_GE(InkOf(img, frames[f]).count, level * level * 3 / 4) << "frame " << f;
        }
    }
}

TEST(ImageFiles, LargerLevelsAreRedrawnVersionsOfTheSameFrames) {
    for (const ImageEntry& image : GameImages()) {
        Image small = LoadPng(LevelPath(image.name, 1));
        ASSERT_TRUE(small.Ok());
        auto smallFrames = GrabFrames(small, image.frameWidth, image.frameHeight, image.frames);
        for (int level : {2, 4}) {
            SCOPED_TRACE(image.name + " level " + std::to_string(level));
            Image large = LoadPng(LevelPath(image.name, level));
            ASSERT_TRUE(large.Ok());
            auto largeFrames =
                GrabFrames(large, image.frameWidth * level, image.frameHeight * level, image.frames);
            ASSERT_EQ(largeFrames.size(), smallFrames.size());
            double varied = 0;
            for (int f : image.named) {
                EXPECT_LT(FrameDifference(small, smallFrames[f], large, largeFrames[f], level), 0.08)
                    << "frame " << f;
                varied += VariedBlockShare(large, largeFrames[f], level);
            }
            // Anti-aliased edges rasterised at the larger size give many blocks
            // of mixed pixels; an enlarged copy would give none.
            EXPECT_GT(varied / image.named.size(), 0.02);
        }
    }
}

TEST(ImageFiles, ModeButtonsAreTellableApart) {
    // The three game-mode buttons must differ visibly from each other.
    Image img = LoadPng(LevelPath("common/Buttons", 1));
    ASSERT_TRUE(img.Ok());
    auto frames = GrabFrames(img, 64, 64, 16);
    for (int a = 0; a < 3; ++a)
        for (int b = a + 1; b < 3; ++b) {
            int differing = 0;
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 64; ++x) {
                    const uint8_t* p = img.At(frames[a].x + x, frames[a].y + y);
                    const uint8_t* q = img.At(frames[b].x + x, frames[b].y + y);
                    int d = std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]);
                    differing += d > 60;
                }
            EXPECT_GT(differing, 64 * 64 / 4) << "buttons " << a << " and " << b;
        }
}

TEST(ImageFiles, PartsFramesFormAPaletteOfDistinctColours) {
    // Frame v is drawn for colour value v: the 256 sparks should not repeat.
    Image img = LoadPng(LevelPath("parts", 1));
    ASSERT_TRUE(img.Ok());
    auto frames = GrabFrames(img, 8, 8, 256);
    ASSERT_EQ(frames.size(), 256u);
    std::vector<std::vector<uint8_t>> seen;
    for (const Rect& r : frames) {
        std::vector<uint8_t> pixels;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                pixels.insert(pixels.end(), img.At(r.x + x, r.y + y), img.At(r.x + x, r.y + y) + 4);
        for (const auto& other : seen) EXPECT_NE(pixels, other);
        seen.push_back(pixels);
    }
}
