// The generator is deterministic: a second run, into a fresh folder, writes
// the same files with the same bytes as the build's data folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "asset_expectations.h"
#include "tests/support/process.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> FilesUnder(const fs::path& root) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) names.insert(fs::relative(entry.path(), root).generic_string());
    return names;
}

class SecondRun : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vornhelm_assets_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        if (!dir_.empty()) fs::remove_all(dir_, ec);
    }
    fs::path dir_;
};

}  // namespace

TEST_F(SecondRun, WritesTheSameFilesByteForByte) {
    testsupport::ProcessOptions options;
    options.timeoutSeconds = 240;
    auto result = testsupport::RunProcess({VORNHELM_ASSETGEN, (dir_ / "data").string()}, options);
    ASSERT_FALSE(result.timedOut);
    ASSERT_EQ(result.exitCode, 0) << result.err;

    std::set<std::string> fresh = FilesUnder(dir_ / "data");
    std::set<std::string> built = FilesUnder(assettest::DataDir());
    ASSERT_FALSE(fresh.empty());
    for (const std::string& name : fresh) {
        ASSERT_TRUE(built.count(name)) << name << " missing from the build's data folder";
        EXPECT_TRUE(ReadAll(dir_ / "data" / name) == ReadAll(fs::path(assettest::DataDir()) / name)) << name;
    }
    // The run wrote everything the game loads (checked in detail elsewhere).
    EXPECT_TRUE(fresh.count("sfx/choppa.ogg"));
    EXPECT_TRUE(fresh.count("fonts/editundo-hd2.png"));
    EXPECT_TRUE(fresh.count("fenx_font.png"));
}

TEST(Generator, RefusesAMissingOutputArgument) {
    auto result = testsupport::RunProcess({VORNHELM_ASSETGEN});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.err.find("usage"), std::string::npos);
}
