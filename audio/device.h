// STUB: replaced by the audio device. Keep these signatures.
#pragma once
#include "runtime/runtime.h"

class gxtkSample : public Object {
public:
    gxtkSample() {}
};

class gxtkAudio : public Object {
public:
    gxtkAudio() {}
    virtual int Suspend() { return 0; }
    virtual int Resume() { return 0; }
};
