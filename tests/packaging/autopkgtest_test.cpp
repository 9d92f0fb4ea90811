// SPDX-License-Identifier: Zlib
// The package's as-installed tests (debian/tests/, which autopkgtest runs on
// an installed system) run here against the unpacked packages: each test
// the control file names, from the source tree as autopkgtest runs them,
// passes; one that may not write to standard error does not.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "tests/packaging/package.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

// Each test debian/tests/control names, with its Restrictions field.
std::map<std::string, std::string> ControlTests() {
    std::map<std::string, std::string> tests;
    std::istringstream stanzas(ReadFile(VORNHELM_SOURCE_DIR "/debian/tests/control") + "\n");
    std::vector<std::string> names;
    std::string restrictions;
    for (std::string line; std::getline(stanzas, line);) {
        if (line.starts_with("Tests:")) {
            std::istringstream words(line.substr(6));
            for (std::string name; words >> name;) names.push_back(name);
        } else if (line.starts_with("Restrictions:")) {
            restrictions = line.substr(13);
        } else if (line.empty()) {
            for (const std::string& name : names) tests[name] = restrictions;
            names.clear(), restrictions.clear();
        }
    }
    return tests;
}

TEST(Autopkgtest, EachTestPassesOnTheUnpackedPackages) {
    const auto tests = ControlTests();
    ASSERT_EQ(tests.size(), 2u);
    const Unpacked package;
    const std::string& dir = package.dir;
    for (const auto& [name, restrictions] : tests) {
        SCOPED_TRACE(name);
        const std::string tmp = dir + "/" + name;
        fs::create_directories(tmp);
        ProcessOptions options;
        options.workDir = VORNHELM_SOURCE_DIR;
        options.env = {{"VORNHELM", package.root + "/usr/games/vornhelm"}, {"AUTOPKGTEST_TMP", tmp}};
        options.timeoutSeconds = 120;
        auto result = RunProcess({VORNHELM_SOURCE_DIR "/debian/tests/" + name}, options);
        EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
        if (restrictions.find("allow-stderr") == std::string::npos) EXPECT_EQ(result.err, "");
        if (name == "replays") {
            for (const char* replay : {"mode1-rescue", "mode2-fight", "mode3-dive"})
                EXPECT_NE(result.out.find(std::string("ok: tests/replays/") + replay + ".vhr\n"), std::string::npos) << result.out;
        } else {
            EXPECT_NE(result.out.find("exit code 0 after "), std::string::npos) << result.out;
        }
    }
}

}  // namespace
