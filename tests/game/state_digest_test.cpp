// SPDX-License-Identifier: Zlib
// The digest at the end of a replay covers every field of the game object
// that is not a pointer, each once, whatever file declares it and in
// whatever order.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "game/state_digest.h"

namespace {

TEST(StateDigest, CoversEveryFieldButThePointers) {
    std::ifstream in(std::string(VORNHELM_SOURCE_DIR) + "/game/app.h");
    std::stringstream text;
    text << in.rdbuf();
    const std::string s = text.str();
    const std::regex field(R"(\n    ([A-Za-z_][\w<>* ]*?) (m_\w+)( = [^;]*)?;)");
    std::vector<std::string> declared;
    std::set<std::string> pointers;
    for (std::sregex_iterator i(s.begin(), s.end(), field), end; i != end; ++i)
        std::string((*i)[1]).find('*') != std::string::npos ? (void)pointers.insert((*i)[2]) : declared.push_back((*i)[2]);
    EXPECT_GT(declared.size(), 140u);
    std::vector<std::string> covered = KrGameStateFields();
    std::sort(covered.begin(), covered.end());
    std::sort(declared.begin(), declared.end());
    EXPECT_EQ(covered, declared);
    EXPECT_EQ(pointers, (std::set<std::string>{"m_Music", "m_Img", "m_Snd"}));
}

}  // namespace
