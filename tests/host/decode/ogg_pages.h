// SPDX-License-Identifier: Zlib
// The pages of an Ogg file held in memory: where each starts, its body, and
// its checksum, so that a test can damage a file exactly where it means to,
// leaving the checksum stale or making it match the damaged page again.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace oggpages {

using Bytes = std::vector<unsigned char>;

struct Page {
    std::size_t start = 0;  // "OggS"
    std::size_t body = 0;   // first byte after the segment table
    std::size_t end = 0;    // one past the last body byte
    bool headers = false;   // granule position 0: only header packets end here
};

// The pages laid end to end from the start of the file; stops at the first
// place that does not hold a whole page.
inline std::vector<Page> Pages(const Bytes& file) {
    std::vector<Page> pages;
    std::size_t at = 0;
    while (at + 27 <= file.size() && std::memcmp(&file[at], "OggS", 4) == 0) {
        std::size_t segments = file[at + 26], body = at + 27 + segments;
        if (body > file.size()) break;
        std::size_t length = 0;
        for (std::size_t i = 0; i < segments; ++i) length += file[at + 27 + i];
        if (body + length > file.size()) break;
        bool headers = true;
        for (int i = 6; i < 14; ++i) headers = headers && file[at + i] == 0;
        pages.push_back({at, body, body + length, headers});
        at = body + length;
    }
    return pages;
}

inline void SetLE32(Bytes& b, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// The Ogg checksum: CRC-32 with polynomial 0x04C11DB7, no reflection,
// starting from 0, taken over the page with its checksum field zeroed.
inline void FixChecksum(Bytes& file, const Page& page) {
    SetLE32(file, page.start + 22, 0);
    std::uint32_t crc = 0;
    for (std::size_t i = page.start; i < page.end; ++i) {
        crc ^= static_cast<std::uint32_t>(file[i]) << 24;
        for (int bit = 0; bit < 8; ++bit) crc = crc & 0x80000000u ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    SetLE32(file, page.start + 22, crc);
}

// Where the comment header, which opens the second page, holds its number
// of comments: after type 3, "vorbis", the vendor string's length and the
// string; 0 when the second page holds no comment header.
inline std::size_t CommentCountAt(const Bytes& file) {
    std::vector<Page> pages = Pages(file);
    if (pages.size() < 2 || file[pages[1].body] != 3) return 0;
    std::size_t vendor = pages[1].body + 7, length = 0;
    for (int i = 3; i >= 0; --i) length = length << 8 | file[vendor + i];
    return vendor + 4 + length;
}

}  // namespace oggpages
