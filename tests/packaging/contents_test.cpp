// What the package holds, as dpkg-deb lists it: the Debian games layout and
// nothing else (no contact sheets, no test files), owned by root with the
// usual modes; no path of the build machine inside any file; and a control
// file with the project's version whose dependencies are the packages of
// exactly the libraries the game links.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "tests/packaging/package.h"
#include "vornhelm_version.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

// The files the layout puts in the package, with their modes.
std::map<std::string, std::string> ExpectedFiles() {
    const std::string program = "-rwxr-xr-x", file = "-rw-r--r--";
    std::map<std::string, std::string> files = {{"./usr/games/vornhelm", program}, {"./usr/libexec/vornhelm/vornhelm", program}};
    for (const char* f : {"applications/vornhelm.desktop", "icons/hicolor/64x64/apps/vornhelm.png", "icons/hicolor/128x128/apps/vornhelm.png",
                          "icons/hicolor/256x256/apps/vornhelm.png", "metainfo/" VORNHELM_APP_ID ".metainfo.xml",
                          "man/man6/vornhelm.6.gz", "doc/vornhelm/copyright", "doc/vornhelm/changelog.gz"})
        files[std::string("./usr/share/") + f] = file;
    // The generated data folder, less its contact sheets.
    const fs::path data = fs::path(VORNHELM_BUILD_DIR) / "data";
    for (auto it = fs::recursive_directory_iterator(data); it != fs::recursive_directory_iterator(); ++it) {
        const std::string rel = fs::relative(it->path(), data).string();
        if (rel == "preview") it.disable_recursion_pending();
        else if (it->is_regular_file()) files["./usr/share/games/vornhelm/" + rel] = file;
    }
    return files;
}

TEST(PackageContents, EveryFileWhereTheLayoutSaysAndNothingElse) {
    ASSERT_TRUE(fs::is_directory(std::string(VORNHELM_BUILD_DIR) + "/data/preview")) << "no contact sheets to leave out";
    auto result = RunProcess({"dpkg-deb", "--contents", kDeb});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    auto expected = ExpectedFiles();
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

// Every file's bytes (a compressed one's text) are free of the folders the
// package was built in.
TEST(PackageContents, NoBuildPathsInAnyFile) {
    const std::string dir = UnpackPackage();
    int files = 0;
    for (const auto& f : fs::recursive_directory_iterator(dir + "/root")) {
        if (!f.is_regular_file()) continue;
        ++files;
        const std::string path = f.path().string();
        const std::string bytes = path.ends_with(".gz") ? RunProcess({"zcat", path}).out : ReadFile(path);
        ASSERT_FALSE(bytes.empty()) << path;
        for (const std::string& place : {std::string(VORNHELM_SOURCE_DIR), std::string(VORNHELM_BUILD_DIR)})
            EXPECT_EQ(bytes.find(place), std::string::npos) << place << " in " << path;
    }
    EXPECT_EQ(files, int(ExpectedFiles().size()));
    fs::remove_all(dir);
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

TEST(PackageControl, TheProjectsVersionAndTheLibrariesDependedOnComputed) {
    auto field = [](const std::string& name) {
        std::string value = RunProcess({"dpkg-deb", "--field", kDeb, name}).out;
        return value.substr(0, value.find_last_not_of('\n') + 1);
    };
    const std::string arch = Tool({"dpkg", "--print-architecture"});
    for (auto [name, value] : std::map<std::string, std::string>{
             {"Package", "vornhelm"}, {"Version", kVornhelmVersion}, {"Architecture", arch}, {"Section", "games"}, {"Priority", "optional"}})
        EXPECT_EQ(field(name), value) << name;
    EXPECT_EQ(kDeb, std::string(VORNHELM_BUILD_DIR) + "/vornhelm_" + kVornhelmVersion + "_" + arch + ".deb");
    EXPECT_GT(std::stol(field("Installed-Size")), 1000) << "KiB, the data folder included";

    const std::string depends = field("Depends");
    EXPECT_NE(depends.find("libc6 (>= "), std::string::npos) << depends;
    std::set<std::string> names;  // without versions
    std::istringstream items(depends);
    for (std::string item, name; std::getline(items, item, ',');) std::istringstream(item) >> name, names.insert(name);
    const std::string dir = UnpackPackage();
    const auto linked = PackagesOfLinkedLibraries(dir + "/root/usr/libexec/vornhelm/vornhelm");
    for (const char* lib : {"libc6", "libglfw3", "libopenal1", "libvorbisfile3", "libstdc++6"})
        EXPECT_TRUE(linked.count(lib)) << lib << " not linked?";
    EXPECT_EQ(names, linked) << depends;
    fs::remove_all(dir);
}

}  // namespace
