// STUB: replaced by the async-event module.
#pragma once
#include "runtime/runtime.h"

class c_IAsyncEventSource : public virtual gc_interface {
public:
    virtual int p_UpdateAsyncEvents() = 0;
};

class c_Stack : public Object {
public:
    c_Stack() {}
    c_Stack* m_new() { return this; }
    static c_IAsyncEventSource* m_NIL;
};

extern c_IAsyncEventSource* kr_asyncevent__current;
extern c_Stack* kr_asyncevent__sources;
