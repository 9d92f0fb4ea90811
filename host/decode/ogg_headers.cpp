// SPDX-License-Identifier: Zlib
// The Vorbis header packets, read field by field as the Vorbis I bitstream
// lays them out (values packed from the least significant bit of each byte
// up). A field that runs past the end of its packet, a count or length that
// the rest of the packet cannot hold, or an index of a codebook, floor,
// residue, mapping or channel that does not exist rejects the stream.
#include "host/decode/ogg_headers.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

namespace ogg_headers {
namespace {

// --- Bit fields and the common header ---

// Reads bit fields of up to 32 bits; once a read runs past the end, every
// later one fails too.
class Bits {
public:
    explicit Bits(const Packet& p) : data_(p.data()), size_(p.size()) {}

    // False when the packet ends first; *out is then left alone.
    bool Read(int count, std::uint32_t* out) {
        if (count == 0) return *out = 0, true;
        if (failed_ || count > 32 || static_cast<std::uint64_t>(count) > BitsLeft()) return failed_ = true, false;
        std::uint64_t value = 0;
        for (int done = 0; done < count;) {
            const int bit = static_cast<int>(at_ & 7), take = std::min(8 - bit, count - done);
            const std::uint64_t chunk = (data_[at_ >> 3] >> bit) & ((1u << take) - 1);
            value |= chunk << done;
            done += take;
            at_ += take;
        }
        *out = static_cast<std::uint32_t>(value);
        return true;
    }

    // Whether `count` whole bytes could still follow.
    bool Holds(std::uint64_t count) const { return !failed_ && count <= BitsLeft() / 8; }
    void SkipBytes(std::uint64_t count) { at_ += count * 8; }
    // Skips `count` bits; false (and failed from then on) past the end.
    bool SkipBits(std::uint64_t count) {
        if (failed_ || count > BitsLeft()) return failed_ = true, false;
        at_ += count;
        return true;
    }
    std::uint64_t BitsLeft() const { return static_cast<std::uint64_t>(size_) * 8 - at_; }

private:
    const unsigned char* data_;
    std::size_t size_;
    std::uint64_t at_ = 0;
    bool failed_ = false;
};

// Shorthand for a field that must be read: `if (!F(bits, n, &v)) return false`.
bool F(Bits& bits, int count, std::uint32_t* out) { return bits.Read(count, out); }

// Reads a count stored as count - 1 in `width` bits.
bool Count(Bits& bits, int width, std::uint32_t* count) {
    if (!F(bits, width, count)) return false;
    ++*count;
    return true;
}

// The number of bits needed to write v: 0 for 0, 1 for 1, 2 for 2 and 3.
int ILog(std::uint32_t v) {
    int n = 0;
    for (; v; v >>= 1) ++n;
    return n;
}

// The packet's type byte and the "vorbis" signature after it.
bool CommonHeader(Bits& bits, std::uint32_t type) {
    std::uint32_t v;
    if (!F(bits, 8, &v) || v != type) return false;
    for (const char* c = "vorbis"; *c; ++c)
        if (!F(bits, 8, &v) || v != static_cast<unsigned char>(*c)) return false;
    return true;
}

// --- Codebooks and their code lengths ---

struct Codebook {
    std::uint32_t dimensions = 0, entries = 0, lookupType = 0;
};

// base^exponent <= limit, without overflow.
bool PowerAtMost(std::uint64_t base, std::uint32_t exponent, std::uint64_t limit) {
    std::uint64_t value = 1;
    for (std::uint32_t i = 0; i < exponent; ++i) {
        value *= base;
        if (value > limit) return false;
    }
    return true;
}

// The greatest r with r^dimensions <= entries (both at least 1).
std::uint64_t Lookup1Values(std::uint32_t entries, std::uint32_t dimensions) {
    std::uint64_t low = 1, high = entries;
    while (low < high) {
        std::uint64_t mid = (low + high + 1) / 2;
        if (PowerAtMost(mid, dimensions, entries)) low = mid;
        else high = mid - 1;
    }
    return low;
}

// The codeword lengths must make a complete prefix code: Kraft's sum of
// 2^-length over the used entries exactly 1, neither a code left over nor
// one too many. The one exception is a book with a single used entry,
// which has a code of one bit.
class CodeTree {
public:
    // `count` entries of codes `length` (1 to 32) bits long.
    void Add(std::uint32_t length, std::uint64_t count = 1) {
        used_ += count;
        sum_ += count << (32 - length);
    }
    bool Overfull() const { return sum_ > (std::uint64_t{1} << 32); }
    bool Complete() const {
        return sum_ == (std::uint64_t{1} << 32) || (used_ == 1 && sum_ == (std::uint64_t{1} << 31));
    }
    bool Used() const { return used_ > 0; }

private:
    std::uint64_t sum_ = 0, used_ = 0;
};

bool UnorderedLengths(Bits& bits, std::uint32_t entries, CodeTree* tree) {
    std::uint32_t sparse, flag, length;
    if (!F(bits, 1, &sparse)) return false;
    // Each entry takes at least 1 bit (sparse) or 5 bits.
    if (!bits.Holds((static_cast<std::uint64_t>(entries) * (sparse ? 1 : 5) + 7) / 8)) return false;
    for (std::uint32_t i = 0; i < entries; ++i) {
        if (sparse) {
            if (!F(bits, 1, &flag)) return false;
            if (!flag) continue;
        }
        if (!F(bits, 5, &length)) return false;
        tree->Add(length + 1);
        if (tree->Overfull()) return false;
    }
    return true;
}

// Runs of entries of rising length; no length beyond 32, no run longer than
// the codes of its length could number.
bool OrderedLengths(Bits& bits, std::uint32_t entries, CodeTree* tree) {
    std::uint32_t length, count;
    if (!F(bits, 5, &length)) return false;
    ++length;
    for (std::uint32_t i = 0; i < entries; ++length) {
        if (!F(bits, ILog(entries - i), &count)) return false;
        if (length > 32 || count > entries - i) return false;
        if (count > 0 && ((count - 1) >> (length - 1)) > 1) return false;
        tree->Add(length, count);
        if (tree->Overfull()) return false;
        i += count;
    }
    return true;
}

// A book may have no entries, no used entries or no dimensions, as long as
// nothing that needs them uses it (the floors and residues check): the
// reference takes such books, and a decoder never reads a code from them.
bool ReadCodebook(Bits& bits, Codebook* book) {
    std::uint32_t sync, ordered;
    if (!F(bits, 24, &sync) || sync != 0x564342) return false;
    if (!F(bits, 16, &book->dimensions) || !F(bits, 24, &book->entries)) return false;
    if (ILog(book->dimensions) + ILog(book->entries) > 24) return false;
    if (!F(bits, 1, &ordered)) return false;
    CodeTree tree;
    if (!(ordered ? OrderedLengths(bits, book->entries, &tree) : UnorderedLengths(bits, book->entries, &tree)))
        return false;
    if (tree.Used() && !tree.Complete()) return false;

    if (!F(bits, 4, &book->lookupType) || book->lookupType > 2) return false;
    if (book->lookupType == 0) return true;
    // Lookup type 1 without dimensions has no value grid: the reference's
    // decoding set-up searches for one for ever when an entry is used.
    if (book->lookupType == 1 && book->dimensions == 0 && tree.Used()) return false;
    std::uint32_t minimum, delta, valueBits, sequence;
    if (!F(bits, 32, &minimum) || !F(bits, 32, &delta) || !F(bits, 4, &valueBits) || !F(bits, 1, &sequence))
        return false;
    std::uint64_t values = static_cast<std::uint64_t>(book->entries) * book->dimensions;
    if (book->lookupType == 1) values = values == 0 ? 0 : Lookup1Values(book->entries, book->dimensions);
    return bits.SkipBits(values * (valueBits + 1));
}

// --- Floors, residues, mappings and modes ---

bool BookIndex(Bits& bits, const std::vector<Codebook>& books, std::uint32_t* index) {
    return F(bits, 8, index) && *index < books.size();
}

bool Floor0(Bits& bits, const std::vector<Codebook>& books) {
    std::uint32_t order, rate, barkMap, amplitudeBits, amplitudeOffset, bookCount, book;
    if (!F(bits, 8, &order) || !F(bits, 16, &rate) || !F(bits, 16, &barkMap) || !F(bits, 6, &amplitudeBits) ||
        !F(bits, 8, &amplitudeOffset) || !F(bits, 4, &bookCount))
        return false;
    if (order < 1 || rate < 1 || barkMap < 1) return false;
    for (std::uint32_t i = 0; i <= bookCount; ++i)
        if (!BookIndex(bits, books, &book) || books[book].lookupType == 0 || books[book].dimensions == 0)
            return false;
    return true;
}

// Points beyond the two ends that one floor may place.
constexpr std::uint32_t kMaxFloor1Points = 63;

bool Floor1(Bits& bits, const std::vector<Codebook>& books) {
    std::uint32_t partitions, partitionClass[31], classDimensions[16] = {};
    if (!F(bits, 5, &partitions)) return false;
    int maxClass = -1;
    for (std::uint32_t i = 0; i < partitions; ++i) {
        if (!F(bits, 4, &partitionClass[i])) return false;
        maxClass = std::max(maxClass, static_cast<int>(partitionClass[i]));
    }
    for (int c = 0; c <= maxClass; ++c) {
        std::uint32_t subclasses, book;
        if (!F(bits, 3, &classDimensions[c]) || !F(bits, 2, &subclasses)) return false;
        ++classDimensions[c];
        if (subclasses && !BookIndex(bits, books, &book)) return false;
        for (std::uint32_t j = 0; j < (1u << subclasses); ++j) {
            if (!F(bits, 8, &book)) return false;
            if (book > 0 && book - 1 >= books.size()) return false;  // 0 is "no book"
        }
    }
    std::uint32_t multiplier, rangeBits;
    if (!F(bits, 2, &multiplier) || !F(bits, 4, &rangeBits)) return false;
    std::vector<std::uint32_t> xs = {0, 1u << rangeBits};
    for (std::uint32_t i = 0; i < partitions; ++i) {
        for (std::uint32_t j = 0; j < classDimensions[partitionClass[i]]; ++j) {
            std::uint32_t x;
            if (!F(bits, static_cast<int>(rangeBits), &x)) return false;
            xs.push_back(x);
            if (xs.size() > kMaxFloor1Points + 2) return false;
        }
    }
    std::sort(xs.begin(), xs.end());
    return std::adjacent_find(xs.begin(), xs.end()) == xs.end();
}

bool Residue(Bits& bits, const std::vector<Codebook>& books) {
    std::uint32_t type, begin, end, partitionSize, classifications, classbook;
    if (!F(bits, 16, &type) || type > 2) return false;
    if (!F(bits, 24, &begin) || !F(bits, 24, &end) || !F(bits, 24, &partitionSize) ||
        !F(bits, 6, &classifications) || !BookIndex(bits, books, &classbook))
        return false;
    ++classifications;
    std::uint32_t cascade[64];
    for (std::uint32_t i = 0; i < classifications; ++i) {
        std::uint32_t low, more, high = 0;
        if (!F(bits, 3, &low) || !F(bits, 1, &more) || (more && !F(bits, 5, &high))) return false;
        cascade[i] = high << 3 | low;
    }
    for (std::uint32_t i = 0; i < classifications; ++i) {
        for (int j = 0; j < 8; ++j) {
            std::uint32_t book;
            if (!(cascade[i] >> j & 1)) continue;
            if (!BookIndex(bits, books, &book) || books[book].lookupType == 0) return false;
        }
    }
    // The classbook's entries must cover every combination of classes
    // that one of its codewords stands for, of which there is at least one.
    if (books[classbook].dimensions == 0) return false;
    std::uint64_t combinations = 1;
    for (std::uint32_t d = 0; d < books[classbook].dimensions; ++d) {
        combinations *= classifications;
        if (combinations > books[classbook].entries) return false;
    }
    return true;
}

bool Mapping(Bits& bits, int channels, std::uint32_t floors, std::uint32_t residues) {
    std::uint32_t type, flag, submaps = 1, steps = 0, reserved, v;
    if (!F(bits, 16, &type) || type != 0) return false;
    if (!F(bits, 1, &flag) || (flag && !F(bits, 4, &submaps))) return false;
    if (flag) ++submaps;
    if (!F(bits, 1, &flag) || (flag && !F(bits, 8, &steps))) return false;
    if (flag) ++steps;
    const int channelBits = ILog(static_cast<std::uint32_t>(channels - 1));
    for (std::uint32_t i = 0; flag && i < steps; ++i) {
        std::uint32_t magnitude, angle;
        if (!F(bits, channelBits, &magnitude) || !F(bits, channelBits, &angle)) return false;
        const auto count = static_cast<std::uint32_t>(channels);
        if (magnitude == angle || magnitude >= count || angle >= count) return false;
    }
    if (!F(bits, 2, &reserved) || reserved != 0) return false;
    if (submaps > 1) {
        for (int c = 0; c < channels; ++c)
            if (!F(bits, 4, &v) || v >= submaps) return false;
    }
    for (std::uint32_t i = 0; i < submaps; ++i) {
        std::uint32_t floor, residue;
        if (!F(bits, 8, &v) || !F(bits, 8, &floor) || !F(bits, 8, &residue)) return false;
        if (floor >= floors || residue >= residues) return false;
    }
    return true;
}

bool Mode(Bits& bits, std::uint32_t mappings) {
    std::uint32_t blockFlag, windowType, transformType, mapping;
    if (!F(bits, 1, &blockFlag) || !F(bits, 16, &windowType) || !F(bits, 16, &transformType) ||
        !F(bits, 8, &mapping))
        return false;
    return windowType == 0 && transformType == 0 && mapping < mappings;
}

// --- Packets from the stream's pages ---

// Joins segments into packets; a lacing value below 255 ends a packet.
class Packets {
public:
    Packets(int wanted, std::vector<Packet>* out) : wanted_(wanted), out_(out) {}

    // Takes one page's segments and body; true once enough packets are whole.
    bool Page(const unsigned char* lacing, int segments, const unsigned char* body) {
        for (int i = 0; i < segments && !Done(); ++i) {
            current_.insert(current_.end(), body, body + lacing[i]);
            body += lacing[i];
            if (lacing[i] < 255) {
                out_->push_back(std::move(current_));
                current_.clear();
            }
        }
        return Done();
    }
    bool Done() const { return static_cast<int>(out_->size()) >= wanted_; }

private:
    int wanted_;
    std::vector<Packet>* out_;
    Packet current_;
};

std::uint32_t LE32(const unsigned char* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

bool FirstPackets(const unsigned char* bytes, std::size_t size, int count, std::vector<Packet>* out) {
    out->clear();
    Packets packets(count, out);
    std::uint32_t serial = 0;
    for (std::size_t at = 0; at + 27 <= size && !packets.Done();) {
        const unsigned char* page = bytes + at;
        if (std::memcmp(page, "OggS", 4) != 0 || page[4] != 0) return false;
        const int segments = page[26];
        std::size_t body = at + 27 + segments, end = body;
        if (body > size) return false;
        for (int i = 0; i < segments; ++i) end += page[27 + i];
        if (end > size) return false;
        const bool begins = page[5] & 2;
        if (at == 0 ? !begins : begins) return false;
        if (at == 0) serial = LE32(page + 14);
        // Pages of other streams interleaved with the first one are skipped.
        if (LE32(page + 14) == serial) packets.Page(page + 27, segments, bytes + body);
        at = end;
    }
    return packets.Done();
}

// --- Checking the three header packets ---

bool IdentificationValid(const Packet& packet, int* channels) {
    Bits bits(packet);
    std::uint32_t version, count, rate, bitrate, small, large, framing;
    if (!CommonHeader(bits, 1)) return false;
    if (!F(bits, 32, &version) || !F(bits, 8, &count) || !F(bits, 32, &rate)) return false;
    for (int i = 0; i < 3; ++i)
        if (!F(bits, 32, &bitrate)) return false;
    if (!F(bits, 4, &small) || !F(bits, 4, &large) || !F(bits, 1, &framing)) return false;
    if (version != 0 || count == 0 || rate == 0 || rate > INT_MAX) return false;
    if (small < 6 || large > 13 || small > large || framing != 1) return false;
    *channels = static_cast<int>(count);
    return true;
}

bool CommentValid(const Packet& packet) {
    Bits bits(packet);
    std::uint32_t length, comments, framing;
    if (!CommonHeader(bits, 3)) return false;
    if (!F(bits, 32, &length) || !bits.Holds(length)) return false;
    bits.SkipBytes(length);
    // Each comment takes at least its four-byte length.
    if (!F(bits, 32, &comments) || !bits.Holds(static_cast<std::uint64_t>(comments) * 4)) return false;
    for (std::uint32_t i = 0; i < comments; ++i) {
        if (!F(bits, 32, &length) || !bits.Holds(length)) return false;
        bits.SkipBytes(length);
    }
    return F(bits, 1, &framing) && framing == 1;
}

bool SetupValid(const Packet& packet, int channels) {
    Bits bits(packet);
    std::uint32_t count, v;
    if (!CommonHeader(bits, 5) || channels < 1) return false;

    std::vector<Codebook> books;
    if (!Count(bits, 8, &count)) return false;
    books.resize(count);
    for (Codebook& book : books)
        if (!ReadCodebook(bits, &book)) return false;

    if (!Count(bits, 6, &count)) return false;
    for (std::uint32_t i = 0; i < count; ++i)
        if (!F(bits, 16, &v) || v != 0) return false;  // time slots hold 0

    std::uint32_t floors, residues, mappings, modes;
    if (!Count(bits, 6, &floors)) return false;
    for (std::uint32_t i = 0; i < floors; ++i) {
        if (!F(bits, 16, &v) || v > 1) return false;
        if (!(v == 0 ? Floor0(bits, books) : Floor1(bits, books))) return false;
    }
    if (!Count(bits, 6, &residues)) return false;
    for (std::uint32_t i = 0; i < residues; ++i)
        if (!Residue(bits, books)) return false;
    if (!Count(bits, 6, &mappings)) return false;
    for (std::uint32_t i = 0; i < mappings; ++i)
        if (!Mapping(bits, channels, floors, residues)) return false;
    if (!Count(bits, 6, &modes)) return false;
    for (std::uint32_t i = 0; i < modes; ++i)
        if (!Mode(bits, mappings)) return false;
    return F(bits, 1, &v) && v == 1;
}

bool HeadersValid(const unsigned char* bytes, std::size_t size) {
    std::vector<Packet> packets;
    int channels = 0;
    return FirstPackets(bytes, size, 3, &packets) && IdentificationValid(packets[0], &channels) &&
           CommentValid(packets[1]) && SetupValid(packets[2], channels);
}

}  // namespace ogg_headers
