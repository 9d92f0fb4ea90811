// SPDX-License-Identifier: Zlib
// The notes of "choppa", the in-game tune: a 24-bar loop in A minor at
// 122.5 beats per minute. Three 8-bar sections (theme, bridge, theme with a
// counter-melody) over a chord per bar, with bass, arpeggio, pad and drums.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

// A sixteenth note lasts 5400 samples, so every bar is a whole number of
// samples and the loop is exactly 24 x 16 x 5400 samples (about 47 s).
constexpr int kStepSamples = 5400;
constexpr int kStepsPerBar = 16;

struct Note {
    int step = 0;    // from the start of the tune, in sixteenths
    int length = 1;  // in sixteenths
    int midi = 60;
    float velocity = 1.0f;
};

enum class Drum { Kick, Snare, ClosedHat, OpenHat, Crash };

struct Hit {
    int step = 0;
    Drum drum = Drum::Kick;
    float velocity = 1.0f;
};

struct Chord {
    int root = 57;               // MIDI note of the root, octave 3
    std::vector<int> intervals;  // semitones above the root
};

struct Score {
    int bars = 0;
    std::vector<Chord> chords;  // one per bar
    std::vector<Note> lead, counter, bass, arp;
    std::vector<Hit> drums;
    int TotalSteps() const { return bars * kStepsPerBar; }
};

// Parses "A4:2 C5:2 r:4 G#4:4" (note name, octave, length in sixteenths;
// "r" is a rest) into notes starting at `step`; `endStep` receives the step
// after the last note or rest.
std::vector<Note> ParseMelody(const std::string& text, int step, float velocity = 1.0f,
                              int* endStep = nullptr);
// "Am", "F", "E", "Dm" ... into a chord.
Chord ParseChord(const std::string& name);

Score ChoppaScore();

}  // namespace assetgen
