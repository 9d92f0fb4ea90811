// SPDX-License-Identifier: Zlib
// libFuzzer target for our own check of the Vorbis header packets
// (host/decode/ogg_headers.h), which the WebAssembly build runs instead of the
// reference decoder. Every input is a file's whole contents. The check must
// never crash or hang, and its verdict on the first three packets must be
// the reference decoder's (header parsing and the decoding set-up made from
// it): accepting what the reference refuses would let stb_vorbis read what
// nothing has checked. Seeds: fuzz/seeds/fuzz_ogg_headers/ (our own sounds,
// and streams the fuzzer found where the two verdicts differed).
#include <vorbis/codec.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "host/decode/ogg_headers.h"
#include "tests/support/vorbis_reference.h"

namespace {

// Bit fields from the least significant bit up; a read past the end fails.
class BitReader {
public:
    explicit BitReader(const ogg_headers::Packet& p) : p_(p) {}
    bool Read(int count, std::uint64_t* out) {
        *out = 0;
        if (count < 0 || at_ + count > p_.size() * 8) return false;
        for (int i = 0; i < count; ++i, ++at_) *out |= static_cast<std::uint64_t>(p_[at_ / 8] >> (at_ % 8) & 1) << i;
        return true;
    }
    bool Skip(std::uint64_t count) {
        if (count > p_.size() * 8 - at_) return false;
        at_ += count;
        return true;
    }

private:
    const ogg_headers::Packet& p_;
    std::uint64_t at_ = 0;
};

int ILog(std::uint64_t v) {
    int n = 0;
    for (; v; v >>= 1) ++n;
    return n;
}

// The greatest r with r^dimensions <= entries, by bisection.
std::uint64_t GridSide(std::uint64_t entries, std::uint64_t dimensions) {
    auto fits = [&](std::uint64_t r) {
        std::uint64_t power = 1;
        for (std::uint64_t d = 0; d < dimensions && power <= entries; ++d) power *= r;
        return power <= entries;
    };
    std::uint64_t low = 0, high = entries;
    while (low < high) {
        const std::uint64_t mid = (low + high + 1) / 2;
        if (fits(mid)) low = mid;
        else high = mid - 1;
    }
    return low;
}

// The reference's decoding set-up never ends on a codebook of lookup type 1
// with no dimensions and a used entry: it searches for the side of a value
// grid that does not exist. Our check refuses such a stream, and the
// reference is not asked about it. Read here apart from the check under
// test: the codebooks at the start of the setup packet, up to the first that
// cannot be read.
bool SetsUpForever(const ogg_headers::Packet& setup) {
    BitReader bits(setup);
    std::uint64_t v, books, dimensions, entries, length, lookup, valueBits;
    if (!bits.Skip(7 * 8) || !bits.Read(8, &books)) return false;
    for (std::uint64_t b = 0; b <= books; ++b) {
        if (!bits.Read(24, &v) || v != 0x564342 || !bits.Read(16, &dimensions) || !bits.Read(24, &entries) ||
            !bits.Read(1, &v))
            return false;
        std::uint64_t used = 0;
        if (v) {  // ordered: runs of rising length
            if (!bits.Read(5, &length)) return false;
            for (std::uint64_t i = 0; i < entries; i += v, used += v)
                if (!bits.Read(ILog(entries - i), &v) || v > entries - i) return false;
        } else {
            std::uint64_t sparse;
            if (!bits.Read(1, &sparse)) return false;
            for (std::uint64_t i = 0; i < entries; ++i) {
                if (sparse && !bits.Read(1, &v)) return false;
                if (sparse && !v) continue;
                if (!bits.Read(5, &length)) return false;
                ++used;
            }
        }
        if (!bits.Read(4, &lookup) || lookup > 2) return false;
        if (lookup == 0) continue;
        if (lookup == 1 && dimensions == 0 && used > 0) return true;
        if (!bits.Skip(64) || !bits.Read(4, &valueBits) || !bits.Skip(1)) return false;
        const std::uint64_t values = dimensions == 0 || entries == 0 ? 0
                                     : lookup == 1                   ? GridSide(entries, dimensions)
                                                                     : entries * dimensions;
        if (!bits.Skip(values * (valueBits + 1))) return false;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool ours = ogg_headers::HeadersValid(data, size);
    std::vector<ogg_headers::Packet> packets;
    if (!ogg_headers::FirstPackets(data, size, 3, &packets)) {
        if (ours) std::abort();
        return 0;
    }
    if (SetsUpForever(packets[2])) {
        if (ours) std::abort();
        return 0;
    }
    if (ours != ReferenceAccepts(packets[0], packets[1], packets[2])) std::abort();
    return 0;
}
