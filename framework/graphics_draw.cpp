// SPDX-License-Identifier: Zlib
// The module's drawing functions: each validates the matrix, then asks the
// render device to draw.
#include "framework/graphics.h"

namespace {

gxtkGraphics* DrawingDevice() {
    gxtkGraphics* device = kr_graphics_RenderDevice();
    kr_graphics_ValidateMatrix();
    return device;
}

// Draws frame `frame` of `img` with its top-left corner at (x, y): the whole
// surface without a source rectangle when the image allows it.
void DrawFrame(gxtkGraphics* device, c_Image* img, c_Frame* f, float x, float y) {
    if (img->m_flags & c_Image::kWholeSurface) {
        device->DrawSurface(img->m_surface, x, y);
    } else {
        device->DrawSurface2(img->m_surface, x, y, f->m_x, f->m_y, img->m_width, img->m_height);
    }
}

}  // namespace

int kr_graphics_Cls(float r, float g, float b) {
    kr_graphics_RenderDevice()->Cls(r, g, b);
    return 0;
}

int kr_graphics_DrawRect(float x, float y, float w, float h) {
    DrawingDevice()->DrawRect(x, y, w, h);
    return 0;
}

int kr_graphics_DrawLine(float x1, float y1, float x2, float y2) {
    DrawingDevice()->DrawLine(x1, y1, x2, y2);
    return 0;
}

int kr_graphics_DrawEllipse(float x, float y, float xr, float yr) {
    DrawingDevice()->DrawOval(x - xr, y - yr, xr * 2, yr * 2);
    return 0;
}

// A missing image (a file that failed to load) or a frame index outside the
// image draws nothing.
int kr_graphics_DrawImage(c_Image* img, float x, float y, int frame) {
    gxtkGraphics* device = DrawingDevice();
    c_Frame* f = img ? img->p_FrameAt(frame) : nullptr;
    if (f) DrawFrame(device, img, f, x - img->m_handleX, y - img->m_handleY);
    return 0;
}

// The matrix is saved in locals rather than on the matrix stack, so that the
// call works at any nesting depth of the caller's pushes.
int kr_graphics_DrawImage2(c_Image* img, float x, float y, float rotation, float scaleX,
                           float scaleY, int frame) {
    gxtkGraphics* device = kr_graphics_RenderDevice();
    c_Frame* f = img ? img->p_FrameAt(frame) : nullptr;
    if (!f) return 0;
    c_GraphicsContext* g = kr_graphics_context;
    const float saved[6] = {g->m_a, g->m_b, g->m_c, g->m_d, g->m_tx, g->m_ty};
    kr_graphics_Translate(x, y);
    kr_graphics_Rotate(rotation);
    kr_graphics_Scale(scaleX, scaleY);
    kr_graphics_Translate(-img->m_handleX, -img->m_handleY);
    kr_graphics_ValidateMatrix();
    DrawFrame(device, img, f, 0, 0);
    g->p_UpdateMatrix(saved[0], saved[1], saved[2], saved[3], saved[4], saved[5]);
    return 0;
}

// The pixels must fit the array: rows of w from `offset`, `pitch` apart.
int kr_graphics_ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch) {
    gxtkGraphics* device = kr_graphics_RenderDevice();
    if (pitch == 0) pitch = w;
    if (w <= 0 || h <= 0) return 0;
    long long last = static_cast<long long>(offset) + static_cast<long long>(h - 1) * pitch + w;
    if (offset < 0 || pitch < 0 || last > pixels.Length()) {
        krError(String("Pixel array too small for ReadPixels"));
    }
    device->ReadPixels(pixels, x, y, w, h, offset, pitch);
    return 0;
}
