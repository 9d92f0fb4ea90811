// SPDX-License-Identifier: Zlib
// Our own check of the Vorbis header packets (host/decode/ogg_headers.h), which the
// WebAssembly build runs instead of the reference decoder's. Hand-built
// headers break one rule each; files from the reference encoder pass whole
// and fail cut short; and randomly damaged setup headers get the verdict the
// reference decoder gives them.
#include <gtest/gtest.h>
#include <vorbis/codec.h>

#include <cstdint>
#include <functional>
#include <random>

#include "host/decode/ogg_headers.h"
#include "tests/host/decode/ogg_pages.h"
#include "tests/support/ogg_writer.h"
#include "tests/support/vorbis_reference.h"

using namespace ogg_headers;

namespace {

// Packs fields the way Vorbis does: from the least significant bit up.
struct BitWriter {
    Packet bytes;
    int at = 0;
    BitWriter& Put(std::uint64_t value, int bits) {
        for (int i = 0; i < bits; ++i, ++at) {
            if (at % 8 == 0) bytes.push_back(0);
            if (value >> i & 1) bytes.back() |= static_cast<unsigned char>(1 << (at % 8));
        }
        return *this;
    }
    BitWriter& Text(const char* text) {
        for (; *text; ++text) Put(static_cast<unsigned char>(*text), 8);
        return *this;
    }
};

struct Identification {
    int type = 1, version = 0, channels = 2, rate = 44100, small = 8, large = 11, framing = 1;
    Packet Build() const {
        BitWriter w;
        w.Put(type, 8).Text("vorbis").Put(version, 32).Put(channels, 8).Put(rate, 32);
        w.Put(0, 32).Put(128000, 32).Put(0, 32).Put(small, 4).Put(large, 4).Put(framing, 1);
        return w.bytes;
    }
};

struct Comment {
    std::uint32_t vendorLength = 5, count = 1, firstLength = 9, framing = 1;
    Packet Build() const {
        BitWriter w;
        w.Put(3, 8).Text("vorbis").Put(vendorLength, 32).Text("Ours!").Put(count, 32);
        w.Put(firstLength, 32).Text("TITLE=abc").Put(framing, 1);
        return w.bytes;
    }
};

// The smallest setup that uses every part once: two codebooks (a VQ book and
// a class book), one time slot, a floor 1, a residue, a mapping and a mode.
struct SetupHeader {
    int type = 5;
    std::uint32_t sync = 0x564342;
    std::vector<int> lengths = {1, 1};  // of the VQ book; 0 leaves an entry unused
    int vqDimensions = 1, classDimensions = 1;  // 0 or 1
    bool ordered = false;
    int lookupType = 1, timeValue = 0, floorType = 1, subBook = 0, floorX = 5;
    // Floor 1: partitions of one class of `floorDimensions` points, at
    // floorX, floorX + 1 ... in `rangeBits` bits; floor 0: its order.
    int floorPartitions = 1, floorDimensions = 1, rangeBits = 4, floorOrder = 1;
    // An ordered VQ book of this many entries of one length, instead of `lengths`.
    int orderedEntries = 0, orderedLength = 1;
    int residueType = 0, classifications = 2, classBook = 1, residueBook = 0;
    int mappingType = 0, coupled = 0, magnitude = 0, angle = 1, reserved = 0, submaps = 1, mux = 0;
    int mapFloor = 0, mapResidue = 0, windowType = 0, modeMapping = 0, framing = 1;
    int channels = 2;  // for the coupling fields' width

    Packet Build() const {
        BitWriter w;
        w.Put(type, 8).Text("vorbis").Put(1, 8);  // two codebooks
        VqBook(w);
        w.Put(sync, 24).Put(classDimensions, 16).Put(2, 24).Put(0, 1).Put(0, 1).Put(0, 5).Put(0, 5).Put(0, 4);
        w.Put(0, 6).Put(timeValue, 16);
        w.Put(0, 6).Put(floorType, 16);
        if (floorType == 0) {
            w.Put(floorOrder, 8).Put(22050, 16).Put(256, 16).Put(6, 6).Put(0, 8).Put(0, 4).Put(0, 8);
        } else {
            w.Put(floorPartitions, 5);
            for (int p = 0; p < floorPartitions; ++p) w.Put(0, 4);
            w.Put(floorDimensions - 1, 3).Put(0, 2).Put(subBook, 8).Put(1, 2).Put(rangeBits, 4);
            for (int x = 0; x < floorPartitions * floorDimensions; ++x) w.Put(floorX + x, rangeBits);
        }
        w.Put(0, 6).Put(residueType, 16).Put(0, 24).Put(64, 24).Put(31, 24);
        w.Put(classifications - 1, 6).Put(classBook, 8);
        for (int c = 0; c < classifications; ++c) w.Put(c == 0 ? 1 : 0, 3).Put(0, 1);
        w.Put(residueBook, 8);
        w.Put(0, 6).Put(mappingType, 16).Put(submaps > 1, 1);
        if (submaps > 1) w.Put(submaps - 1, 4);
        w.Put(coupled, 1);
        const int channelBits = channels > 2 ? 2 : 1;
        if (coupled) w.Put(0, 8).Put(magnitude, channelBits).Put(angle, channelBits);
        w.Put(reserved, 2);
        if (submaps > 1)
            for (int c = 0; c < channels; ++c) w.Put(mux, 4);
        for (int s = 0; s < submaps; ++s) w.Put(0, 8).Put(mapFloor, 8).Put(mapResidue, 8);
        w.Put(0, 6).Put(0, 1).Put(windowType, 16).Put(0, 16).Put(modeMapping, 8);
        w.Put(framing, 1);
        return w.bytes;
    }

    void VqBook(BitWriter& w) const {
        const int entries = orderedEntries ? orderedEntries : static_cast<int>(lengths.size());
        w.Put(sync, 24).Put(vqDimensions, 16).Put(entries, 24).Put(ordered || orderedEntries, 1);
        if (orderedEntries) {
            int bits = 0;
            while (orderedEntries >> bits) ++bits;
            w.Put(orderedLength - 1, 5).Put(orderedEntries, bits);
        } else if (ordered) {
            w.Put(lengths[0] - 1, 5).Put(lengths.size(), 2);  // one run of equal lengths
        } else {
            bool sparse = false;
            for (int l : lengths) sparse = sparse || l == 0;
            w.Put(sparse, 1);
            for (int l : lengths) {
                if (sparse) w.Put(l > 0, 1);
                if (l > 0) w.Put(l - 1, 5);
            }
        }
        w.Put(lookupType, 4);
        if (lookupType == 1 || lookupType == 2) {
            w.Put(0x60000000, 32).Put(0x60000000, 32).Put(3, 4).Put(0, 1);
            // One dimension: both types agree; none: no values.
            const int values = vqDimensions * entries;
            for (int v = 0; v < values; ++v) w.Put(v, 4);
        }
    }
};

bool Accepted(const Identification& h) {
    int channels;
    return IdentificationValid(h.Build(), &channels);
}
bool Accepted(const Comment& h) { return CommentValid(h.Build()); }
bool Accepted(const SetupHeader& h) { return SetupValid(h.Build(), h.channels); }

// Whether our check takes the default header of type H after `change`.
template <class H, class F>
std::function<bool()> Changed(F change) {
    return [change] {
        H h;
        change(h);
        return Accepted(h);
    };
}
using I = Identification;
using C = Comment;
using S = SetupHeader;

const oggpages::Bytes kMono = soundfiles::EncodeOgg(1, 22050, 6000, [](int i, int) { return 0.3f * ((i / 40) % 2 ? 1 : -1); });
const oggpages::Bytes kStereo = soundfiles::EncodeOgg(2, 44100, 6000, [](int i, int c) { return 0.2f * ((i / (30 + c)) % 2); });

std::vector<Packet> HeaderPackets(const oggpages::Bytes& file) {
    std::vector<Packet> packets;
    EXPECT_TRUE(FirstPackets(file.data(), file.size(), 3, &packets));
    return packets;
}

}  // namespace

TEST(OggHeaders, EachBrokenRuleRejectsItsPacket) {
    struct Case { const char* what; std::function<bool()> accepted; };
    const Case cases[] = {
        {"identification version 1", Changed<I>([](auto& h) { h.version = 1; })},
        {"no channels", Changed<I>([](auto& h) { h.channels = 0; })},
        {"sample rate 0", Changed<I>([](auto& h) { h.rate = 0; })},
        {"sample rate beyond an int", Changed<I>([](auto& h) { h.rate = static_cast<int>(0x80000000u); })},
        {"short block of 32", Changed<I>([](auto& h) { h.small = 5; })},
        {"short block longer than the long", Changed<I>([](auto& h) { h.small = 12; })},
        {"identification framing bit clear", Changed<I>([](auto& h) { h.framing = 0; })},
        {"vendor string longer than the packet", Changed<C>([](auto& h) { h.vendorLength = 1000; })},
        {"two thousand million comments", Changed<C>([](auto& h) { h.count = 0x7fffffff; })},
        {"a comment past the end", Changed<C>([](auto& h) { h.firstLength = 10; })},
        {"comment framing bit clear", Changed<C>([](auto& h) { h.framing = 0; })},
        {"setup of another type", Changed<S>([](auto& h) { h.type = 1; })},
        {"codebook without its sync pattern", Changed<S>([](auto& h) { h.sync = 0x564343; })},
        {"codebook with codes left over", Changed<S>([](auto& h) { h.lengths = {1, 2}; })},
        {"single used entry with a two-bit code", Changed<S>([](auto& h) { h.lengths = {0, 2}; })},
        {"codebook with one code too many", Changed<S>([](auto& h) { h.lengths = {1, 1, 1}; })},
        {"ordered codebook run too long for its length", Changed<S>([](auto& h) { h.lengths = {1, 1, 1}, h.ordered = true; })},
        {"lookup type 3", Changed<S>([](auto& h) { h.lookupType = 3; })},
        {"time slot not 0", Changed<S>([](auto& h) { h.timeValue = 1; })},
        {"floor type 2", Changed<S>([](auto& h) { h.floorType = 2; })},
        {"floor sub-book beyond the codebooks", Changed<S>([](auto& h) { h.subBook = 3; })},
        {"floor point on an end point", Changed<S>([](auto& h) { h.floorX = 0; })},
        {"64 floor points", Changed<S>([](auto& h) { h.floorPartitions = 8, h.floorDimensions = 8, h.rangeBits = 7; })},
        {"floor 0 of order 0", Changed<S>([](auto& h) { h.floorType = 0, h.floorOrder = 0; })},
        // 2^23 entries of one dimension: 25 bits of index space.
        {"codebook too large", Changed<S>([](auto& h) { h.orderedEntries = 1 << 23, h.orderedLength = 23; })},
        {"residue type 3", Changed<S>([](auto& h) { h.residueType = 3; })},
        {"residue book beyond the codebooks", Changed<S>([](auto& h) { h.residueBook = 2; })},
        {"residue book without a lookup", Changed<S>([](auto& h) { h.residueBook = 1; })},
        {"more classes than the class book codes", Changed<S>([](auto& h) { h.classifications = 3; })},
        {"class book without dimensions", Changed<S>([](auto& h) { h.classDimensions = 0; })},
        // The reference's decoding set-up never ends on this one.
        {"lookup type 1 without dimensions, entries used", Changed<S>([](auto& h) { h.vqDimensions = 0; })},
        {"channel coupled with itself", Changed<S>([](auto& h) { h.coupled = 1, h.angle = 0; })},
        {"coupling names a third channel", Changed<S>([](auto& h) { h.coupled = 1, h.channels = 3, h.angle = 3; })},
        {"mapping reserved bits set", Changed<S>([](auto& h) { h.reserved = 1; })},
        {"channel on a submap that does not exist", Changed<S>([](auto& h) { h.submaps = 2, h.mux = 2; })},
        {"mapping's floor beyond the floors", Changed<S>([](auto& h) { h.mapFloor = 1; })},
        {"mode's mapping beyond the mappings", Changed<S>([](auto& h) { h.modeMapping = 1; })},
        {"setup framing bit clear", Changed<S>([](auto& h) { h.framing = 0; })},
    };
    for (const Case& c : cases) EXPECT_FALSE(c.accepted()) << c.what;
}

TEST(OggHeaders, RuleEdgesThatStayValid) {
    struct Case { const char* what; std::function<void(SetupHeader&)> change; };
    EXPECT_TRUE(Accepted(I{}) && Accepted(C{}));
    const Case cases[] = {
        {"as built", [](auto&) {}},
        {"one used entry: the only incomplete code allowed", [](auto& h) { h.lengths = {0, 1}; }},
        {"ordered lengths", [](auto& h) { h.ordered = true; }},
        {"coupled channels", [](auto& h) { h.coupled = 1; }},
        {"two submaps", [](auto& h) { h.submaps = 2, h.mux = 1; }},
        {"63 floor points", [](auto& h) { h.floorPartitions = 9, h.floorDimensions = 7, h.rangeBits = 7; }},
        {"floor 0", [](auto& h) { h.floorType = 0; }},
        // Books a decoder never reads a code from, which the reference takes.
        {"residue book without dimensions, lookup type 2",
         [](auto& h) { h.vqDimensions = 0, h.lookupType = 2; }},
        {"residue book without entries", [](auto& h) { h.lengths = {}, h.lookupType = 2; }},
        {"residue book without a used entry", [](auto& h) { h.lengths = {0, 0}; }},
    };
    for (const Case& c : cases) {
        SetupHeader h;
        c.change(h);
        EXPECT_TRUE(Accepted(h)) << c.what;
        EXPECT_TRUE(ReferenceAccepts(I{}.Build(), C{}.Build(), h.Build())) << c.what;
    }
}

TEST(OggHeaders, EncodedFilesPassWholeAndFailCutInsideTheirHeaders) {
    for (const oggpages::Bytes* file : {&kMono, &kStereo}) {
        ASSERT_FALSE(file->empty());
        EXPECT_TRUE(HeadersValid(file->data(), file->size()));
        std::vector<Packet> packets = HeaderPackets(*file);
        int channels = 0;
        ASSERT_TRUE(IdentificationValid(packets[0], &channels));
        EXPECT_EQ(channels, file == &kMono ? 1 : 2);
        // The headers end with the page that ends the setup packet.
        std::vector<oggpages::Page> pages = oggpages::Pages(*file);
        std::size_t headersEnd = 0;
        for (const oggpages::Page& p : pages)
            if (p.headers) headersEnd = p.end;
        EXPECT_TRUE(HeadersValid(file->data(), headersEnd));
        for (std::size_t cut = 0; cut < headersEnd; cut += 7)
            EXPECT_FALSE(HeadersValid(file->data(), cut)) << "cut at " << cut;
    }
}

// Bits flipped at random in a real setup header: wherever the reference
// decoder refuses the result, so do we, and the other way round.
TEST(OggHeaders, DamagedSetupHeadersGetTheReferenceVerdict) {
    const std::vector<Packet> packets = HeaderPackets(kStereo);
    std::mt19937 random(1234);
    int refused = 0, agreed = 0;
    const int kTrials = 3000;
    for (int trial = 0; trial < kTrials; ++trial) {
        Packet setup = packets[2];
        // Most of a setup header is codebook values, where flips change
        // nothing; its first 200 bytes hold the structure.
        std::size_t span = std::min<std::size_t>(setup.size(), trial % 2 ? 200 : setup.size());
        for (int flips = 1 + trial % 3; flips > 0; --flips) setup[random() % span] ^= 1 << (random() % 8);
        if (trial % 5 == 0) setup.resize(random() % setup.size());
        const bool ours = SetupValid(setup, 2), reference = ReferenceAccepts(packets[0], packets[1], setup);
        EXPECT_EQ(ours, reference) << "trial " << trial;
        refused += !ours;
        agreed += ours == reference;
    }
    EXPECT_GT(refused, kTrials / 4);  // the damage reached the checks
    EXPECT_EQ(agreed, kTrials);
}
