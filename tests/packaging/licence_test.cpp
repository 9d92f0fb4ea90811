// SPDX-License-Identifier: Zlib
// The licence: the zlib licence's text in LICENSE, the same in the packages'
// copyright files, and the line "SPDX-License-Identifier: Zlib" in every
// source, script and test file, which scripts/add-spdx.sh adds where it is
// missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "tests/packaging/package.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

const std::string kSource = VORNHELM_SOURCE_DIR;
const std::string kTag = "SPDX-License-Identifier: Zlib";

// scripts/add-spdx.sh, run on a copy of the tree, finds no file that lacks
// the line (the next test holds the script to each kind's comment).
TEST(Licence, EverySourceScriptAndTestFileCarriesTheSpdxLine) {
    const std::string dir = ScratchFolder(false);
    ASSERT_EQ(CopySourceTree(dir).exitCode, 0);
    auto listed = RunProcess({"git", "-C", kSource, "ls-files", "--cached", "--others", "--exclude-standard"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    std::vector<std::string> argv = {dir + "/scripts/add-spdx.sh"};
    std::istringstream names(listed.out);
    for (std::string name; std::getline(names, name);) argv.push_back(name);
    EXPECT_GT(argv.size(), 300u) << "the sources were not found";
    auto result = RunProcess(argv, {.workDir = dir});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "") << "without the line (scripts/add-spdx.sh adds it)";
    fs::remove_all(dir);
}

// The script on one file of each kind, twice: the line where it belongs the
// first time, nothing the second; the file keeps its mode.
TEST(Licence, AddSpdxGivesEachKindItsCommentOnce) {
    const std::string dir = ScratchFolder(false);
    // file, its text, the text after
    const std::vector<std::tuple<std::string, std::string, std::string>> files = {
        {"a.cpp", "int x;\n", "// " + kTag + "\nint x;\n"},
        {"b.h", "", "// " + kTag + "\n"},
        {"page.js", "'use strict';\n", "// " + kTag + "\n'use strict';\n"},
        {"CMakeLists.txt", "project(x)\n", "# " + kTag + "\nproject(x)\n"},
        {"x.cmake", "set(a 1)\n", "# " + kTag + "\nset(a 1)\n"},
        {"run.sh", "#!/bin/sh\necho\n", "#!/bin/sh\n# " + kTag + "\necho\n"},
        {"run", "#!/bin/sh\necho\n", "#!/bin/sh\n# " + kTag + "\necho\n"},
        {"t.py", "\"\"\"Doc.\"\"\"\n", "# " + kTag + "\n\"\"\"Doc.\"\"\"\n"},
        {"Makefile", "all:\n", "# " + kTag + "\nall:\n"},
        {"sub/CMakeLists.txt", "", "# " + kTag + "\n"},
        {"game.desktop.in", "[Desktop Entry]\n", "# " + kTag + "\n[Desktop Entry]\n"},
        {"x.hpp", "", "// " + kTag + "\n"},
        {"launcher.sh.in", "#!/bin/sh\n@X@\n", "#!/bin/sh\n# " + kTag + "\n@X@\n"},
        {"page.html", "<!doctype html>\n<html>\n", "<!doctype html>\n<!-- " + kTag + " -->\n<html>\n"},
        {"a.xml", "<?xml version=\"1.0\"?>\n<a/>\n", "<?xml version=\"1.0\"?>\n<!-- " + kTag + " -->\n<a/>\n"},
        {"game.6", ".TH X 6\n", ".\\\" " + kTag + "\n.TH X 6\n"},
        {"done.cpp", "// " + kTag + "\nint y;\n", "// " + kTag + "\nint y;\n"},
        {"done", "#!/bin/sh\n# " + kTag + "\n", "#!/bin/sh\n# " + kTag + "\n"},
        // Data and the AppStream template: left alone.
        {"notes.txt", "text\n", "text\n"},
        {"README.md", "# Title\n", "# Title\n"},
        {"org.x.metainfo.xml.in", "<?xml version=\"1.0\"?>\n", "<?xml version=\"1.0\"?>\n"},
    };
    std::vector<std::string> argv = {kSource + "/scripts/add-spdx.sh"};
    fs::create_directories(dir + "/sub");
    for (const auto& [name, before, after] : files) {
        std::ofstream(dir + "/" + name) << before;
        argv.push_back(name);
    }
    fs::permissions(dir + "/run", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    ProcessOptions options;
    options.workDir = dir;
    for (int run : {1, 2}) {
        SCOPED_TRACE(run);
        auto result = RunProcess(argv, options);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out.empty(), run == 2) << result.out;
        for (const auto& [name, before, after] : files) EXPECT_EQ(ReadFile(dir + "/" + name), after) << name;
    }
    EXPECT_EQ(fs::status(dir + "/run").permissions(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    fs::remove_all(dir);
}

// The licence's paragraphs and numbered items, each on one line, from `text`
// after the line `from` begins; the lines of a copyright file's licence
// paragraph begin with a space, and its blank lines are " .".
std::vector<std::string> Paragraphs(const std::string& text, const std::string& from) {
    std::vector<std::string> paragraphs(1);
    std::istringstream lines(text.substr(text.find(from) + from.size()));
    std::string line;
    std::getline(lines, line);  // the rest of the first line
    while (std::getline(lines, line)) {
        const bool item = std::regex_search(line, std::regex("^ *[0-9]\\. "));
        if (line == " ." || line.empty() || item) {
            if (!paragraphs.back().empty()) paragraphs.emplace_back();
            if (!item) continue;
        }
        std::istringstream words(line);
        for (std::string word; words >> word;) paragraphs.back() += (paragraphs.back().empty() ? "" : " ") + word;
    }
    if (paragraphs.back().empty()) paragraphs.pop_back();
    return paragraphs;
}

TEST(Licence, DebianCopyrightHoldsTheLicensesTextAndEachPackageCarriesIt) {
    const std::string license = ReadFile(kSource + "/LICENSE"), copyright = ReadFile(kSource + "/debian/copyright");
    const auto zlib = Paragraphs(license, "Copyright (C)");
    ASSERT_EQ(zlib.size(), 5u);
    EXPECT_EQ(Paragraphs(copyright, "\n\nLicense: Zlib"), zlib);

    const Unpacked unpacked;
    for (const char* package : {"vornhelm", "vornhelm-data"})
        EXPECT_EQ(ReadFile(unpacked.root + "/usr/share/doc/" + package + "/copyright"), copyright) << package;
}

}  // namespace
