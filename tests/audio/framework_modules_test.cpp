// The framework's small modules: the random generator, the math helpers,
// data paths and the async-event update.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "framework/asyncevent.h"
#include "framework/data.h"
#include "framework/math.h"
#include "framework/random.h"

TEST(Random, FirstValueAfterSeed1234) {
    kr_random_Seed = 1234;
    float value = kr_random_Rnd();
    EXPECT_EQ(static_cast<unsigned>(kr_random_Seed), 3067928073u);
    EXPECT_EQ(value, 11984094 * std::ldexp(1.0f, -24));
    EXPECT_NEAR(value, 0.71431, 1e-5);
}

TEST(Random, SeedWrapsModulo2To32) {
    // 3067928073 no longer fits an int: the next step must wrap as unsigned.
    kr_random_Seed = 1234;
    kr_random_Rnd();
    float second = kr_random_Rnd();
    std::uint32_t expected = static_cast<std::uint32_t>(3067928073ull * 1664525u + 1013904223u);
    EXPECT_EQ(static_cast<std::uint32_t>(kr_random_Seed), expected);
    EXPECT_EQ(second, static_cast<float>(expected >> 8) * std::ldexp(1.0f, -24));
}

TEST(Random, RangesScaleTheValueExactlyAndEveryCallAdvances) {
    // Each form is one float product (and one sum) rounded step by step;
    // another arrangement, such as low x (1 - value) + high x value, rounds
    // differently for these arguments.
    const float value = 11984094 * std::ldexp(1.0f, -24);
    const float lows[] = {-2.0f, 0.1f, 1000.3f, -7.77f};
    const float highs[] = {6.0f, 0.7f, 1e-3f, 123.456f};
    for (int i = 0; i < 4; ++i) {
        kr_random_Seed = 1234;
        const float span = highs[i] - lows[i];
        EXPECT_EQ(kr_random_Rnd2(lows[i], highs[i]), span * value + lows[i]) << i;
        kr_random_Seed = 1234;
        EXPECT_EQ(kr_random_Rnd3(highs[i]), value * highs[i]) << i;
    }

    kr_random_Seed = 1234;
    EXPECT_EQ(kr_random_Rnd2(5, 5), 5.0f);
    EXPECT_EQ(static_cast<unsigned>(kr_random_Seed), 3067928073u);
    EXPECT_EQ(kr_random_Rnd3(0), 0.0f);
    EXPECT_NE(static_cast<unsigned>(kr_random_Seed), 3067928073u);
}

TEST(Math, AbsoluteValues) {
    EXPECT_EQ(kr_math_Abs(-7), 7);
    EXPECT_EQ(kr_math_Abs(7), 7);
    EXPECT_EQ(kr_math_Abs(0), 0);
    EXPECT_EQ(kr_math_Abs(std::numeric_limits<int>::min()), std::numeric_limits<int>::min());
    EXPECT_EQ(kr_math_Abs2(-2.5f), 2.5f);
    EXPECT_EQ(kr_math_Abs2(2.5f), 2.5f);
}

TEST(Math, MaxPicksTheSecondArgumentOnTiesAndNaN) {
    EXPECT_EQ(kr_math_Max(3, 9), 9);
    EXPECT_EQ(kr_math_Max(9, 3), 9);
    EXPECT_EQ(kr_math_Max(-4, -4), -4);
    // Ties: which one is returned shows for floats of different sign.
    EXPECT_TRUE(std::signbit(kr_math_Max2(0.0f, -0.0f)));
    EXPECT_FALSE(std::signbit(kr_math_Max2(-0.0f, 0.0f)));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(kr_math_Max2(nan, 3.0f), 3.0f);
    EXPECT_TRUE(std::isnan(kr_math_Max2(3.0f, nan)));
    EXPECT_EQ(kr_math_Max2(1.5f, -2.0f), 1.5f);
}

TEST(DataPath, BareNamesGoIntoTheDataFolderAndPrefixedPathsStay) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"sfx/boom.wav", "tandor://data/sfx/boom.wav"},
        {"boom.wav", "tandor://data/boom.wav"},
        {"", "tandor://data/"},
        {"tandor://data/sfx/boom.wav", "tandor://data/sfx/boom.wav"},
        {"c:/x.png", "c:/x.png"},
        {"./x.png", "./x.png"},
        {"/abs/x.png", "/abs/x.png"},
        {"a/b:/c", "tandor://data/a/b:/c"},  // a "/" before the ":/"
        {"c:x.png", "tandor://data/c:x.png"},
        {".x/y", "tandor://data/.x/y"},
        {"a:b:/c", "a:b:/c"},  // the first ":/" holds the first "/"
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(kr_data_FixDataPath(String(c.in)) == String(c.out)) << c.in;
    }
}

namespace {

// Records the order of updates; can remove itself from the stack or run the
// update again from inside.
class TestSource : public Object, public virtual c_IAsyncEventSource {
public:
    TestSource() {}
    int id = 0;
    bool removeSelf = false;
    bool reenter = false;
    std::vector<int>* log = nullptr;

    int p_UpdateAsyncEvents() override {
        log->push_back(id);
        if (reenter) kr_asyncevent_UpdateAsyncEvents();  // must return at once
        if (removeSelf) Remove();
        return 0;
    }

    // Takes this source out of the stack, moving the later ones down.
    void Remove() {
        c_Stack* stack = kr_asyncevent__sources;
        int n = stack->p_Length2();
        int at = 0;
        while (at < n && stack->p_Get(at) != this) ++at;
        for (int i = at; i + 1 < n; ++i) gc_assign(stack->m_Data[i], stack->p_Get(i + 1));
        stack->p_Length(n - 1);
        kr_asyncevent__current = nullptr;
    }
};

class AsyncEventTest : public ::testing::Test {
protected:
    void SetUp() override {
        gc_assign(kr_asyncevent__sources, (new c_Stack)->m_new());
        kr_asyncevent__current = nullptr;
    }

    TestSource* Add(int id) {
        auto* source = new TestSource;
        source->id = id;
        source->log = &log;
        c_Stack* stack = kr_asyncevent__sources;
        int n = stack->p_Length2();
        stack->p_Length(n + 1);
        gc_assign(stack->m_Data[n], static_cast<c_IAsyncEventSource*>(source));
        return source;
    }

    std::vector<int> log;
};

}  // namespace

TEST_F(AsyncEventTest, EverySourceRunsOnceInOrder) {
    Add(1);
    Add(2)->reenter = true;
    Add(3);
    kr_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(kr_asyncevent__current, nullptr);
}

TEST_F(AsyncEventTest, SourceThatRemovesItselfLetsTheNextOneRunInItsSlot) {
    Add(1);
    Add(2)->removeSelf = true;
    Add(3);
    kr_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(kr_asyncevent__sources->p_Length2(), 2);
    log.clear();
    kr_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(log, (std::vector<int>{1, 3}));
}

TEST_F(AsyncEventTest, UpdateInsideAnUpdateReturnsAtOnce) {
    TestSource* source = Add(1);
    gc_assign(kr_asyncevent__current, static_cast<c_IAsyncEventSource*>(source));
    kr_asyncevent_UpdateAsyncEvents();
    EXPECT_TRUE(log.empty());
}

TEST(Stack, LengthGrowsAndClearsVacatedSlots) {
    c_Stack* stack = (new c_Stack)->m_new();
    EXPECT_EQ(stack->p_Length2(), 0);
    stack->p_Length(3);
    EXPECT_EQ(stack->m_Data.Length(), 10);  // larger of 3 and 2 * 0 + 10
    auto* source = new TestSource;
    for (int i = 0; i < 3; ++i) gc_assign(stack->m_Data[i], static_cast<c_IAsyncEventSource*>(source));
    stack->p_Length(1);
    EXPECT_EQ(stack->p_Get(0), source);
    EXPECT_EQ(stack->m_Data[1], nullptr);
    EXPECT_EQ(stack->m_Data[2], nullptr);
    stack->p_Length(11);
    EXPECT_EQ(stack->m_Data.Length(), 12);  // 2 * 1 + 10
    EXPECT_EQ(stack->p_Get(0), source);
    stack->p_Length(40);
    EXPECT_EQ(stack->m_Data.Length(), 40);
    stack->p_Length(-5);
    EXPECT_EQ(stack->p_Length2(), 0);
    EXPECT_EQ(stack->m_Data[0], nullptr);

    Array<c_IAsyncEventSource*> data(2);
    gc_assign(data[1], static_cast<c_IAsyncEventSource*>(source));
    c_Stack* copy = (new c_Stack)->m_new2(data);
    EXPECT_EQ(copy->p_Length2(), 2);
    EXPECT_EQ(copy->p_Get(1), source);
    EXPECT_NE(copy->m_Data.rep, data.rep);
}
