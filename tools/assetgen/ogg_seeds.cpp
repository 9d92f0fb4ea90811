// SPDX-License-Identifier: Zlib
// Short Ogg Vorbis files made from the game's own sounds: the seed corpus of
// the Ogg decoder's fuzzer (fuzz/seeds/fuzz_ogg/). Each is a whole stream of
// a few kilobytes, mono or stereo, so the fuzzer starts from real headers
// and real audio packets of the kind the game loads.
#include <algorithm>
#include <cstdio>

#include "ogg_writer.h"
#include "outputs.h"
#include "sounds.h"

namespace assetgen {

namespace {

// The first `seconds` of interleaved samples with `channels` per frame.
Samples Opening(const Samples& s, int channels, float seconds) {
    size_t keep = static_cast<size_t>(seconds * kSampleRate) * channels;
    return Samples(s.begin(), s.begin() + static_cast<long>(std::min(keep, s.size())));
}

}  // namespace

bool WriteOggSeeds(const std::string& dir) {
    struct Seed {
        const char* name;
        int effect;  // 0: the tune
        float seconds;
    };
    static const Seed kSeeds[] = {
        {"tune.ogg", 0, 0.4f},     {"blip.ogg", 1, 0.2f},        {"gunshot.ogg", 2, 0.3f},
        {"explosion.ogg", 6, 0.3f}, {"jingle.ogg", 96, 0.3f},    {"click.ogg", 98, 1.0f},
    };
    Samples tune = TuneSamples();
    bool ok = true;
    for (const Seed& s : kSeeds) {
        int channels = s.effect ? 1 : 2;
        Samples samples = Opening(s.effect ? SoundEffect(s.effect) : tune, channels, s.seconds);
        std::string path = dir + "/" + s.name;
        if (!WriteOgg(path, samples, channels, s.name)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ok = false;
        }
    }
    return ok;
}

}  // namespace assetgen
