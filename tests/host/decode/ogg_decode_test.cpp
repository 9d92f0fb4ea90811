// SPDX-License-Identifier: Zlib
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

#include "host/decode/decode.h"
#include "tests/host/decode/ogg_pages.h"
#include "tests/support/ogg_writer.h"
#include "tests/support/sound_files.h"

using namespace soundfiles;
using namespace oggpages;

namespace {

struct Result {
    int frames = -1, channels = -1, bytesPerSample = -1, rate = -1;
    std::vector<short> samples;
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

struct Damage { std::string what; Bytes bytes; Expect expect; };

// The bytes with `at` changed by `change`, the page's checksum made to
// match again when `fix`.
template <class F>
Bytes Damaged(Bytes b, std::size_t at, bool fix, F change) {
    change(b, at);
    if (fix)
        for (const Page& p : Pages(b))
            if (at >= p.start && at < p.end) FixChecksum(b, p);
    return b;
}

// One file for each kind of damage.
std::vector<Damage> DamagedFiles() {
    const std::size_t count = CommentCountAt(kStereo);
    const std::vector<Page> pages = Pages(kStereo);
    auto huge = [](Bytes& b, std::size_t at) { SetLE32(b, at, 0xFFFFFFF0u); };
    auto flip = [](Bytes& b, std::size_t at) { b[at] ^= 0xA5; };
    auto cut = [](std::size_t at) { return Bytes(kStereo.begin(), kStereo.begin() + at); };
    // The identification header: type 1, "vorbis", version, channels.
    const std::size_t channels = pages[0].body + 11;
    const Page& audio = pages[2];
    return {
        {"huge comment count", Damaged(kStereo, count, true, huge), kNone},
        {"huge comment count, checksum stale", Damaged(kStereo, count, false, huge), kNone},
        {"no channels", Damaged(kStereo, channels, true, [](Bytes& b, std::size_t at) { b[at] = 0; }), kNone},
        {"cut in the identification header", cut(pages[0].body + 1), kNone},
        {"cut in the setup header", cut((pages[1].body + pages[1].end) / 2), kNone},
        {"headers only", cut(audio.start), kNoneOrSamples},
        {"setup byte flipped", Damaged(kStereo, pages[1].end - 200, true, flip), kNoneOrSamples},
        {"audio byte flipped", Damaged(kStereo, audio.body + 233, true, flip), kNoneOrSamples},
    };
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

// A page that is damaged, foreign or cut short ends the stream: the file
// decodes to exactly the frames of its pages before that one.
TEST(OggDecode, DecodingEndsAtTheFirstDamagedPage) {
    const std::vector<Page> pages = Pages(kStereo);
    ASSERT_GE(pages.size(), 4u);
    const Page& page = pages[3];  // the second of audio
    auto flip = [](Bytes& b, std::size_t at) { b[at] ^= 0x5A; };
    const struct { const char* what; Bytes bytes; } cases[] = {
        {"body byte, checksum stale", Damaged(kStereo, page.body + 50, false, flip)},
        {"checksum field", Damaged(kStereo, page.start + 23, false, flip)},
        {"another stream's serial", Damaged(kStereo, page.start + 14, true, flip)},
        {"a second beginning", Damaged(kStereo, page.start + 5, true, [](Bytes& b, std::size_t at) { b[at] |= 2; })},
        {"cut inside the page", Bytes(kStereo.begin(), kStereo.begin() + page.end - 1)},
    };
    TempFile intactFile(Bytes(kStereo.begin(), kStereo.begin() + page.start), ".ogg");
    const Result intact = Decode(intactFile.path());
    ASSERT_GT(intact.frames, 0);
    ASSERT_LT(intact.frames, kFrames);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFile file(c.bytes, ".ogg");
        const Result r = Decode(file.path());
        EXPECT_EQ(r.frames, intact.frames);
        EXPECT_EQ(r.samples, intact.samples);
    }
}

TEST(OggDecode, ValidFilesDecodeAsStbVorbisAloneDecodesThem) {
    const struct { int channels, rate, frames; } kFiles[] = {
        {1, 22050, 10000}, {2, 44100, 44100}, {1, 8000, 1}, {2, 48000, 4097},
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
        EXPECT_EQ(std::vector<int>({now.frames, now.channels, now.bytesPerSample, now.rate}),
                  std::vector<int>({frames, channels, 2, rate}));
        EXPECT_EQ(now.frames, f.frames);
        int worst = 0;
        for (std::size_t i = 0; i < now.samples.size() && i < static_cast<std::size_t>(frames) * channels; ++i)
            worst = std::max(worst, std::abs(now.samples[i] - before[i]));
        EXPECT_LE(worst, 1);
        std::free(before);
    }
}

