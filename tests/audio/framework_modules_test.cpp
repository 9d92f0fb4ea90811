// SPDX-License-Identifier: Zlib
// The framework's random generator, math helpers and data paths.
#include <gtest/gtest.h>

#include <cmath>

#include "framework/data.h"
#include "framework/math.h"
#include "framework/random.h"

// An empty range still takes its draw, as a wider one would.
TEST(Random, Rnd2OfAnEmptyRangeStillAdvances) {
    kr_random_Seed = 1234;
    kr_random_Rnd();
    const int afterOne = kr_random_Seed;
    kr_random_Seed = 1234;
    EXPECT_EQ(kr_random_Rnd2(5, 5), 5.0f);
    EXPECT_EQ(kr_random_Seed, afterOne);
}

TEST(Math, MaxReturnsTheSecondArgumentOnTiesAndNaN) {
    EXPECT_TRUE(std::signbit(kr_math_Max2(0.0f, -0.0f)));  // ties show with signed zeros
    EXPECT_FALSE(std::signbit(kr_math_Max2(-0.0f, 0.0f)));
    EXPECT_EQ(kr_math_Max2(NAN, 3.0f), 3.0f);
    EXPECT_TRUE(std::isnan(kr_math_Max2(3.0f, NAN)));
}

TEST(DataPath, BareNamesGoIntoTheDataFolderAndPrefixedPathsStay) {
    const struct { const char *in, *out; } cases[] = {
        {"sfx/boom.wav", "tandor://data/sfx/boom.wav"}, {"c:/x.png", "c:/x.png"},
        {"./x.png", "./x.png"}, {"/abs/x.png", "/abs/x.png"}, {"a:b:/c", "a:b:/c"},
        {"a/b:/c", "tandor://data/a/b:/c"},  // a "/" before the ":/"
        {"c:x.png", "tandor://data/c:x.png"}, {".x/y", "tandor://data/.x/y"},
    };
    for (const auto& c : cases) EXPECT_TRUE(kr_data_FixDataPath(String(c.in)) == String(c.out)) << c.in;
}
