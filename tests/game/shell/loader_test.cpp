// SPDX-License-Identifier: Zlib
// Sounds against real OpenAL Soft on its null backend, loading WAV files
// from a data folder of the test's own: channel rotation, sound mode 0, and
// the music player's wait near the end of the Int range.
#include <AL/al.h>
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>

#include "tests/support/desktop_test_host.h"
#include "tests/support/sound_files.h"
#include "tests/support/game_host.h"
#include "tests/support/scratch_folder.h"

namespace {

class Sounds : public InScratchFolder {
   protected:
    void SetUp() override {
        InScratchFolder::SetUp();
        setenv("ALSOFT_DRIVERS", "null", 1);
        app = StartBareGame(host);
        KrGame::_game = &host;
        kr_audio_SetAudioDevice(audio = new gxtkAudio);
        ASSERT_TRUE(audio->alcContext) << "the null backend did not open";
        std::filesystem::create_directories("data/sfx");
        const auto bytes = soundfiles::ToneWav(22050 * 2);
        for (const char* file : {"005", "042"})
            std::ofstream(std::string("data/sfx/") + file + ".wav", std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        std::filesystem::copy_file(std::string(VORNHELM_BUILD_DIR) + "/data/sfx/choppa.ogg", "data/sfx/choppa.ogg");
        app->p_OnCreate();
        app->p_LoadSFX(5);
    }
    void TearDown() override {
        for (int c = 0; c < gxtkAudio::kChannelCount; ++c) audio->StopChannel(c);
        audio->Close();
        kr_audio_SetAudioDevice(nullptr);
        InScratchFolder::TearDown();
    }
    DesktopTestHost host;  // reads the data folder
    c_MyApp* app = nullptr;
    gxtkAudio* audio = nullptr;
};

// Effects rotate through channels 1, 2, .. 23, 0, 1: the 25th call takes the
// first call's channel and cuts its sound off.
TEST_F(Sounds, TheTwentyFifthEffectReusesChannelOneAndModeZeroIsSilent) {
    app->p_LoadSFX(42);
    app->p_PlaySFX(42);
    for (int i = 2; i <= 24; ++i) app->p_PlaySFX(5);
    EXPECT_EQ(app->m_SfxChan, 0);
    for (int c = 0; c < 25; ++c) EXPECT_EQ(audio->ChannelState(c), c < 24 ? 1 : 0) << c;
    EXPECT_EQ(audio->channels[1].sample, app->m_Snd[42]->m_Sample);
    app->p_PlaySFX(5, 2, 0.5f, 0.25f);
    EXPECT_EQ(app->m_SfxChan, 1);
    EXPECT_EQ(audio->channels[1].sample, app->m_Snd[5]->m_Sample);
    app->m_Opt[5] = 0;  // sound mode 0 plays neither effects nor music
    app->m_SfxChan = 4;
    audio->StopChannel(5);
    app->p_PlaySFX(5);
    EXPECT_EQ(app->m_SfxChan, 4);
    EXPECT_EQ(audio->ChannelState(5), 0);
    app->p_PlayTune(String("choppa"), 1);
    EXPECT_EQ(app->m_TunePlaying, 0);
    EXPECT_EQ(audio->MusicState(), 0);
}

// Paused, the idle music player silences its channel and waits 150 ms,
// without passing the Int range.
TEST_F(Sounds, MusicPlayerWaitsWithinTheIntRange) {
    app->m_Music->p_Lx_Init(32, 4, 3, 3, 4);
    for (auto [clock, next] : {std::pair{1000, 1150}, {INT_MAX - 10, INT_MAX}}) {
        host.clock = clock;
        app->m_Music->m_ChanOn[0] = 1;
        kr_audio_PlaySound(app->m_Snd[5], 31, 0);
        app->m_Music->p_Lx_Alive_U(1, 1);
        EXPECT_EQ(app->m_Music->m_NextTick, next);
        EXPECT_EQ(audio->ChannelState(31), 0);
    }
}

}  // namespace
