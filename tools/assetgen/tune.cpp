// SPDX-License-Identifier: Zlib
// "choppa": arranges the score's voices into one seamless stereo loop and
// writes it as sfx/choppa.ogg.
#include "loop_buffer.h"
#include "ogg_writer.h"
#include "outputs.h"
#include "sounds.h"
#include "tune_instruments.h"
#include "tune_score.h"

namespace assetgen {

namespace {

constexpr float kMasterPeak = 0.85f;

// Each voice group is rendered on its own bus, then mixed at its level.
LoopBuffer Arrange(const Score& score) {
    size_t frames = static_cast<size_t>(score.TotalSteps()) * kStepSamples;
    LoopBuffer mix(frames), lead(frames), band(frames), drums(frames);
    for (const Note& n : score.lead) PlayLead(lead, n, -0.15f);
    for (const Note& n : score.counter) PlayCounter(band, n, 0.35f);
    for (const Note& n : score.bass) PlayBass(mix, n);
    for (size_t i = 0; i < score.arp.size(); ++i) PlayArp(band, score.arp[i], i % 2 ? 0.55f : 0.25f);
    for (int bar = 0; bar < score.bars; ++bar) PlayPad(band, bar, score.chords[bar]);
    for (const Hit& h : score.drums) PlayDrum(drums, h);

    mix.Mix(drums, 1.0f);
    mix.Mix(band, 0.32f);
    mix.Mix(lead, 0.42f);
    // A dotted-eighth echo on the lead, bouncing between the sides.
    mix.Mix(lead.Echo(3 * kStepSamples, 0.35f), 0.12f);
    return mix;
}

}  // namespace

Samples TuneSamples() { return Arrange(ChoppaScore()).Interleaved(kMasterPeak); }

bool WriteTune(const std::string& root) { return WriteOgg(root + "/sfx/choppa.ogg", TuneSamples(), 2, "Choppa"); }

}  // namespace assetgen
