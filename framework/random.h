// STUB: replaced by the random module.
#pragma once
extern int kr_random_Seed;
