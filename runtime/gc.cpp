// SPDX-License-Identifier: Zlib
#include "runtime/gc.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// No-ops unless the address sanitizer is on.
#include <sanitizer/asan_interface.h>

#include "runtime/string.h"

gc_object gc_unmarked_list(gc_permanent, 2);
gc_object gc_queued_list(gc_permanent, 2);
gc_object gc_marked_list(gc_permanent, 2);
gc_object gc_free_list(gc_permanent, 2);

int gc_new_bytes = 0;
int gc_alloced_bytes = 0;
int gc_marked_bytes = 0;
int gc_free_bytes = 0;
int gc_markbit = 1;

gc_object* gc_cache[GC_CACHE_SLOTS];
gc_object* gc_locals[GC_LOCALS_SIZE];
gc_object** gc_locals_sp = gc_locals;

gc_detail::pending gc_detail::pending_stack[gc_detail::PENDING_DEPTH];
int gc_detail::pending_count = 0;

namespace {

using gc_detail::append;
using gc_detail::unlink;

// --- Linking the object lists ---

bool list_empty(const gc_object* list) { return list->next == list; }

// Splices every object of `from` onto the tail of `to`, leaving `from` empty.
void splice_all(gc_object* to, gc_object* from) {
    if (list_empty(from)) return;
    gc_object* first = from->next;
    gc_object* last = from->prev;
    first->prev = to->prev;
    to->prev->next = first;
    last->next = to;
    to->prev = last;
    from->next = from->prev = from;
}

void reset_list(gc_object* list) { list->next = list->prev = list; }

// --- Freed blocks and pending garbage ---

// A cached block holds no object: its link to the next cached block is
// written into its storage as plain bytes.
gc_object* cache_next(void* block) {
    gc_object* next;
    std::memcpy(&next, block, sizeof next);
    return next;
}

// Returns the block of a destroyed (or never constructed) object. Under the
// address sanitizer a cached block is poisoned past its link, so a use of a
// destroyed small object is reported as it is for a freed large one.
void release_block(void* block, int size) {
    if (size < GC_SMALL_BLOCK) {
        gc_object*& head = gc_cache[size >> 3];
        std::memcpy(block, &head, sizeof head);
        head = static_cast<gc_object*>(block);
        ASAN_POISON_MEMORY_REGION(static_cast<char*>(block) + sizeof head, size - sizeof head);
    } else {
        std::free(block);
    }
}

// Destroys pending garbage worth at least `size` bytes.
void destroy_garbage(int size) {
    int target = gc_free_bytes - size;
    if (target < 0) target = 0;
    while (gc_free_bytes > target) {
        gc_object* p = gc_free_list.next;
        if (p == &gc_free_list) {
            gc_free_bytes = 0;
            break;
        }
        unlink(p);
        int bytes = p->gc_size();
        p->~gc_object();  // the class's own destructor; the block stays ours
        gc_free_bytes -= bytes;
        release_block(p, bytes);
    }
}

}  // namespace

// --- Allocating collected objects ---

void* gc_object_alloc(int size) {
    using namespace gc_detail;
    size = (size + 7) & ~7;
    gc_new_bytes += size;
    destroy_garbage(size);
    if (pending_count == PENDING_DEPTH) gc_fatal("allocations nested too deeply");

    void* p;
    if (size < GC_SMALL_BLOCK && gc_cache[size >> 3]) {
        p = gc_cache[size >> 3];
        gc_cache[size >> 3] = cache_next(p);
        ASAN_UNPOISON_MEMORY_REGION(p, size);
    } else {
        p = std::malloc(size);
        if (!p) gc_fatal("out of memory");
    }
    pending_stack[pending_count++] = {p, size};
    gc_alloced_bytes += size;
    return p;
}

void gc_object::gc_not_allocated() { gc_fatal("object constructed outside a collected allocation"); }

void* gc_object::operator new(std::size_t size) { return gc_object_alloc(static_cast<int>(size)); }

void gc_object::operator delete(void* p) {
    using namespace gc_detail;
    if (pending_count == 0 || pending_stack[pending_count - 1].block != p) {
        gc_fatal("a collected object's constructor did not complete");
    }
    int size = pending_stack[--pending_count].size;
    gc_alloced_bytes -= size;
    release_block(p, size);
}

// --- The base object's defaults ---

bool Object::Equals(Object* obj) { return obj == this; }

int Object::Compare(Object* obj) {
    // The address difference does not fit an int on a 64-bit machine: only
    // its sign is kept.
    auto a = reinterpret_cast<std::uintptr_t>(this);
    auto b = reinterpret_cast<std::uintptr_t>(obj);
    return a < b ? -1 : (a > b ? 1 : 0);
}

String Object::debug() { return String("+Object\n"); }

gc_interface::~gc_interface() {}

// --- Stopping on fatal errors ---

void gc_fatal(const char* what) {
    std::fprintf(stderr, "collector: %s\n", what);
    std::abort();
}

void gc_index_fatal(int index, int length) {
    std::fprintf(stderr, "array index %d out of range 0..%d\n", index, length - 1);
    std::abort();
}

// --- The collection cycle ---

void gc_init_lists() {
    gc_detail::pending_count = 0;
    reset_list(&gc_unmarked_list);
    reset_list(&gc_queued_list);
    reset_list(&gc_marked_list);
    reset_list(&gc_free_list);
}

void gc_mark(gc_object* p) {
    if (p && gc_is_white(p)) {
        p->flags ^= 1;
        unlink(p);
        append(&gc_marked_list, p);
        gc_marked_bytes += p->flags & ~7;
        p->mark();
    }
}

void gc_mark_locals() {
    for (gc_object** sp = gc_locals; sp != gc_locals_sp; ++sp) gc_mark(*sp);
}

void gc_mark_queued(int target) {
    while (gc_marked_bytes < target && !list_empty(&gc_queued_list)) {
        gc_object* p = gc_queued_list.next;
        unlink(p);
        append(&gc_marked_list, p);
        gc_marked_bytes += p->flags & ~7;
        p->mark();
    }
}

void gc_sweep() {
    if (gc_alloced_bytes != gc_marked_bytes) {
        splice_all(&gc_free_list, &gc_unmarked_list);
        gc_free_bytes += gc_alloced_bytes - gc_marked_bytes;
    }
    // The black list becomes the white list; survivors keep their flags and
    // turn white when the mark bit flips below.
    reset_list(&gc_unmarked_list);
    splice_all(&gc_unmarked_list, &gc_marked_list);

    gc_alloced_bytes = gc_marked_bytes;
    gc_marked_bytes = 0;
    gc_markbit ^= 1;
}

void gc_collect_all() {
    gc_mark_locals();
    gc_mark_queued(2147483647);
    gc_sweep();
    gc_mark();
}

void gc_collect() {
    gc_locals_sp = gc_locals;
    if (gc_new_bytes > GC_FULL_COLLECT_BYTES) {
        gc_collect_all();
        gc_new_bytes = 0;
    } else {
        long long share = static_cast<long long>(gc_alloced_bytes - gc_new_bytes) * gc_new_bytes /
                          GC_FULL_COLLECT_BYTES;
        gc_mark_queued(static_cast<int>(gc_new_bytes + share));
    }
}

// --- Asking whether an object lives ---

bool gc_is_live_object(const void* p) {
    if (!p) return false;
    for (gc_object* list : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list}) {
        for (gc_object* q = list->next; q != list; q = q->next) {
            if (q == p) return true;
        }
    }
    return false;
}
