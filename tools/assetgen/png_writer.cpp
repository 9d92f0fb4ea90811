#include "png_writer.h"

#include <stb_image_write.h>

#include <filesystem>

namespace assetgen {

bool WritePng(const std::string& path, const Canvas& canvas) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    // Flat-coloured art packs best unfiltered, and the search over row filters
    // is most of the writing time; level 5 packs as small as the default.
    stbi_write_force_png_filter = 0;
    stbi_write_png_compression_level = 5;
    std::vector<uint8_t> rgba = canvas.ToRgba8();
    return stbi_write_png(path.c_str(), canvas.Width(), canvas.Height(), 4, rgba.data(),
                          canvas.Width() * 4) != 0;
}

}  // namespace assetgen
