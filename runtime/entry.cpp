#include "runtime/entry.h"

#include <csignal>

#include "runtime/errors.h"
#include "runtime/gc.h"

int kr_std_main(int argc, const char** argv) {
    std::signal(SIGSEGV, sighandler);
    std::signal(SIGILL, sighandler);
    std::signal(SIGFPE, sighandler);
    gc_init_lists();
    krInit();
    gc_mark();
    krMain();
    return 0;
}
