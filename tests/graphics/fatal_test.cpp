// Misuses of the graphics module that end the process with a runtime error:
// each runs in a child process.
#include <gtest/gtest.h>

#include "tests/support/process.h"

namespace {

testsupport::ProcessResult RunFatal(const char* what) {
    return testsupport::RunProcess({testsupport::TestAppPath("graphics_fatal"), what});
}

TEST(GraphicsFatal, GrabOutsideTheSourceEndsWithItsMessage) {
    for (const char* what : {"grab-below", "grab-wide"}) {
        auto r = RunFatal(what);
        EXPECT_EQ(r.exitCode, 255) << what;
        EXPECT_EQ(r.out.rfind("Tandor Runtime Error : Image frame outside surface\n", 0), 0u)
            << what << ": " << r.out;
    }
    auto fits = RunFatal("grab-fits");
    EXPECT_EQ(fits.exitCode, 3) << fits.out;
    EXPECT_EQ(fits.out, "");
}

TEST(GraphicsFatal, DrawingOutsideARenderFrameIsAnError) {
    auto r = RunFatal("draw-outside-frame");
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_EQ(r.signal, 0);
    EXPECT_NE(r.out.find("Tandor Runtime Error : Graphics operation outside a render frame"),
              std::string::npos)
        << r.out;
}

TEST(GraphicsFatal, AnImageNeedsAtLeastOneFrame) {
    auto r = RunFatal("no-frames");
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_NE(r.out.find("Tandor Runtime Error : Image frame count must be at least 1"),
              std::string::npos)
        << r.out;
}

TEST(GraphicsFatal, MatrixArraysNeedSixValues) {
    for (const char* what : {"short-matrix", "short-transform"}) {
        auto r = RunFatal(what);
        EXPECT_EQ(r.exitCode, 255) << what;
        EXPECT_EQ(r.signal, 0) << what;
        EXPECT_EQ(r.out.rfind("Tandor Runtime Error : Matrix array needs 6 values\n", 0), 0u)
            << what << ": " << r.out;
    }
}

}  // namespace
