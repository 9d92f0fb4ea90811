// SPDX-License-Identifier: Zlib
// SIGINT and SIGTERM as a request to end the program normally, for hosts
// that must write something at exit (a recording): a small thread waits for
// the signals and wakes the main loop's event wait; the loop ends the
// program from its own thread.
#pragma once

// Starts watching. Call before any other thread exists (the signals are
// blocked in the calling thread and in every thread it starts later).
void KrWatchStopSignals();

// While the window system is up, a signal also wakes the main loop's wait.
void KrSetStopWakesLoop(bool on);

// The signal that asked to stop; 0 while none has.
int KrStopSignal();
