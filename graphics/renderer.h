// STUB: replaced by the renderer and surfaces. Keep these signatures.
#pragma once
#include "runtime/runtime.h"

class gxtkSurface : public Object {
public:
    gxtkSurface() {}
};

class gxtkGraphics : public Object {
public:
    gxtkGraphics() {}
    virtual int Width() { return 0; }
    virtual int Height() { return 0; }
    virtual int BeginRender() { return 1; }
    virtual void EndRender() {}
    virtual void DiscardGraphics() {}
};
