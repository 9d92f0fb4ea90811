// STUB: replaced by the async-event module.
#include "framework/asyncevent.h"

c_IAsyncEventSource* c_Stack::m_NIL;
c_IAsyncEventSource* kr_asyncevent__current;
c_Stack* kr_asyncevent__sources;
