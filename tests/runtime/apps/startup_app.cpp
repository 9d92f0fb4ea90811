// Child program for the start-up test: runs kr_std_main on a host object made
// first, as the program entry does, and prints what start-up left behind.
// An object allocated before start-up shows whether the collector's lists
// were emptied; the globals show whether krInit and krMain ran, and in an
// order that keeps what krInit made.
#include <csignal>
#include <cstdio>

#include "framework/framework.h"
#include "host/game.h"

namespace {

int HandlerInstalled(int sig) {
    struct sigaction action {};
    sigaction(sig, nullptr, &action);
    return action.sa_handler == sighandler;
}

}  // namespace

int main(int argc, char** argv) {
    KrGame host;
    Object* before = new Object;
    kr_random_Seed = 0;
    int rc = kr_std_main(argc, const_cast<const char**>(argv));
    std::printf("rc=%d handlers=%d%d%d forgotten=%d seed=%d context=%d sources=%d app=%d delegate=%d\n",
                rc, HandlerInstalled(SIGSEGV), HandlerInstalled(SIGILL), HandlerInstalled(SIGFPE),
                !gc_is_live_object(before), kr_random_Seed, gc_is_live_object(kr_graphics_context),
                gc_is_live_object(kr_asyncevent__sources), gc_is_live_object(kr_app__app),
                kr_app__delegate != nullptr && host.Delegate() == kr_app__delegate);
    return 0;
}
