// The digest at the end of a replay covers the whole game object: every
// field that is not a pointer, whatever file declares it.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "game/state_digest.h"
#include "tests/support/game_host.h"

namespace {

// The fields as game/app.h declares them, pointers apart.
std::vector<std::string> DeclaredFields(std::set<std::string>* pointers) {
    std::ifstream in(std::string(VORNHELM_SOURCE_DIR) + "/game/app.h");
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    std::regex field(R"(\n    ([A-Za-z_][\w<>* ]*?) (m_\w+)( = [^;]*)?;)");
    std::vector<std::string> names;
    for (std::sregex_iterator i(s.begin(), s.end(), field), end; i != end; ++i) {
        std::string type = (*i)[1];
        if (type.find('*') != std::string::npos) pointers->insert((*i)[2]);
        else names.push_back((*i)[2]);
    }
    return names;
}

TEST(StateDigest, CoversEveryFieldButThePointers) {
    std::set<std::string> pointers;
    std::vector<std::string> declared = DeclaredFields(&pointers);
    EXPECT_GT(declared.size(), 140u);
    EXPECT_EQ(KrGameStateFields(), declared);
    EXPECT_EQ(pointers, (std::set<std::string>{"m_Music", "m_Img", "m_Snd"}));
}

TEST(StateDigest, AnyChangeChangesIt) {
    GameTestHost host;
    c_MyApp* app = StartBareGame(host);
    const std::uint64_t start = KrGameStateHash(app);
    EXPECT_EQ(KrGameStateHash(app), start);
    struct Case {
        const char* name;
        void (*change)(c_MyApp*);
    } cases[] = {
        {"first int", [](c_MyApp* a) { a->m_Fullscreen = 1; }},
        {"score", [](c_MyApp* a) { a->m_Score += 1; }},
        {"last float", [](c_MyApp* a) { a->m_AccelSmoothY = 0.5f; }},
        {"negative zero", [](c_MyApp* a) { a->m_CamX = -0.0f; }},
        {"last draw float", [](c_MyApp* a) { a->m_Draw[37499] = 1; }},
        {"a badge", [](c_MyApp* a) { a->m_BadgeOwned[255] = true; }},
        {"a terrain column", [](c_MyApp* a) { a->m_Column[4999] = -1; }},
        {"random seed", [](c_MyApp*) { kr_random_Rnd(); }},
        {"virtual screen", [](c_MyApp*) { kr_Vex_jscrh = 450; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartBareGame(host);
        app = dynamic_cast<c_MyApp*>(kr_app__app);
        ASSERT_EQ(KrGameStateHash(app), start);
        c.change(app);
        EXPECT_NE(KrGameStateHash(app), start);
    }
}

TEST(StateDigest, DescribesModeScoreHealthWaveAndState) {
    GameTestHost host;
    c_MyApp* app = StartBareGame(host);
    app->m_Mode = 10, app->m_Score = 1234, app->m_Health = 57, app->m_Wave = 3;
    char hash[20];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(KrGameStateHash(app)));
    EXPECT_EQ(KrDescribeGameState(), std::string("mode 10, score 1234, health 57, wave 3, state ") + hash);
}

}  // namespace
