// Whole-file Ogg Vorbis loading: LoadOGG beside the decoder's own
// whole-file decode of the same 60-second stereo tune, in one run.
// LoadOGG should cost no more than the decoder itself (within 1.1x of
// StbDecodeFilename, which reads the same file the same way).
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

#include "host/audio_decode.h"
#include "tests/audio/ogg_writer.h"
#include "tests/audio/sound_files.h"

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

BENCHMARK(LoadOggFile)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(StbDecodeFilename)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    tuneBytes = soundfiles::EncodeOgg(2, kRate, kRate * kSeconds, TuneSample);
    if (tuneBytes.empty()) {
        std::fputs("could not encode the tune\n", stderr);
        return 1;
    }
    tune = std::make_unique<soundfiles::TempFile>(tuneBytes, ".ogg");
    std::printf("tune: %d s stereo, %zu bytes\n", kSeconds, tuneBytes.size());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    tune.reset();
    return 0;
}
