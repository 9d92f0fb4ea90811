// SPDX-License-Identifier: Zlib
// What the packages hold, as dpkg-deb lists them: the Debian games layout
// split in two, the program (vornhelm) and its data (vornhelm-data), and
// nothing else (no contact sheets, no test files), owned by root with the
// usual modes; no path of the build machine inside any file; and control
// files with the project's version, the program's dependencies being the
// packages of exactly the libraries it links and its own data.
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

// Where a file may go in each package: the two programs executable, the
// rest plain files; the data package holds the generated data folder less
// its contact sheets.
struct Rule {
    std::string deb, pattern, mode;
};
const std::vector<Rule> kRules = {
    {kDeb, "\\./usr/(games/vornhelm|libexec/vornhelm/vornhelm)", "-rwxr-xr-x"},
    {kDeb, "\\./usr/share/(applications|icons/hicolor/[0-9x]+/apps|metainfo|man/man6|doc/vornhelm)/[^/]+", "-rw-r--r--"},
    {kDataDeb, "\\./usr/share/(games/vornhelm/.+|doc/vornhelm-data/[^/]+)", "-rw-r--r--"},
};

// The regular files the build's data folder holds, contact sheets left out.
size_t DataFiles() {
    size_t n = 0;
    const fs::path folder = fs::path(VORNHELM_BUILD_DIR) / "data";
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it)
        if (it->path().filename() == "preview") it.disable_recursion_pending();
        else n += it->is_regular_file();
    return n;
}

TEST(PackageContents, EveryFileWhereTheLayoutSaysAndNothingElse) {
    ASSERT_TRUE(fs::is_directory(std::string(VORNHELM_BUILD_DIR) + "/data/preview")) << "no contact sheets to leave out";
    size_t data = 0;
    for (const std::string& deb : {kDeb, kDataDeb}) {
        SCOPED_TRACE(deb);
        auto result = RunProcess({"dpkg-deb", "--contents", deb});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        // "MODE OWNER SIZE DATE TIME ./PATH"
        std::istringstream lines(result.out);
        for (std::string line, mode, owner, size, date, time, path; std::getline(lines, line);) {
            std::istringstream(line) >> mode >> owner >> size >> date >> time >> path;
            EXPECT_EQ(owner, "root/root") << path;
            if (mode[0] == 'd') {
                EXPECT_EQ(mode, "drwxr-xr-x") << path;
                continue;
            }
            data += path.starts_with("./usr/share/games/");
            bool placed = false;
            for (const Rule& r : kRules) placed |= r.deb == deb && r.mode == mode && std::regex_match(path, std::regex(r.pattern));
            EXPECT_TRUE(placed) << "not in the layout, or the wrong mode: " << mode << " " << path;
            for (const char* stray : {"preview", "test", "replay", ".vhr", "CMake"})
                EXPECT_EQ(path.find(stray), std::string::npos) << stray << " in " << path;
        }
    }
    EXPECT_EQ(data, DataFiles());
}

// Every file's bytes (a compressed one's text) are free of the folders the
// package was built in.
TEST(PackageContents, NoBuildPathsInAnyFile) {
    const Unpacked package;
    for (const auto& f : fs::recursive_directory_iterator(package.root)) {
        if (!f.is_regular_file()) continue;
        const std::string path = f.path().string();
        const std::string bytes = path.ends_with(".gz") ? RunProcess({"zcat", path}).out : ReadFile(path);
        ASSERT_FALSE(bytes.empty()) << path;
        for (const std::string& place : {std::string(VORNHELM_SOURCE_DIR), std::string(VORNHELM_BUILD_DIR)})
            EXPECT_EQ(bytes.find(place), std::string::npos) << place << " in " << path;
    }
}

// The packages that hold the libraries the program names as NEEDED, in the
// library folder of the machine's architecture.
std::set<std::string> PackagesOfLinkedLibraries(const std::string& program) {
    const std::string folder = "/" + Tool({"dpkg-architecture", "-qDEB_HOST_MULTIARCH"}) + "/";
    std::vector<std::string> query = {"dpkg", "-S"};
    std::set<std::string> sonames, packages, found;
    std::istringstream lines(RunProcess({"objdump", "-p", program}).out);
    for (std::string tag, soname; lines >> tag;)
        if (tag == "NEEDED" && lines >> soname) sonames.insert(soname), query.push_back("*" + folder + soname);
    EXPECT_GE(sonames.size(), 5u);
    auto owners = RunProcess(query);
    EXPECT_EQ(owners.exitCode, 0) << owners.err;
    // "libfoo1:amd64: /usr/lib/x86_64-linux-gnu/libfoo.so.1"
    std::istringstream entries(owners.out);
    for (std::string e; std::getline(entries, e);) {
        const std::string soname = e.substr(e.rfind('/') + 1);
        if (!sonames.count(soname) || e.find(folder + soname) == std::string::npos) continue;
        found.insert(soname);
        packages.insert(e.substr(0, e.find_first_of(":,")));
    }
    EXPECT_EQ(found, sonames);
    return packages;
}

// The version CMakeLists.txt sets (the other fields are lintian's).
TEST(PackageControl, TheProjectsVersion) {
    for (const std::string& deb : {kDeb, kDataDeb}) EXPECT_EQ(Field(deb, "Version"), kVornhelmVersion) << deb;
}

TEST(PackageControl, TheProgramDependsOnItsDataAndTheLibrariesItLinks) {
    const std::string depends = Field(kDeb, "Depends");
    EXPECT_NE(depends.find("libc6 (>= "), std::string::npos) << depends;
    EXPECT_NE(depends.find(std::string("vornhelm-data (= ") + kVornhelmVersion + ")"), std::string::npos) << depends;
    std::set<std::string> names;  // without versions
    std::istringstream items(depends);
    for (std::string item, name; std::getline(items, item, ',');) std::istringstream(item) >> name, names.insert(name);
    const Unpacked package({kDeb});
    auto linked = PackagesOfLinkedLibraries(package.root + "/usr/libexec/vornhelm/vornhelm");
    linked.insert("vornhelm-data");
    EXPECT_EQ(names, linked) << depends;
}

}  // namespace
