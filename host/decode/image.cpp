// Image decoding for surfaces: whatever stb_image reads (JPEG, PNG, BMP, TGA,
// PSD, PIC, GIF, HDR), decided by the file's contents, in the file's own
// channel count. Premultiplication is the surface's business.
#include <stb/stb_image.h>

#include "host/desktop/glfw_game.h"

unsigned char* KrGlfwGame::LoadImageData(String path, int* width, int* height, int* bytesPerPixel) {
    std::FILE* file = OpenFile(path, String("rb"));
    if (!file) return nullptr;
    // 0 requested components keeps the file's own 1 to 4 channels.
    unsigned char* data = stbi_load_from_file(file, width, height, bytesPerPixel, 0);
    std::fclose(file);
    return data;
}
