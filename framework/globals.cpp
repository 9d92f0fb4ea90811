#include "framework/globals.h"

#include "framework/framework.h"

int krInit() {
    gc_assign(kr_app__app, static_cast<c_App*>(nullptr));
    kr_app__delegate = nullptr;
    kr_app__game = KrGame::_game;
    kr_graphics_device = nullptr;
    gc_assign(kr_graphics_context, (new c_GraphicsContext)->m_new());
    kr_audio_device = nullptr;
    kr_input_device = nullptr;
    kr_graphics_renderDevice = nullptr;
    kr_app__updateRate = 0;
    kr_asyncevent__current = nullptr;
    gc_assign(kr_asyncevent__sources, (new c_Stack)->m_new());
    c_Stack::m_NIL = nullptr;
    kr_random_Seed = 1234;
    return 0;
}

// Queues the global roots, in a fixed order, at the start of each cycle.
void gc_mark() {
    gc_mark_q(kr_app__app);
    gc_mark_q(kr_app__delegate);
    gc_mark_q(kr_graphics_device);
    gc_mark_q(kr_graphics_context);
    gc_mark_q(kr_audio_device);
    gc_mark_q(kr_input_device);
    gc_mark_q(kr_graphics_renderDevice);
    gc_mark_q(kr_asyncevent__current);
    gc_mark_q(kr_asyncevent__sources);
    gc_mark_q(c_Stack::m_NIL);
}
