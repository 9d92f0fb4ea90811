// SPDX-License-Identifier: Zlib
// Side-by-side renderer benchmark: one scene (2,000 textured 32 x 32 sprites
// from one atlas, each with its own rotation, scale and colour, then 200
// rectangles and 50 ovals, in a 640 x 480 window) drawn by our device through
// the graphics module, and by SDL2's 2D renderer on its OpenGL driver with
// batching on, in two windows on the same X server. The two take turns in
// rounds, each round timing both for a while, so that a change in the load
// of the machine during the run falls on both alike; each is timed over
// several seconds in all. Prints frames per second for both, OpenGL draw
// calls per frame for ours as counted at the OpenGL boundary, and last
// `ratio R` with R = our fps / SDL2's fps.
#include <SDL2/SDL.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "framework/graphics.h"
#include "bench/gl_draw_count.h"
#include "graphics/gl_calls.h"
#include "host/game.h"
#include "host/glfw2/glfw2.h"
#include "tests/support/desktop_test_host.h"

// Last: its X11 macros (None, Bool, Status) must not reach the headers above.
#include <GL/glx.h>

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int kSprites = 2000, kRects = 200, kOvals = 50;
constexpr int kAtlasSize = 256, kCell = 32, kCells = (kAtlasSize / kCell) * (kAtlasSize / kCell);
constexpr int kRounds = 5;
constexpr double kWarmupSeconds = 0.3, kTimedSeconds = 1.5;  // per renderer and round

struct Sprite {
    float x, y, angle, spin, scale;
    int frame;
    float r, g, b, a;
};
struct Rect {
    float x, y, w, h, r, g, b, a;
};
struct Oval {
    float x, y, rx, ry, r, g, b;
};

struct Scene {
    std::vector<Sprite> sprites;
    std::vector<Rect> rects;
    std::vector<Oval> ovals;
    std::vector<unsigned int> atlas;  // 0xAARRGGBB, straight alpha
};

float Random(unsigned& seed, float lo, float hi) {
    seed = seed * 1664525u + 1013904223u;
    return lo + (hi - lo) * static_cast<float>(seed >> 8) / 16777216.0f;
}

// Each 32 x 32 cell holds a disc of its own colour with a soft edge.
std::vector<unsigned int> MakeAtlas() {
    std::vector<unsigned int> atlas(kAtlasSize * kAtlasSize);
    for (int y = 0; y < kAtlasSize; ++y) {
        for (int x = 0; x < kAtlasSize; ++x) {
            int cell = (y / kCell) * (kAtlasSize / kCell) + x / kCell;
            float dx = x % kCell - 15.5f, dy = y % kCell - 15.5f;
            float d = std::sqrt(dx * dx + dy * dy);
            unsigned a = d < 12 ? 255 : d < 16 ? static_cast<unsigned>(255 * (16 - d) / 4) : 0;
            unsigned r = 80 + cell * 2, g = 255 - cell * 3, b = (x * 4) & 255;
            atlas[y * kAtlasSize + x] = a << 24 | r << 16 | g << 8 | b;
        }
    }
    return atlas;
}

Scene MakeScene() {
    Scene s;
    unsigned seed = 12345;
    for (int i = 0; i < kSprites; ++i) {
        s.sprites.push_back({Random(seed, 0, kWidth), Random(seed, 0, kHeight),
                             Random(seed, 0, 360), Random(seed, -3, 3), Random(seed, 0.5f, 1.5f),
                             static_cast<int>(Random(seed, 0, kCells)) % kCells,
                             Random(seed, 64, 255), Random(seed, 64, 255), Random(seed, 64, 255),
                             Random(seed, 0.5f, 1)});
    }
    for (int i = 0; i < kRects; ++i) {
        s.rects.push_back({Random(seed, 0, kWidth - 40), Random(seed, 0, kHeight - 30),
                           Random(seed, 4, 40), Random(seed, 4, 30), Random(seed, 0, 255),
                           Random(seed, 0, 255), Random(seed, 0, 255), Random(seed, 0.3f, 1)});
    }
    for (int i = 0; i < kOvals; ++i) {
        // Radii 20 x 15: 32 segments each, so all ovals are one polygon kind.
        s.ovals.push_back({Random(seed, 20, kWidth - 20), Random(seed, 15, kHeight - 15), 20, 15,
                           Random(seed, 0, 255), Random(seed, 0, 255), Random(seed, 0, 255)});
    }
    s.atlas = MakeAtlas();
    return s;
}

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Frames and seconds timed so far for one renderer; `tick` animates.
struct Timing {
    int frames = 0;
    double seconds = 0;
    int tick = 0;
    double Fps() const { return seconds > 0 ? frames / seconds : 0; }
};

// Runs frames for the warm-up, then counts frames over the timed span.
template <class F>
void TimeRound(Timing& timing, F frame) {
    for (double end = Now() + kWarmupSeconds; Now() < end;) frame(timing.tick++);
    double start = Now(), end = start + kTimedSeconds, t = start;
    for (; t < end; t = Now(), ++timing.frames) frame(timing.tick++);
    timing.seconds += t - start;
}

// Mean colour of a frame, to show that both renderers drew the same scene.
struct Rgb {
    double r, g, b;
};
Rgb Mean(const std::vector<unsigned int>& argb) {
    double sum[3] = {0, 0, 0};
    for (unsigned p : argb) sum[0] += (p >> 16) & 255, sum[1] += (p >> 8) & 255, sum[2] += p & 255;
    double n = static_cast<double>(argb.size());
    return {sum[0] / n, sum[1] / n, sum[2] / n};
}

// --- ours ---------------------------------------------------------------

// Draws the scene; `present` ends the frame with a buffer swap, otherwise the
// frame stays in the back buffer for reading.
void DrawOurs(gxtkGraphics* device, c_Image* sprites, const Scene& s, int tick, bool present) {
    device->BeginRender();
    kr_graphics_BeginRender();
    kr_graphics_Cls(20, 30, 40);
    for (const Sprite& p : s.sprites) {
        kr_graphics_SetColor(p.r, p.g, p.b);
        kr_graphics_SetAlpha(p.a);
        kr_graphics_DrawImage2(sprites, p.x, p.y, p.angle + p.spin * tick, p.scale, p.scale,
                               p.frame);
    }
    for (const Rect& r : s.rects) {
        kr_graphics_SetColor(r.r, r.g, r.b);
        kr_graphics_SetAlpha(r.a);
        kr_graphics_DrawRect(r.x, r.y, r.w, r.h);
    }
    kr_graphics_SetAlpha(1);
    for (const Oval& o : s.ovals) {
        kr_graphics_SetColor(o.r, o.g, o.b);
        kr_graphics_DrawEllipse(o.x, o.y, o.rx, o.ry);
    }
    kr_graphics_EndRender();
    if (present)
        device->EndRender();
    else
        device->Flush();
}

// The batches the scene forces, worked out from the scene alone: a new batch
// starts when the primitive kind or texture changes or 1,024 vertices are
// full. Sprites are quads of the atlas, rectangles untextured quads, ovals
// polygons of 32 vertices.
int ForcedBatches(const Scene& s) {
    struct Run {
        int items, vertices;
    } runs[] = {{static_cast<int>(s.sprites.size()), 4},
                {static_cast<int>(s.rects.size()), 4},
                {static_cast<int>(s.ovals.size()), 32}};
    int batches = 0;
    for (const Run& run : runs) {
        int perBatch = gxtkGraphics::kMaxVertices / run.vertices;
        batches += (run.items + perBatch - 1) / perBatch;
    }
    return batches;
}

// Our device in a window of the host's window-system layer.
class Ours {
public:
    bool Open(const Scene& s) {
        if (!glfw2::glfwInit()) return false;
        host_.OpenFixedWindow(kWidth, kHeight);
        display_ = glXGetCurrentDisplay();
        drawable_ = glXGetCurrentDrawable();
        context_ = glXGetCurrentContext();

        device_ = new gxtkGraphics;
        gc_assign(kr_graphics_context, (new c_GraphicsContext)->m_new());
        kr_graphics_SetGraphicsDevice(device_);
        gxtkSurface* atlas = device_->CreateSurface(kAtlasSize, kAtlasSize);
        atlas->SetSubData(0, 0, kAtlasSize, kAtlasSize, s.atlas.data(), kAtlasSize);
        c_Image* whole = (new c_Image)->m_new()->p_Init(atlas, 1, 0);
        sprites_ = whole->p_GrabImage(0, 0, kCell, kCell, kCells, c_Image::kCentreHandle);
        return true;
    }
    void MakeCurrent() { glXMakeCurrent(display_, drawable_, context_); }
    void Frame(const Scene& s, int tick) { DrawOurs(device_, sprites_, s, tick, true); }
    Rgb MeanColour(const Scene& s) {
        DrawOurs(device_, sprites_, s, 0, false);
        std::vector<unsigned int> pixels(kWidth * kHeight);
        glReadPixels(0, 0, kWidth, kHeight, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
        return Mean(pixels);
    }

    // One frame through counting wrappers at the OpenGL boundary.
    int CountDrawCalls(const Scene& s) {
        return bench::CountDrawCalls([&] { Frame(s, 0); });
    }
    void Close() {
        MakeCurrent();
        glfw2::glfwCloseWindow();
        glfw2::glfwTerminate();
    }

private:
    DesktopTestHost host_;
    Display* display_ = nullptr;
    GLXDrawable drawable_ = 0;
    GLXContext context_ = nullptr;
    gxtkGraphics* device_ = nullptr;
    c_Image* sprites_ = nullptr;
};

// --- SDL2 ---------------------------------------------------------------

void DrawSdl(SDL_Renderer* renderer, SDL_Texture* atlas, const Scene& s, int tick,
             std::vector<SDL_Vertex>& ovalVertices, bool present) {
    SDL_SetRenderDrawColor(renderer, 20, 30, 40, 255);
    SDL_RenderClear(renderer);
    const int perRow = kAtlasSize / kCell;
    for (const Sprite& p : s.sprites) {
        SDL_SetTextureColorMod(atlas, static_cast<Uint8>(p.r), static_cast<Uint8>(p.g),
                               static_cast<Uint8>(p.b));
        SDL_SetTextureAlphaMod(atlas, static_cast<Uint8>(p.a * 255));
        SDL_Rect src = {(p.frame % perRow) * kCell, (p.frame / perRow) * kCell, kCell, kCell};
        float size = kCell * p.scale;
        SDL_FRect dst = {p.x - size / 2, p.y - size / 2, size, size};
        SDL_RenderCopyExF(renderer, atlas, &src, &dst, p.angle + p.spin * tick, nullptr,
                          SDL_FLIP_NONE);
    }
    for (const Rect& r : s.rects) {
        SDL_SetRenderDrawColor(renderer, static_cast<Uint8>(r.r), static_cast<Uint8>(r.g),
                               static_cast<Uint8>(r.b), static_cast<Uint8>(r.a * 255));
        SDL_FRect rect = {r.x, r.y, r.w, r.h};
        SDL_RenderFillRectF(renderer, &rect);
    }
    // Ovals as triangle lists of 32 segments, like ours.
    for (const Oval& o : s.ovals) {
        ovalVertices.clear();
        SDL_Color c = {static_cast<Uint8>(o.r), static_cast<Uint8>(o.g), static_cast<Uint8>(o.b),
                       255};
        auto at = [&](int i) {
            float t = 6.2831855f * i / 32;
            return SDL_Vertex{{o.x + o.rx * std::cos(t), o.y - o.ry * std::sin(t)}, c, {0, 0}};
        };
        for (int i = 1; i < 31; ++i) {
            ovalVertices.push_back(at(0));
            ovalVertices.push_back(at(i));
            ovalVertices.push_back(at(i + 1));
        }
        SDL_RenderGeometry(renderer, nullptr, ovalVertices.data(),
                           static_cast<int>(ovalVertices.size()), nullptr, 0);
    }
    if (present) SDL_RenderPresent(renderer);
}

// SDL2's 2D renderer on its OpenGL driver, batching on, no vsync.
class Sdl {
public:
    bool Open(const Scene& s) {
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
        SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
        SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
        if (SDL_Init(SDL_INIT_VIDEO) != 0) {
            std::printf("sdl2: cannot start: %s\n", SDL_GetError());
            return false;
        }
        window_ = SDL_CreateWindow("bench", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                   kWidth, kHeight, SDL_WINDOW_OPENGL);
        renderer_ = window_ ? SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED) : nullptr;
        if (!renderer_) {
            std::printf("sdl2: no renderer: %s\n", SDL_GetError());
            return false;
        }
        SDL_RendererInfo info;
        SDL_GetRendererInfo(renderer_, &info);
        std::printf("sdl2 renderer driver: %s\n", info.name);

        atlas_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                   kAtlasSize, kAtlasSize);
        SDL_UpdateTexture(atlas_, nullptr, s.atlas.data(), kAtlasSize * 4);
        SDL_SetTextureBlendMode(atlas_, SDL_BLENDMODE_BLEND);
        SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND);
        return true;
    }
    // Releasing the context makes the renderer take its own back on its
    // next call.
    void MakeCurrent() { SDL_GL_MakeCurrent(window_, nullptr); }
    void Frame(const Scene& s, int tick) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
        DrawSdl(renderer_, atlas_, s, tick, ovalVertices_, true);
    }
    Rgb MeanColour(const Scene& s) {
        DrawSdl(renderer_, atlas_, s, 0, ovalVertices_, false);
        std::vector<unsigned int> pixels(kWidth * kHeight);
        SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                             kWidth * 4);
        return Mean(pixels);
    }
    void Close() {
        if (atlas_) SDL_DestroyTexture(atlas_);
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (window_) SDL_DestroyWindow(window_);
        SDL_Quit();
    }

private:
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* atlas_ = nullptr;
    std::vector<SDL_Vertex> ovalVertices_;
};

}  // namespace

int main() {
    if (!std::getenv("DISPLAY")) {
        std::printf("bench_render needs an X display (run it under xvfb-run -a)\n");
        return 1;
    }
    Scene scene = MakeScene();
    std::printf(
        "scene: %d sprites 32x32 from one %dx%d atlas, %d rectangles, %d ovals, %dx%d window\n",
        kSprites, kAtlasSize, kAtlasSize, kRects, kOvals, kWidth, kHeight);
    Ours ours;
    Sdl sdl;
    if (!ours.Open(scene) || !sdl.Open(scene)) {
        std::printf("cannot open both windows\n");
        return 1;
    }
    ours.MakeCurrent();
    int drawCalls = ours.CountDrawCalls(scene);

    Timing oursTiming, sdlTiming;
    for (int round = 0; round < kRounds; ++round) {
        ours.MakeCurrent();
        TimeRound(oursTiming, [&](int tick) { ours.Frame(scene, tick); });
        sdl.MakeCurrent();
        TimeRound(sdlTiming, [&](int tick) { sdl.Frame(scene, tick); });
    }
    ours.MakeCurrent();
    Rgb oursMean = ours.MeanColour(scene);
    sdl.MakeCurrent();
    Rgb sdlMean = sdl.MeanColour(scene);
    sdl.Close();
    ours.Close();

    std::printf("mean colour of one frame: ours (%.1f, %.1f, %.1f), sdl2 (%.1f, %.1f, %.1f)\n",
                oursMean.r, oursMean.g, oursMean.b, sdlMean.r, sdlMean.g, sdlMean.b);

    std::printf(
        "ours: %.1f fps (%d frames in %.1f s), %d OpenGL draw calls per frame "
        "(batches the scene forces: %d)\n",
        oursTiming.Fps(), oursTiming.frames, oursTiming.seconds, drawCalls, ForcedBatches(scene));
    std::printf("sdl2: %.1f fps (%d frames in %.1f s)\n", sdlTiming.Fps(), sdlTiming.frames,
                sdlTiming.seconds);
    double ratio = sdlTiming.Fps() > 0 ? oursTiming.Fps() / sdlTiming.Fps() : 0;
    std::printf("ratio %.3f\n", ratio);
    return 0;
}
