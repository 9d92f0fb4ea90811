// STUB: replaced by the graphics module.
#include "framework/graphics.h"

gxtkGraphics* kr_graphics_device;
c_GraphicsContext* kr_graphics_context;
gxtkGraphics* kr_graphics_renderDevice;

int kr_graphics_SetGraphicsDevice(gxtkGraphics* dev) {
    gc_assign(kr_graphics_device, dev);
    return 0;
}
int kr_graphics_SetFont(c_Image*, int) { return 0; }
int kr_graphics_BeginRender() {
    gc_assign(kr_graphics_renderDevice, kr_graphics_device);
    return 0;
}
int kr_graphics_EndRender() {
    kr_graphics_renderDevice = nullptr;
    return 0;
}
