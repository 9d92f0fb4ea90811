// Start-up and the collector's roots: the values krInit gives the module
// globals, the order in which gc_mark() queues the globals, the roots queued
// again by every full collection, and kr_std_main's order as a separate
// process sees it.
#include <cstdlib>
#include <vector>

#include "framework/framework.h"
#include "host/game.h"
#include "tests/runtime/collector_fixture.h"
#include "tests/support/process.h"

namespace runtime_tests {
namespace {

class Source : public Object, public virtual c_IAsyncEventSource {
public:
    Source() {}
    int p_UpdateAsyncEvents() override { return 0; }
};

// Every test leaves the root globals null again: the other collector tests
// of this program run full collections, which queue them.
class StartUp : public CollectorTest {
protected:
    void TearDown() override {
        kr_app__app = nullptr;
        kr_app__delegate = nullptr;
        kr_graphics_device = nullptr;
        kr_graphics_context = nullptr;
        kr_audio_device = nullptr;
        kr_input_device = nullptr;
        kr_graphics_renderDevice = nullptr;
        kr_asyncevent__current = nullptr;
        kr_asyncevent__sources = nullptr;
        c_Stack::m_NIL = nullptr;
        CollectorTest::TearDown();
    }

    // Gives every root global an object of its own, stored past the barrier
    // so that all of them are still white; returns them in the order the
    // roots are queued.
    static std::vector<gc_object*> FillRoots() {
        setenv("ALSOFT_DRIVERS", "null", 1);  // the audio device opens OpenAL
        auto* current = new Source;
        auto* nil = new Source;
        kr_app__app = new c_App;
        kr_app__delegate = new c_GameDelegate;
        kr_graphics_device = new gxtkGraphics;
        kr_graphics_context = new c_GraphicsContext;
        kr_audio_device = new gxtkAudio;
        kr_input_device = new c_InputDevice;
        kr_graphics_renderDevice = new gxtkGraphics;
        kr_asyncevent__current = current;
        kr_asyncevent__sources = new c_Stack;
        c_Stack::m_NIL = nil;
        return {kr_app__app,         kr_app__delegate, kr_graphics_device,       kr_graphics_context,
                kr_audio_device,     kr_input_device,  kr_graphics_renderDevice, current,
                kr_asyncevent__sources, nil};
    }

    static std::vector<gc_object*> Queued() {
        std::vector<gc_object*> grey;
        for (gc_object* q = gc_queued_list.next; q != &gc_queued_list; q = q->next) grey.push_back(q);
        return grey;
    }
};

TEST_F(StartUp, InitGivesEveryGlobalItsFirstValue) {
    KrGame host;
    kr_app__updateRate = 99;
    kr_random_Seed = 7;
    gc_assign(kr_asyncevent__current, static_cast<c_IAsyncEventSource*>(new Source));
    gc_assign(c_Stack::m_NIL, static_cast<c_IAsyncEventSource*>(new Source));
    krInit();

    EXPECT_EQ(kr_app__app, nullptr);
    EXPECT_EQ(kr_app__delegate, nullptr);
    EXPECT_EQ(kr_app__game, &host);
    EXPECT_EQ(kr_graphics_device, nullptr);
    EXPECT_EQ(kr_audio_device, nullptr);
    EXPECT_EQ(kr_input_device, nullptr);
    EXPECT_EQ(kr_graphics_renderDevice, nullptr);
    EXPECT_EQ(kr_app__updateRate, 0);
    EXPECT_EQ(kr_asyncevent__current, nullptr);
    EXPECT_EQ(c_Stack::m_NIL, nullptr);
    EXPECT_EQ(kr_random_Seed, 1234);
    // The two objects it makes are collected, and shaded by the barrier.
    ASSERT_NE(kr_graphics_context, nullptr);
    ASSERT_NE(kr_asyncevent__sources, nullptr);
    EXPECT_TRUE(InList(gc_queued_list, kr_graphics_context));
    EXPECT_TRUE(InList(gc_queued_list, kr_asyncevent__sources));
    EXPECT_EQ(kr_asyncevent__sources->p_Length2(), 0);
}

TEST_F(StartUp, RootsAreQueuedInTheirFixedOrder) {
    std::vector<gc_object*> roots = FillRoots();
    ASSERT_TRUE(Queued().empty());
    gc_mark();
    EXPECT_EQ(Queued(), roots);
}

TEST_F(StartUp, NullRootsAreSkipped) {
    std::vector<gc_object*> roots = FillRoots();
    kr_app__delegate = nullptr;
    kr_asyncevent__current = nullptr;
    gc_mark();
    roots.erase(roots.begin() + 7);  // the current source
    roots.erase(roots.begin() + 1);  // the delegate
    EXPECT_EQ(Queued(), roots);
}

TEST_F(StartUp, EveryFullCollectionQueuesTheRootsForTheNextCycle) {
    std::vector<gc_object*> roots = FillRoots();
    gc_mark();
    gc_collect_all();
    // The roots survived, turned white, and were queued again: they alone
    // are grey, in their order.
    EXPECT_EQ(Queued(), roots);
    EXPECT_EQ(ListCount(gc_free_list), 0);
}

TEST(StartUpProcess, StdMainEmptiesTheListsThenInitialisesThenCreatesTheApp) {
    testsupport::ProcessResult r = testsupport::RunProcess({testsupport::TestAppPath("startup_app")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "rc=0 handlers=111 forgotten=1 seed=1234 context=1 sources=1 app=1 delegate=1\n");
}

}  // namespace
}  // namespace runtime_tests
