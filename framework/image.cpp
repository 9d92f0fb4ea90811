// SPDX-License-Identifier: Zlib
// Images: frames cut from a surface, flags, grabbing, and loading from files.
#include "framework/image.h"

#include "framework/data.h"
#include "framework/graphics.h"

c_Frame* c_Frame::m_new(int x, int y) {
    m_x = x;
    m_y = y;
    return this;
}

void c_Image::mark() {
    gc_mark_q(m_surface);
    gc_mark_q(m_frames);
    gc_mark_q(m_source);
}

c_Frame* c_Image::p_FrameAt(int frame) const {
    return frame >= 0 && frame < m_frames.Length() ? m_frames[frame] : nullptr;
}

void c_Image::MakeFrames(int frameCount) {
    m_frames = Array<c_Frame*>(frameCount);
    for (int i = 0; i < m_frames.Length(); ++i) gc_assign(m_frames[i], new c_Frame);
}

int c_Image::p_SetHandle(float x, float y) {
    m_handleX = x;
    m_handleY = y;
    m_flags &= ~kCentreHandle;
    return 0;
}

int c_Image::p_ApplyFlags(int flags) {
    m_flags = flags;
    if (m_flags & kHorizontalBorder) {
        for (int i = 0; i < m_frames.Length(); ++i) m_frames[i]->m_x += 1;
        m_width -= 2;
    }
    if (m_flags & kVerticalBorder) {
        for (int i = 0; i < m_frames.Length(); ++i) m_frames[i]->m_y += 1;
        m_height -= 2;
    }
    if (m_flags & kCentreHandle) p_SetHandle(m_width * 0.5f, m_height * 0.5f);
    if (m_frames.Length() == 1 && m_frames[0]->m_x == 0 && m_frames[0]->m_y == 0 &&
        m_width == m_surface->Width() && m_height == m_surface->Height()) {
        m_flags |= kWholeSurface;
    }
    return 0;
}

// A strip of frames laid side by side across the whole surface.
c_Image* c_Image::p_Init(gxtkSurface* surface, int frameCount, int flags) {
    if (frameCount < 1) krError(String("Image frame count must be at least 1"));
    gc_assign(m_surface, surface);
    m_width = surface->Width() / frameCount;
    m_height = surface->Height();
    MakeFrames(frameCount);
    for (int i = 0; i < frameCount; ++i) m_frames[i]->m_new(i * m_width, 0);
    p_ApplyFlags(flags);
    return this;
}

// Frames of w x h fill the source left to right from (x, y), wrapping into
// rows of height h, in source coordinates offset by the source's own frame.
c_Image* c_Image::p_Grab(int x, int y, int w, int h, int frameCount, int flags, c_Image* source) {
    gc_assign(m_source, source);
    gc_assign(m_surface, source->m_surface);
    m_width = w;
    m_height = h;
    MakeFrames(frameCount);
    c_Frame* origin = source->m_frames[0];
    int cx = x, cy = y;
    for (int i = 0; i < m_frames.Length(); ++i) {
        if (cx + w > source->m_width) {
            cx = 0;
            cy += h;
            if (w > source->m_width) krError(String("Image frame outside surface"));
        }
        if (cy + h > source->m_height) krError(String("Image frame outside surface"));
        m_frames[i]->m_new(cx + origin->m_x, cy + origin->m_y);
        cx += w;
    }
    p_ApplyFlags(flags);
    return this;
}

c_Image* c_Image::p_GrabImage(int x, int y, int w, int h, int frameCount, int flags) {
    if (m_frames.Length() != 1) return nullptr;
    return (new c_Image)->m_new()->p_Grab(x, y, w, h, frameCount, flags, this);
}

c_Image* kr_graphics_LoadImage(String path, int frameCount, int flags) {
    if (!kr_graphics_device) return nullptr;
    gxtkSurface* surface = kr_graphics_device->LoadSurface(kr_data_FixDataPath(path));
    if (!surface) return nullptr;
    return (new c_Image)->m_new()->p_Init(surface, frameCount, flags);
}

c_Image* kr_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount,
                                int flags) {
    c_Image* atlas = kr_graphics_LoadImage(path, 1, 0);
    if (!atlas) return nullptr;
    return (new c_Image)->m_new()->p_Grab(0, 0, frameWidth, frameHeight, frameCount, flags, atlas);
}
