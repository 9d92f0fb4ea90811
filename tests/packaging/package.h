// The package `make deb` built (the test packaging_build_deb builds it
// first), and trees unpacked from it as dpkg would install them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/game_run.h"
#include "tests/support/process.h"

namespace testsupport {

inline const std::string kDeb = VORNHELM_DEB;

// A scratch folder with the package unpacked into its "root" (dpkg-deb -x);
// returns the folder.
inline std::string UnpackPackage() {
    const std::string dir = ScratchFolder(false);
    auto result = RunProcess({"dpkg-deb", "-x", kDeb, dir + "/root"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return dir;
}

}  // namespace testsupport
