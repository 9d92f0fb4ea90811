// SPDX-License-Identifier: Zlib
#include "tune_score.h"

#include <sstream>
#include <stdexcept>

namespace assetgen {

namespace {

int NoteNumber(const std::string& name) {
    static const int kLetters[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.empty() || name[0] < 'A' || name[0] > 'G') throw std::invalid_argument(name);
    size_t i = 1;
    int n = kLetters[name[0] - 'A'];
    if (i < name.size() && name[i] == '#') n += 1, ++i;
    if (i < name.size() && name[i] == 'b') n -= 1, ++i;
    int octave = std::stoi(name.substr(i));
    return 12 * (octave + 1) + n;
}

// The theme: bars 1..8 over Am F C G Am F G E.
const char* kTheme[8] = {
    "A4:2 C5:2 E5:3 D5:1 C5:2 D5:2 E5:4",      "F5:3 E5:1 D5:2 C5:2 A4:4 r:4",
    "G4:2 C5:2 E5:3 D5:1 C5:2 E5:2 G5:4",      "G5:3 F5:1 E5:2 D5:2 B4:4 D5:4",
    "A4:2 C5:2 E5:3 D5:1 C5:2 D5:2 E5:2 A5:2", "A5:3 G5:1 F5:2 E5:2 F5:2 E5:2 C5:4",
    "D5:3 C5:1 B4:2 C5:2 D5:4 G4:4",           "G#4:4 B4:4 E5:6 r:2",
};

// The bridge: bars 9..16 over F G Em Am Dm Em F E.
const char* kBridge[8] = {
    "C5:6 A4:2 C5:4 F5:4",           "D5:6 B4:2 D5:4 G5:4",
    "E5:6 G5:2 B5:4 G5:4",           "A5:8 E5:4 C5:4",
    "F5:4 E5:2 D5:2 A4:4 D5:4",      "G5:4 F5:2 E5:2 B4:4 E5:4",
    "A5:4 G5:2 F5:2 C5:4 F5:2 A5:2", "G#5:6 F5:2 E5:4 D5:2 B4:2",
};

// A counter-line under the theme's return, mostly thirds and sixths below.
const char* kCounter[8] = {
    "E4:4 A4:4 C5:4 B4:4", "A4:4 C5:4 F4:8",      "E4:4 G4:4 C5:4 E5:4", "D5:4 B4:4 G4:8",
    "C5:4 E5:4 A4:4 C5:4", "C5:4 A4:4 F4:4 A4:4", "B4:4 G4:4 B4:4 D5:4", "E4:4 G#4:4 B4:8",
};

const char* kChords =
    "Am F C G Am F G E "
    "F G Em Am Dm Em F E "
    "Am F C G Am F G E";

// Every bar of a melody must fill exactly one bar.
void AddMelody(std::vector<Note>& into, const char* text, int bar, float velocity) {
    int end = 0;
    for (const Note& n : ParseMelody(text, bar * kStepsPerBar, velocity, &end)) into.push_back(n);
    if (end != (bar + 1) * kStepsPerBar) throw std::logic_error(std::string("bar length: ") + text);
}

void AddBass(Score& s, int bar, const Chord& c, bool driving) {
    int root = c.root - 24;
    if (root < 28) root += 12;
    int base = bar * kStepsPerBar;
    if (driving) {
        for (int k = 0; k < 8; ++k)
            s.bass.push_back({base + 2 * k, 2, root + (k % 4 == 3 ? 12 : 0), k % 2 ? 0.8f : 1.0f});
        return;
    }
    const int steps[] = {0, 3, 6, 8, 10, 12, 14};
    const int lengths[] = {2, 2, 2, 1, 2, 2, 2};
    const int offsets[] = {0, 0, 12, 0, 0, 7, 12};
    for (int k = 0; k < 7; ++k)
        s.bass.push_back({base + steps[k], lengths[k], root + offsets[k], k == 0 ? 1.0f : 0.85f});
}

void AddArp(Score& s, int bar, const Chord& c) {
    std::vector<int> tones;
    for (int i : c.intervals) tones.push_back(c.root + 12 + i);
    tones.push_back(c.root + 24);
    const int order[] = {0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 2, 1, 0, 2, 1, 3};
    for (int k = 0; k < kStepsPerBar; ++k) {
        int tone = tones[order[k] % tones.size()];
        s.arp.push_back({bar * kStepsPerBar + k, 1, tone, k % 4 == 0 ? 1.0f : 0.7f});
    }
}

// Each section's last bar ends with a snare fill and then half a beat of
// silence from the drums, a break that also leaves the loop point clean.
void AddDrums(Score& s, int bar, int section) {
    int base = bar * kStepsPerBar;
    auto hit = [&](int step, Drum d, float v) { s.drums.push_back({base + step, d, v}); };
    bool lastOfSection = bar % 8 == 7;
    int end = lastOfSection ? 14 : kStepsPerBar;
    if (bar % 8 == 0) hit(0, Drum::Crash, 0.8f);
    const std::vector<int> kicks =
        section == 1 ? std::vector<int>{0, 3, 8, 11} : std::vector<int>{0, 6, 8, 10};
    for (int k : kicks) hit(k, Drum::Kick, k % 8 == 0 ? 1.0f : 0.8f);
    hit(4, Drum::Snare, 1.0f);
    if (lastOfSection) {
        for (int k = 10; k < end; ++k) hit(k, Drum::Snare, 0.55f + 0.15f * (k - 10));
    } else {
        hit(12, Drum::Snare, 1.0f);
    }
    int hatStep = section == 0 ? 2 : 1;
    for (int k = 0; k < end; k += hatStep) {
        bool open = k == 14;
        hit(k, open ? Drum::OpenHat : Drum::ClosedHat,
            open         ? 0.7f
            : k % 4 == 0 ? 0.9f
            : k % 2 == 0 ? 0.7f
                         : 0.45f);
    }
}

}  // namespace

std::vector<Note> ParseMelody(const std::string& text, int step, float velocity, int* endStep) {
    std::vector<Note> notes;
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        size_t colon = token.find(':');
        if (colon == std::string::npos) throw std::invalid_argument(token);
        int length = std::stoi(token.substr(colon + 1));
        std::string name = token.substr(0, colon);
        if (name != "r") notes.push_back({step, length, NoteNumber(name), velocity});
        step += length;
    }
    if (endStep) *endStep = step;
    return notes;
}

Chord ParseChord(const std::string& name) {
    bool minor = name.size() > 1 && name.back() == 'm';
    std::string root = minor ? name.substr(0, name.size() - 1) : name;
    int midi = NoteNumber(root + "3");  // roots in octave 3
    return {midi, minor ? std::vector<int>{0, 3, 7} : std::vector<int>{0, 4, 7}};
}

Score ChoppaScore() {
    Score s;
    std::istringstream chords(kChords);
    std::string name;
    while (chords >> name) s.chords.push_back(ParseChord(name));
    s.bars = static_cast<int>(s.chords.size());
    for (int bar = 0; bar < s.bars; ++bar) {
        int section = bar / 8;
        int within = bar % 8;
        const char* melody = section == 1 ? kBridge[within] : kTheme[within];
        AddMelody(s.lead, melody, bar, 1.0f);
        if (section == 2) AddMelody(s.counter, kCounter[within], bar, 0.8f);
        AddBass(s, bar, s.chords[bar], section == 1);
        AddArp(s, bar, s.chords[bar]);
        AddDrums(s, bar, section);
    }
    return s;
}

}  // namespace assetgen
