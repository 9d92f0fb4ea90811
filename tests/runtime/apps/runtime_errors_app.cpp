// SPDX-License-Identifier: Zlib
// Child program of the process-level runtime tests. The first argument picks
// what happens: "error MSG" (krError), "segv" (a fault with the handlers
// installed) or "startup" (kr_std_main).
#include <csignal>
#include <cstdio>
#include <string>

#include "framework/framework.h"
#include "host/game.h"

namespace {

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
    if (mode == "startup") return startup(argc, argv);
    return 2;
}
