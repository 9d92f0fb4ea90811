// The audio device that the in-process tests share: OpenAL Soft's null
// backend, which mixes in real time (so sounds start, play and end) but
// outputs nothing. OpenAL state is process-wide, so every test of this
// executable uses this one device; backends that must differ run in child
// processes (backend_test.cpp).
#pragma once

#include <AL/al.h>
#include <stdlib.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "framework/audio.h"
#include "host/glfw_game.h"
#include "tests/audio/sound_files.h"

namespace soundfiles {

// Opens the device on first use and roots it as the framework's device, so
// the collector marks it. The host object gives LoadSample its decoder.
inline gxtkAudio* SharedNullDevice() {
    static gxtkAudio* device = [] {
        setenv("ALSOFT_DRIVERS", "null", 1);
        static KrGlfwGame host;
        auto* audio = new gxtkAudio;
        kr_audio_SetAudioDevice(audio);
        return audio;
    }();
    return device;
}

// Stops every channel and puts volume, rate and pan back to their defaults.
inline void ResetChannels(gxtkAudio* audio) {
    for (int c = 0; c < gxtkAudio::kChannelCount; ++c) {
        audio->StopChannel(c);
        if (audio->channels[c].sourceId == 0) continue;
        audio->SetVolume(c, 1);
        audio->SetRate(c, 1);
        audio->SetPan(c, 0);
    }
}

inline ALint SourceInt(ALuint source, ALenum param) {
    ALint value = -1;
    alGetSourcei(source, param, &value);
    return value;
}

inline ALint BufferInt(ALuint buffer, ALenum param) {
    ALint value = -1;
    alGetBufferi(buffer, param, &value);
    return value;
}

// Polls until done() holds or the time is up; the null backend plays in
// real time, so endings take as long as the sounds.
template <class Done>
bool WaitFor(Done done, double seconds = 5) {
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

inline void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Mono 16-bit 22,050 Hz tones as WAV files in /tmp: 50 ms, 300 ms and 1 s.
inline const std::string& ToneFile(int milliseconds) {
    static const int kLengths[] = {50, 300, 1000};
    // Made on first use, removed at exit.
    static std::unique_ptr<TempFile> files[3];
    for (int i = 0; i < 3; ++i) {
        if (kLengths[i] != milliseconds) continue;
        if (!files[i]) {
            files[i] = std::make_unique<TempFile>(
                PcmWav(1, 22050, 16, Tone16(22050 * milliseconds / 1000, 1, 22050)));
        }
        return files[i]->path();
    }
    static const std::string none;
    return none;
}

}  // namespace soundfiles
