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
class BitWriter {
public:
    BitWriter& Put(std::uint64_t value, int bits) {
        for (int i = 0; i < bits; ++i, ++at_) {
            if (at_ % 8 == 0) bytes_.push_back(0);
            if (value >> i & 1) bytes_.back() |= static_cast<unsigned char>(1 << (at_ % 8));
        }
        return *this;
    }
    BitWriter& Text(const char* text) {
        for (; *text; ++text) Put(static_cast<unsigned char>(*text), 8);
        return *this;
    }
    Packet Bytes() const { return bytes_; }

private:
    Packet bytes_;
    int at_ = 0;
};

struct Identification {
    int type = 1, version = 0, channels = 2, rate = 44100, small = 8, large = 11, framing = 1;
    Packet Build() const {
        BitWriter w;
        w.Put(type, 8).Text("vorbis").Put(version, 32).Put(channels, 8).Put(rate, 32);
        w.Put(0, 32).Put(128000, 32).Put(0, 32).Put(small, 4).Put(large, 4).Put(framing, 1);
        return w.Bytes();
    }
};

struct Comment {
    std::uint32_t vendorLength = 5, count = 1, firstLength = 9, framing = 1;
    Packet Build() const {
        BitWriter w;
        w.Put(3, 8).Text("vorbis").Put(vendorLength, 32).Text("Ours!").Put(count, 32);
        w.Put(firstLength, 32).Text("TITLE=abc").Put(framing, 1);
        return w.Bytes();
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
        w.Put(1, 5).Put(0, 4).Put(0, 3).Put(0, 2).Put(subBook, 8).Put(1, 2).Put(4, 4).Put(floorX, 4);
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
        return w.Bytes();
    }

    void VqBook(BitWriter& w) const {
        w.Put(sync, 24).Put(vqDimensions, 16).Put(lengths.size(), 24).Put(ordered, 1);
        if (ordered) {
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
            const int values = vqDimensions * static_cast<int>(lengths.size());
            for (int v = 0; v < values; ++v) w.Put(v, 4);
        }
    }
};

bool SetupAccepted(const SetupHeader& s) { return SetupValid(s.Build(), s.channels); }

const oggpages::Bytes kMono = soundfiles::EncodeOgg(1, 22050, 6000, [](int i, int) { return 0.3f * ((i / 40) % 2 ? 1 : -1); });
const oggpages::Bytes kStereo = soundfiles::EncodeOgg(2, 44100, 6000, [](int i, int c) { return 0.2f * ((i / (30 + c)) % 2); });

std::vector<Packet> HeaderPackets(const oggpages::Bytes& file) {
    std::vector<Packet> packets;
    EXPECT_TRUE(FirstPackets(file.data(), file.size(), 3, &packets));
    return packets;
}

}  // namespace

TEST(OggHeaders, HandBuiltHeadersPassAndTheReferenceAgrees) {
    const Packet id = Identification{}.Build(), comment = Comment{}.Build(), setup = SetupHeader{}.Build();
    int channels = 0;
    EXPECT_TRUE(IdentificationValid(id, &channels));
    EXPECT_EQ(channels, 2);
    EXPECT_TRUE(CommentValid(comment));
    EXPECT_TRUE(SetupValid(setup, 2));
    EXPECT_TRUE(ReferenceAccepts(id, comment, setup));
}

TEST(OggHeaders, EachBrokenRuleRejectsItsPacket) {
    struct Case {
        const char* what;
        std::function<bool()> accepted;
    };
    auto id = [](std::function<void(Identification&)> change) {
        return [change] {
            Identification h;
            change(h);
            int channels;
            return IdentificationValid(h.Build(), &channels);
        };
    };
    auto comment = [](std::function<void(Comment&)> change) {
        return [change] {
            Comment h;
            change(h);
            return CommentValid(h.Build());
        };
    };
    auto setup = [](std::function<void(SetupHeader&)> change) {
        return [change] {
            SetupHeader h;
            change(h);
            return SetupAccepted(h);
        };
    };
    const Case cases[] = {
        {"identification version 1", id([](auto& h) { h.version = 1; })},
        {"no channels", id([](auto& h) { h.channels = 0; })},
        {"sample rate 0", id([](auto& h) { h.rate = 0; })},
        {"sample rate beyond an int", id([](auto& h) { h.rate = static_cast<int>(0x80000000u); })},
        {"short block of 32", id([](auto& h) { h.small = 5; })},
        {"long block of 16384", id([](auto& h) { h.large = 14; })},
        {"short block longer than the long", id([](auto& h) { h.small = 12; })},
        {"identification framing bit clear", id([](auto& h) { h.framing = 0; })},
        {"comment packet of another type", id([](auto& h) { h.type = 3; })},
        {"vendor string longer than the packet", comment([](auto& h) { h.vendorLength = 1000; })},
        {"two thousand million comments", comment([](auto& h) { h.count = 0x7fffffff; })},
        {"a comment past the end", comment([](auto& h) { h.firstLength = 10; })},
        {"comment framing bit clear", comment([](auto& h) { h.framing = 0; })},
        {"setup of another type", setup([](auto& h) { h.type = 1; })},
        {"codebook without its sync pattern", setup([](auto& h) { h.sync = 0x564343; })},
        {"codebook with codes left over", setup([](auto& h) { h.lengths = {1, 2}; })},
        {"single used entry with a two-bit code", setup([](auto& h) { h.lengths = {0, 2}; })},
        {"codebook with one code too many", setup([](auto& h) { h.lengths = {1, 1, 1}; })},
        {"ordered codebook run too long for its length", setup([](auto& h) { h.lengths = {1, 1, 1}, h.ordered = true; })},
        {"lookup type 3", setup([](auto& h) { h.lookupType = 3; })},
        {"time slot not 0", setup([](auto& h) { h.timeValue = 1; })},
        {"floor type 2", setup([](auto& h) { h.floorType = 2; })},
        {"floor sub-book beyond the codebooks", setup([](auto& h) { h.subBook = 3; })},
        {"floor point on an end point", setup([](auto& h) { h.floorX = 0; })},
        {"residue type 3", setup([](auto& h) { h.residueType = 3; })},
        {"residue class book beyond the codebooks", setup([](auto& h) { h.classBook = 2; })},
        {"residue book beyond the codebooks", setup([](auto& h) { h.residueBook = 2; })},
        {"residue book without a lookup", setup([](auto& h) { h.residueBook = 1; })},
        {"more classes than the class book codes", setup([](auto& h) { h.classifications = 3; })},
        {"class book without dimensions", setup([](auto& h) { h.classDimensions = 0; })},
        // The reference's decoding set-up never ends on this one.
        {"lookup type 1 without dimensions, entries used", setup([](auto& h) { h.vqDimensions = 0; })},
        {"mapping type 1", setup([](auto& h) { h.mappingType = 1; })},
        {"channel coupled with itself", setup([](auto& h) { h.coupled = 1, h.angle = 0; })},
        {"coupling names a third channel", setup([](auto& h) { h.coupled = 1, h.channels = 3, h.angle = 3; })},
        {"mapping reserved bits set", setup([](auto& h) { h.reserved = 1; })},
        {"channel on a submap that does not exist", setup([](auto& h) { h.submaps = 2, h.mux = 2; })},
        {"mapping's floor beyond the floors", setup([](auto& h) { h.mapFloor = 1; })},
        {"mapping's residue beyond the residues", setup([](auto& h) { h.mapResidue = 1; })},
        {"window type 1", setup([](auto& h) { h.windowType = 1; })},
        {"mode's mapping beyond the mappings", setup([](auto& h) { h.modeMapping = 1; })},
        {"setup framing bit clear", setup([](auto& h) { h.framing = 0; })},
    };
    for (const Case& c : cases) EXPECT_FALSE(c.accepted()) << c.what;
}

TEST(OggHeaders, RuleEdgesThatStayValid) {
    struct Case {
        const char* what;
        std::function<void(SetupHeader&)> change;
    };
    const Case cases[] = {
        {"one used entry: the only incomplete code allowed", [](auto& h) { h.lengths = {0, 1}; }},
        {"ordered lengths", [](auto& h) { h.ordered = true; }},
        {"coupled channels", [](auto& h) { h.coupled = 1; }},
        {"two submaps", [](auto& h) { h.submaps = 2, h.mux = 1; }},
        // Books a decoder never reads a code from, which the reference takes.
        {"residue book without dimensions, lookup type 2",
         [](auto& h) { h.vqDimensions = 0, h.lookupType = 2; }},
        {"residue book without entries", [](auto& h) { h.lengths = {}, h.lookupType = 2; }},
        {"residue book without a used entry", [](auto& h) { h.lengths = {0, 0}; }},
    };
    for (const Case& c : cases) {
        SetupHeader h;
        c.change(h);
        EXPECT_TRUE(SetupAccepted(h)) << c.what;
        EXPECT_TRUE(ReferenceAccepts(Identification{}.Build(), Comment{}.Build(), h.Build())) << c.what;
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

TEST(OggHeaders, DamagedCommentCountInARealFileIsRefused) {
    oggpages::Bytes file = kStereo;
    oggpages::SetLE32(file, oggpages::FindCommentFields(file).commentCount, 0x40000000);
    EXPECT_FALSE(HeadersValid(file.data(), file.size()));
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
