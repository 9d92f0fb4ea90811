// Drives the audio device in a process of its own, so that each run can pick
// its OpenAL Soft backend through the environment.
//
//   audio_backend_probe play      plays a looping tone centred, stops it,
//                                 plays it panned right, stops it, then
//                                 closes the device so the backend finishes
//                                 its output
//   audio_backend_probe nodevice  calls every operation on a device that
//                                 could not open and prints the results
#include <AL/al.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "framework/audio.h"
#include "host/glfw_game.h"
#include "tests/audio/sound_files.h"

using namespace soundfiles;

namespace {

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

int Play(gxtkAudio* audio, const TempFile& tone) {
    gxtkSample* sample = audio->LoadSample(String(tone.path().c_str()));
    if (!sample) return 2;
    audio->PlaySample(sample, 0, 1);
    SleepMs(500);
    audio->StopChannel(0);
    SleepMs(500);
    audio->SetPan(0, 1);
    audio->PlaySample(sample, 0, 1);
    SleepMs(500);
    audio->StopChannel(0);
    SleepMs(500);
    // Closing lets the backend write its final header.
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(audio->alcContext);
    alcCloseDevice(audio->alcDevice);
    std::puts("played");
    return 0;
}

int NoDevice(gxtkAudio* audio, const TempFile& tone) {
    kr_audio_SetAudioDevice(audio);
    String path(tone.path().c_str());
    gxtkSample* sample = audio->LoadSample(path);
    audio->PlaySample(sample, 3, 1);
    int afterPlay = audio->ChannelState(3);
    audio->PauseChannel(3);
    audio->ResumeChannel(3);
    audio->SetVolume(3, 0.5f);
    audio->SetPan(3, 1);
    audio->SetRate(3, 2);
    audio->Suspend();
    audio->Resume();
    int music = audio->PlayMusic(path, 1);
    int missing = audio->PlayMusic(String("/tmp/vornhelm-audio-no-such-tune.ogg"), 1);
    audio->PauseMusic();
    audio->ResumeMusic();
    audio->SetMusicVolume(0.25f);
    if (sample) sample->Discard();
    gc_collect_all();  // marks through the device's channels
    gc_collect_all();
    gxtkSample* again = audio->LoadSample(path);  // flushes the discarded list
    audio->StopChannel(3);
    audio->StopMusic();
    std::printf("loaded=%d buffer=%u state=%d music=%d missing=%d musicState=%d reloaded=%d\n",
                sample != nullptr, sample ? sample->bufferId : 99u, afterPlay, music, missing,
                audio->MusicState(), again != nullptr);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    KrGlfwGame host;
    TempFile tone(PcmWav(1, 22050, 16, Tone16(22050, 1, 22050, 440, 0.5)));
    auto* audio = new gxtkAudio;
    if (std::strcmp(argv[1], "play") == 0) return Play(audio, tone);
    if (std::strcmp(argv[1], "nodevice") == 0) return NoDevice(audio, tone);
    return 2;
}
