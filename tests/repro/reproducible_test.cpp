// SPDX-License-Identifier: Zlib
// The packages build reproducibly: two clean clones of the commit checked
// out, in folders of different names and lengths, built with
// dpkg-buildpackage under different time zones and umasks and without
// ccache, give the same .deb files byte for byte. Slow (two whole builds):
// `make test-repro` runs it, `make test` does not.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "tests/support/game_run.h"
#include "tests/support/process.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

// Clones the source into PARENT/FOLDER and builds the packages there
// (without their tests); the packages land in PARENT.
void CloneAndBuild(const std::string& parent, const std::string& folder, const std::string& tz, const std::string& umask) {
    fs::create_directories(parent);
    auto clone = RunProcess({"git", "clone", "--quiet", "--no-hardlinks", VORNHELM_SOURCE_DIR, parent + "/" + folder});
    ASSERT_EQ(clone.exitCode, 0) << clone.err;
    ProcessOptions options;
    options.workDir = parent + "/" + folder;
    options.env = {{"TZ", tz}, {"DEB_BUILD_OPTIONS", "nocheck"}, {"CCACHE_DISABLE", "1"},
                   {"PATH", "/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin"}};
    options.timeoutSeconds = 3000;
    auto build = RunProcess({"sh", "-c", "umask " + umask + " && dpkg-buildpackage -us -uc -b -Pnocheck -Jauto"}, options);
    ASSERT_FALSE(build.timedOut);
    ASSERT_EQ(build.exitCode, 0) << build.out.substr(build.out.size() > 4000 ? build.out.size() - 4000 : 0) << build.err;
}

// The files of a package whose bytes differ from the other's, by md5sums.
std::string DifferingFiles(const std::string& a, const std::string& b) {
    auto sums = [](const std::string& deb) {
        const std::string dir = ScratchFolder(false);
        RunProcess({"dpkg-deb", "-R", deb, dir});
        auto out = RunProcess({"sh", "-c", "cd \"$0\" && find . -type f | sort | xargs md5sum", dir}).out;
        fs::remove_all(dir);
        return out;
    };
    std::istringstream left(sums(a)), right(sums(b));
    std::string differing, l, r;
    while (std::getline(left, l) && std::getline(right, r))
        if (l != r) differing += "\n  " + l + "  |  " + r;
    return differing;
}

TEST(Reproducible, TwoCleanBuildsGiveTheSameDebs) {
    const std::string dir = ScratchFolder(false), first = dir + "/a", second = dir + "/second-build-place";
    CloneAndBuild(first, "vornhelm", "UTC", "022");
    if (HasFatalFailure()) return;
    CloneAndBuild(second, "vornhelm-source-tree", "Pacific/Kiritimati", "002");
    if (HasFatalFailure()) return;
    int compared = 0;
    for (const auto& f : fs::directory_iterator(first)) {
        const std::string name = f.path().filename().string();
        if (!name.ends_with(".deb")) continue;
        ++compared;
        ASSERT_TRUE(fs::exists(second + "/" + name)) << name;
        EXPECT_TRUE(ReadFile(f.path().string()) == ReadFile(second + "/" + name))
            << name << " differs:" << DifferingFiles(f.path().string(), second + "/" + name);
    }
    EXPECT_EQ(compared, 3) << "vornhelm, vornhelm-data, vornhelm-dbgsym";
    fs::remove_all(dir);
}

}  // namespace
