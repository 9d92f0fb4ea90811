// SPDX-License-Identifier: Zlib
// Module globals, the device, frames, drawing state and fonts.
#include "framework/graphics.h"

gxtkGraphics* kr_graphics_device;
c_GraphicsContext* kr_graphics_context;
gxtkGraphics* kr_graphics_renderDevice;

int kr_graphics_SetGraphicsDevice(gxtkGraphics* dev) {
    gc_assign(kr_graphics_device, dev);
    return 0;
}

int kr_graphics_DeviceWidth() { return kr_graphics_device ? kr_graphics_device->Width() : 0; }

int kr_graphics_DeviceHeight() { return kr_graphics_device ? kr_graphics_device->Height() : 0; }

gxtkGraphics* kr_graphics_RenderDevice() {
    if (!kr_graphics_renderDevice) krError(String("Graphics operation outside a render frame"));
    return kr_graphics_renderDevice;
}

int kr_graphics_SetColor(float r, float g, float b) {
    c_GraphicsContext* c = kr_graphics_context;
    c->m_red = r;
    c->m_green = g;
    c->m_blue = b;
    kr_graphics_RenderDevice()->SetColor(r, g, b);
    return 0;
}

int kr_graphics_SetAlpha(float a) {
    kr_graphics_context->m_alpha = a;
    kr_graphics_RenderDevice()->SetAlpha(a);
    return 0;
}

int kr_graphics_SetBlend(int mode) {
    kr_graphics_context->m_blend = mode;
    kr_graphics_RenderDevice()->SetBlend(mode);
    return 0;
}

int kr_graphics_SetScissor(float x, float y, float w, float h) {
    c_GraphicsContext* c = kr_graphics_context;
    c->m_scissorX = x;
    c->m_scissorY = y;
    c->m_scissorWidth = w;
    c->m_scissorHeight = h;
    kr_graphics_RenderDevice()->SetScissor(static_cast<int>(x), static_cast<int>(y),
                                           static_cast<int>(w), static_cast<int>(h));
    return 0;
}

// A null font selects the default font, loaded on first need; when its file
// is missing there is no font at all.
int kr_graphics_SetFont(c_Image* font, int firstChar) {
    c_GraphicsContext* c = kr_graphics_context;
    if (!font) {
        if (!c->m_baseFont) {
            gc_assign(c->m_baseFont, kr_graphics_LoadImage(String("fenx_font.png"), 96,
                                                           c_Image::kHorizontalBorder));
        }
        font = c->m_baseFont;
        firstChar = 32;
    }
    gc_assign(c->m_font, font);
    c->m_fontFirstCode = firstChar;
    return 0;
}

int kr_graphics_BeginRender() {
    gc_assign(kr_graphics_renderDevice, kr_graphics_device);
    c_GraphicsContext* c = kr_graphics_context;
    c->m_stackTop = 0;
    c->m_stackOverflow = 0;
    c->p_UpdateMatrix(1, 0, 0, 1, 0, 0);
    kr_graphics_SetColor(255, 255, 255);
    kr_graphics_SetAlpha(1);
    kr_graphics_SetBlend(0);
    kr_graphics_SetScissor(0, 0, static_cast<float>(kr_graphics_DeviceWidth()),
                           static_cast<float>(kr_graphics_DeviceHeight()));
    return 0;
}

int kr_graphics_EndRender() {
    kr_graphics_renderDevice = nullptr;
    return 0;
}
