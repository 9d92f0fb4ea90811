// A graphics-module test: a device in a window, the module's context, the
// host for loading, and a frame opened by the module.
#pragma once

#include "tests/graphics/gl_harness.h"
#include "tests/graphics/image_files.h"

namespace graphics_test {

class ModuleTest : public DeviceTest {
protected:
    void SetUp() override {
        Host();
        DeviceTest::SetUp();
        gc_assign(kr_graphics_context, (new c_GraphicsContext)->m_new());
        kr_graphics_SetGraphicsDevice(device);
        kr_graphics_BeginRender();
        recorder.draws.clear();
    }
    void TearDown() override {
        kr_graphics_EndRender();
        DeviceTest::TearDown();
    }

    c_GraphicsContext* context() { return kr_graphics_context; }

    // Writes an RGBA PNG of w x h from 0xAARRGGBB values made by argb(x, y).
    template <class F>
    std::string WriteImage(const std::string& name, int w, int h, F argb) {
        auto pixels = MakePixels(w, h, 4, [&](int x, int y, int c) {
            unsigned v = argb(x, y);
            const int shift[4] = {16, 8, 0, 24};
            return (v >> shift[c]) & 255;
        });
        std::string file = dir.File(name);
        WritePng(file, w, h, 4, pixels);
        return file;
    }

    c_Image* Load(const std::string& file, int frames, int flags) {
        return kr_graphics_LoadImage(String(file.c_str()), frames, flags);
    }

    TempDir dir;
};

}  // namespace graphics_test
