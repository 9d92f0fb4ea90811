// Data paths and file access of the host, and the date.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "host/glfw_game.h"
#include "tests/host/temp_dir.h"

namespace {

std::string Narrow(const String& s) {
    std::vector<unsigned char> bytes = s.ToUtf8();
    return std::string(bytes.begin(), bytes.end());
}

TEST(PathToFilePath, DataRootsMapToFoldersOfTheWorkingDirectory) {
    KrGlfwGame host;
    const std::pair<const char*, const char*> cases[] = {
        {"tandor://data/images/ship.png", "./data/images/ship.png"},
        {"tandor://internal/x", "./internal/x"},
        {"tandor://external/y.txt", "./external/y.txt"},
        {"tandor://data/", "./data/"},
        {"tandor:data/x", ""},
        {"tandor://other/x", ""},
        {"tandor://DATA/x", ""},
        {"tandor:", ""},
        {"plain.txt", "plain.txt"},
        {"/abs/path", "/abs/path"},
        {"", ""},
        {"Tandor://data/x", "Tandor://data/x"},
    };
    for (auto [in, out] : cases) EXPECT_EQ(Narrow(host.PathToFilePath(String(in))), out) << in;
}

class Files : public InTempDir {
protected:
    KrGlfwGame host;
};

TEST_F(Files, OpensMappedPathsAndRefusesUnknownRoots) {
    std::filesystem::create_directories("data");
    std::filesystem::create_directories("other");
    WriteFile("data/a.txt", "A");
    WriteFile("other/x", "X");
    std::FILE* f = host.OpenFile(String("tandor://data/a.txt"), String("rb"));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::fgetc(f), 'A');
    std::fclose(f);
    EXPECT_EQ(host.OpenFile(String("tandor://other/x"), String("rb")), nullptr);
    EXPECT_EQ(host.OpenFile(String("tandor://data/missing"), String("rb")), nullptr);
}

TEST_F(Files, OpensPathsWithNonAsciiNames) {
    std::filesystem::create_directories("data");
    WriteFile("data/\xc3\xa9t\xc3\xa9.txt", "summer");
    const char16_t name[] = u"tandor://data/\u00e9t\u00e9.txt";
    String path(name, static_cast<int>(std::char_traits<char16_t>::length(name)));
    EXPECT_TRUE(host.LoadString(path) == String("summer"));
}

TEST_F(Files, LoadStringDecodesUtf8AndGivesEmptyWhenMissing) {
    std::filesystem::create_directories("data");
    WriteFile("data/t.txt", "caf\xc3\xa9");
    String text = host.LoadString(String("tandor://data/t.txt"));
    ASSERT_EQ(text.Length(), 4);
    EXPECT_EQ(text[3], u'\u00e9');
    EXPECT_EQ(host.LoadString(String("tandor://data/none.txt")).Length(), 0);
}

TEST_F(Files, LoadDataReadsEveryByte) {
    std::filesystem::create_directories("data");
    std::string bytes;
    for (int i = 0; i < 200000; ++i) bytes += static_cast<char>(i * 7 % 256);  // zeros included
    WriteFile("data/blob.bin", bytes);
    int length = -1;
    unsigned char* data = host.LoadData(String("tandor://data/blob.bin"), &length);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(length, static_cast<int>(bytes.size()));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), length), bytes);
    std::free(data);

    WriteFile("data/empty.bin", "");
    data = host.LoadData(String("tandor://data/empty.bin"), &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(length, 0);
    std::free(data);
}

TEST_F(Files, LoadDataOfAMissingFileIsNullAndLeavesTheLength) {
    int length = 77;
    EXPECT_EQ(host.LoadData(String("tandor://data/none.bin"), &length), nullptr);
    EXPECT_EQ(length, 77);
}

TEST(GetDate, FillsAsFarAsTheArrayReaches) {
    KrGlfwGame host;
    std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);

    Array<int> three(3);
    host.GetDate(three);
    EXPECT_EQ(three[0], local.tm_year + 1900);
    EXPECT_EQ(three[1], local.tm_mon + 1);
    EXPECT_EQ(three[2], local.tm_mday);

    Array<int> eight(8);
    eight[7] = -9;
    host.GetDate(eight);
    EXPECT_GE(eight[3], 0);
    EXPECT_LE(eight[3], 23);
    EXPECT_LE(eight[4], 59);
    EXPECT_LE(eight[5], 60);
    EXPECT_EQ(eight[6], 0);   // milliseconds
    EXPECT_EQ(eight[7], -9);  // beyond the date: untouched

    host.GetDate(Array<int>());  // nothing to fill, nothing happens
}

}  // namespace
