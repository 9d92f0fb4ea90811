// SPDX-License-Identifier: Zlib
// The program's command line: play, record a session, or replay one.
//
//   vornhelm                        play
//   vornhelm --record FILE          play, recording the session into FILE
//   vornhelm --replay FILE          play FILE back in a window, at its pace
//            [--fast]               as fast as possible, drawing nothing
//            [--screenshot-at N OUT.png]  save the frame after update N and end
//   vornhelm --help | --version     print the usage or the version and end
// With any of the first three, in any order (a later one wins):
//   --data-folder DIR               the game's data instead of ./data
//   --player-folder DIR             the state file's folder instead of .
//   --screenshot-folder DIR         where F12 saves instead of .
#pragma once

#include <string>

#include "host/folders.h"
#include "host/replay/player.h"

struct KrLaunch {
    enum Mode { Play, Record, Replay, Help, Version };
    Mode mode = Play;
    std::string recordPath;
    KrReplayOptions replay;
    KrFolders folders;
};

// The usage and the options, one per line, as --help prints them.
extern const char* const kKrUsage;

// The exit code of a command line that makes no sense.
constexpr int kKrUsageExitCode = 2;

// Parses the arguments after the program name; false with *error set to one
// line when they make no sense.
bool KrParseCommandLine(int argc, const char* const* argv, KrLaunch* out, std::string* error);

// The desktop program: reads the command line, makes the host it asks for and
// runs the game on it. describe gives the state part of the last line of a
// recording or a replay.
// --help and --version print to standard output and return 0; a command line
// that makes no sense gets its reason and the usage on standard error and
// returns kKrUsageExitCode.
// Returns the exit code when the game does not end the process itself.
int KrDesktopMain(int argc, const char** argv, KrDescribeState describe);
