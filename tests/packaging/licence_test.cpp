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

// The comment a file of this name carries the line in; "" for data and
// generated files, which carry none.
std::string CommentFor(const std::string& path, const std::string& first_line) {
    const std::string name = fs::path(path).filename().string(), ext = fs::path(path).extension().string();
    if (name.ends_with(".metainfo.xml.in")) return "";  // its licence is its metadata_license
    for (const char* e : {".cpp", ".cc", ".c", ".h", ".hpp", ".js"})
        if (ext == e) return "// " + kTag;
    for (const char* e : {".cmake", ".sh", ".py"})
        if (ext == e) return "# " + kTag;
    if (name == "CMakeLists.txt" || name == "Makefile" || path.ends_with("debian/rules") || name.ends_with(".sh.in") ||
        name.ends_with(".desktop.in"))
        return "# " + kTag;
    if (ext == ".html" || ext == ".xml" || name.ends_with(".xml.in")) return "<!-- " + kTag + " -->";
    if (std::regex_match(ext, std::regex("\\.[1-9]"))) return ".\\\" " + kTag;
    if (first_line.starts_with("#!")) return "# " + kTag;
    return "";
}

// Where the line is: first, or second after a line that must stay first.
bool CarriesTheLine(const std::string& text, const std::string& comment) {
    std::istringstream lines(text);
    std::string first, second;
    std::getline(lines, first), std::getline(lines, second);
    const bool prologue = first.starts_with("#!") || first.starts_with("<?xml") || first.starts_with("<!doctype") ||
                          first.starts_with("<!DOCTYPE");
    return first == comment || (prologue && second == comment);
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(Licence, EverySourceScriptAndTestFileCarriesTheSpdxLine) {
    auto listed = RunProcess({"git", "-C", kSource, "ls-files", "--cached", "--others", "--exclude-standard"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    std::istringstream names(listed.out);
    int checked = 0;
    std::string missing;
    for (std::string name; std::getline(names, name);) {
        const std::string path = kSource + "/" + name;
        if (!fs::is_regular_file(path)) continue;
        const std::string text = ReadFile(path), comment = CommentFor(name, FirstLine(text));
        if (comment.empty()) continue;
        ++checked;
        if (!CarriesTheLine(text, comment)) missing += "\n  " + name;
    }
    EXPECT_GT(checked, 300) << "the sources were not found";
    EXPECT_EQ(missing, "") << "without the line (scripts/add-spdx.sh adds it):";
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

TEST(Licence, LicenseHoldsTheZlibTextAndEachPackagesCopyrightTheSame) {
    const std::string license = ReadFile(kSource + "/LICENSE"), copyright = ReadFile(kSource + "/debian/copyright");
    EXPECT_TRUE(license.starts_with("Copyright (C) 2026 The Vornhelm authors")) << license;
    const auto zlib = Paragraphs(license, "Copyright (C)");
    ASSERT_EQ(zlib.size(), 5u);
    EXPECT_TRUE(zlib[0].starts_with("This software is provided 'as-is'")) << zlib[0];
    EXPECT_TRUE(zlib[4].starts_with("3. This notice may not be removed or altered from any source distribution.")) << zlib[4];
    EXPECT_EQ(Paragraphs(copyright, "\n\nLicense: Zlib"), zlib);
    EXPECT_NE(copyright.find("\nFiles: *\nCopyright: 2026 The Vornhelm authors\nLicense: Zlib\n"), std::string::npos) << copyright;
    EXPECT_TRUE(fs::exists(kSource + "/AUTHORS"));

    const std::string dir = UnpackPackage();
    for (const char* package : {"vornhelm", "vornhelm-data"})
        EXPECT_EQ(ReadFile(dir + "/root/usr/share/doc/" + package + "/copyright"), copyright) << package;
    fs::remove_all(dir);
}

}  // namespace
