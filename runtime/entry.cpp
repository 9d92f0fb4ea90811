// SPDX-License-Identifier: Zlib
#include "runtime/entry.h"

#include <csignal>

#include "runtime/errors.h"
#include "runtime/gc.h"

void kr_install_signal_handlers() {
    std::signal(SIGSEGV, sighandler);
    std::signal(SIGILL, sighandler);
    std::signal(SIGFPE, sighandler);
}

int kr_std_main(int argc, const char** argv) {
    kr_install_signal_handlers();
    gc_init_lists();
    krInit();
    gc_mark();
    krMain();
    return 0;
}
