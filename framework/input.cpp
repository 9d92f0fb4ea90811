// STUB: replaced by the input module.
#include "framework/input.h"

c_InputDevice* kr_input_device;
