// SPDX-License-Identifier: Zlib
// Array<T>: a fixed-length array held in one collected block (header, length,
// elements inline). Length 0 is the element type's shared, permanent nullRep.
// Element access is unchecked, except in the sanitizer build
// (VORNHELM_ARRAY_BOUNDS_CHECK), where an index outside the array is fatal.
// Stores of references into elements pass the write barrier:
// gc_assign(arr[i], obj).
#pragma once

#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

#include "runtime/gc.h"

class String;
void t_create(int n, String* p);
void t_create(int n, String* p, const String* src);
void t_destroy(int n, String* p);

template <class T>
class Array {
public:
    class Rep : public gc_object {
    public:
        int length;

        // Elements follow the Rep in the same block, suitably aligned.
        static constexpr std::size_t DataOffset() {
            return (sizeof(Rep) + alignof(T) - 1) & ~(alignof(T) - 1);
        }

        Rep() : length(0) {}
        constexpr Rep(gc_permanent_t) : gc_object(gc_permanent, 3), length(0) {}
        ~Rep() override {
            if constexpr (std::is_same_v<T, String>) t_destroy(length, data());
        }
        void mark() override {
            if constexpr (std::is_pointer_v<T>) {
                T* d = data();
                for (int i = 0; i < length; ++i) gc_mark(d[i]);
            }
        }
        T* data() { return reinterpret_cast<T*>(reinterpret_cast<char*>(this) + DataOffset()); }

        static Rep* alloc(int n) {
            // The block size is an int; a length whose block cannot be
            // described is a caller's fault that must not wrap around.
            constexpr std::size_t kMaxBytes = 0x7ffffff0;
            if (static_cast<std::size_t>(n) > (kMaxBytes - DataOffset()) / sizeof(T)) {
                gc_fatal("array too large");
            }
            int bytes = static_cast<int>(DataOffset() + sizeof(T) * n);
            void* block = gc_object_alloc(bytes);
            Rep* rep = ::new (block) Rep();
            rep->length = n;
            return rep;
        }
    };
    static Rep nullRep;

    Array() : rep(&nullRep) {}
    explicit Array(int n) : rep(n > 0 ? Rep::alloc(n) : &nullRep) {
        if (n > 0) init_elements(0, n);
    }
    Array(const T* p, int n) : rep(n > 0 ? Rep::alloc(n) : &nullRep) {
        if (n > 0) copy_elements(p, n);
    }
    Array(const Array& a) : rep(a.rep) {}
    // Assignment passes the barrier: the new storage is marked black at once,
    // so it is safe to assign into fields of objects already marked.
    Array& operator=(const Array& a) {
        gc_mark(a.rep);
        rep = a.rep;
        return *this;
    }

    int Length() const { return rep->length; }
    T& operator[](int i) const {
#ifdef VORNHELM_ARRAY_BOUNDS_CHECK
        if (static_cast<unsigned>(i) >= static_cast<unsigned>(rep->length)) gc_index_fatal(i, rep->length);
#endif
        return rep->data()[i];
    }
    T* Data() const { return rep->data(); }

    Array Resize(int n) const {
        if (n < 1) return Array();
        Array result;
        result.rep = Rep::alloc(n);
        int keep = n < Length() ? n : Length();
        result.copy_elements(rep->data(), keep);
        result.init_elements(keep, n);
        return result;
    }

    bool IsEmptyRep() const { return rep == &nullRep; }

    Rep* rep;

private:
    void init_elements(int from, int to) {
        if constexpr (std::is_same_v<T, String>) {
            t_create(to - from, rep->data() + from);
        } else {
            std::memset(static_cast<void*>(rep->data() + from), 0, sizeof(T) * (to - from));
        }
    }
    void copy_elements(const T* p, int n) {
        if constexpr (std::is_same_v<T, String>) {
            t_create(n, rep->data(), p);
        } else {
            T* d = rep->data();
            for (int i = 0; i < n; ++i) d[i] = p[i];
        }
    }
};

template <class T>
typename Array<T>::Rep Array<T>::nullRep(gc_permanent);

// Marks array storage black at once (its elements are marked with it).
template <class T>
inline void gc_mark(const Array<T>& a) {
    gc_mark(static_cast<gc_object*>(a.rep));
}
// Shades array storage grey, as for an object field. Marking it at once here
// would recurse through object -> array -> element -> array ... without bound.
template <class T>
inline void gc_mark_q(const Array<T>& a) {
    gc_mark_q(static_cast<gc_object*>(a.rep));
}
template <class T>
inline void gc_assign(Array<T>& lhs, const Array<T>& rhs) {
    lhs = rhs;
}
