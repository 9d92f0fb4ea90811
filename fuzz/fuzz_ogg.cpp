// SPDX-License-Identifier: Zlib
// libFuzzer target for the Ogg Vorbis loader: every input is a file's whole
// contents, read through fmemopen. LoadOGG must return samples or null
// without crashing, leaking or hanging, and a block it returns must hold
// every sample its outputs describe. Seeds: fuzz/seeds/fuzz_ogg/, short Ogg
// files of the game's own tune and effects.
//
// LoadOGG cuts a stream at the first page whose checksum fails, so nearly
// every mutation would stop there. Each input is therefore loaded twice: as
// it is, and with the checksum of every whole page it holds made to match,
// so that mutated headers and packets reach the parsers too.
//
// The decoder's own code is compiled into this target, with the sanitizers
// and coverage of the rest; the linker takes it before the system's copy.
#include <stb_vorbis.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/decode/decode.h"

namespace {

std::uint32_t PageChecksum(const unsigned char* page, std::size_t size) {
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= static_cast<std::uint32_t>(i >= 22 && i < 26 ? 0 : page[i]) << 24;
        for (int bit = 0; bit < 8; ++bit) crc = crc & 0x80000000u ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

// Rewrites the checksum of every whole page from the start; false when
// there is none to rewrite.
bool FixChecksums(std::vector<unsigned char>& b) {
    bool any = false;
    std::size_t at = 0;
    while (at + 27 <= b.size() && std::memcmp(&b[at], "OggS", 4) == 0) {
        std::size_t body = at + 27 + b[at + 26], end = body;
        if (body > b.size()) break;
        for (std::size_t i = at + 27; i < body; ++i) end += b[i];
        if (end > b.size()) break;
        std::uint32_t crc = PageChecksum(&b[at], end - at);
        for (int i = 0; i < 4; ++i) b[at + 22 + i] = static_cast<unsigned char>(crc >> (8 * i));
        any = true;
        at = end;
    }
    return any;
}

void Load(std::vector<unsigned char> bytes) {
    // fmemopen refuses an empty buffer; an empty file is one byte already read.
    bool empty = bytes.empty();
    if (empty) bytes.push_back(0);
    std::FILE* f = fmemopen(bytes.data(), bytes.size(), "rb");
    if (!f) return;
    if (empty) std::fgetc(f);

    int frames = -1, channels = -1, bytesPerSample = -1, rate = -1;
    unsigned char* samples = LoadOGG(f, &frames, &channels, &bytesPerSample, &rate);
    if (samples) {
        if (channels < 1 || channels > 255 || bytesPerSample != 2 || rate <= 0 || frames < 0) std::abort();
        const auto* s = reinterpret_cast<const short*>(samples);
        volatile short sink = 0;
        for (long long i = 0, n = static_cast<long long>(frames) * channels; i < n; ++i) sink = sink ^ s[i];
        std::free(samples);
    } else if (frames != -1 || channels != -1 || bytesPerSample != -1 || rate != -1) {
        std::abort();  // the outputs are written only on success
    }
    std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<unsigned char> bytes(data, data + size);
    Load(bytes);
    if (FixChecksums(bytes)) Load(bytes);
    return 0;
}
