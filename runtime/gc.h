// SPDX-License-Identifier: Zlib
// Collected objects and the incremental tri-colour collector.
//
// Every object of the framework and the game derives from gc_object and is
// allocated through gc_object_alloc, which hands the block and its size to the
// object's constructor; gc_object's constructor writes the header and links
// the object white into the unmarked list. Marking is spread over the host's
// callbacks in proportion to allocation, sweeping happens after 8 MiB of new
// allocation, and destruction of garbage is paid for by later allocations.
#pragma once

#include <cstddef>
#include <type_traits>

class String;

struct gc_permanent_t {};
inline constexpr gc_permanent_t gc_permanent{};

class gc_object {
public:
    gc_object* next;
    gc_object* prev;
    int flags;  // bits 3..: size in bytes; bit 0: mark bit; bit 1: permanent

    // Writes the header of the block gc_object_alloc handed out last and
    // links the object white into the unmarked list (defined below).
    gc_object();
    // A static, permanent object (list sentinels, empty array Reps).
    constexpr gc_object(gc_permanent_t, int permanentFlags)
        : next(this), prev(this), flags(permanentFlags) {}

    virtual ~gc_object() {}
    virtual void mark() {}

    static void* operator new(std::size_t size);
    // Objects are destroyed by the collector only. This is called when a
    // new-expression's initialisation throws: before the constructor took the
    // block, the block goes back; after, the process ends (the object is
    // already linked and cannot be taken back soundly).
    static void operator delete(void* p);
    // Placement forms are not collected allocations.
    static void* operator new(std::size_t, void* where) { return where; }
    static void operator delete(void*, void*) {}

    int gc_size() const { return flags & ~7; }

private:
    [[noreturn]] static void gc_not_allocated();
};

class Object : public gc_object {
public:
    Object() {}
    constexpr Object(gc_permanent_t, int f) : gc_object(gc_permanent, f) {}
    virtual bool Equals(Object* obj);
    virtual int Compare(Object* obj);
    virtual String debug();
};

class gc_interface {
public:
    virtual ~gc_interface();
};

class ThrowableObject : public Object {
public:
    ThrowableObject() {}
};

// Lists: white (unmarked), grey (queued), black (marked), dead (free).
extern gc_object gc_unmarked_list;
extern gc_object gc_queued_list;
extern gc_object gc_marked_list;
extern gc_object gc_free_list;

extern int gc_new_bytes;
extern int gc_alloced_bytes;
extern int gc_marked_bytes;
extern int gc_free_bytes;
extern int gc_markbit;

enum { GC_CACHE_SLOTS = 8, GC_LOCALS_SIZE = 8192, GC_FULL_COLLECT_BYTES = 8388608 };
extern gc_object* gc_cache[GC_CACHE_SLOTS];
extern gc_object* gc_locals[GC_LOCALS_SIZE];
extern gc_object** gc_locals_sp;

// A block of at least `size` bytes for the object about to be constructed in
// it. The block and its size wait for that constructor: allocation and
// construction nest (an allocation made while evaluating a constructor's
// arguments is constructed before it), so they wait on a stack.
void* gc_object_alloc(int size);
// Reports a broken collector invariant on standard error and aborts.
[[noreturn]] void gc_fatal(const char* what);
// Reports an array index out of range (checked in the sanitizer build only).
[[noreturn]] void gc_index_fatal(int index, int length);

// Blocks below this size are recycled through gc_cache, never freed. The
// cache holds blocks, not objects: a cached block's first bytes link it to the
// next one.
enum { GC_SMALL_BLOCK = 64 };

// Helpers of the collector's hot paths, kept inline: every allocation and
// every shaded reference goes through them.
namespace gc_detail {
inline void unlink(gc_object* p) {
    p->next->prev = p->prev;
    p->prev->next = p->next;
}

inline void append(gc_object* list, gc_object* p) {
    p->prev = list->prev;
    p->next = list;
    list->prev->next = p;
    list->prev = p;
}

// Allocations whose objects are still to be constructed, innermost last.
struct pending {
    void* block;
    int size;
};
enum { PENDING_DEPTH = 64 };
extern pending pending_stack[PENDING_DEPTH];
extern int pending_count;
}  // namespace gc_detail

inline gc_object::gc_object() {
    using namespace gc_detail;
    if (pending_count == 0 || pending_stack[pending_count - 1].block != this) gc_not_allocated();
    flags = gc_markbit | pending_stack[--pending_count].size;
    append(&gc_unmarked_list, this);
}

// Empties the four lists (start-up). Objects still linked are forgotten.
void gc_init_lists();

inline bool gc_is_white(const gc_object* p) { return (p->flags & 3) == gc_markbit; }

// Shades a white object grey.
inline void gc_mark_q(gc_object* p) {
    if (p && gc_is_white(p)) {
        p->flags ^= 1;
        gc_detail::unlink(p);
        gc_detail::append(&gc_queued_list, p);
    }
}
// Marks a white object black at once and runs its mark().
void gc_mark(gc_object* p);
void gc_mark_locals();
void gc_mark_queued(int target);
void gc_sweep();
void gc_collect_all();
void gc_collect();
// Queues the global roots (defined with the framework's globals).
void gc_mark();

// True when p is a live collected object: linked in the white, grey or black
// list. Used to validate addresses that come from outside the program.
bool gc_is_live_object(const void* p);

// Converts any reference (object or interface) to its collected object.
template <class T>
inline gc_object* gc_cast(T* p) {
    if constexpr (std::is_base_of_v<gc_object, T>) {
        return p;
    } else {
        return p ? dynamic_cast<gc_object*>(p) : nullptr;
    }
}

template <class T>
inline void gc_mark_q(T* p) {
    gc_mark_q(gc_cast(p));
}
template <class T>
inline void gc_mark(T* p) {
    gc_mark(gc_cast(p));
}

// The write barrier for object and interface references.
template <class T, class U>
inline void gc_assign(T*& lhs, U* rhs) {
    gc_mark_q(gc_cast(rhs));
    lhs = rhs;
}
// Storing null shades nothing.
template <class T>
inline void gc_assign(T*& lhs, std::nullptr_t) {
    lhs = nullptr;
}
