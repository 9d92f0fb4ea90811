// STUB: replaced by the graphics module. Keep these signatures.
#pragma once
#include "graphics/graphics.h"

class c_Image;

class c_GraphicsContext : public Object {
public:
    c_GraphicsContext() {}
    c_GraphicsContext* m_new() { return this; }
};

extern gxtkGraphics* kr_graphics_device;
extern c_GraphicsContext* kr_graphics_context;
extern gxtkGraphics* kr_graphics_renderDevice;

int kr_graphics_SetGraphicsDevice(gxtkGraphics* dev);
int kr_graphics_SetFont(c_Image* font, int firstChar);
int kr_graphics_BeginRender();
int kr_graphics_EndRender();
