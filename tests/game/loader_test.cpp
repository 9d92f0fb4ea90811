// The loader on the bare host (which slot each of the 28 steps fills, the
// loading screen's records) and sounds against real OpenAL Soft on its null
// backend, loading WAV files from a data folder of the test's own.
#include <AL/al.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <filesystem>
#include <fstream>
#include <map>

#include "host/glfw_game.h"
#include "tests/audio/sound_files.h"
#include "tests/support/game_host.h"

namespace {

// Step -> slot, frame size and frames; every other slot stays untouched.
TEST(Loader, EachStepFillsItsSlot) {
    const std::map<int, std::array<int, 4>> steps = {
        {1, {97, 32, 32, 16}},   {2, {95, 64, 64, 16}},   {3, {94, 32, 32, 16}},  {4, {93, 256, 256, 1}},
        {5, {91, 256, 256, 1}},  {6, {90, 7, 10, 128}},   {11, {99, 256, 256, 4}}, {12, {98, 256, 128, 1}},
        {13, {96, 8, 8, 256}},   {14, {80, 64, 64, 64}},  {15, {1, 32, 32, 16}},   {16, {2, 8, 8, 64}},
        {27, {3, 128, 32, 16}},
    };
    GameTestHost host;
    c_MyApp* app = StartBareGame(host);
    app->p_OnCreate();
    for (int i = 0; i < 300; ++i) app->m_ImgInfo[i] = 0;
    app->m_Font = 0;
    int expected = 0;
    for (int step = 1; step <= 28; ++step) {
        SCOPED_TRACE(step);
        ASSERT_EQ(app->m_LoadStep, step);
        UpdateOnce(app);
        int filled = 0;
        for (int i = 0; i < 300; ++i) filled += app->m_ImgInfo[i] != 0;
        if (auto it = steps.find(step); it != steps.end()) {
            auto [slot, w, h, frames] = it->second;
            EXPECT_EQ(std::vector<int>(&app->m_ImgInfo[3 * slot], &app->m_ImgInfo[3 * slot] + 3),
                      std::vector<int>({w, h, frames}));
            expected += 3;
        }
        EXPECT_EQ(filled, expected);
        EXPECT_EQ(app->m_Font, step >= 6 ? 90 : 0);
    }
    UpdateOnce(app);
    EXPECT_EQ(app->m_LoadStep, 0) << "loading rests at 0";
}

// The loading frame: clear colour (40, 40, 80), a ring of light dots, the
// disc, the band, the logo, a ring of dark dots; the smaller side of the
// screen sizes the spinner.
TEST(Loader, LoadingScreenRecords) {
    GameTestHost host;
    c_MyApp* app = StartBareGame(host);
    app->p_OnCreate();
    app->m_SpinAngle = 20;
    UpdateOnce(app);
    EXPECT_EQ(app->m_SpinAngle, 36);
    EXPECT_EQ(std::vector<float>({app->m_ClsR, app->m_ClsG, app->m_ClsB, app->m_ClsA}),
              std::vector<float>({40, 40, 80, 1}));
    ASSERT_EQ(app->m_DrawN, 25 * 15);
    // record, element, value: the light ring, the disc, the band, the logo, the dark ring
    const float elements[][3] = {{0, 0, -3716},  {0, 7, 0},       {0, 10, 250},  {10, 7, 1},   {11, 0, -3716},
                                 {11, 4, 144},   {11, 7, 0.8f},   {11, 12, 0},   {12, 0, -3717}, {12, 2, 192},
                                 {12, 4, 640},   {12, 5, 96},     {12, 7, 0.7f}, {13, 0, 93},  {13, 1, 320},
                                 {13, 2, 230.4f}, {13, 6, 0},     {14, 0, -3716}, {14, 10, 50}, {24, 7, 1}};
    for (auto [record, element, value] : elements)
        EXPECT_FLOAT_EQ(app->m_Draw[15 * static_cast<int>(record) + static_cast<int>(element)], value)
            << record << ", " << element;
    kr_Vex_jscrw = 800, kr_Vex_jscrh = 450;
    app->m_SpinAngle = -16;  // the first dot of the dark ring straight up
    app->p_WaitStart(1);
    EXPECT_FLOAT_EQ(app->m_Draw[15 * 11 + 4], 135);
    EXPECT_NEAR(app->m_Draw[15 * 14 + 1], 400, 1e-3);
    EXPECT_NEAR(app->m_Draw[15 * 14 + 2], 225 - 112.5, 1e-3);
}

// Sounds against real OpenAL (its null backend) with two-second WAV files in
// a data folder of the test's own, found from a working directory of its own.
class Sounds : public ::testing::Test {
   protected:
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 1);
        static KrGlfwGame* decoder = new KrGlfwGame;  // the sample decoder
        ASSERT_NE(decoder, nullptr);
        app = StartBareGame(host);
        KrGame::_game = &host;
        kr_audio_SetAudioDevice(audio = new gxtkAudio);
        ASSERT_NE(audio->alcContext, nullptr) << "the null backend did not open";
        char name[] = "/tmp/vornhelm_sounds_XXXXXX";
        ASSERT_TRUE(mkdtemp(name));
        dir = name;
        std::filesystem::create_directories(dir + "/data/sfx");
        const auto bytes = soundfiles::ToneWav(22050 * 2);
        for (const char* file : {"001", "005", "042", "096", "099"})
            std::ofstream(dir + "/data/sfx/" + file + ".wav", std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        std::filesystem::copy_file(std::string(VORNHELM_BUILD_DIR) + "/data/sfx/choppa.ogg",
                                   dir + "/data/sfx/choppa.ogg");
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

// Three-digit names; a missing file, or a number outside the slots, leaves
// the slot empty; an empty slot still stops its channel.
TEST_F(Sounds, ThreeDigitNamesAndEmptySlots) {
    for (int n : {1, 5, 42, 96, 99, 7, 0, 100, -1}) app->p_LoadSFX(n);
    for (int n : {1, 5, 42, 96, 99}) EXPECT_NE(app->m_Snd[n], nullptr) << n;
    for (int n : {0, 7}) EXPECT_EQ(app->m_Snd[n], nullptr) << "missing file " << n;
    app->m_ChanMap[1] = 30;  // the channel map redirects an effect channel
    app->p_PlaySFX(5);
    EXPECT_EQ(audio->ChannelState(30), 1);
    EXPECT_EQ(audio->ChannelState(1), 0);
    app->m_SfxChan = 0;
    app->p_PlaySFX(7);
    EXPECT_EQ(audio->ChannelState(30), 0);
    app->m_SfxChan = -5;
    app->p_PlaySFX(5);
    EXPECT_EQ(app->m_SfxChan, 0) << "a negative channel counter restarts at 0";
}

// Effects rotate through channels 1, 2, .. 23, 0, 1: the 25th call takes the
// first call's channel and cuts its sound off.
TEST_F(Sounds, TheTwentyFifthEffectReusesTheFirstChannel) {
    app->p_LoadSFX(5);
    app->p_LoadSFX(42);
    app->p_PlaySFX(42);
    for (int i = 2; i <= 24; ++i) app->p_PlaySFX(5);
    EXPECT_EQ(app->m_SfxChan, 0);
    for (int c = 0; c < 25; ++c) EXPECT_EQ(audio->ChannelState(c), c < 24 ? 1 : 0) << c;
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

// Sound modes: 1 effects and music, 2 effects, 3 music, 0 nothing. A new
// tune stops the old one; the flag follows the request even for a missing
// file; a paused game pauses the tune.
TEST_F(Sounds, SoundModesAndTunes) {
    app->p_LoadSFX(5);
    for (auto [mode, effects, music] : {std::tuple{0, 0, 0}, {1, 1, 1}, {2, 1, 0}, {3, 0, 1}}) {
        SCOPED_TRACE(mode);
        for (int c = 0; c < 24; ++c) audio->StopChannel(c);
        app->m_Opt[5] = mode;
        app->m_SfxChan = 4;
        app->p_PlaySFX(5);
        EXPECT_EQ(app->m_SfxChan, effects ? 5 : 4);
        EXPECT_EQ(audio->ChannelState(5), effects);
        app->p_PlayTune(String("choppa"), 1);
        EXPECT_EQ(app->m_TunePlaying, music);
        EXPECT_EQ(audio->MusicState(), music);
    }
    app->m_Paused = 1;
    UpdateOnce(app);
    EXPECT_EQ(audio->MusicState(), 2);
    app->m_Paused = 0;
    UpdateOnce(app);
    EXPECT_EQ(audio->MusicState(), 1);
    app->p_PlayTune(String("missing"), 1);
    EXPECT_EQ(audio->MusicState(), 0);
    EXPECT_EQ(app->m_TunePlaying, 1);
    app->p_StopTune();
    EXPECT_EQ(app->m_TunePlaying, 0);
}

// Paused, the idle music player silences its channel and waits 150 ms,
// without passing the Int range.
TEST_F(Sounds, MusicPlayerWaitsWithinTheIntRange) {
    app->p_LoadSFX(5);
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
