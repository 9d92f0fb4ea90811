// SPDX-License-Identifier: Zlib
#include "framework/asyncevent.h"

#include <algorithm>

c_IAsyncEventSource* c_Stack::m_NIL;
c_IAsyncEventSource* kr_asyncevent__current;
c_Stack* kr_asyncevent__sources;

c_Stack* c_Stack::m_new() { return this; }

c_Stack* c_Stack::m_new2(Array<c_IAsyncEventSource*> data) {
    gc_assign(m_Data, data.Resize(data.Length()));
    m_Length = data.Length();
    return this;
}

int c_Stack::p_Length2() { return m_Length; }

int c_Stack::p_Length(int n) {
    n = std::max(n, 0);
    for (int i = n; i < m_Length; ++i) gc_assign(m_Data[i], m_NIL);
    if (n > m_Data.Length()) gc_assign(m_Data, m_Data.Resize(std::max(n, m_Length * 2 + 10)));
    m_Length = n;
    return 0;
}

c_IAsyncEventSource* c_Stack::p_Get(int i) { return m_Data[i]; }

void c_Stack::mark() { gc_mark_q(m_Data); }

int kr_asyncevent_UpdateAsyncEvents() {
    if (kr_asyncevent__current) return 0;
    int i = 0;
    while (i < kr_asyncevent__sources->p_Length2()) {
        gc_assign(kr_asyncevent__current, kr_asyncevent__sources->p_Get(i));
        kr_asyncevent__current->p_UpdateAsyncEvents();
        // A source that removed itself cleared the current source; the one
        // that moved into its slot runs next.
        if (kr_asyncevent__current) ++i;
    }
    kr_asyncevent__current = nullptr;
    return 0;
}
