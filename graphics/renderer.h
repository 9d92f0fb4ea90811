// SPDX-License-Identifier: Zlib
// gxtkGraphics: the graphics device. 2D drawing calls become vertices in a
// buffer inside the object, transformed on the CPU by the current matrix and
// coloured with the current premultiplied colour; the buffer goes to OpenGL
// only when the primitive kind or texture changes, when it is full, or when a
// state change, a pixel read or the end of the frame needs it.
#pragma once

#include <cstdint>

#include "graphics/surface.h"
#include "runtime/runtime.h"

// One vertex as OpenGL's client arrays read it: stride 20 bytes.
struct KrVertex {
    float x, y;           // window pixels, y downwards
    float u, v;           // texture coordinates
    std::uint32_t color;  // bytes red, green, blue, alpha; premultiplied
};
static_assert(sizeof(KrVertex) == 20, "OpenGL reads the vertices with a stride of 20 bytes");

class gxtkGraphics : public Object {
public:
    enum {
        kMaxVertices = 1024,
        kMaxQuads = kMaxVertices / 4,
        kMaxPolygons = kMaxVertices / 5,
    };
    // Primitive codes; any value from 5 up is a convex polygon of that many
    // vertices, drawn as a triangle fan.
    enum { kPoints = 1, kLines = 2, kTriangles = 3, kQuads = 4 };

    int width = 0;
    int height = 0;
    std::uint32_t packedColor = 0;
    float red = 0, green = 0, blue = 0;
    float alpha = 0;
    float matrix[6] = {1, 0, 0, 1, 0, 0};  // a, b, c, d, tx, ty
    bool transformed = false;
    KrVertex vertexBuffer[kMaxVertices];
    std::uint16_t quadIndices[kMaxQuads * 6];
    int batchPrimitive = 0;
    int batchCount = 0;
    gxtkSurface* batchSurface = nullptr;
    // Starts and lengths of the polygons of a polygon batch, which reach
    // OpenGL in one glMultiDrawArrays call.
    int polygonFirst[kMaxPolygons];
    int polygonCount[kMaxPolygons];

    // Drawing less for the same pixels. An opaque draw (alpha 255, opaque
    // texels, alpha blending) covers what lies under it whole, so a batch of
    // nothing else, or a large stretch of such draws within a batch, is
    // drawn without blending. A textured batch all in opaque white takes the
    // texels as they are (GL_REPLACE instead of multiplying by the vertex
    // colour): the same pixels, which Mesa's llvmpipe draws on a faster
    // path. An opaque rectangle over the whole window (the game's backdrop
    // colour) becomes a clear, and no clear at all when the next batch
    // starts with an opaque quad over the whole window. Tests switch this
    // off to compare the pixels.
    bool opaqueFastPaths = true;
    int blendMode = 0;         // as last set: 1 additive, otherwise alpha
    // Where the pending batch's draws change between opaque and translucent:
    // the first vertex of each stretch of alike draws. One opaque stretch:
    // every draw of the batch is opaque.
    enum { kMaxStretches = 16 };
    struct Stretch {
        int first;
        bool opaque;
    };
    Stretch stretches[kMaxStretches];
    int stretchCount = 0;
    bool batchWhite = false;  // every draw of the pending batch is in opaque white
    bool clearPending = false;
    std::uint32_t clearColor = 0;  // of the pending clear, packed as a vertex colour
    bool blendEnabled = true;      // GL_BLEND as last set
    bool scissorEnabled = false;   // GL_SCISSOR_TEST as last set

    gxtkGraphics();
    void mark() override;

    virtual int Width() { return width; }
    virtual int Height() { return height; }
    virtual int BeginRender();
    virtual void EndRender();
    virtual void DiscardGraphics() {}
    virtual gxtkSurface* LoadSurface(String path);
    virtual gxtkSurface* LoadSurface__UNSAFE__(gxtkSurface* surface, String path);
    virtual gxtkSurface* CreateSurface(int width, int height);
    virtual int Cls(float r, float g, float b);
    virtual int SetAlpha(float alpha);
    virtual int SetColor(float r, float g, float b);
    virtual int SetBlend(int mode);
    virtual int SetScissor(int x, int y, int w, int h);
    virtual int SetMatrix(float a, float b, float c, float d, float tx, float ty);
    virtual int DrawPoint(float x, float y);
    virtual int DrawRect(float x, float y, float w, float h);
    virtual int DrawLine(float x1, float y1, float x2, float y2);
    virtual int DrawOval(float x, float y, float w, float h);
    virtual int DrawPoly(Array<float> xy);
    virtual int DrawPoly2(Array<float> xyuv, gxtkSurface* surface, int srcX, int srcY);
    virtual int DrawSurface(gxtkSurface* surface, float x, float y);
    virtual int DrawSurface2(gxtkSurface* surface, float x, float y, int srcX, int srcY, int srcW,
                             int srcH);
    virtual int ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch);
    virtual int WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h,
                             int offset, int pitch);

    // Reserves `count` vertices of the batch for `primitive` drawn from
    // `surface` (none for untextured), flushing first when the batch cannot
    // take them, and makes the surface's texture when it has none in this
    // context; returns where to write them.
    KrVertex* Begin(int primitive, int count, gxtkSurface* surface);
    // Begin for a textured draw from the given source rectangle of the
    // surface (x, y, w, h), which may make the draw opaque.
    KrVertex* BeginImage(int count, gxtkSurface* surface, int x, int y, int w, int h);
    // Draws the pending batch and empties it.
    void Flush();

private:
    void ReadWindowSize();
    void RepackColor();
    // Writes a vertex position through the matrix when there is one.
    void Put(KrVertex* v, float x, float y) const {
        if (transformed) {
            v->x = matrix[0] * x + matrix[2] * y + matrix[4];
            v->y = matrix[1] * x + matrix[3] * y + matrix[5];
        } else {
            v->x = x;
            v->y = y;
        }
        v->color = packedColor;
    }
    void PutQuad(KrVertex* v, float x0, float y0, float x1, float y1) const;
    void PutQuadUV(KrVertex* v, float u0, float v0, float u1, float v1) const;
    int OvalSegments(float rx, float ry) const;
    void DrawPolygons(int first, int count);
    void DrawVertices(int first, int count, bool blended);
    void UseTexelsAsTheyAre(bool on);
    void NoteStretch(bool opaque);
    double StretchPixels(int first, int count) const;
    void DrawStretches();
    KrVertex* Reserve(int primitive, int count, gxtkSurface* surface, const int* region);
    bool DrawOpaque(gxtkSurface* surface, const int* region) const;
    bool QuadCoversWindow(const KrVertex* v) const;
    bool TakeBatchAsClear();
    void DrawBatch();
    void ClearWindow(std::uint32_t color);
    void UseBlending(bool on);
};
