// SPDX-License-Identifier: Zlib
// Effects through the 24 rotating channels, sound mode 0, and the music
// player's wait near the end of the Int range.
#include <climits>

#include "tests/game/play_support.h"

namespace {

using namespace playtest;

class Sfx : public PlayFixture {
protected:
    void SetUp() override { PlayFixture::SetUp(), ListenToSounds(); }
};

// Effects take channels 1, 2, .. 23, 0, 1, each stopped first: the 25th cuts
// off the first. Sound mode 0 plays neither effects nor music.
TEST_F(Sfx, EffectsRotateThroughTwentyFourChannelsAndModeZeroIsSilent) {
    std::vector<float> channels, expected;
    for (int call = 1; call <= 25; ++call) {
        app->p_PlaySFX(5), channels.push_back(sounds->effects.back()[3]);
        expected.push_back(static_cast<float>(call % 24));
    }
    EXPECT_EQ(channels, expected);
    EXPECT_EQ(sounds->stopped.back(), 1);
    app->m_Opt[5] = 0, app->m_TunePlaying = 0, sounds->effects.clear();
    app->p_PlaySFX(5), app->p_PlayTune(String("choppa"), 1);
    EXPECT_EQ(std::vector<int>({int(sounds->effects.size()), app->m_SfxChan, app->m_TunePlaying}),
              std::vector<int>({0, 1, 0}));
}

// Paused, the idle music player silences its channel and waits 150 ms,
// without passing the Int range.
TEST_F(Sfx, MusicPlayerWaitsWithinTheIntRange) {
    app->m_Music->p_Lx_Init(32, 4, 3, 3, 4);
    for (auto [clock, next] : {std::pair{1000, 1150}, {INT_MAX - 10, INT_MAX}}) {
        host.clock = clock, app->m_Music->m_ChanOn[0] = 1, sounds->stopped.clear();
        app->m_Music->p_Lx_Alive_U(1, 1);
        EXPECT_EQ(app->m_Music->m_NextTick, next);
        EXPECT_EQ(sounds->stopped, std::vector<int>{31});
    }
}

}  // namespace
