// SPDX-License-Identifier: Zlib
// The packaged game's window says who it is, as docks and task switchers
// read it with xprop: its class is the one the desktop entry names in
// StartupWMClass, it is titled "Vornhelm" and it carries the packaged icons,
// pixel for pixel; in a window and again in full screen, which opens a new
// window.
#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "tests/packaging/package.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

// _NET_WM_ICON as numbers: width, height, then width x height ARGB pixels,
// for each icon in turn.
std::map<int, std::vector<unsigned long>> WindowIcons(const std::string& window) {
    // xprop cuts a property off at some 250 kB unless told a longer length.
    std::string text = RunProcess({"xprop", "-len", "4000000", "-id", window, "-notype", "-f", "_NET_WM_ICON", "32c", "_NET_WM_ICON"}).out;
    std::map<int, std::vector<unsigned long>> icons;
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) return icons;
    std::istringstream numbers(text.substr(equals + 1));
    std::vector<unsigned long> all;
    for (std::string n; std::getline(numbers, n, ',');) all.push_back(std::stoul(n));
    for (std::size_t at = 0; at + 2 <= all.size();) {
        const unsigned long w = all[at], h = all[at + 1], end = at + 2 + w * h;
        if (end > all.size()) break;
        icons[static_cast<int>(w)] = std::vector<unsigned long>(all.begin() + at + 2, all.begin() + end);
        icons[static_cast<int>(w)].push_back(h);  // the height last, to be checked too
        at = end;
    }
    return icons;
}

// A packaged icon PNG as ARGB, its height last as WindowIcons gives it.
std::vector<unsigned long> PackagedIcon(const std::string& path) {
    int w = 0, h = 0, n = 0;
    unsigned char* px = stbi_load(path.c_str(), &w, &h, &n, 4);
    std::vector<unsigned long> argb;
    for (int i = 0; px && i < w * h; ++i)
        argb.push_back(static_cast<unsigned long>(px[4 * i + 3]) << 24 | px[4 * i] << 16 | px[4 * i + 1] << 8 | px[4 * i + 2]);
    stbi_image_free(px);
    argb.push_back(static_cast<unsigned long>(h));
    return argb;
}

std::string EntryLine(const std::string& entry, const std::string& key) {
    std::istringstream lines(entry);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    return "";
}

TEST(PackagedWindow, SaysWhoItIsInAWindowAndInFullScreen) {
    const std::string dir = UnpackPackage(), root = dir + "/root", share = root + "/usr/share";
    fs::create_directories(dir + "/home");
    const std::string wmClass = EntryLine(ReadFile(share + "/applications/vornhelm.desktop"), "StartupWMClass");
    EXPECT_EQ(wmClass, "vornhelm");
    int wm = StartDesktop();
    int game = Spawn({root + "/usr/games/vornhelm"}, dir, dir + "/out.txt", {{"HOME", dir + "/home"}, {"ALSOFT_DRIVERS", "null"}});
    std::string window = Tool({"xdotool", "search", "--sync", "--onlyvisible", "--pid", std::to_string(game), "--name", "^Vornhelm$"});
    ASSERT_FALSE(window.empty());
    Tool({"xdotool", "windowactivate", "--sync", window});
    for (auto [how, nextWidth] : {std::pair{"in a window", 1024}, std::pair{"in full screen", 640}}) {
        SCOPED_TRACE(how);
        EXPECT_EQ(Tool({"xprop", "-id", window, "WM_CLASS"}), "WM_CLASS(STRING) = \"" + wmClass + "\", \"" + wmClass + "\"");
        EXPECT_EQ(Tool({"xdotool", "getwindowname", window}), "Vornhelm");
        const auto icons = WindowIcons(window);
        EXPECT_EQ(icons.size(), 3u);
        for (int size : {64, 128, 256}) {
            const std::string file = share + "/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/vornhelm.png";
            EXPECT_TRUE(icons.count(size) && icons.at(size) == PackagedIcon(file)) << "the window's " << size << " pixel icon is not " << file;
        }
        // F11 closes this window and opens the other kind, which takes the focus.
        Tool({"xdotool", "key", "F11"});
        ASSERT_TRUE(WaitUntil([&, width = nextWidth] {
            window = Tool({"xdotool", "getwindowfocus"});
            return Grab(window).w == width;
        })) << "F11 opened no new window";
    }
    Tool({"xdotool", "key", "F4"});
    EXPECT_EQ(WaitExit(game), 0);
    Kill(game), Kill(wm);
    fs::remove_all(dir);
}

}  // namespace
