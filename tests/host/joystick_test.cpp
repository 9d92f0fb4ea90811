// PollJoystick's axis rearrangement by axis count, through a host whose one
// joystick on port 0 reports the axes the test sets.
#include <gtest/gtest.h>

#include <vector>

#include "host/glfw2.h"
#include "host/glfw_game.h"

namespace {

class PadHost : public KrGlfwGame {
public:
    std::vector<float> axes;

protected:
    int JoystickParam(int port, int param) override {
        if (port != 0) return 0;
        if (param == glfw2::GLFW_PRESENT) return 1;
        return param == glfw2::GLFW_AXES ? static_cast<int>(axes.size()) : 0;
    }
    void JoystickAxes(int, float* out, int count) override {
        for (int i = 0; i < count && i < static_cast<int>(axes.size()); ++i) out[i] = axes[i];
    }
    void JoystickButtons(int, unsigned char*, int) override {}
};

TEST(PollJoystick, AxesAreRearrangedByTheirCount) {
    // Axes are 0.1, 0.2, ... ; expected x, y and z pairs.
    struct Case { int count; float x0, x1, y0, y1, z0, z1; } cases[] = {
        {4, .1f, .4f, .2f, .3f, 0, 0},
        {5, .1f, .5f, .2f, .4f, .3f, 0},
        {6, .1f, .4f, .2f, .5f, .3f, .6f}};
    for (auto c : cases) {
        SCOPED_TRACE(c.count);
        PadHost host;
        for (int i = 0; i < c.count; ++i) host.axes.push_back(0.1f * (i + 1));
        Array<float> x(2), y(2), z(2);
        Array<bool> buttons(32);
        z[0] = z[1] = 9;
        ASSERT_TRUE(host.PollJoystick(0, x, y, z, buttons));
        EXPECT_FALSE(host.PollJoystick(1, x, y, z, buttons));
        const float got[] = {x[0], x[1], y[0], y[1], z[0], z[1]};
        const float want[] = {c.x0, c.x1, c.y0, c.y1, c.z0, c.z1};
        for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(got[i], want[i]) << i;
    }
}

}  // namespace
