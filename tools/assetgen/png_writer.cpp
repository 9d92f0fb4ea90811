// SPDX-License-Identifier: Zlib
#include "png_writer.h"

#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

namespace assetgen {

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
    Put32(out, static_cast<uint32_t>(body.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    Put32(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// The colours of a flat-shaded image, when there are at most 256: the
// palette in first-seen order and each pixel's index.
bool Palette(const std::vector<uint8_t>& rgba, std::vector<uint32_t>& colours, std::vector<uint8_t>& indices) {
    std::map<uint32_t, int> seen;
    indices.resize(rgba.size() / 4);
    for (size_t i = 0; i < indices.size(); ++i) {
        const uint8_t* p = &rgba[4 * i];
        // Fully transparent pixels are all one colour: their RGB never shows.
        const uint32_t c = p[3] == 0 ? 0 : (uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]);
        auto [it, added] = seen.emplace(c, static_cast<int>(colours.size()));
        if (added) {
            if (colours.size() == 256) return false;
            colours.push_back(c);
        }
        indices[i] = static_cast<uint8_t>(it->second);
    }
    return true;
}

uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Rows with their filter byte. Palette rows stay unfiltered (filters only
// scramble indices); RGBA rows take the filter of least absolute sum.
std::vector<uint8_t> FilteredRows(const uint8_t* pixels, int width, int height, int channels) {
    const size_t stride = static_cast<size_t>(width) * channels;
    std::vector<uint8_t> out;
    out.reserve((stride + 1) * height);
    std::vector<uint8_t> zero(stride, 0), line(stride), best(stride);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels + y * stride;
        const uint8_t* up = y > 0 ? row - stride : zero.data();
        if (channels == 1) {
            out.push_back(0);
            out.insert(out.end(), row, row + stride);
            continue;
        }
        long bestSum = -1;
        uint8_t bestFilter = 0;
        for (uint8_t filter = 0; filter <= 4; ++filter) {
            long sum = 0;
            for (size_t i = 0; i < stride; ++i) {
                const int a = i >= size_t(channels) ? row[i - channels] : 0, b = up[i];
                const int c = i >= size_t(channels) ? up[i - channels] : 0;
                const int predicted = filter == 0 ? 0 : filter == 1 ? a : filter == 2 ? b
                                      : filter == 3 ? (a + b) / 2 : Paeth(a, b, c);
                line[i] = static_cast<uint8_t>(row[i] - predicted);
                sum += line[i] < 128 ? line[i] : 256 - line[i];
            }
            if (bestSum < 0 || sum < bestSum) bestSum = sum, bestFilter = filter, best.swap(line);
        }
        out.push_back(bestFilter);
        out.insert(out.end(), best.begin(), best.end());
    }
    return out;
}

}  // namespace

std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgba) {
    std::vector<uint32_t> colours;
    std::vector<uint8_t> indices;
    const bool palette = Palette(rgba, colours, indices);
    const int channels = palette ? 1 : 4;
    std::vector<uint8_t> raw = FilteredRows(palette ? indices.data() : rgba.data(), width, height, channels);
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION);
    packed.resize(packedSize);

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<uint8_t> header;
    Put32(header, static_cast<uint32_t>(width));
    Put32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, static_cast<uint8_t>(palette ? 3 : 6), 0, 0, 0});
    Chunk(out, "IHDR", header);
    if (palette) {
        std::vector<uint8_t> plte, trns;
        for (uint32_t c : colours) {
            plte.insert(plte.end(), {uint8_t(c >> 24), uint8_t(c >> 16), uint8_t(c >> 8)});
            trns.push_back(static_cast<uint8_t>(c));
        }
        // Opaque entries at the end need no alpha.
        while (!trns.empty() && trns.back() == 255) trns.pop_back();
        Chunk(out, "PLTE", plte);
        if (!trns.empty()) Chunk(out, "tRNS", trns);
    }
    Chunk(out, "IDAT", packed);
    Chunk(out, "IEND", {});
    return out;
}

bool WritePng(const std::string& path, const Canvas& canvas) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    const std::vector<uint8_t> png = EncodePng(canvas.Width(), canvas.Height(), canvas.ToRgba8());
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(file);
}

}  // namespace assetgen
