// Randomised stress of the collector, built with AddressSanitizer: a mutator
// rewires an object graph through the write barrier between thousands of
// collection steps. A shadow model of the graph says what is reachable; every
// reachable object must stay intact, and every unreachable one must be
// destroyed once two full collections have passed and the garbage is paid for.
//
// This program links only the collector and strings, so it supplies the
// global roots itself.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/string.h"

namespace {

constexpr unsigned kAlive = 0xa11ce5edu;
constexpr unsigned kDead = 0xdeadbeefu;

unsigned Checksum(int id) { return static_cast<unsigned>(id) * 2654435761u ^ 0x5bd1e995u; }

// Per object id: destroyed yet, and destructor runs that found a bad header.
std::vector<bool> g_destroyed;
int g_corrupt_destructions = 0;

class Node : public Object {
public:
    Node() {}
    ~Node() override {
        if (magic != kAlive || checksum != Checksum(id)) ++g_corrupt_destructions;
        if (id >= 0 && id < static_cast<int>(g_destroyed.size())) {
            if (g_destroyed[id]) ++g_corrupt_destructions;
            g_destroyed[id] = true;
        }
        magic = kDead;
    }
    void mark() override {
        Object::mark();
        gc_mark_q(ref);
        gc_mark_q(children);
    }
    virtual int Slots() { return 1; }
    virtual Node*& Slot(int) { return ref; }

    unsigned magic = kAlive;
    int id = -1;
    unsigned checksum = 0;
    Node* ref = nullptr;
    Array<Node*> children;
};

// Above the small-block limit: its memory goes back to the heap, where the
// sanitizer sees any later use.
class BigNode : public Node {
public:
    BigNode() {}
    void mark() override {
        Node::mark();
        for (Node* p : more) gc_mark_q(p);
    }
    int Slots() override { return 4; }
    Node*& Slot(int i) override { return i == 0 ? ref : more[i - 1]; }

    Node* more[3] = {nullptr, nullptr, nullptr};
    String label;
    char payload[24] = {};
};

static_assert(sizeof(Node) < 64, "Node must use the small-block cache");
static_assert(sizeof(BigNode) >= 64, "BigNode must use the heap");

// Roots: one global queued by gc_mark(), and one object marked directly
// before every step, as the host does with its delegate.
Node* g_global = nullptr;
Node* g_delegate = nullptr;

}  // namespace

void gc_mark() { gc_mark_q(g_global); }

namespace {

// What the graph should look like, by object id.
struct Shadow {
    std::vector<int> slots;     // -1 for null
    std::vector<int> children;  // -1 for null elements
    bool hasChildren = false;   // false: the shared empty array
    std::string label;
};

class Stress {
public:
    explicit Stress(unsigned seed) : rng_(seed) {}

    void Run(int frames) {
        g_destroyed.clear();
        g_global = nullptr;
        gc_assign(g_global, Make());
        g_delegate = Make();
        delegateId_ = g_delegate->id;
        globalId_ = g_global->id;
        reachable_ = ComputeReachable();
        for (int frame = 1; frame <= frames; ++frame) {
            Frame();
            gc_mark(g_delegate);
            int before = gc_new_bytes;
            gc_collect();
            if (before > GC_FULL_COLLECT_BYTES && gc_new_bytes == 0) ++fullCollections_;
            if (Chance(0.01)) {
                // A full collection between steps; the delegate is marked
                // first, as before every collection the host runs.
                gc_mark(g_delegate);
                gc_collect_all();
            }
            ASSERT_NO_FATAL_FAILURE(VerifyReachable());
            if (frame % 400 == 0) ASSERT_NO_FATAL_FAILURE(VerifyGarbageIsDestroyed());
        }
        ASSERT_NO_FATAL_FAILURE(VerifyGarbageIsDestroyed());
        // The run must have been a real workout: many full collections over
        // a graph of some size.
        EXPECT_GT(fullCollections_, 10);
        EXPECT_GT(reachableTotal_ / verifications_, 500);

        // Without roots, everything goes.
        gc_assign(g_global, nullptr);
        g_delegate = nullptr;
        CollectTwiceAndPay();
        for (size_t id = 0; id < nodes_.size(); ++id) ASSERT_TRUE(g_destroyed[id]) << id;
        EXPECT_EQ(g_corrupt_destructions, 0);
    }

    int fullCollections_ = 0;

private:
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    Node* Make() {
        int id = static_cast<int>(nodes_.size());
        Node* p = Chance(0.4) ? static_cast<Node*>(new BigNode) : new Node;
        p->id = id;
        p->checksum = Checksum(id);
        nodes_.push_back(p);
        shadow_.push_back(Shadow{std::vector<int>(p->Slots(), -1), {}, false, ""});
        g_destroyed.push_back(false);
        return p;
    }

    int IdOf(Node* p) { return p ? p->id : -1; }

    Node* AnyReachable() { return nodes_[reachable_[Pick(static_cast<int>(reachable_.size()))]]; }

    // A node to store into: mostly one reachable at the start of the frame,
    // sometimes one made now that nothing will hold.
    Node* ChooseTarget() { return Chance(0.1) ? Make() : AnyReachable(); }

    // A value to store: null, a reachable node or a new one (held only in a
    // local until it is stored). The mix keeps the graph between a few
    // hundred and a few thousand nodes.
    Node* ChooseValue() {
        size_t size = reachable_.size();
        if (Chance(size < 500 ? 0.02 : 0.15)) return nullptr;
        if (size < 3000 && Chance(size < 500 ? 0.6 : 0.3)) return Make();
        return AnyReachable();
    }

    // A new global root that holds the old one, stored through the barrier.
    void Reroot() {
        Node* fresh = Make();
        StoreSlot(fresh, 0, g_global);
        gc_assign(g_global, fresh);
        globalId_ = fresh->id;
    }

    void StoreSlot(Node* a, int slot, Node* b) {
        gc_assign(a->Slot(slot), b);
        shadow_[a->id].slots[slot] = IdOf(b);
    }

    void StoreChildren(Node* a) {
        int n = Pick(6);
        Array<Node*> arr(n);
        std::vector<int> ids(n);
        for (int i = 0; i < n; ++i) {
            Node* b = ChooseValue();
            arr[i] = b;  // a fresh array: published below through the barrier
            ids[i] = IdOf(b);
        }
        gc_assign(a->children, arr);
        shadow_[a->id].children = ids;
        shadow_[a->id].hasChildren = n > 0;
    }

    void StoreElement(Node* a) {
        int n = a->children.Length();
        if (n == 0) return StoreChildren(a);
        int i = Pick(n);
        Node* b = ChooseValue();
        gc_assign(a->children[i], b);
        shadow_[a->id].children[i] = IdOf(b);
    }

    void Relabel(Node* a) {
        if (a->Slots() == 1) return;
        std::string text = "n" + std::to_string(Pick(1000));
        static_cast<BigNode*>(a)->label = String(text.c_str());
        shadow_[a->id].label = text;
    }

    void Frame() {
        int ops = 1 + Pick(24);
        for (int k = 0; k < ops; ++k) {
            Node* a = ChooseTarget();
            switch (Pick(6)) {
                case 0:
                case 1: StoreSlot(a, Pick(a->Slots()), ChooseValue()); break;
                case 2: StoreChildren(a); break;
                case 3: StoreElement(a); break;
                case 4: Relabel(a); break;
                default:
                    if (Chance(0.02)) Reroot();
                    break;
            }
        }
        // Garbage of varied sizes drives the steps and the full collections.
        for (int k = Pick(4); k > 0; --k) Array<int> scratch(1 + Pick(16384));
    }

    std::vector<int> ComputeReachable() {
        std::vector<char> seen(nodes_.size(), 0);
        std::vector<int> order, stack{globalId_, delegateId_};
        while (!stack.empty()) {
            int id = stack.back();
            stack.pop_back();
            if (id < 0 || seen[id]) continue;
            seen[id] = 1;
            order.push_back(id);
            for (int s : shadow_[id].slots) stack.push_back(s);
            for (int c : shadow_[id].children) stack.push_back(c);
        }
        return order;
    }

    void VerifyNode(int id) {
        ASSERT_FALSE(g_destroyed[id]) << "reachable object " << id << " was destroyed";
        Node* p = nodes_[id];
        ASSERT_EQ(p->magic, kAlive) << id;
        ASSERT_EQ(p->id, id);
        ASSERT_EQ(p->checksum, Checksum(id));
        const Shadow& s = shadow_[id];
        for (int k = 0; k < p->Slots(); ++k) {
            ASSERT_EQ(p->Slot(k), s.slots[k] < 0 ? nullptr : nodes_[s.slots[k]]) << id << " slot " << k;
        }
        ASSERT_EQ(p->children.IsEmptyRep(), !s.hasChildren) << id;
        ASSERT_EQ(p->children.Length(), static_cast<int>(s.children.size())) << id;
        for (int i = 0; i < p->children.Length(); ++i) {
            int c = s.children[i];
            ASSERT_EQ(p->children[i], c < 0 ? nullptr : nodes_[c]) << id << " child " << i;
        }
        if (p->Slots() > 1) {
            const String& label = static_cast<BigNode*>(p)->label;
            ASSERT_TRUE(label == String(s.label.c_str())) << id;
        }
    }

    void VerifyReachable() {
        reachable_ = ComputeReachable();
        reachableTotal_ += static_cast<long>(reachable_.size());
        ++verifications_;
        for (int id : reachable_) ASSERT_NO_FATAL_FAILURE(VerifyNode(id));
    }

    static int ListBytes(const gc_object& list) {
        int bytes = 0;
        for (const gc_object* q = list.next; q != &list; q = q->next) bytes += q->gc_size();
        return bytes;
    }

    // Two full collections put everything unreachable on the free list;
    // allocations then pay for all of it.
    void VerifyGarbageIsDestroyed() {
        int known = static_cast<int>(nodes_.size());
        std::vector<char> live(known, 0);
        for (int id : ComputeReachable()) live[id] = 1;
        ASSERT_NO_FATAL_FAILURE(CollectTwiceAndPay());
        for (int id = 0; id < known; ++id) {
            ASSERT_EQ(g_destroyed[id], !live[id]) << "object " << id;
        }
        VerifyReachable();
    }

    void CollectTwiceAndPay() {
        for (int i = 0; i < 2; ++i) {
            gc_mark(g_delegate);
            gc_collect_all();
        }
        ASSERT_EQ(gc_free_bytes, ListBytes(gc_free_list));
        ASSERT_EQ(gc_alloced_bytes,
                  ListBytes(gc_unmarked_list) + ListBytes(gc_queued_list) + ListBytes(gc_marked_list));
        // Each allocation destroys garbage worth at least its own size.
        while (gc_free_bytes > 0) Array<int> pay(256);
        ASSERT_EQ(gc_free_list.next, &gc_free_list);
    }

    std::mt19937 rng_;
    std::vector<Node*> nodes_;  // by id; entries of destroyed ids dangle
    std::vector<Shadow> shadow_;
    std::vector<int> reachable_;
    int globalId_ = -1;
    int delegateId_ = -1;
    long reachableTotal_ = 0;
    long verifications_ = 0;
};

class CollectorStress : public testing::TestWithParam<unsigned> {};

TEST_P(CollectorStress, ReachableStaysIntactAndGarbageIsDestroyed) {
    Stress stress(GetParam());
    stress.Run(4000);
    RecordProperty("full_collections", stress.fullCollections_);
}

INSTANTIATE_TEST_SUITE_P(Seeds, CollectorStress, testing::Values(1u, 2u, 3u));

}  // namespace
