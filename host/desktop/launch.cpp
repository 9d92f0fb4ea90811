// SPDX-License-Identifier: Zlib
#include "host/desktop/launch.h"

#include <cstdio>
#include <cstdlib>

#include "host/desktop/play_host.h"
#include "host/desktop/stop_signals.h"
#include "host/headless/headless_game.h"
#include "host/replay/recorder.h"
#include "vornhelm_version.h"

const char* const kKrUsage =
    "usage: vornhelm [--record FILE] [FOLDERS]\n"
    "       vornhelm --replay FILE [--fast] [--screenshot-at N OUT.png] [FOLDERS]\n"
    "       vornhelm --help | --version\n"
    "\n"
    "  --record FILE       play, recording the session into FILE\n"
    "  --replay FILE       play the recording FILE back in a window, at its pace\n"
    "  --fast              with --replay: as fast as possible, drawing nothing\n"
    "  --screenshot-at N OUT.png\n"
    "                      with --replay: save the frame after update N as OUT.png and end\n"
    "  FOLDERS, each in place of the folder the game runs in:\n"
    "  --data-folder DIR   read the game's data from DIR instead of ./data\n"
    "  --player-folder DIR\n"
    "                      keep the state file in DIR\n"
    "  --screenshot-folder DIR\n"
    "                      save F12 screenshots in DIR\n"
    "  -h, --help          print this and end\n"
    "  --version           print the version and end\n";

namespace {

bool ParseCount(const std::string& text, long long* out) {
    if (text.empty() || text.size() > 15) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    *out = std::stoll(text);
    return true;
}

}  // namespace

bool KrParseCommandLine(int argc, const char* const* argv, KrLaunch* out, std::string* error) {
    *out = KrLaunch{};
    bool fast = false, screenshot = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        // The next argument, which the option needs.
        auto take = [&](std::string* value, const char* what) {
            if (i + 1 >= argc || argv[i + 1][0] == 0) {
                *error = arg + " needs " + what;
                return false;
            }
            *value = argv[++i];
            return true;
        };
        if (arg == "--help" || arg == "-h" || arg == "--version") {
            out->mode = arg == "--version" ? KrLaunch::Version : KrLaunch::Help;
            return true;
        } else if (arg == "--record" || arg == "--replay") {
            if (out->mode != KrLaunch::Play) {
                *error = "--record and --replay go one at a time";
                return false;
            }
            bool record = arg == "--record";
            if (!take(record ? &out->recordPath : &out->replay.path, "a file name")) return false;
            out->mode = record ? KrLaunch::Record : KrLaunch::Replay;
        } else if (arg == "--data-folder" || arg == "--player-folder" || arg == "--screenshot-folder") {
            KrFolders& f = out->folders;
            std::string* folder = arg == "--data-folder" ? &f.data : arg == "--player-folder" ? &f.player : &f.screenshots;
            if (!take(folder, "a folder")) return false;
        } else if (arg == "--fast") {
            fast = true;
        } else if (arg == "--screenshot-at") {
            std::string n;
            if (!take(&n, "an update number and a file name")) return false;
            if (!ParseCount(n, &out->replay.screenshotAt)) {
                *error = "--screenshot-at needs an update number (0 or more), not '" + n + "'";
                return false;
            }
            if (!take(&out->replay.screenshotPath, "a file name after the update number")) return false;
            screenshot = true;
        } else {
            *error = std::string(arg[0] == '-' ? "unknown option '" : "unknown argument '") + arg + "'";
            return false;
        }
    }
    if ((fast || screenshot) && out->mode != KrLaunch::Replay) {
        *error = std::string(fast ? "--fast" : "--screenshot-at") + " goes with --replay";
        return false;
    }
    out->replay.fast = fast;
    return true;
}

namespace {

KrReplayPlayer* player = nullptr;
void RunPlayer() { player->Run(); }

// Plays, recording the session into the file; SIGINT and SIGTERM end the
// program normally, so that the file is complete.
int Record(int argc, const char** argv, const std::string& path, KrDescribeState describe) {
    std::string error;
    KrSessionRecorder* recorder = KrSessionRecorder::ToFile(path, describe, &error);
    if (!recorder) {
        std::fprintf(stderr, "vornhelm: cannot record to %s: %s\n", path.c_str(), error.c_str());
        return 1;
    }
    KrWatchStopSignals();
    auto* host = new KrPlayHost;
    recorder->Attach(host);
    host->StopOnSignals(true);
    KrSetStopWakesLoop(true);
    int code = KrGame::Main(argc, argv, host);
    KrSetStopWakesLoop(false);
    return code;
}

// A fast replay runs on the headless host: no window system at all.
int Replay(int argc, const char** argv, const KrReplayOptions& options, KrDescribeState describe) {
    std::string error;
    player = KrReplayPlayer::Create(options, describe, &error);
    if (!player) {
        std::fprintf(stderr, "vornhelm: cannot replay %s: %s\n", options.path.c_str(), error.c_str());
        return 1;
    }
    KrGame* host = options.Headless() ? static_cast<KrGame*>(new KrHeadlessGame) : new KrTandorGame;
    player->Attach(host);
    return KrGame::Main(argc, argv, host, RunPlayer);
}

}  // namespace

int KrDesktopMain(int argc, const char** argv, KrDescribeState describe) {
    KrLaunch launch;
    std::string error;
    if (!KrParseCommandLine(argc, argv, &launch, &error)) {
        std::fprintf(stderr, "vornhelm: %s\n%s", error.c_str(), kKrUsage);
        return kKrUsageExitCode;
    }
    KrSetFolders(launch.folders);
    switch (launch.mode) {
        case KrLaunch::Help:
            std::fputs(kKrUsage, stdout);
            return 0;
        case KrLaunch::Version:
            std::printf("vornhelm %s\n", kVornhelmVersion);
            return 0;
        case KrLaunch::Record: return Record(argc, argv, launch.recordPath, describe);
        case KrLaunch::Replay: return Replay(argc, argv, launch.replay, describe);
        case KrLaunch::Play: break;
    }
    return KrGame::Main(argc, argv, new KrPlayHost);
}
