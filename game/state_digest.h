// SPDX-License-Identifier: Zlib
// A digest of the game's whole state, for the last line of a replay: two runs
// of the same session must end with the same line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class c_MyApp;

// FNV-1a (64 bits) over every field of the game object that is not a
// pointer (numbers, and the contents of its number and flag arrays), in a
// fixed order, then the random seed and the configuration globals the game
// changes while it runs.
std::uint64_t KrGameStateHash(c_MyApp* app);

// The names of the fields the digest covers, in the order it takes them.
const std::vector<std::string>& KrGameStateFields();

// "mode M, score S, health H, wave W, state HHHHHHHHHHHHHHHH" for the one
// game object; "no game" before it exists.
std::string KrDescribeGameState();
