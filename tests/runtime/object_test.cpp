// Object identity and ordering, interface references, thrown objects.
#include <sys/mman.h>

#include <cstdint>
#include <new>

#include "tests/runtime/collector_fixture.h"

namespace runtime_tests {
namespace {

// Two Objects placed more than 2 GiB apart: their address difference does
// not fit an int. The pages between them are only reserved, never touched.
class FarApart : public testing::Test {
protected:
    static constexpr std::size_t kGap = 0x80001000;  // 2 GiB + one page

    void SetUp() override {
        span_ = kGap + 4096;
        base_ = mmap(nullptr, span_, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        ASSERT_NE(base_, MAP_FAILED);
        char* low = static_cast<char*>(base_);
        ASSERT_EQ(mprotect(low, 4096, PROT_READ | PROT_WRITE), 0);
        ASSERT_EQ(mprotect(low + kGap, 4096, PROT_READ | PROT_WRITE), 0);
        low_ = Place(low);
        high_ = Place(low + kGap);
    }
    void TearDown() override { munmap(base_, span_); }

    // The header is written first, as the allocator would.
    static Object* Place(void* where) {
        static_cast<gc_object*>(where)->flags = 32 | 2;
        return new (where) Object;
    }

    void* base_ = nullptr;
    std::size_t span_ = 0;
    Object* low_ = nullptr;
    Object* high_ = nullptr;
};

TEST_F(FarApart, CompareKeepsTheSignOfTheAddressDifference) {
    EXPECT_GT(high_->Compare(low_), 0);
    EXPECT_LT(low_->Compare(high_), 0);
    EXPECT_EQ(low_->Compare(low_), 0);
    EXPECT_EQ(high_->Compare(high_), 0);
}

using Objects = CollectorTest;

TEST_F(Objects, CompareOrdersByAddress) {
    Object* a = new Object;
    Object* b = new Object;
    int ab = a->Compare(b);
    int ba = b->Compare(a);
    EXPECT_NE(ab, 0);
    EXPECT_EQ(ab > 0, reinterpret_cast<std::uintptr_t>(a) > reinterpret_cast<std::uintptr_t>(b));
    EXPECT_EQ(ab > 0, ba < 0);
    EXPECT_EQ(a->Compare(a), 0);
}

TEST_F(Objects, EqualsIsIdentity) {
    Object* a = new Object;
    Object* b = new Object;
    EXPECT_TRUE(a->Equals(a));
    EXPECT_FALSE(a->Equals(b));
    EXPECT_FALSE(a->Equals(nullptr));
}

TEST_F(Objects, DebugText) {
    String text = (new Object)->debug();
    EXPECT_TRUE(text == String("+Object\n"));
}

TEST_F(Objects, ThrowableObjectKeepsItsHeaderWhenValueInitialised) {
    ThrowableObject* ex = new ThrowableObject();
    EXPECT_TRUE(gc_is_live_object(ex));
    EXPECT_EQ(ex->gc_size(), RoundedSize(sizeof(ThrowableObject)));
    try {
        throw ex;
    } catch (ThrowableObject* caught) {
        EXPECT_EQ(caught, ex);
    }
}

// An interface, and a collected class that implements it.
class Listener : public virtual gc_interface {
public:
    virtual int Heard() = 0;
};

class Speaker : public Object, public virtual Listener {
public:
    Speaker() {}
    int Heard() override { return 7; }
};

// An interface implementation that is not collected: its cast yields null.
class Outsider : public virtual Listener {
public:
    int Heard() override { return 0; }
};

class Holder : public Object {
public:
    Holder() {}
    void mark() override {
        Object::mark();
        gc_mark_q(listener);
        gc_mark_q(listeners);
    }
    Listener* listener = nullptr;
    Array<Listener*> listeners;
};

TEST_F(Objects, InterfaceReferencesAreMarkedThroughTheirObject) {
    Holder* holder = new Holder;
    Root(holder);
    Speaker* direct = new Speaker;
    Speaker* inArray = new Speaker;
    Outsider outsider;
    gc_assign(holder->listener, static_cast<Listener*>(direct));
    EXPECT_TRUE(InList(gc_queued_list, direct));

    Array<Listener*> all(3);
    all[0] = inArray;
    all[1] = &outsider;  // ignored by marking
    gc_assign(holder->listeners, all);
    EXPECT_TRUE(InList(gc_marked_list, all.rep));
    EXPECT_TRUE(InList(gc_marked_list, inArray));

    Speaker* unheld = new Speaker;
    gc_collect_all();
    EXPECT_TRUE(InList(gc_unmarked_list, direct));
    EXPECT_TRUE(InList(gc_unmarked_list, inArray));
    EXPECT_TRUE(InList(gc_free_list, unheld));
    EXPECT_EQ(holder->listeners[0]->Heard(), 7);
}

}  // namespace
}  // namespace runtime_tests
