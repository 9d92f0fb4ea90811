// SPDX-License-Identifier: Zlib
// What the packages hold, as dpkg-deb lists them: the Debian games layout
// split in two, the program (vornhelm) and its data (vornhelm-data), and
// nothing else (no contact sheets, no test files), owned by root with the
// usual modes; no path of the build machine inside any file; and control
// files with the project's version, the program's dependencies being the
// packages of exactly the libraries it links and its own data.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include "tests/packaging/package.h"
#include "vornhelm_version.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

const std::string kProgram = "-rwxr-xr-x", kFile = "-rw-r--r--";

// The files the layout puts in each package, with their modes.
std::map<std::string, std::map<std::string, std::string>> ExpectedFiles() {
    std::map<std::string, std::map<std::string, std::string>> files;
    auto& program = files[kDeb];
    auto& data = files[kDataDeb];
    program = {{"./usr/games/vornhelm", kProgram}, {"./usr/libexec/vornhelm/vornhelm", kProgram}};
    for (const char* f : {"applications/vornhelm.desktop", "icons/hicolor/64x64/apps/vornhelm.png", "icons/hicolor/128x128/apps/vornhelm.png",
                          "icons/hicolor/256x256/apps/vornhelm.png", "metainfo/" VORNHELM_APP_ID ".metainfo.xml",
                          "man/man6/vornhelm.6.gz", "doc/vornhelm/copyright", "doc/vornhelm/changelog.gz"})
        program[std::string("./usr/share/") + f] = kFile;
    for (const char* f : {"copyright", "changelog.gz"}) data[std::string("./usr/share/doc/vornhelm-data/") + f] = kFile;
    // The generated data folder, less its contact sheets.
    const fs::path folder = fs::path(VORNHELM_BUILD_DIR) / "data";
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
        const std::string rel = fs::relative(it->path(), folder).string();
        if (rel == "preview") it.disable_recursion_pending();
        else if (it->is_regular_file()) data["./usr/share/games/vornhelm/" + rel] = kFile;
    }
    return files;
}

TEST(PackageContents, EveryFileWhereTheLayoutSaysAndNothingElse) {
    ASSERT_TRUE(fs::is_directory(std::string(VORNHELM_BUILD_DIR) + "/data/preview")) << "no contact sheets to leave out";
    for (auto [deb, expected] : ExpectedFiles()) {
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
            EXPECT_EQ(expected[path], mode) << "not in the layout, or the wrong mode: " << path;
            expected.erase(path);
            for (const char* stray : {"preview", "test", "replay", ".vhr", "CMake"})
                EXPECT_EQ(path.find(stray), std::string::npos) << stray << " in " << path;
        }
        for (const auto& [path, mode] : expected) ADD_FAILURE() << "missing " << path;
    }
}

// Every file's bytes (a compressed one's text) are free of the folders the
// package was built in.
TEST(PackageContents, NoBuildPathsInAnyFile) {
    const Unpacked package;
    int files = 0;
    for (const auto& f : fs::recursive_directory_iterator(package.root)) {
        if (!f.is_regular_file()) continue;
        ++files;
        const std::string path = f.path().string();
        const std::string bytes = path.ends_with(".gz") ? RunProcess({"zcat", path}).out : ReadFile(path);
        ASSERT_FALSE(bytes.empty()) << path;
        for (const std::string& place : {std::string(VORNHELM_SOURCE_DIR), std::string(VORNHELM_BUILD_DIR)})
            EXPECT_EQ(bytes.find(place), std::string::npos) << place << " in " << path;
    }
    size_t expected = 0;
    for (const auto& [deb, files] : ExpectedFiles()) expected += files.size();
    EXPECT_EQ(size_t(files), expected);
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

TEST(PackageControl, TheProjectsVersionAndEachPackagesArchitecture) {
    // package, architecture, Multi-Arch ("no" when the field is absent)
    const std::vector<std::tuple<std::string, std::string, std::string>> packages = {
        {kDeb, kArch, "no"}, {kDataDeb, "all", "foreign"}};
    for (const auto& [deb, arch, multiArch] : packages) {
        SCOPED_TRACE(deb);
        const std::string name = fs::path(deb).filename().string();
        for (auto [field, value] : std::map<std::string, std::string>{{"Package", name.substr(0, name.find('_'))}, {"Version", kVornhelmVersion},
                                                                       {"Architecture", arch}, {"Multi-Arch", multiArch},
                                                                       {"Section", "games"}, {"Priority", "optional"}})
            EXPECT_EQ(Field(deb, field), value) << field;
    }
    EXPECT_EQ(Field(kDataDeb, "Depends"), "");
    EXPECT_GT(std::stol(Field(kDataDeb, "Installed-Size")), 1000) << "KiB";
    EXPECT_LT(std::stol(Field(kDeb, "Installed-Size")), std::stol(Field(kDataDeb, "Installed-Size"))) << "the data is the bulk";
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
    for (const char* lib : {"libc6", "libglfw3", "libopenal1", "libvorbisfile3", "libstdc++6"})
        EXPECT_TRUE(linked.count(lib)) << lib << " not linked?";
    linked.insert("vornhelm-data");
    EXPECT_EQ(names, linked) << depends;
}

}  // namespace
