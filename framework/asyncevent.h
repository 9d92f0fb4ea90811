// SPDX-License-Identifier: Zlib
// The async-event module: event sources registered on a stack are updated
// once per game update. Nothing in this game registers one, but the update
// keeps its rules for sources that remove themselves while running.
#pragma once

#include "runtime/runtime.h"

class c_IAsyncEventSource : public virtual gc_interface {
public:
    virtual int p_UpdateAsyncEvents() = 0;
};

// A growable stack of event-source references.
class c_Stack : public Object {
public:
    Array<c_IAsyncEventSource*> m_Data;  // capacity
    int m_Length = 0;                    // entries in use
    // Stored into vacated slots.
    static c_IAsyncEventSource* m_NIL;

    c_Stack() {}
    c_Stack* m_new();
    // A stack holding a copy of `data`.
    c_Stack* m_new2(Array<c_IAsyncEventSource*> data);
    int p_Length2();
    // Shrinking clears the vacated slots; growing past the capacity resizes
    // to the larger of n and twice the old length plus 10. A negative n is
    // taken as 0.
    int p_Length(int n);
    // Element i, unchecked.
    c_IAsyncEventSource* p_Get(int i);
    void mark() override;
};

extern c_IAsyncEventSource* kr_asyncevent__current;
extern c_Stack* kr_asyncevent__sources;

// Updates each registered source once; does nothing when called from inside
// a source's update. Returns 0.
int kr_asyncevent_UpdateAsyncEvents();
