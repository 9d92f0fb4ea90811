// lintian on the package, as Debian checks its own: no error and no warning
// at the default levels, and nothing at the informational and pedantic
// levels either but the tags listed here, each with the reason it stays.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "tests/packaging/package.h"

namespace {

using namespace testsupport;

// Tags left on purpose (tag: why). None at present.
const std::set<std::string> kLeftTags = {};

TEST(Lintian, NoErrorsNoWarningsAndNoUnexplainedNotes) {
    auto result = RunProcess({"lintian", "--info", "--pedantic", "--display-experimental", kDeb}, {.timeoutSeconds = 120});
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    // "E: vornhelm: tag [detail]"; N: lines explain the tags.
    std::istringstream lines(result.out);
    int tags = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.size() < 3 || line[1] != ':' || line[0] == 'N') continue;
        ++tags;
        std::string package, tag;
        std::istringstream(line.substr(2)) >> package >> tag;
        EXPECT_TRUE(line[0] != 'E' && line[0] != 'W' && kLeftTags.count(tag)) << line;
    }
    EXPECT_EQ(result.out.find("vornhelm:") == std::string::npos, tags == 0) << result.out;
}

}  // namespace
