// The loader on the bare host (which slot each of the 28 steps fills, the
// loading screen's records) and sounds against real OpenAL Soft on its null
// backend, loading WAV files from a data folder of the test's own.
#include <AL/al.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>

#include "host/glfw_game.h"
#include "tests/audio/sound_files.h"
#include "tests/support/game_host.h"

namespace {

class Loader : public ::testing::Test {
   protected:
    void SetUp() override { app = StartBareGame(host); }
    GameTestHost host;
    c_MyApp* app = nullptr;
};

// Step -> slot, frame size and frames; every other slot stays untouched.
TEST_F(Loader, EachStepFillsItsSlot) {
    struct Slot {
        int slot, w, h, frames;
    };
    const std::map<int, Slot> steps = {
        {1, {97, 32, 32, 16}},   {2, {95, 64, 64, 16}},   {3, {94, 32, 32, 16}},
        {4, {93, 256, 256, 1}},  {5, {91, 256, 256, 1}},  {6, {90, 7, 10, 128}},
        {11, {99, 256, 256, 4}}, {12, {98, 256, 128, 1}}, {13, {96, 8, 8, 256}},
        {14, {80, 64, 64, 64}},  {15, {1, 32, 32, 16}},   {16, {2, 8, 8, 64}},
        {27, {3, 128, 32, 16}},
    };
    app->p_OnCreate();
    EXPECT_EQ(app->m_Font, 90);
    for (int i = 0; i < 300; ++i) app->m_ImgInfo[i] = 0;
    app->m_Font = 0;
    for (int step = 1; step <= 28; ++step) {
        SCOPED_TRACE(step);
        ASSERT_EQ(app->m_LoadStep, step);
        UpdateOnce(app);
        int filled = 0;
        for (int i = 0; i < 300; ++i) filled += app->m_ImgInfo[i] != 0;
        auto it = steps.find(step);
        if (it == steps.end()) continue;
        const Slot& s = it->second;
        EXPECT_EQ(app->m_ImgInfo[3 * s.slot], s.w);
        EXPECT_EQ(app->m_ImgInfo[3 * s.slot + 1], s.h);
        EXPECT_EQ(app->m_ImgInfo[3 * s.slot + 2], s.frames);
        int expected = 0;
        for (auto& [done, slot] : steps) expected += done <= step ? 3 : 0;
        EXPECT_EQ(filled, expected);
        if (step == 6) EXPECT_EQ(app->m_Font, 90);
    }
    EXPECT_EQ(app->m_LoadStep, 0);
    UpdateOnce(app);
    EXPECT_EQ(app->m_LoadStep, 0) << "loading rests at 0";
}

// The loading frame on a 640 x 480 screen: clear colour (40, 40, 80), a ring
// of light dots, the disc, the band, the logo, then a ring of dark dots.
TEST_F(Loader, LoadingScreenRecords) {
    app->p_OnCreate();
    app->m_SpinAngle = 20;
    UpdateOnce(app);
    EXPECT_EQ(app->m_SpinAngle, 36);
    EXPECT_EQ(app->m_ClsR, 40);
    EXPECT_EQ(app->m_ClsG, 40);
    EXPECT_EQ(app->m_ClsB, 80);
    EXPECT_EQ(app->m_ClsA, 1);
    ASSERT_EQ(app->m_DrawN, 25 * 15);
    auto record = [&](int n) { return &app->m_Draw[15 * n]; };
    const double rad = M_PI / 180;
    for (int ring = 0; ring < 2; ++ring) {
        for (int i = 0; i <= 10; ++i) {
            SCOPED_TRACE(testing::Message() << "ring " << ring << " dot " << i);
            const float* r = record(ring == 0 ? i : 14 + i);
            const double a = (36 + (ring == 0 ? 180 : 0) + 16 * i) * rad;
            EXPECT_EQ(r[0], -3716);
            EXPECT_NEAR(r[1], 320 + std::sin(a) * 120, 1e-3);
            EXPECT_NEAR(r[2], 240 - std::cos(a) * 120, 1e-3);
            EXPECT_EQ(r[4], 8);
            EXPECT_EQ(r[5], 8);
            EXPECT_FLOAT_EQ(r[7], i / 10.0f);
            EXPECT_EQ(r[10], ring == 0 ? 250 : 50);
            EXPECT_EQ(r[12], ring == 0 ? 250 : 50);
        }
    }
    const std::vector<float> disc(record(11), record(11) + 14);
    const std::vector<float> band(record(12), record(12) + 14);
    const std::vector<float> logo(record(13), record(13) + 14);
    EXPECT_EQ(disc[0], -3716);
    EXPECT_FLOAT_EQ(disc[4], 144);
    EXPECT_FLOAT_EQ(disc[7], 0.8f);
    EXPECT_EQ(disc[11], 255);
    EXPECT_EQ(disc[12], 0);
    EXPECT_EQ(band[0], -3717);
    EXPECT_FLOAT_EQ(band[2], 192);
    EXPECT_FLOAT_EQ(band[4], 640);
    EXPECT_FLOAT_EQ(band[5], 96);
    EXPECT_FLOAT_EQ(band[7], 0.7f);
    EXPECT_EQ(band[11], 160);
    EXPECT_EQ(logo[0], 93);
    EXPECT_FLOAT_EQ(logo[1], 320);
    EXPECT_FLOAT_EQ(logo[2], 230.4f);
    EXPECT_EQ(logo[4], 1);
    EXPECT_EQ(logo[6], 0);
    EXPECT_EQ(logo[7], 1);
    EXPECT_EQ(logo[11], 255);
}

// The start screen: no rings, three shadow ovals and "Click to Start" at
// scale 2 (12 glyphs).
TEST_F(Loader, StartScreenRecords) {
    app->p_OnCreate();
    app->m_ImgInfo[270] = 7;
    app->p_WaitStart(0);
    ASSERT_EQ(app->m_DrawN, (3 + 3 + 12) * 15);
    const float radii[3][2] = {{136, 24}, {132, 20}, {128, 16}};
    for (int i = 0; i < 3; ++i) {
        const float* r = &app->m_Draw[15 * (3 + i)];
        EXPECT_EQ(r[0], -3716);
        EXPECT_FLOAT_EQ(r[1], 320);
        EXPECT_FLOAT_EQ(r[2], 336);
        EXPECT_EQ(r[4], radii[i][0]);
        EXPECT_EQ(r[5], radii[i][1]);
        EXPECT_FLOAT_EQ(r[7], 0.2f);
        EXPECT_EQ(r[10], 0);
    }
    const float* c = &app->m_Draw[15 * 6];
    EXPECT_EQ(c[0], 90);
    EXPECT_EQ(c[6], 'C' - 32);
    EXPECT_EQ(c[4], 2);
    EXPECT_EQ(c[10], 255);
}

// A wide screen's smaller side sets the ring radius and the disc.
TEST_F(Loader, TheSmallerSideSizesTheSpinner) {
    app->p_OnCreate();
    kr_Vex_jscrw = 800, kr_Vex_jscrh = 450;
    app->m_SpinAngle = -16;  // the first dot of the dark ring straight up
    app->p_WaitStart(1);
    EXPECT_FLOAT_EQ(app->m_Draw[15 * 11 + 4], 135);
    EXPECT_NEAR(app->m_Draw[15 * 14 + 1], 400, 1e-3);
    EXPECT_NEAR(app->m_Draw[15 * 14 + 2], 225 - 112.5, 1e-3);
}

// Sounds against real OpenAL (its null backend) with WAV files in a data
// folder of the test's own, found through the desktop host's path mapping
// from a working directory of the test's own.
class Sounds : public ::testing::Test {
   protected:
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 1);
        static KrGlfwGame* decoder = new KrGlfwGame;  // the sample decoder
        ASSERT_NE(decoder, nullptr);
        app = StartBareGame(host);
        KrGame::_game = &host;
        audio = new gxtkAudio;
        kr_audio_SetAudioDevice(audio);
        ASSERT_NE(audio->alcContext, nullptr) << "the null backend did not open";
        char name[] = "/tmp/vornhelm_sounds_XXXXXX";
        ASSERT_TRUE(mkdtemp(name));
        dir = name;
        std::filesystem::create_directories(dir + "/data/sfx");
        for (const char* file : {"001", "005", "042", "096", "099"}) {
            std::ofstream out(dir + "/data/sfx/" + file + ".wav", std::ios::binary);
            auto bytes = soundfiles::ToneWav(22050 * 2);  // two seconds
            out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        }
        ASSERT_TRUE(getcwd(cwd, sizeof cwd));
        ASSERT_EQ(chdir(dir.c_str()), 0);
        app->p_OnCreate();
    }
    void TearDown() override {
        for (int c = 0; c < gxtkAudio::kChannelCount; ++c) audio->StopChannel(c);
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(audio->alcContext);
        alcCloseDevice(audio->alcDevice);
        kr_audio_SetAudioDevice(nullptr);
        EXPECT_EQ(chdir(cwd), 0);
        std::filesystem::remove_all(dir);
    }
    GameTestHost host;
    c_MyApp* app = nullptr;
    gxtkAudio* audio = nullptr;
    std::string dir;
    char cwd[4096] = {};
};

TEST_F(Sounds, ThreeDigitNamesAndEmptySlots) {
    for (int n : {1, 5, 42, 96, 99, 7, 0}) app->p_LoadSFX(n);
    for (int n : {1, 5, 42, 96, 99}) EXPECT_NE(app->m_Snd[n], nullptr) << n;
    for (int n : {0, 7}) EXPECT_EQ(app->m_Snd[n], nullptr) << "missing file " << n;
    app->p_LoadSFX(100);
    app->p_LoadSFX(-1);  // outside the slots: nothing happens
}

// Effects rotate through channels 1, 2, .. 23, 0, 1: the 25th call takes the
// first call's channel and cuts its sound off.
TEST_F(Sounds, TheTwentyFifthEffectReusesTheFirstChannel) {
    app->p_LoadSFX(5);
    app->p_LoadSFX(42);
    app->p_PlaySFX(42);
    EXPECT_EQ(app->m_SfxChan, 1);
    EXPECT_EQ(audio->ChannelState(1), 1);
    for (int i = 2; i <= 24; ++i) app->p_PlaySFX(5);
    EXPECT_EQ(app->m_SfxChan, 0);
    for (int c = 0; c < 24; ++c) EXPECT_EQ(audio->ChannelState(c), 1) << c;
    EXPECT_EQ(audio->ChannelState(24), 0) << "never beyond 24 channels";
    EXPECT_EQ(audio->channels[1].sample, app->m_Snd[42]->m_Sample);
    app->p_PlaySFX(5, 2, 0.5f, 0.25f);
    EXPECT_EQ(app->m_SfxChan, 1);
    EXPECT_EQ(audio->channels[1].sample, app->m_Snd[5]->m_Sample);
    float pitch = 0, gain = 0;
    alGetSourcef(audio->channels[1].sourceId, AL_PITCH, &pitch);
    alGetSourcef(audio->channels[1].sourceId, AL_GAIN, &gain);
    EXPECT_EQ(pitch, 2);
    EXPECT_EQ(gain, 0.5f);
}

// The channel map redirects an effect channel; an empty slot still stops
// its channel.
TEST_F(Sounds, ChannelMapAndEmptySlots) {
    app->p_LoadSFX(5);
    app->m_ChanMap[1] = 30;
    app->p_PlaySFX(5);
    EXPECT_EQ(audio->ChannelState(30), 1);
    EXPECT_EQ(audio->ChannelState(1), 0);
    app->m_SfxChan = 0;
    app->p_PlaySFX(7);  // slot 7 was never loaded
    EXPECT_EQ(audio->ChannelState(30), 0);
    app->m_SfxChan = -5;
    app->p_PlaySFX(5);
    EXPECT_EQ(app->m_SfxChan, 0) << "a negative channel counter restarts at 0";
}

// Sound modes: 1 effects and music, 2 effects, 3 music, 0 nothing.
TEST_F(Sounds, SoundModes) {
    app->p_LoadSFX(5);
    for (auto [mode, effects] : {std::pair{0, false}, {1, true}, {2, true}, {3, false}}) {
        SCOPED_TRACE(mode);
        for (int c = 0; c < 24; ++c) audio->StopChannel(c);
        app->m_Opt[5] = mode;
        app->m_SfxChan = 4;
        app->p_PlaySFX(5);
        EXPECT_EQ(app->m_SfxChan, effects ? 5 : 4);
        EXPECT_EQ(audio->ChannelState(5), effects ? 1 : 0);
    }
}

// The loader's jingle plays once, at step 4, on the first effect channel.
TEST_F(Sounds, LoaderPlaysTheJingleOnce) {
    for (int i = 0; i < 4; ++i) UpdateOnce(app);
    EXPECT_EQ(app->m_JinglePlayed, 1);
    EXPECT_EQ(audio->ChannelState(1), 1);
    EXPECT_EQ(audio->channels[1].sample, app->m_Snd[96]->m_Sample);
    app->m_LoadStep = 4;
    UpdateOnce(app);
    EXPECT_EQ(app->m_SfxChan, 1) << "not again on a reload";
}

// A tune starts only with music on; a new tune stops the old one first.
// The flag follows the request even when the file is missing.
TEST_F(Sounds, Tunes) {
    const std::string ogg = std::string(VORNHELM_BUILD_DIR) + "/data/sfx/choppa.ogg";
    ASSERT_TRUE(std::filesystem::exists(ogg)) << "the game's data folder is built";
    std::filesystem::copy_file(ogg, dir + "/data/sfx/choppa.ogg");
    for (auto [mode, music] : {std::pair{0, false}, {1, true}, {2, false}, {3, true}}) {
        SCOPED_TRACE(mode);
        app->m_Opt[5] = mode;
        app->p_PlayTune(String("choppa"), 1);
        EXPECT_EQ(app->m_TunePlaying, music ? 1 : 0);
        EXPECT_EQ(audio->MusicState(), music ? 1 : 0);
    }
    app->p_PlayTune(String("missing"), 1);
    EXPECT_EQ(audio->MusicState(), 0);
    EXPECT_EQ(app->m_TunePlaying, 1);
    app->p_PlayTune(String("choppa"), 1);
    app->p_StopTune();
    EXPECT_EQ(app->m_TunePlaying, 0);
    EXPECT_EQ(audio->MusicState(), 0);
}

// The shell pauses the tune while the game is paused.
TEST_F(Sounds, PausedGamePausesTheTune) {
    std::filesystem::copy_file(std::string(VORNHELM_BUILD_DIR) + "/data/sfx/choppa.ogg",
                               dir + "/data/sfx/choppa.ogg");
    app->p_PlayTune(String("choppa"), 1);
    app->m_Paused = 1;
    UpdateOnce(app);
    EXPECT_EQ(audio->MusicState(), 2);
    app->m_Paused = 0;
    UpdateOnce(app);
    EXPECT_EQ(audio->MusicState(), 1);
}

// The idle music player: with the switch on it takes channels 31..27 and
// stops only what it started.
TEST_F(Sounds, MusicPlayerEntryPoints) {
    c_LxPlayer* player = app->m_Music;
    app->p_LoadSFX(5);
    player->p_Lx_Stop(1);
    EXPECT_EQ(player->m_State, 0);
    player->p_Lx_Init(32, 4, 3, 3, 4);
    EXPECT_EQ(player->m_BaseChannel, 32);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(player->m_Chan[i], 31 - i);
    kr_audio_PlaySound(app->m_Snd[5], 31, 0);
    kr_audio_PlaySound(app->m_Snd[5], 30, 0);
    player->m_ChanOn[0] = 1;
    player->m_State = 2;
    player->p_Lx_Stop(0);
    EXPECT_EQ(audio->ChannelState(31), 0);
    EXPECT_EQ(audio->ChannelState(30), 1) << "not started by the player";
    EXPECT_EQ(player->m_ChanOn[0], 0);
    EXPECT_EQ(player->m_State, 2);

    // Paused: silenced, and no new note for 150 ms.
    host.clock = 1000;
    player->m_ChanOn[0] = 1;
    kr_audio_PlaySound(app->m_Snd[5], 31, 0);
    player->p_Lx_Alive_U(1, 1);
    EXPECT_EQ(player->m_NextTick, 1150);
    EXPECT_EQ(audio->ChannelState(31), 0);
    // Music switched off while playing: silenced.
    player->m_ChanOn[0] = 1;
    kr_audio_PlaySound(app->m_Snd[5], 31, 0);
    player->p_Lx_Alive_U(0, 0);
    EXPECT_EQ(audio->ChannelState(31), 0);
    host.clock = INT_MAX - 10;
    player->p_Lx_Alive_U(1, 1);
    EXPECT_EQ(player->m_NextTick, INT_MAX);
}

// The music switch off: updates leave channels 27..31 alone.
TEST_F(Sounds, WithTheSwitchOffThePlayerStaysIdle) {
    app->p_LoadSFX(5);
    for (int c = 27; c <= 31; ++c) kr_audio_PlaySound(app->m_Snd[5], c, 0);
    for (int i = 0; i < 30; ++i) UpdateOnce(app);
    for (int c = 27; c <= 31; ++c) EXPECT_EQ(audio->ChannelState(c), 1) << c;
    EXPECT_EQ(app->m_Music->m_BaseChannel, 0);
}

}  // namespace
