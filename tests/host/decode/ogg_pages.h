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

// The Ogg checksum: CRC-32 with polynomial 0x04C11DB7, no reflection,
// starting from 0, taken over the page with its checksum field zeroed.
inline std::uint32_t Checksum(const unsigned char* data, std::size_t size) {
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= static_cast<std::uint32_t>(data[i]) << 24;
        for (int bit = 0; bit < 8; ++bit) crc = crc & 0x80000000u ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

inline void FixChecksum(Bytes& file, const Page& page) {
    for (int i = 0; i < 4; ++i) file[page.start + 22 + i] = 0;
    std::uint32_t crc = Checksum(&file[page.start], page.end - page.start);
    for (int i = 0; i < 4; ++i) file[page.start + 22 + i] = static_cast<unsigned char>(crc >> (8 * i));
}

inline std::uint32_t GetLE32(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

inline void SetLE32(Bytes& b, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// Offsets in the file of the comment header's two counts. The comment
// header opens the second page: type 3, "vorbis", the vendor string's
// length and the string, then the number of comments.
struct CommentFields {
    std::size_t vendorLength = 0, commentCount = 0;
};

inline CommentFields FindCommentFields(const Bytes& file) {
    std::vector<Page> pages = Pages(file);
    if (pages.size() < 2 || file[pages[1].body] != 3) return {};
    std::size_t vendor = pages[1].body + 7;
    return {vendor, vendor + 4 + GetLE32(file, vendor)};
}

}  // namespace oggpages
