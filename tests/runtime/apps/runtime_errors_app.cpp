// Child program for the process-level tests of error reporting. The first
// argument picks what goes wrong; the tests read the exit code and both
// output streams and play the debugger on standard input.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/game.h"
#include "runtime/runtime.h"

namespace {

void segv() {
    kr_install_signal_handlers();
    volatile int* nowhere = nullptr;
    *nowhere = 1;
}

void raise_signal(const char* number) {
    kr_install_signal_handlers();
    std::raise(std::atoi(number));
}

// Thrown during a host callback or at start-up: the host hands it to Die.
void throw_uncaught() {
    KrGame host;
    try {
        throw new ThrowableObject;
    } catch (ThrowableObject* ex) {
        host.Die(ex);
    }
}

void print_lines() {
    krPrint(String());
    const Char units[] = {0x41, 0xe9, 0x20ac};
    krPrint(String(units, 3));
    krDebugLog(String("log"));
    std::exit(0);
}

// Prints the addresses of a live Object, of live array storage (collected
// but not an Object) and of an Object already destroyed, one per line, then
// stops in the debugger so the test can ask about each of them.
void inspect() {
    Object* live = new Object;
    Array<int> storage(4);
    *gc_locals_sp++ = live;
    *gc_locals_sp++ = storage.rep;

    Object* gone = new Object;
    gc_collect_all();  // `gone` is unreachable: swept to the free list
    Array<int> payForIt(1024);  // an allocation destroys pending garbage
    std::printf("%p\n%p\n%p\n", static_cast<void*>(live), static_cast<void*>(storage.rep),
                static_cast<void*>(gone));
    std::fflush(stdout);
    krError(String("inspect"));
}

// A runtime error raised where a position text is known.
void error_at_position() {
    dbg_info = "game.cpp<12>";
    krError(String("abc"));
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "error") krError(String(argc > 2 ? argv[2] : ""));
    if (mode == "segv") segv();
    if (mode == "signal" && argc > 2) raise_signal(argv[2]);
    if (mode == "throw") throw_uncaught();
    if (mode == "print") print_lines();
    if (mode == "inspect") inspect();
    if (mode == "position") error_at_position();
    std::fprintf(stderr, "runtime_errors_app: unknown mode '%s'\n", mode.c_str());
    return 2;
}
