// SPDX-License-Identifier: Zlib
// What desktops and software centres read from the package, checked with
// Debian's own validators on the unpacked files: the AppStream metadata, the
// desktop entry and the manual page; and that they agree with the game and
// each other: its version and release date, its categories, the packaged
// launcher and icons, the README's screenshots, the options it takes; and
// the changelog, which sets the packages' version.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <sstream>

#include "tests/packaging/package.h"
#include "vornhelm_version.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

const std::string kMetainfo = "/usr/share/metainfo/" VORNHELM_APP_ID ".metainfo.xml";

// Every first group of `pattern` in `text`.
std::set<std::string> All(const std::string& text, const std::string& pattern) {
    std::set<std::string> found;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
        found.insert((*it)[1]);
    return found;
}

// The first group of the one match of `pattern` in `text`; "" unless it matches once.
std::string One(const std::string& text, const std::string& pattern) {
    const auto found = All(text, pattern);
    return found.size() == 1 ? *found.begin() : "";
}

struct PackageMetadata : ::testing::Test {
    const Unpacked package;
    const std::string root = package.root;
};

// The AppStream metadata and the desktop entry it launches.
TEST_F(PackageMetadata, AppStreamAndDesktopEntryValidateAndMatchTheRelease) {
    auto result = RunProcess({"appstreamcli", "validate", "--pedantic", "--no-net", "--explain", root + kMetainfo});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    // Debian 12's validator (0.16) predates the <developer> element, which
    // replaced <developer_name> in AppStream 1.0, and notes it as unknown;
    // nothing else may be said.
    const bool before_1_0 = RunProcess({"appstreamcli", "--version"}).out.find("AppStream version: 0.") != std::string::npos;
    for (const std::string& note : All(result.out, "\n?([EWIP]: [^\n]*)"))
        EXPECT_TRUE(before_1_0 && note.ends_with(" unknown-tag developer")) << note;

    // What the metadata says that the rest of the package or the game says too.
    const std::string xml = ReadFile(root + kMetainfo), entry = root + "/usr/share/applications/vornhelm.desktop";
    const std::string text = ReadFile(entry);
    EXPECT_EQ(All(xml, "<release version=\"([^\"]*)\" date=\"" VORNHELM_RELEASE_DATE "\""),
              std::set<std::string>{kVornhelmVersion});
    EXPECT_TRUE(fs::exists(root + "/usr/share/applications/" + One(xml, "<launchable type=\"desktop-id\">([^<]+)</launchable>")));
    const auto categories = All(xml, "<category>([A-Za-z]+)</category>");
    EXPECT_TRUE(categories.count("Game"));
    EXPECT_EQ(categories, All(One(text, "\nCategories=([^\n]*)"), "([A-Za-z]+);"));
    // The screenshots are the README's, which are in the repository.
    const auto readme = All(ReadFile(VORNHELM_SOURCE_DIR "/README.md"), "\\(docs/screenshots/([a-z_]+\\.png)\\)");
    EXPECT_FALSE(readme.empty());
    EXPECT_EQ(All(xml, "<caption>[^<]+</caption>\\s*<image type=\"source\" width=\"1280\" height=\"720\">https://[^<]*/([a-z_]+\\.png)</image>"),
              readme);
    // The entry validates, starts the packaged launcher and names the packaged icons.
    result = RunProcess({"desktop-file-validate", entry});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out + result.err, "");
    EXPECT_EQ(One(text, "\nExec=([^\n]*)"), "/usr/games/vornhelm");
    EXPECT_TRUE(fs::exists(root + "/usr/share/icons/hicolor/64x64/apps/" + One(text, "\nIcon=([^\n]*)") + ".png"));
}

TEST_F(PackageMetadata, ManualPageShowsWithoutWarningsAndTellsEveryOption) {
    ProcessOptions options;
    options.env = {{"MANWIDTH", "80"}, {"LC_ALL", "C"}};
    auto page = RunProcess({"man", "--warnings", "-l", root + "/usr/share/man/man6/vornhelm.6.gz"}, options);
    EXPECT_EQ(page.exitCode, 0);
    EXPECT_EQ(page.err, "");
    // The options the page tells are those the program's usage lists.
    options.env.push_back({"DISPLAY", ":65432"});
    const std::string usage = RunProcess({root + "/usr/libexec/vornhelm/vornhelm", "--help"}, options).out;
    const std::string option = "(?:^|[^a-z-])(--?[a-z][a-z-]*)";
    const auto listed = All(usage, option);
    EXPECT_GE(listed.size(), 5u) << usage;
    const size_t from = page.out.find("\nOPTIONS");
    EXPECT_EQ(All(page.out.substr(from, page.out.find("\nCONTROLS") - from), option), listed);
}

// debian/changelog sets the packages' version: its first entry is this
// release, which CMakeLists.txt sets; each package carries it as its
// changelog.
TEST_F(PackageMetadata, ChangelogBeginsWithThisRelease) {
    const std::string changelog = VORNHELM_SOURCE_DIR "/debian/changelog";
    auto field = [&](const char* name) { return Tool({"dpkg-parsechangelog", "-l", changelog, "-S", name}); };
    EXPECT_EQ(field("Version"), kVornhelmVersion);
    EXPECT_EQ(Tool({"date", "-u", "-d", field("Date"), "+%F"}), VORNHELM_RELEASE_DATE);
    for (const char* package : {"vornhelm", "vornhelm-data"})
        EXPECT_EQ(RunProcess({"zcat", root + "/usr/share/doc/" + package + "/changelog.gz"}).out, ReadFile(changelog)) << package;
}

}  // namespace
