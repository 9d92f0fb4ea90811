// SPDX-License-Identifier: Zlib
// The generator is deterministic: a second run, into a fresh folder, writes
// the same files with the same bytes as the build's data folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "tests/support/process.h"

namespace fs = std::filesystem;

TEST(Generator, ASecondRunWritesTheSameFilesByteForByte) {
    std::string dir = (fs::temp_directory_path() / "vornhelm_assets_XXXXXX").string();
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    auto result = testsupport::RunProcess({VORNHELM_ASSETGEN, dir + "/data"}, {.timeoutSeconds = 240});
    auto files = [](const fs::path& root) {
        std::map<std::string, std::string> contents;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            std::ifstream in(entry.path(), std::ios::binary);
            if (entry.is_regular_file()) contents[fs::relative(entry.path(), root).generic_string()] = {std::istreambuf_iterator<char>(in), {}};
        }
        return contents;
    };
    const auto fresh = files(dir + "/data"), built = files(std::string(VORNHELM_BUILD_DIR) + "/data");
    fs::remove_all(dir);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_GT(fresh.size(), 60u);
    for (const auto& [name, bytes] : fresh) EXPECT_TRUE(built.count(name) && built.at(name) == bytes) << name;
    EXPECT_EQ(fresh.size(), built.size());
}
