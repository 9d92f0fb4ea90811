// SPDX-License-Identifier: Zlib
// Randomised stress of the collector under AddressSanitizer: a mutator rewires
// an object graph through the write barrier between thousands of collection
// steps. A shadow copy of the graph says what is reachable: every reachable
// object must stay intact, and every unreachable one must be destroyed once
// two full collections have run and allocation has paid for the garbage.
// Only the collector and strings are linked in, so this file has the roots.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "runtime/array.h"
#include "runtime/string.h"

namespace {

std::vector<char> g_destroyed;  // by node id
int g_bad_destructions = 0;     // of a corrupt or already destroyed node

class Node : public Object {
public:
    explicit Node(int id) : id(id) {}
    ~Node() override {
        g_bad_destructions += magic != kAlive || g_destroyed[id];
        g_destroyed[id] = 1, magic = 0;
    }
    void mark() override { gc_mark_q(ref); gc_mark_q(kids); }
    static constexpr unsigned kAlive = 0xa11ce5ed;
    unsigned magic = kAlive;
    int id;
    Node* ref = nullptr;
    Array<Node*> kids;
};
static_assert(sizeof(Node) < GC_SMALL_BLOCK, "from the block cache");

// Its block goes back to the system heap, where the sanitizer sees any use.
struct BigNode : Node {
    using Node::Node;
    char pad[GC_SMALL_BLOCK] = {};
};

Node* g_root = nullptr;

}  // namespace

void gc_mark() { gc_mark_q(g_root); }

namespace {

// Two full collections, then allocation until the garbage is paid for (each
// allocation pays at least its size).
void CollectAndPay() {
    for (int i = 0; i < 2; ++i) gc_collect_all();
    while (gc_free_bytes > 0) Array<int> pay(256);
}

class Stress {
public:
    explicit Stress(unsigned seed) : rng_(seed) { g_destroyed.clear(); }

    void Run(int frames) {
        gc_assign(g_root, Make());
        gc_assign(g_root->kids, Array<Node*>(16));  // never replaced whole: the graph stays large
        kidsOf_[0].assign(16, -1);
        reachable_ = Reachable();
        int full = 0;
        for (int frame = 1; frame <= frames; ++frame) {
            Mutate();
            full += gc_new_bytes > GC_FULL_COLLECT_BYTES;
            gc_collect();
            if (Pick(100) == 0) gc_collect_all();
            reachable_ = Reachable();
            for (int id : reachable_) ASSERT_NO_FATAL_FAILURE(Check(id));
            if (frame % 500 == 0) ASSERT_NO_FATAL_FAILURE(CheckGarbageIsDestroyed());
        }
        EXPECT_GT(full, 10);
        EXPECT_GT(reachable_.size(), 1000u);
        gc_assign(g_root, nullptr);  // without a root, everything goes
        ASSERT_NO_FATAL_FAILURE(CheckGarbageIsDestroyed());
        EXPECT_EQ(g_bad_destructions, 0);
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    Node* Ptr(int id) { return id < 0 ? nullptr : nodes_[id]; }
    static int Id(Node* p) { return p ? p->id : -1; }
    Node* AnyReachable() { return nodes_[reachable_[Pick(static_cast<int>(reachable_.size()))]]; }

    Node* Make() {
        int id = static_cast<int>(nodes_.size());
        g_destroyed.push_back(0), refOf_.push_back(-1), kidsOf_.emplace_back();
        nodes_.push_back(Pick(3) ? new Node(id) : new BigNode(id));
        return nodes_.back();
    }

    // Null, a new node (held by a local until it is stored) or a reachable
    // one; the mix keeps about 3,000 nodes reachable.
    Node* Value() {
        bool small = reachable_.size() < 500;
        if (Pick(100) < (small ? 2 : 10)) return nullptr;
        return reachable_.size() < 3000 && Pick(10) < (small ? 6 : 2) ? Make() : AnyReachable();
    }

    void Mutate() {
        for (int k = Pick(20); k >= 0; --k) {
            Node* a = Pick(10) ? AnyReachable() : Make();  // sometimes a node nothing will hold
            if (int op = Pick(3); op == 1 && a != g_root) {  // a fresh array, filled past the barrier, stored through it
                Array<Node*> arr(Pick(8));
                std::vector<int> ids;
                for (int i = 0; i < arr.Length(); ++i) ids.push_back(Id(arr[i] = Value()));
                gc_assign(a->kids, arr);
                kidsOf_[a->id] = ids;
            } else {  // the object field, or one element of the array
                int i = op == 0 || a->kids.Length() == 0 ? -1 : Pick(a->kids.Length());
                Node* b = Value();
                gc_assign(i < 0 ? a->ref : a->kids[i], b);
                (i < 0 ? refOf_[a->id] : kidsOf_[a->id][i]) = Id(b);
            }
        }
        for (int k = Pick(4); k > 0; --k) Array<int> garbage(1 + Pick(16384));  // drives the steps
    }

    std::vector<int> Reachable() {
        std::vector<char> seen(nodes_.size());
        std::vector<int> order;
        auto visit = [&](int id) { if (id >= 0 && !seen[id]) seen[id] = 1, order.push_back(id); };
        visit(Id(g_root));
        for (size_t k = 0; k < order.size(); ++k) {
            visit(refOf_[order[k]]);
            for (int kid : kidsOf_[order[k]]) visit(kid);
        }
        return order;
    }

    void Check(int id) {
        ASSERT_FALSE(g_destroyed[id]) << "reachable node " << id << " was destroyed";
        Node* p = nodes_[id];
        ASSERT_TRUE(p->magic == Node::kAlive && p->id == id && p->ref == Ptr(refOf_[id])) << id;
        ASSERT_EQ(p->kids.Length(), static_cast<int>(kidsOf_[id].size())) << id;
        ASSERT_EQ(p->kids.Length() == 0, p->kids.IsEmptyRep()) << id;
        for (int i = 0; i < p->kids.Length(); ++i) ASSERT_EQ(p->kids[i], Ptr(kidsOf_[id][i])) << id;
    }

    void CheckGarbageIsDestroyed() {
        CollectAndPay();
        std::vector<char> live(nodes_.size());
        for (int id : Reachable()) live[id] = 1;
        for (size_t id = 0; id < nodes_.size(); ++id) ASSERT_EQ(g_destroyed[id] != 0, !live[id]) << "node " << id;
    }

    std::mt19937 rng_;
    std::vector<Node*> nodes_;  // by id; destroyed ones dangle
    std::vector<int> refOf_;    // the shadow graph, by id: -1 for null
    std::vector<std::vector<int>> kidsOf_;
    std::vector<int> reachable_;
};

TEST(CollectorStress, ReachableStaysIntactAndGarbageIsDestroyed) {
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        Stress(seed).Run(4000);
    }
}

// A destroyed small object's block waits in the cache, poisoned past its link:
// a use after destruction is reported as for a block given back to the heap.
// (Read through a plain pointer: a member access would meet the vptr check
// first.)
TEST(CollectorAsan, UseOfADestroyedSmallObjectIsReported) {
    const int id = static_cast<int>(g_destroyed.size());
    g_destroyed.push_back(0);
    const volatile int* field = &(new Node(id))->id;
    CollectAndPay();  // nothing holds it
    ASSERT_TRUE(g_destroyed[id]);
    EXPECT_DEATH({ int v = *field; (void)v; }, "use-after-poison");
}

}  // namespace
