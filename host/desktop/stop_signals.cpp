// SPDX-License-Identifier: Zlib
#include "host/desktop/stop_signals.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "host/glfw2/bridge.h"
// After the bridge, never before: see host/glfw2/bridge.h.
#include <GLFW/glfw3.h>

namespace {

std::atomic<int> stopSignal{0};
std::mutex wakeLock;  // held while waking, so the window system is not taken down meanwhile
bool wakeLoop = false;

sigset_t StopSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

void Watch() {
    sigset_t set = StopSet();
    int sig = 0;
    if (sigwait(&set, &sig) != 0) return;
    stopSignal = sig;
    std::lock_guard<std::mutex> hold(wakeLock);
    if (wakeLoop) ::glfwPostEmptyEvent();
}

}  // namespace

void KrWatchStopSignals() {
    sigset_t set = StopSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread(Watch).detach();
}

void KrSetStopWakesLoop(bool on) {
    std::lock_guard<std::mutex> hold(wakeLock);
    wakeLoop = on;
}

int KrStopSignal() { return stopSignal; }
