// SPDX-License-Identifier: Zlib
// The packages scripts/build-deb.sh built with dpkg-buildpackage (the test
// packaging_build_deb builds them first), and trees unpacked from them as
// dpkg would install them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
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
// into its root/ (dpkg-deb -x), removed with the object.
struct Unpacked {
    explicit Unpacked(const std::vector<std::string>& debs = {kDeb, kDataDeb}) {
        for (const std::string& deb : debs) {
            auto result = RunProcess({"dpkg-deb", "-x", deb, root});
            EXPECT_EQ(result.exitCode, 0) << deb << ": " << result.err;
        }
    }
    ~Unpacked() { std::filesystem::remove_all(dir); }
    const std::string dir = ScratchFolder(false), root = dir + "/root";
};

// One field of a package's control file.
inline std::string Field(const std::string& deb, const std::string& name) {
    std::string value = RunProcess({"dpkg-deb", "--field", deb, name}).out;
    return value.substr(0, value.find_last_not_of('\n') + 1);
}

// The files git knows in the source tree (committed or not, but not
// ignored), copied into `folder`: what a source package is made from.
inline ProcessResult CopySourceTree(const std::string& folder) {
    std::filesystem::create_directories(folder);
    return RunProcess({"sh", "-c", "git ls-files -z --cached --others --exclude-standard | tar --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -C \"$0\" -xf -", folder},
                      {.workDir = VORNHELM_SOURCE_DIR});
}

}  // namespace testsupport
