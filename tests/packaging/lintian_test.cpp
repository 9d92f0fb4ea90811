// SPDX-License-Identifier: Zlib
// lintian on the packages, the .changes that lists them and the source
// package, as Debian checks its own: no tag at any level, the informational and pedantic ones
// included, but those listed here, each with the reason it stays.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "tests/packaging/package.h"

namespace {

using namespace testsupport;

// Tags left on purpose (tag: why). None at present.
const std::map<std::string, std::string> kLeftTags = {};

// Every tag line in lintian's output on `what` is a failure, but those of
// kLeftTags at the informational levels.
void ExpectNoTags(const std::string& what) {
    auto result = RunProcess({"lintian", "-I", "--pedantic", "--display-experimental", "--fail-on", "none", what},
                             {.timeoutSeconds = 300});
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    // "I: vornhelm: tag [detail]", "W: vornhelm (changes): tag [detail]"
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) {
        const size_t name_end = line.find(": ", 3);
        if (line.size() < 3 || line[1] != ':' || name_end == std::string::npos) {
            ADD_FAILURE() << "not a tag line: " << line;
            continue;
        }
        std::string tag;
        std::istringstream(line.substr(name_end + 2)) >> tag;
        EXPECT_TRUE(line[0] != 'E' && line[0] != 'W' && kLeftTags.count(tag)) << line;
    }
}

TEST(Lintian, NoTagOnThePackagesAndTheChanges) {
    ASSERT_TRUE(std::filesystem::exists(kChanges)) << kChanges;
    ExpectNoTags(kChanges);
}

// The source package a distribution builds from: the files git knows, packed
// by dpkg-source.
TEST(Lintian, NoTagOnTheSourcePackage) {
    const std::string dir = ScratchFolder(false), tree = dir + "/vornhelm-" + kVornhelmVersion;
    auto copied = CopySourceTree(tree);
    ASSERT_EQ(copied.exitCode, 0) << copied.err;
    auto packed = RunProcess({"dpkg-source", "-b", tree}, {.workDir = dir, .timeoutSeconds = 300});
    ASSERT_EQ(packed.exitCode, 0) << packed.out << packed.err;
    ExpectNoTags(dir + "/vornhelm_" + kVornhelmVersion + ".dsc");
    std::filesystem::remove_all(dir);
}

}  // namespace
