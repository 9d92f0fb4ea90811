// The RIFF WAVE parser: the fields it reads, the chunk walk, and the headers
// it must refuse without allocating or reading past the end.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/audio/memory_file.h"
#include "tests/audio/sound_files.h"

using namespace soundfiles;

namespace {

void DecodeWav(const Bytes& bytes, Decoded* out) { Decode(LoadWAV, bytes, out); }

bool WavLoads(const Bytes& bytes) {
    Decoded d;
    DecodeWav(bytes, &d);
    return d.data != nullptr;
}

}  // namespace

TEST(WavFieldReaders, ReadLittleEndianValuesAndReportShortReads) {
    MemoryFile file({'R', 'I', 'F', 'F', 0x34, 0x12, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 'x'});
    EXPECT_STREQ(readTag(file.get()), "RIFF");
    EXPECT_EQ(readShort(file.get()), 0x1234);
    EXPECT_EQ(readShort(file.get()), 0xFFFF);  // unsigned
    EXPECT_EQ(readInt(file.get()), -2);        // signed 32-bit
    // One byte left: every reader reports failure.
    EXPECT_STREQ(readTag(file.get()), "");
    EXPECT_EQ(readShort(file.get()), -1);
    EXPECT_EQ(readInt(file.get()), -1);
}

TEST(WavDecode, Stereo16BitGivesFramesChannelsAndTheStoredBytes) {
    Bytes data = Tone16(1000, 2, 22050);
    ASSERT_EQ(data.size(), 4000u);
    Decoded d;
    DecodeWav(PcmWav(2, 22050, 16, data), &d);
    ASSERT_NE(d.data, nullptr);
    EXPECT_EQ(d.frames, 1000);
    EXPECT_EQ(d.channels, 2);
    EXPECT_EQ(d.bytesPerSample, 2);
    EXPECT_EQ(d.rate, 22050);
    EXPECT_EQ(std::memcmp(d.data, data.data(), data.size()), 0);
}

TEST(WavDecode, EightBitDataStaysUnsignedAsStored) {
    Bytes data = Tone8(300, 1, 11025);
    Decoded d;
    DecodeWav(PcmWav(1, 11025, 8, data), &d);
    ASSERT_NE(d.data, nullptr);
    EXPECT_EQ(d.frames, 300);
    EXPECT_EQ(d.bytesPerSample, 1);
    EXPECT_EQ(std::memcmp(d.data, data.data(), data.size()), 0);
}

TEST(WavDecode, PartialFrameAtTheEndIsNotCounted) {
    Bytes data = Tone16(10, 2, 8000);
    data.resize(data.size() + 3, 0);  // 43 bytes: 10 whole stereo frames
    Decoded d;
    DecodeWav(PcmWav(2, 8000, 16, data), &d);
    ASSERT_NE(d.data, nullptr);
    EXPECT_EQ(d.frames, 10);
}

TEST(WavDecode, EmptyDataChunkGivesZeroFrames) {
    Decoded d;
    DecodeWav(PcmWav(1, 8000, 16, {}), &d);
    ASSERT_NE(d.data, nullptr);
    EXPECT_EQ(d.frames, 0);
}

TEST(WavChunks, ChunksBetweenFmtAndDataAreSkipped) {
    Bytes data = Tone16(50, 1, 8000);
    Decoded d;
    DecodeWav(RiffWave({FmtChunk(1, 1, 8000, 16), ListChunk(26), Chunk{"fact", {1, 2, 3, 4}},
                        DataChunk(data)}),
              &d);
    ASSERT_NE(d.data, nullptr);
    EXPECT_EQ(d.frames, 50);
    EXPECT_EQ(std::memcmp(d.data, data.data(), data.size()), 0);
}

TEST(WavChunks, ChunkBeforeFmtIsRefused) {
    EXPECT_FALSE(WavLoads(RiffWave({ListChunk(26), FmtChunk(1, 1, 8000, 16), DataChunk(Tone16(50, 1, 8000))})));
}

TEST(WavChunks, ExtraFmtBytesAreSkipped) {
    Bytes data = Tone16(40, 1, 8000);
    Decoded d;
    DecodeWav(RiffWave({FmtChunk(1, 1, 8000, 16, 2), DataChunk(data)}), &d);  // 18-byte fmt
    ASSERT_NE(d.data, nullptr);
    EXPECT_EQ(d.frames, 40);
    EXPECT_EQ(std::memcmp(d.data, data.data(), data.size()), 0);
}

TEST(WavChunks, OddChunkSizesAreUsedAsTheyStand) {
    // No pad byte follows the 3-byte chunk: the data tag comes at once.
    Decoded d;
    DecodeWav(RiffWave({FmtChunk(1, 1, 8000, 16), ListChunk(3), DataChunk(Tone16(20, 1, 8000))}), &d);
    ASSERT_NE(d.data, nullptr);
    EXPECT_EQ(d.frames, 20);
}

TEST(WavChunks, NoDataChunkFails) {
    EXPECT_FALSE(WavLoads(RiffWave({FmtChunk(1, 1, 8000, 16), ListChunk(10)})));
}

TEST(WavHeaders, WrongMagicOrNonIntegerFormatFails) {
    Bytes good = PcmWav(1, 8000, 16, Tone16(10, 1, 8000));
    ASSERT_TRUE(WavLoads(good));
    Bytes notRiff = good;
    notRiff[0] = 'X';
    Bytes notWave = good;
    notWave[8] = 'X';
    EXPECT_FALSE(WavLoads(notRiff));
    EXPECT_FALSE(WavLoads(notWave));
    EXPECT_FALSE(WavLoads(RiffWave({FmtChunk(3, 1, 8000, 32), DataChunk(Bytes(40, 0))})));  // float
    EXPECT_FALSE(WavLoads(RiffWave({FmtChunk(2, 1, 8000, 4), DataChunk(Bytes(40, 0))})));   // ADPCM
}

TEST(WavHeaders, EveryTruncationFails) {
    Bytes good = PcmWav(2, 8000, 16, Tone16(25, 2, 8000));
    ASSERT_TRUE(WavLoads(good));
    for (std::size_t n = 0; n < good.size(); ++n) {
        Bytes cut(good.begin(), good.begin() + static_cast<long>(n));
        EXPECT_FALSE(WavLoads(cut)) << "truncated to " << n << " bytes";
    }
}

TEST(WavHardening, UnusableSampleLayoutsAreRefused) {
    Bytes data(64, 1);
    EXPECT_FALSE(WavLoads(RiffWave({FmtChunk(1, 0, 8000, 16), DataChunk(data)})));  // no channels
    EXPECT_FALSE(WavLoads(RiffWave({FmtChunk(1, 1, 8000, 4), DataChunk(data)})));   // 4 bits
    EXPECT_FALSE(WavLoads(RiffWave({FmtChunk(1, 1, 8000, 0), DataChunk(data)})));   // 0 bits
    EXPECT_FALSE(WavLoads(RiffWave({FmtChunk(1, 1, 0, 16), DataChunk(data)})));     // rate 0
    EXPECT_FALSE(WavLoads(RiffWave({FmtChunk(1, 1, -5, 16), DataChunk(data)})));    // rate < 0
}

TEST(WavHardening, FmtChunkShorterThanItsFieldsIsRefused) {
    Chunk shortFmt = FmtChunk(1, 1, 8000, 16);
    shortFmt.declaredSize = 14;  // the bits field would come from the next chunk
    EXPECT_FALSE(WavLoads(RiffWave({shortFmt, DataChunk(Bytes(64, 1))})));
    Chunk negativeFmt = FmtChunk(1, 1, 8000, 16);
    negativeFmt.declaredSize = 0xFFFFFFF0u;
    EXPECT_FALSE(WavLoads(RiffWave({negativeFmt, DataChunk(Bytes(64, 1))})));
}

TEST(WavHardening, NegativeChunkSizesAreRefused) {
    Chunk list = ListChunk(8);
    list.declaredSize = 0xFFFFFFF8u;  // -8: would step backwards
    EXPECT_FALSE(WavLoads(RiffWave({FmtChunk(1, 1, 8000, 16), list, DataChunk(Bytes(64, 1))})));
    Chunk data = DataChunk(Bytes(64, 1));
    data.declaredSize = 0xFFFFFFFFu;
    EXPECT_FALSE(WavLoads(RiffWave({FmtChunk(1, 1, 8000, 16), data})));
}

TEST(WavHardening, SizesBeyondTheEndOfTheFileFail) {
    Chunk data = DataChunk(Bytes(64, 1));
    data.declaredSize = 0x7FFFFFFF;  // 2 GiB claimed, 64 bytes present
    EXPECT_FALSE(WavLoads(RiffWave({FmtChunk(1, 1, 8000, 16), data})));
    Chunk list = ListChunk(8);
    list.declaredSize = 0x7FFFFFF0;  // skipping it runs off the end
    EXPECT_FALSE(WavLoads(RiffWave({FmtChunk(1, 1, 8000, 16), list, DataChunk(Bytes(64, 1))})));
    Chunk fmt = FmtChunk(1, 1, 8000, 16, 4);
    fmt.declaredSize = 0x7FFFFFF0;
    EXPECT_FALSE(WavLoads(RiffWave({fmt, DataChunk(Bytes(64, 1))})));
}

TEST(WavHardening, DataLargerThanTheFirstBlockStillLoadsWhole) {
    // 3 MiB of samples: the growing read must deliver every byte.
    Bytes data = Tone16(786432, 2, 44100, 1000);
    Decoded d;
    DecodeWav(PcmWav(2, 44100, 16, data), &d);
    ASSERT_NE(d.data, nullptr);
    EXPECT_EQ(d.frames, 786432);
    EXPECT_EQ(std::memcmp(d.data, data.data(), data.size()), 0);
}
