// SPDX-License-Identifier: Zlib
// String: an immutable, reference-counted sequence of 16-bit code units.
// Empty strings share one static Rep; results equal to an operand share its
// Rep instead of copying. Text is UTF-8 on disk (UTF-16 with a byte-order
// mark is read too).
#pragma once

#include <cstdio>
#include <vector>

#include "runtime/array.h"

typedef char16_t Char;

class String {
public:
    struct Rep {
        int refCount;
        int length;
        Char data[1];  // `length` units follow inline

        static Rep* alloc(int length);
        void retain() { ++refCount; }
        void release();
    };
    static Rep nullRep;

    // A narrow, zero-terminated copy (each unit's low byte) for C library calls.
    template <class C>
    class CString {
    public:
        explicit CString(const String& s);
        CString(const CString& other);
        CString& operator=(const CString& other);
        ~CString();
        operator const C*() const { return block_->text; }
        const C* c_str() const { return block_->text; }

    private:
        struct Block {
            int refCount;
            C text[1];
        };
        Block* block_;
    };

    String() : rep_(&nullRep) {}
    String(const Char* p, int n);
    String(const wchar_t* p, int n);
    String(const char* p);
    String(const unsigned char* p, int n);
    explicit String(int n);
    explicit String(float n);
    String(const String& s) : rep_(s.rep_) { rep_->retain(); }
    String(String&& s) noexcept : rep_(s.rep_) { s.rep_ = &nullRep; nullRep.retain(); }
    ~String() { rep_->release(); }

    String& operator=(const String& s);
    String& operator=(String&& s) noexcept;

    int Length() const { return rep_->length; }
    Char operator[](int i) const { return rep_->data[i]; }
    const Char* Data() const { return rep_->data; }

    String operator+(const String& b) const;
    String& operator+=(const String& b) { return *this = *this + b; }
    bool operator==(const String& b) const;
    bool operator!=(const String& b) const { return !(*this == b); }
    // Ordering by code units, for sorting.
    int Compare(const String& b) const;
    bool operator<(const String& b) const { return Compare(b) < 0; }

    bool StartsWith(const String& s) const;
    bool EndsWith(const String& s) const;
    int Find(const String& s, int start = 0) const;
    String Slice(int from) const { return Slice(from, Length()); }
    String Slice(int from, int term) const;
    Array<String> Split(const String& sep) const;
    String Replace(const String& find, const String& repl) const;
    String ToLower() const;
    int ToInt() const;

    static String Load(std::FILE* f);
    static String Load(const unsigned char* p, int n);
    void Save(std::vector<unsigned char>& out) const;
    bool Save(std::FILE* f) const;


    // True when both handles share one Rep (identity results).
    bool SameRep(const String& b) const { return rep_ == b.rep_; }
    const Rep* GetRep() const { return rep_; }

private:
    explicit String(Rep* rep) : rep_(rep) {}
    static Rep* AsciiRep(const char* p);
    Rep* rep_;
};

String operator+(const char* a, const String& b);

// Element construction and release for String arrays.
void t_create(int n, String* p);
void t_create(int n, String* p, const String* src);
void t_destroy(int n, String* p);

template <class C>
String::CString<C>::CString(const String& s) {
    int n = s.Length();
    block_ = static_cast<Block*>(std::malloc(sizeof(Block) + n * sizeof(C)));
    block_->refCount = 1;
    for (int i = 0; i < n; ++i) block_->text[i] = static_cast<C>(s[i] & 0xff);
    block_->text[n] = 0;
}

template <class C>
String::CString<C>::CString(const CString& other) : block_(other.block_) {
    ++block_->refCount;
}

template <class C>
String::CString<C>& String::CString<C>::operator=(const CString& other) {
    ++other.block_->refCount;
    if (--block_->refCount == 0) std::free(block_);
    block_ = other.block_;
    return *this;
}

template <class C>
String::CString<C>::~CString() {
    if (--block_->refCount == 0) std::free(block_);
}
