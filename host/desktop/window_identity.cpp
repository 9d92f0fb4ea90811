// SPDX-License-Identifier: Zlib
#include "host/desktop/window_identity.h"

#include <stb/stb_image.h>

#include <string>
#include <utility>
#include <vector>

#include "host/folders.h"
#include "host/glfw2/glfw2.h"

namespace {

constexpr const char* kIconFiles[] = {"icon/vornhelm.png", "icon/vornhelm-hd.png", "icon/vornhelm-hd2.png"};

// Read straight from the data folder, not through the host's file calls,
// which a recording would take down as the game's own reads.
std::vector<glfw2::GLFWicon> LoadIcons() {
    std::vector<glfw2::GLFWicon> icons;
    for (const char* file : kIconFiles) {
        const std::string path = KrDataFolderPrefix() + file;
        glfw2::GLFWicon icon;
        int channels = 0;
        unsigned char* rgba = stbi_load(path.c_str(), &icon.Width, &icon.Height, &channels, 4);
        if (!rgba) continue;
        icon.Rgba.assign(rgba, rgba + static_cast<std::size_t>(icon.Width) * icon.Height * 4);
        stbi_image_free(rgba);
        icons.push_back(std::move(icon));
    }
    return icons;
}

}  // namespace

void KrSetWindowIdentity() { glfw2::glfwSetWindowIdentity("vornhelm", LoadIcons()); }
