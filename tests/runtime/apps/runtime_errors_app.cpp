// Child program of the process-level runtime tests. The first argument picks
// what happens: "error MSG" (krError), "segv" (a fault with the handlers
// installed), "throw" (a ThrowableObject handed to KrGame::Die, as the host
// does), "inspect" (see below) or "startup" (kr_std_main).
#include <csignal>
#include <cstdio>
#include <string>

#include "framework/framework.h"
#include "host/game.h"

namespace {

// Prints the addresses of a live Object, of live array storage (collected,
// but no Object) and of a destroyed Object, then stops in the debugger.
void inspect() {
    Object* live = new Object;
    Array<int> storage(4);
    *gc_locals_sp++ = live;
    *gc_locals_sp++ = storage.rep;
    Object* gone = new Object;
    gc_collect_all();      // sweeps `gone` to the free list
    Array<int> pay(1024);  // destroys it
    std::printf("%p\n%p\n%p\n", static_cast<void*>(live), static_cast<void*>(storage.rep),
                static_cast<void*>(gone));
    std::fflush(stdout);
    krError(String("inspect"));
}

// The host object comes first, as in the program entry. An object made
// before start-up shows that the lists were emptied; the globals show that
// krInit ran, and before krMain, whose application kept what krInit made.
int startup(int argc, char** argv) {
    auto handled = [](int sig) {
        struct sigaction a {};
        return sigaction(sig, nullptr, &a) == 0 && a.sa_handler == sighandler;
    };
    KrGame host;
    Object* before = new Object;
    kr_random_Seed = 0;
    int rc = kr_std_main(argc, const_cast<const char**>(argv));
    std::printf("rc=%d handlers=%d%d%d forgotten=%d seed=%d context=%d sources=%d app=%d delegate=%d\n", rc,
                handled(SIGSEGV), handled(SIGILL), handled(SIGFPE),
                !gc_is_live_object(before), kr_random_Seed, gc_is_live_object(kr_graphics_context),
                gc_is_live_object(kr_asyncevent__sources), gc_is_live_object(kr_app__app),
                kr_app__delegate != nullptr && host.Delegate() == kr_app__delegate);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "error") krError(String(argc > 2 ? argv[2] : ""));
    if (mode == "segv") {
        kr_install_signal_handlers();
        int* volatile nowhere = nullptr;
        *nowhere = 1;
    }
    if (mode == "throw") {
        KrGame host;
        try { throw new ThrowableObject; } catch (ThrowableObject* ex) { host.Die(ex); }
    }
    if (mode == "inspect") inspect();
    if (mode == "startup") return startup(argc, argv);
    return 2;
}
