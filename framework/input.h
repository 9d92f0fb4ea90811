// STUB: replaced by the input module.
#pragma once
#include "runtime/runtime.h"

class c_InputDevice : public Object {
public:
    c_InputDevice() {}
};

extern c_InputDevice* kr_input_device;
