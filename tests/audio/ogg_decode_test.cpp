// Ogg Vorbis decoding (LoadOGG) on damaged and on valid files. Each damaged
// file is decoded in a child process, which must end normally with none or
// with samples and hand back every byte that failed loads allocated; each
// valid file must give exactly the frames, channels and rate that
// stb_vorbis gives when it decodes the file by itself, as LoadOGG did before
// it checked pages and headers, and samples within 1 of its.
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include "host/audio_decode.h"
#include "tests/audio/ogg_pages.h"
#include "tests/audio/ogg_writer.h"
#include "tests/audio/sound_files.h"

using namespace soundfiles;
using namespace oggpages;

namespace {

struct Result {
    int frames = -1, channels = -1, bytesPerSample = -1, rate = -1;
    std::vector<short> samples;
    std::vector<int> Layout() const { return {frames, channels, bytesPerSample, rate}; }
};

Result Decode(const std::string& path) {
    Result r;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return r;
    unsigned char* data = LoadOGG(f, &r.frames, &r.channels, &r.bytesPerSample, &r.rate);
    std::fclose(f);
    if (!data) return Result{};
    auto* s = reinterpret_cast<short*>(data);
    r.samples.assign(s, s + static_cast<std::size_t>(r.frames) * r.channels);
    std::free(data);
    return r;
}

std::size_t HeapInUse() {
    struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// What a child process reports back.
struct Outcome {
    bool decoded = false;
    int frames = 0, channels = 0, rate = 0;
    long long kept = 0;  // heap bytes still in use after kLeakRounds failed loads
};

// Loads measured for what failed loads leave allocated, after the warm-up.
constexpr int kLeakRounds = 32;

// Decodes the bytes in a child process. When that gives none, the child
// loads the file again and again and counts the heap bytes the later loads
// leave in use. The allocator keeps some freed blocks cached for reuse, so
// the count moves by a few hundred bytes either way even without a leak; a
// leak grows with every load. `signal` is the signal that ended the child,
// 0 when it ended normally.
Outcome DecodeInChild(const Bytes& bytes, int* signal) {
    TempFile file(bytes, ".ogg");
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return *signal = -1, Outcome{};
    pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        Result first = Decode(file.path());
        Outcome out{first.frames >= 0, first.frames, first.channels, first.rate, 0};
        if (!out.decoded) {
            for (int i = 0; i < 8; ++i) Decode(file.path());
            std::size_t before = HeapInUse();
            for (int i = 0; i < kLeakRounds; ++i) Decode(file.path());
            out.kept = static_cast<long long>(HeapInUse()) - static_cast<long long>(before);
        }
        _exit(write(pipeEnds[1], &out, sizeof out) == sizeof out ? 0 : 3);
    }
    close(pipeEnds[1]);
    Outcome out;
    bool reported = read(pipeEnds[0], &out, sizeof out) == sizeof out;
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    *signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    if (!reported && !*signal) *signal = -1;
    return out;
}

float Chord(int frame, int channel) {
    double t = frame / 44100.0;
    return static_cast<float>(0.3 * std::sin(2 * M_PI * (220 + 110 * channel) * t) +
                              0.2 * std::sin(2 * M_PI * 330 * t + channel));
}

const int kFrames = 120000;
const Bytes kStereo = EncodeOgg(2, 44100, kFrames, Chord);

enum Expect { kNone, kNoneOrSamples };

struct Damage {
    std::string what;
    Bytes bytes;
    Expect expect;
};

Bytes WithLE32(Bytes b, std::size_t at, std::uint32_t value, bool fixChecksum) {
    SetLE32(b, at, value);
    if (fixChecksum)
        for (const Page& p : Pages(b))
            if (at >= p.start && at < p.end) FixChecksum(b, p);
    return b;
}

Bytes Flipped(Bytes b, std::size_t at, bool fixChecksum) {
    b[at] ^= 0xA5;
    if (fixChecksum)
        for (const Page& p : Pages(b))
            if (at >= p.start && at < p.end) FixChecksum(b, p);
    return b;
}

std::vector<Damage> DamagedFiles() {
    std::vector<Damage> cases;
    const CommentFields fields = FindCommentFields(kStereo);
    const std::vector<Page> pages = Pages(kStereo);
    for (bool fix : {false, true}) {
        std::string crc = fix ? ", checksum matching" : ", checksum stale";
        for (std::uint32_t count : {0x7FFFFFFFu, 0xFFFFFFFFu, 0x01000000u})
            cases.push_back({"comment count " + std::to_string(count) + crc,
                             WithLE32(kStereo, fields.commentCount, count, fix), kNone});
        for (std::uint32_t length : {0x7FFFFFFFu, 0xFFFFFFF0u, 0x00010000u})
            cases.push_back({"vendor length " + std::to_string(length) + crc,
                             WithLE32(kStereo, fields.vendorLength, length, fix), kNone});
    }
    // The identification header: type 1, "vorbis", version, channels, rate.
    const std::size_t rate = pages[0].body + 12;
    for (std::uint32_t r : {0u, 0x80000000u, 0xFFFFFF7Bu})
        cases.push_back({"rate " + std::to_string(r), WithLE32(kStereo, rate, r, true), kNone});
    Bytes noChannels = kStereo;
    noChannels[rate - 1] = 0;
    FixChecksum(noChannels, pages[0]);
    cases.push_back({"no channels", noChannels, kNone});
    // Cut inside each header page, then at the end of the headers and in
    // the first audio page.
    std::size_t audio = 0;
    while (audio < pages.size() && pages[audio].headers) ++audio;
    for (std::size_t p = 0; p < audio; ++p)
        for (std::size_t at : {pages[p].start + 10, pages[p].body + 1, (pages[p].body + pages[p].end) / 2, pages[p].end - 1})
            cases.push_back({"cut at " + std::to_string(at), Bytes(kStereo.begin(), kStereo.begin() + at), kNone});
    const Page& firstAudio = pages[audio];
    cases.push_back({"headers only", Bytes(kStereo.begin(), kStereo.begin() + firstAudio.start), kNoneOrSamples});
    cases.push_back({"cut in the audio", Bytes(kStereo.begin(), kStereo.begin() + firstAudio.end - 100), kNoneOrSamples});
    // Flipped bytes through the header pages and the first audio page.
    for (std::size_t at = 0; at < firstAudio.end; at += at < pages[1].start ? 5 : 233)
        for (bool fix : {false, true})
            cases.push_back({"byte " + std::to_string(at) + " flipped" + (fix ? ", checksum matching" : ""),
                             Flipped(kStereo, at, fix), kNoneOrSamples});
    return cases;
}

}  // namespace

TEST(OggDecode, DamagedFilesGiveNoneOrSamplesNeverASignalAndKeepNoMemory) {
    const std::vector<Page> pages = Pages(kStereo);
    ASSERT_GE(pages.size(), 4u);
    ASSERT_TRUE(pages[1].headers && !pages[2].headers) << "the cases need headers, then two audio pages";
    const auto cases = DamagedFiles();
    int decodedSome = 0;
    for (const Damage& c : cases) {
        SCOPED_TRACE(c.what);
        int signal = 0;
        Outcome out = DecodeInChild(c.bytes, &signal);
        ASSERT_EQ(signal, 0);
        EXPECT_LT(out.kept, kLeakRounds * 32) << "bytes left allocated by " << kLeakRounds << " failed loads";
        if (c.expect == kNone) EXPECT_FALSE(out.decoded);
        if (!out.decoded) continue;
        ++decodedSome;  // a damaged header may still say anything Vorbis allows
        EXPECT_TRUE(out.channels >= 1 && out.channels <= 255) << out.channels;
        EXPECT_GT(out.rate, 0);
        EXPECT_TRUE(out.frames >= 0 && out.frames <= kFrames) << out.frames;
    }
    EXPECT_GT(decodedSome, 0) << "damage in the audio keeps the intact pages";
}

TEST(OggDecode, ValidFilesDecodeAsStbVorbisAloneDecodesThem) {
    const struct { int channels, rate, frames; } kFiles[] = {
        {1, 22050, 10000}, {2, 44100, 44100}, {1, 8000, 1},  {2, 48000, 4097},
        {1, 11025, 1024},  {2, 22050, 777},   {1, 44100, 2049},
    };
    for (const auto& f : kFiles) {
        SCOPED_TRACE(testing::Message() << f.channels << " channels, " << f.rate << " Hz, " << f.frames << " frames");
        Bytes bytes = EncodeOgg(f.channels, f.rate, f.frames, Chord);
        ASSERT_FALSE(bytes.empty());
        TempFile file(bytes, ".ogg");
        Result now = Decode(file.path());
        int channels = 0, rate = 0;
        short* before = nullptr;
        int frames = stb_vorbis_decode_memory(bytes.data(), static_cast<int>(bytes.size()), &channels, &rate, &before);
        ASSERT_GE(frames, 0);
        EXPECT_EQ(now.Layout(), (std::vector<int>{frames, channels, 2, rate}));
        EXPECT_EQ(now.frames, f.frames);
        int worst = 0;
        for (std::size_t i = 0; i < now.samples.size() && i < static_cast<std::size_t>(frames) * channels; ++i)
            worst = std::max(worst, std::abs(now.samples[i] - before[i]));
        EXPECT_LE(worst, 1);
        std::free(before);
    }
}

// A damaged page ends the sound there: the frames before it come out as
// they would from the whole file, the rest are left out.
TEST(OggDecode, ADamagedAudioPageEndsTheSoundWhereItIs) {
    const std::vector<Page> pages = Pages(kStereo);
    ASSERT_GE(pages.size(), 4u);
    TempFile whole(kStereo, ".ogg");
    const Result full = Decode(whole.path());
    ASSERT_EQ(full.frames, kFrames);
    Bytes damaged = kStereo;
    const Page& last = pages.back();
    damaged[(last.body + last.end) / 2] ^= 0x5A;  // its checksum now fails
    TempFile file(damaged, ".ogg");
    const Result cut = Decode(file.path());
    ASSERT_GT(cut.frames, 0);
    EXPECT_LT(cut.frames, kFrames);
    EXPECT_EQ(cut.Layout(), (std::vector<int>{cut.frames, 2, 2, 44100}));
    EXPECT_TRUE(std::equal(cut.samples.begin(), cut.samples.end(), full.samples.begin()));
}
