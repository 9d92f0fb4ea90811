// SPDX-License-Identifier: Zlib
// The packages scripts/build-deb.sh built with dpkg-buildpackage (the test
// packaging_build_deb builds them first), and trees unpacked from them as
// dpkg would install them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/game_run.h"
#include "tests/support/process.h"
#include "vornhelm_version.h"

namespace testsupport {

// The folder dpkg-buildpackage wrote to, and the file of one package there.
inline const std::string kDebDir = VORNHELM_DEB_DIR;
inline std::string DebFile(const std::string& package, const std::string& arch) {
    return kDebDir + "/" + package + "_" + kVornhelmVersion + "_" + arch + ".deb";
}
inline const std::string kArch = VORNHELM_DEB_ARCH;
inline const std::string kDeb = DebFile("vornhelm", kArch);            // the program
inline const std::string kDataDeb = DebFile("vornhelm-data", "all");   // its data
inline const std::string kDbgsymDeb = DebFile("vornhelm-dbgsym", kArch);
inline const std::string kChanges = kDebDir + "/vornhelm_" + kVornhelmVersion + "_" + kArch + ".changes";

// A scratch folder with the game's packages (or the ones named) unpacked
// into its "root" (dpkg-deb -x); returns the folder.
inline std::string UnpackPackage(const std::vector<std::string>& debs = {kDeb, kDataDeb}) {
    const std::string dir = ScratchFolder(false);
    for (const std::string& deb : debs) {
        auto result = RunProcess({"dpkg-deb", "-x", deb, dir + "/root"});
        EXPECT_EQ(result.exitCode, 0) << deb << ": " << result.err;
    }
    return dir;
}

}  // namespace testsupport
