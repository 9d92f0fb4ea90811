// SPDX-License-Identifier: Zlib
// The stick axes in the order the game reads them, for each axis count.
#include <gtest/gtest.h>

#include <vector>

#include "host/input/pad_layout.h"

namespace {

TEST(Joystick, AxesInTheOrderTheGameReadsThem) {
    // Axis i reads i + 1; the six places after the arrangement.
    const struct { int count; std::vector<float> axes; } cases[] = {
        {2, {1, 2, 0, 0, 0, 0}},
        {4, {1, 2, 0, 4, 3, 0}},  // the third moves to the fifth place
        {5, {1, 2, 3, 5, 4, 0}},  // the fourth and fifth swap
        {6, {1, 2, 3, 4, 5, 6}},
    };
    for (const auto& c : cases) {
        float axes[6] = {};
        for (int i = 0; i < c.count; ++i) axes[i] = float(i + 1);
        kr_pad::ArrangeAxes(c.count, axes);
        EXPECT_EQ(std::vector<float>(axes, axes + 6), c.axes) << c.count << " axes";
    }
}

}  // namespace
