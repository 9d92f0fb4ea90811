// SPDX-License-Identifier: Zlib
// Lists the OpenGL draw calls one frame makes, each with the window pixels
// its shapes cover and whether it blends and samples a texture: where a
// renderer without a GPU spends its time is in those pixels.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "graphics/gl_calls.h"
#include "graphics/renderer.h"

namespace bench {

struct DrawListing {
    double pixels;  // area of the shapes drawn, in window pixels
    bool blended, textured;
    int shapes = 0, translucent = 0;  // shapes drawn, and of them those with a colour alpha below 255
    double translucentPixels = 0;
};

inline std::vector<DrawListing> drawList;
inline const gxtkGraphics* listedDevice = nullptr;

// The area inside the window of the polygon of `n` vertices of the device's
// buffer from `first`: the polygon is clipped against each window edge in
// turn, then measured.
inline double PolygonArea(int first, int n) {
    std::vector<std::pair<double, double>> poly, next;
    for (int i = 0; i < n; ++i) poly.push_back({listedDevice->vertexBuffer[first + i].x, listedDevice->vertexBuffer[first + i].y});
    const double w = listedDevice->width, h = listedDevice->height;
    // Edge k keeps the points with inside(k, p) >= 0.
    auto inside = [w, h](int k, std::pair<double, double> p) {
        const double d[4] = {p.first, w - p.first, p.second, h - p.second};
        return d[k];
    };
    for (int k = 0; k < 4; ++k) {
        next.clear();
        for (std::size_t i = 0; i < poly.size(); ++i) {
            const auto a = poly[i], b = poly[(i + 1) % poly.size()];
            const double da = inside(k, a), db = inside(k, b);
            if (da >= 0) next.push_back(a);
            if ((da >= 0) != (db >= 0)) {
                const double t = da / (da - db);
                next.push_back({a.first + t * (b.first - a.first), a.second + t * (b.second - a.second)});
            }
        }
        poly.swap(next);
    }
    double twice = 0;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const auto a = poly[i], b = poly[(i + 1) % poly.size()];
        twice += a.first * b.second - b.first * a.second;
    }
    return std::fabs(twice) / 2;
}

inline void ListDraw(double pixels) {
    drawList.push_back({pixels, glIsEnabled(GL_BLEND) != 0, glIsEnabled(GL_TEXTURE_2D) != 0});
}

// Counts a shape of `n` vertices from `first` and its area into the last listing.
inline void ListShape(int first, int n, double pixels) {
    DrawListing& d = drawList.back();
    ++d.shapes;
    if (listedDevice->vertexBuffer[first].color >> 24 != 255) ++d.translucent, d.translucentPixels += pixels;
}

// Points, lines and loose triangles: counted, their pixels taken as none.
inline void ListDrawArrays(GLenum m, GLint f, GLsizei c) { ListDraw(0), kr_gl_real.DrawArrays(m, f, c); }
// Quads: four vertices each, from the quad the index pointer starts at.
inline void ListDrawElements(GLenum m, GLsizei c, GLenum t, const void* i) {
    const int firstQuad = static_cast<int>(static_cast<const std::uint16_t*>(i) - listedDevice->quadIndices) / 6;
    ListDraw(0);
    for (int q = firstQuad; q < firstQuad + c / 6; ++q) {
        const double pixels = PolygonArea(4 * q, 4);
        drawList.back().pixels += pixels, ListShape(4 * q, 4, pixels);
    }
    kr_gl_real.DrawElements(m, c, t, i);
}
inline void ListMultiDrawArrays(GLenum m, const GLint* f, const GLsizei* c, GLsizei n) {
    ListDraw(0);
    for (int k = 0; k < n; ++k) {
        const double pixels = PolygonArea(f[k], c[k]);
        drawList.back().pixels += pixels, ListShape(f[k], c[k], pixels);
    }
    kr_gl_real.MultiDrawArrays(m, f, c, n);
}

template <class F>
std::vector<DrawListing> ListDrawCalls(const gxtkGraphics* device, F frame) {
    listedDevice = device;
    kr_gl.DrawArrays = ListDrawArrays;
    kr_gl.DrawElements = ListDrawElements;
    kr_gl.MultiDrawArrays = ListMultiDrawArrays;
    drawList.clear();
    frame();
    kr_gl = kr_gl_real;
    return drawList;
}

}  // namespace bench
