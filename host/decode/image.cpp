// SPDX-License-Identifier: Zlib
// Image decoding for surfaces: whatever stb_image reads (JPEG, PNG, BMP, TGA,
// PSD, PIC, GIF, HDR), decided by the file's contents, in the file's own
// channel count. Premultiplication is the surface's business. And the other
// way: screenshots written as PNG files.
#include <stb/stb_image.h>

#include <stb/stb_image_write.h>

#include "host/decode/decode.h"
#include "host/game.h"

unsigned char* KrDecodeImage(KrGame* host, String path, int* width, int* height, int* bytesPerPixel) {
    std::FILE* file = host->OpenFile(path, String("rb"));
    if (!file) return nullptr;
    // 0 requested components keeps the file's own 1 to 4 channels.
    unsigned char* data = stbi_load_from_file(file, width, height, bytesPerPixel, 0);
    std::fclose(file);
    return data;
}

bool KrWritePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb) {
    if (rgb.size() != static_cast<std::size_t>(width) * height * 3) return false;
    return stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3) != 0;
}
