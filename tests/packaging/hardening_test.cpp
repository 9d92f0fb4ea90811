// SPDX-License-Identifier: Zlib
// The packaged program as dpkg-buildflags hardens it, read back with readelf:
// position-independent, relro with BIND_NOW, the strong stack protector and
// _FORTIFY_SOURCE's checked functions; stripped, with no .comment section,
// and its debug symbols in vornhelm-dbgsym under its build-id.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <tuple>

#include "tests/packaging/package.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

struct Hardening : ::testing::Test {
    const Unpacked package{{kDeb, kDbgsymDeb}};
    const std::string root = package.root, program = root + "/usr/libexec/vornhelm/vornhelm";
    std::string Readelf(const std::string& option, const std::string& file) {
        auto result = RunProcess({"readelf", "-W", option, file});
        EXPECT_EQ(result.exitCode, 0) << option << ": " << result.err;
        return result.out;
    }
};

TEST_F(Hardening, TheProgramIsBuiltWithDpkgBuildflags) {
    // what, readelf option, a pattern its output must (or must not) match
    const std::vector<std::tuple<std::string, std::string, std::string, bool>> checks = {
        {"position-independent", "-h", "Type:\\s+DYN", true},
        {"PIE flag", "-d", "\\(FLAGS_1\\)\\s+Flags:.*\\bPIE\\b", true},
        {"BIND_NOW", "-d", "\\(FLAGS\\)\\s+BIND_NOW|\\(FLAGS_1\\)\\s+Flags:.*\\bNOW\\b", true},
        {"relro", "-l", "GNU_RELRO", true},
        {"stack protector", "--dyn-syms", "\\b__stack_chk_fail\\b", true},
        {"_FORTIFY_SOURCE", "--dyn-syms", "\\b__[a-z]+_chk\\b", true},
        {"stripped", "-S", "\\.debug_info|\\.symtab", false},
        {"no .comment", "-S", "\\]\\s+\\.comment\\s", false},
        {"a build-id", "-n", "Build ID: [0-9a-f]{40}", true},
    };
    for (const auto& [what, option, pattern, present] : checks) {
        const std::string out = Readelf(option, program);
        EXPECT_EQ(std::regex_search(out, std::regex(pattern)), present) << what << " (" << option << ")";
    }
}

TEST_F(Hardening, DebugSymbolsInTheDbgsymPackageUnderTheBuildId) {
    std::smatch id;
    const std::string notes = Readelf("-n", program);
    ASSERT_TRUE(std::regex_search(notes, id, std::regex("Build ID: ([0-9a-f]{2})([0-9a-f]{38})")));
    const std::string debug = root + "/usr/lib/debug/.build-id/" + id[1].str() + "/" + id[2].str() + ".debug";
    ASSERT_TRUE(fs::exists(debug)) << debug;
    EXPECT_NE(Readelf("-S", debug).find(".debug_info"), std::string::npos);
    EXPECT_NE(Readelf("-n", debug).find("Build ID: " + id[1].str() + id[2].str()), std::string::npos);
    // Functions of the game, named in the symbols.
    EXPECT_NE(Readelf("-s", debug).find("KrReplayPlayer"), std::string::npos);
    EXPECT_EQ(Field(kDbgsymDeb, "Depends"), std::string("vornhelm (= ") + kVornhelmVersion + ")");
}

}  // namespace
