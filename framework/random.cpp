// STUB: replaced by the random module.
#include "framework/random.h"
int kr_random_Seed;
