// SPDX-License-Identifier: Zlib
// Images: a surface cut into equally sized frames, with a handle (the point
// of a frame placed at the drawing position) and flags.
#pragma once

#include "graphics/graphics.h"

class c_Frame : public Object {
public:
    int m_x = 0;  // top-left corner of the frame on its surface
    int m_y = 0;

    c_Frame() {}
    c_Frame* m_new(int x, int y);
};

class c_Image : public Object {
public:
    // Image flags.
    enum {
        kCentreHandle = 1,      // handle at the frame's centre (cleared once applied)
        kHorizontalBorder = 2,  // one-pixel border left and right of each frame
        kVerticalBorder = 4,    // one-pixel border above and below
        kWholeSurface = 65536,  // one frame covering the whole surface
    };

    gxtkSurface* m_surface = nullptr;
    int m_width = 0;  // size of one frame
    int m_height = 0;
    Array<c_Frame*> m_frames;
    int m_flags = 0;
    float m_handleX = 0;
    float m_handleY = 0;
    c_Image* m_source = nullptr;  // the image a grabbed image was cut from

    c_Image() {}
    c_Image* m_new() { return this; }
    void mark() override;

    int p_Width() const { return m_width; }
    int p_Height() const { return m_height; }
    int p_Frames() const { return m_frames.Length(); }
    c_Image* p_GrabImage(int x, int y, int w, int h, int frameCount, int flags);
    int p_SetHandle(float x, float y);
    int p_ApplyFlags(int flags);
    c_Image* p_Init(gxtkSurface* surface, int frameCount, int flags);
    c_Image* p_Grab(int x, int y, int w, int h, int frameCount, int flags, c_Image* source);
    // The frame with that index, or none when the index is out of range.
    c_Frame* p_FrameAt(int frame) const;

private:
    void MakeFrames(int frameCount);
};

c_Image* kr_graphics_LoadImage(String path, int frameCount, int flags);
c_Image* kr_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount,
                                int flags);
