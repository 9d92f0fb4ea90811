// SPDX-License-Identifier: Zlib
// Whole-file Ogg Vorbis loading of the same 60-second stereo tune, in one
// run: LoadOGG beside the two decoders it could be built on, each used the
// simplest way it offers: the reference decoder (libvorbisfile, ov_read to
// the end) and stb_vorbis (its whole-file decode, and the frame-by-frame
// loop that LoadOGG ran on it before it checked pages and headers). LoadOGG
// should cost no more than 1.1x the faster of VorbisfileRead and
// StbDecodeFilename.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>
#include <vorbis/vorbisfile.h>

#include "host/decode/decode.h"
#include "tests/support/ogg_writer.h"
#include "tests/support/sound_files.h"

namespace {

const int kRate = 44100;
const int kSeconds = 60;

std::unique_ptr<soundfiles::TempFile> tune;
std::vector<unsigned char> tuneBytes;

// Deterministic noise in [-1, 1] for the percussion.
double Noise(int frame, int channel) {
    unsigned h = static_cast<unsigned>(frame) * 2654435761u ^ static_cast<unsigned>(channel) * 40503u;
    h ^= h >> 15;
    h *= 2246822519u;
    h ^= h >> 13;
    return (h & 0xFFFF) / 32767.5 - 1.0;
}

// A tune rather than a steady tone: a chord that changes every half second,
// a different voice in each channel, and a noise burst on every beat, so the
// coder works about as hard as on music.
float TuneSample(int frame, int channel) {
    static const double kRoots[] = {220.0, 246.9, 261.6, 293.7, 329.6, 293.7, 261.6, 196.0};
    double t = static_cast<double>(frame) / kRate;
    double root = kRoots[static_cast<int>(t * 2) % 8];
    double phase = 2 * M_PI * root * t;
    double v = channel == 0 ? 0.3 * std::sin(phase) + 0.15 * std::sin(1.5 * phase)
                            : 0.25 * std::sin(1.25 * phase) + 0.1 * std::sin(3 * phase);
    double envelope = 1.0 - std::fmod(t * 2, 1.0) * 0.6;
    double beat = std::fmod(t * 4, 1.0);
    double drum = beat < 0.2 ? 0.2 * (1 - beat * 5) * Noise(frame, channel) : 0.0;
    return static_cast<float>(v * envelope + drum);
}

void LoadOggFile(benchmark::State& state) {
    for (auto _ : state) {
        std::FILE* f = std::fopen(tune->path().c_str(), "rb");
        int frames = 0, channels = 0, bytes = 0, rate = 0;
        unsigned char* data = LoadOGG(f, &frames, &channels, &bytes, &rate);
        std::fclose(f);
        if (!data || frames < kRate * kSeconds - 4096) state.SkipWithError("LoadOGG failed");
        benchmark::DoNotOptimize(data);
        std::free(data);
    }
}

void StbDecodeFilename(benchmark::State& state) {
    for (auto _ : state) {
        int channels = 0, rate = 0;
        short* samples = nullptr;
        int frames = stb_vorbis_decode_filename(tune->path().c_str(), &channels, &rate, &samples);
        if (frames < kRate * kSeconds - 4096) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(samples);
        std::free(samples);
    }
}

// libvorbisfile's own way: ov_fopen, then ov_read into a doubling buffer.
void VorbisfileRead(benchmark::State& state) {
    for (auto _ : state) {
        OggVorbis_File vf;
        if (ov_fopen(tune->path().c_str(), &vf) != 0) state.SkipWithError("open failed");
        std::size_t capacity = 1 << 20, used = 0;
        auto* pcm = static_cast<char*>(std::malloc(capacity));
        for (int link = 0;;) {
            if (used + 16384 > capacity) pcm = static_cast<char*>(std::realloc(pcm, capacity *= 2));
            long got = ov_read(&vf, pcm + used, 16384, 0, 2, 1, &link);
            if (got <= 0) break;
            used += static_cast<std::size_t>(got);
        }
        ov_clear(&vf);
        if (used / 4 < static_cast<std::size_t>(kRate * kSeconds - 4096)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(pcm);
        std::free(pcm);
    }
}

// The loop LoadOGG ran on stb_vorbis before it checked pages and headers.
void StbFrameLoop(benchmark::State& state) {
    for (auto _ : state) {
        std::FILE* f = std::fopen(tune->path().c_str(), "rb");
        int error = 0;
        stb_vorbis* v = stb_vorbis_open_file(f, 0, &error, nullptr);
        if (!v) {
            state.SkipWithError("open failed");
            std::fclose(f);
            break;
        }
        const int channels = stb_vorbis_get_info(v).channels, chunk = channels * 4096;
        int capacity = chunk, used = 0, frames = 0;
        auto* buffer = static_cast<short*>(std::malloc(capacity * sizeof(short)));
        while (int n = stb_vorbis_get_frame_short_interleaved(v, channels, buffer + used, capacity - used)) {
            frames += n, used += channels * n;
            if (used + chunk > capacity)
                buffer = static_cast<short*>(std::realloc(buffer, (capacity *= 2) * sizeof(short)));
        }
        stb_vorbis_close(v);
        std::fclose(f);
        if (frames < kRate * kSeconds - 4096) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(buffer);
        std::free(buffer);
    }
}

BENCHMARK(LoadOggFile)->Unit(benchmark::kMillisecond)->Repetitions(10);
BENCHMARK(VorbisfileRead)->Unit(benchmark::kMillisecond)->Repetitions(10);
BENCHMARK(StbDecodeFilename)->Unit(benchmark::kMillisecond)->Repetitions(10);
BENCHMARK(StbFrameLoop)->Unit(benchmark::kMillisecond)->Repetitions(10);

}  // namespace

int main(int argc, char** argv) {
    tuneBytes = soundfiles::EncodeOgg(2, kRate, kRate * kSeconds, TuneSample);
    if (tuneBytes.empty()) {
        std::fputs("could not encode the tune\n", stderr);
        return 1;
    }
    tune = std::make_unique<soundfiles::TempFile>(tuneBytes, ".ogg");
    std::printf("tune: %d s stereo, %zu bytes\n", kSeconds, tuneBytes.size());
    // The repetitions of the four run in a shuffled order, so that a change
    // in the machine's load during the run falls on all of them alike.
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    argc = static_cast<int>(args.size());
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    tune.reset();
    return 0;
}
