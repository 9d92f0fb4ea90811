// SPDX-License-Identifier: Zlib
// Program start-up: the order in which the collector, the globals and the
// application come to life before the host's main loop runs.
#pragma once

// Turns SIGSEGV, SIGILL and SIGFPE into runtime errors (sighandler).
void kr_install_signal_handlers();

// Installs the signal handler, empties the collector's lists, runs krInit,
// queues the roots and runs krMain. Returns 0.
int kr_std_main(int argc, const char** argv);

// Assigns every module global its initial value (framework and game).
int krInit();
// Creates the application object, which installs its delegate into the host.
int krMain();
