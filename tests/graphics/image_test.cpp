// Images of the graphics module: strips of frames, border and handle flags,
// the whole-surface fast path, grabbing into rows, fonts and drawing.
#include "tests/graphics/module_harness.h"

namespace graphics_test {
namespace {

using ImageTest = ModuleTest;

std::vector<int> FrameXs(c_Image* img) {
    std::vector<int> xs;
    for (int i = 0; i < img->m_frames.Length(); ++i) xs.push_back(img->m_frames[i]->m_x);
    return xs;
}

TEST_F(ImageTest, StripOfFramesWithAndWithoutBorders) {
    std::string file = WriteImage("strip.png", 256, 32, [](int x, int) { return 0xFF000000u | x; });
    c_Image* plain = Load(file, 8, 0);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->m_width, 32);
    EXPECT_EQ(plain->m_height, 32);
    EXPECT_EQ(FrameXs(plain), (std::vector<int>{0, 32, 64, 96, 128, 160, 192, 224}));
    EXPECT_EQ(plain->m_frames[7]->m_y, 0);
    EXPECT_EQ(plain->m_flags, 0);

    c_Image* bordered = Load(file, 8, c_Image::kHorizontalBorder);
    EXPECT_EQ(bordered->m_width, 30);
    EXPECT_EQ(bordered->m_height, 32);
    EXPECT_EQ(FrameXs(bordered), (std::vector<int>{1, 33, 65, 97, 129, 161, 193, 225}));

    c_Image* both = Load(file, 8, c_Image::kHorizontalBorder | c_Image::kVerticalBorder);
    EXPECT_EQ(both->m_width, 30);
    EXPECT_EQ(both->m_height, 30);
    EXPECT_EQ(both->m_frames[3]->m_y, 1);
}

TEST_F(ImageTest, WholeSurfaceFlagOnlyForOneFrameCoveringTheSurface) {
    std::string file = WriteImage("one.png", 20, 10, [](int, int) { return 0xFFFFFFFFu; });
    EXPECT_EQ(Load(file, 1, 0)->m_flags, c_Image::kWholeSurface);
    EXPECT_EQ(Load(file, 1, c_Image::kHorizontalBorder)->m_flags & c_Image::kWholeSurface, 0);
    EXPECT_EQ(Load(file, 1, c_Image::kVerticalBorder)->m_flags & c_Image::kWholeSurface, 0);
    EXPECT_EQ(Load(file, 2, 0)->m_flags & c_Image::kWholeSurface, 0);
}

TEST_F(ImageTest, CentreHandleIsAppliedThenCleared) {
    std::string file = WriteImage("h.png", 40, 10, [](int, int) { return 0xFFFFFFFFu; });
    c_Image* img = Load(file, 2, c_Image::kCentreHandle | c_Image::kHorizontalBorder);
    EXPECT_FLOAT_EQ(img->m_handleX, 9);  // frames 18 wide after the border
    EXPECT_FLOAT_EQ(img->m_handleY, 5);
    EXPECT_EQ(img->m_flags, c_Image::kHorizontalBorder);
    c_Image* whole = Load(file, 1, c_Image::kCentreHandle);
    EXPECT_EQ(whole->m_flags, c_Image::kWholeSurface);
    whole->p_SetHandle(1, 2);
    EXPECT_FLOAT_EQ(whole->m_handleX, 1);
    EXPECT_FLOAT_EQ(whole->m_handleY, 2);
}

TEST_F(ImageTest, GrabbingFillsRowsInSourceCoordinates) {
    std::string file = WriteImage("atlas.png", 100, 60, [](int, int) { return 0xFFFFFFFFu; });
    c_Image* atlas = Load(file, 1, 0);
    c_Image* grabbed = atlas->p_GrabImage(0, 0, 40, 25, 3, 0);
    ASSERT_NE(grabbed, nullptr);
    EXPECT_EQ(grabbed->m_source, atlas);
    EXPECT_EQ(grabbed->m_surface, atlas->m_surface);
    EXPECT_EQ(grabbed->m_width, 40);
    EXPECT_EQ(grabbed->m_height, 25);
    ASSERT_EQ(grabbed->m_frames.Length(), 3);
    EXPECT_EQ(FrameXs(grabbed), (std::vector<int>{0, 40, 0}));
    EXPECT_EQ(grabbed->m_frames[1]->m_y, 0);
    EXPECT_EQ(grabbed->m_frames[2]->m_y, 25);

    // Offset by the source's own frame when it has a border.
    c_Image* bordered = Load(file, 1, c_Image::kHorizontalBorder | c_Image::kVerticalBorder);
    c_Image* inner = bordered->p_GrabImage(10, 5, 20, 10, 2, c_Image::kCentreHandle);
    EXPECT_EQ(FrameXs(inner), (std::vector<int>{11, 31}));
    EXPECT_EQ(inner->m_frames[0]->m_y, 6);
    EXPECT_FLOAT_EQ(inner->m_handleX, 10);

    // Only a one-frame image can be grabbed from.
    EXPECT_EQ(grabbed->p_GrabImage(0, 0, 10, 10, 1, 0), nullptr);
}

TEST_F(ImageTest, LoadImage2CutsFramesFromTheFile) {
    std::string file = WriteImage("sheet.png", 64, 32, [](int, int) { return 0xFFFFFFFFu; });
    c_Image* img = kr_graphics_LoadImage2(String(file.c_str()), 16, 16, 6, c_Image::kCentreHandle);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(FrameXs(img), (std::vector<int>{0, 16, 32, 48, 0, 16}));
    EXPECT_EQ(img->m_frames[5]->m_y, 16);
    EXPECT_FLOAT_EQ(img->m_handleX, 8);
    ASSERT_NE(img->m_source, nullptr);
    EXPECT_EQ(img->m_source->m_frames.Length(), 1);
}

TEST_F(ImageTest, FilesThatCannotBeLoadedGiveNoImage) {
    WriteBytes(dir.File("broken.png"), "\x89PNG\r\n\x1a\n broken");
    testing::internal::CaptureStdout();
    EXPECT_EQ(Load(dir.File("missing.png"), 1, 0), nullptr);
    EXPECT_EQ(Load(dir.File("broken.png"), 1, 0), nullptr);
    EXPECT_EQ(kr_graphics_LoadImage2(String(dir.File("missing.png").c_str()), 8, 8, 1, 0), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(ImageTest, SurfaceFactoriesLoadFilesWithAndWithoutOpenGL) {
    std::string file =
        WriteImage("s.png", 3, 2, [](int x, int) { return x == 0 ? 0x80FF0000u : 0xFF00FF00u; });
    gxtkSurface* loaded = device->LoadSurface(String(file.c_str()));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Width(), 3);
    EXPECT_EQ(loaded->bytesPerPixel, 4);
    EXPECT_EQ(loaded->pixels[0], 128) << "premultiplied on load";
    EXPECT_EQ(loaded->contextSeq, glfwGraphicsSeq) << "bound at once while a window exists";

    // The unsafe half decodes only; the texture comes with the completion step.
    recorder.allocations.clear();
    gxtkSurface* target = new gxtkSurface;
    EXPECT_EQ(device->LoadSurface__UNSAFE__(target, String(file.c_str())), target);
    EXPECT_EQ(target->Width(), 3);
    EXPECT_EQ(target->contextSeq, -1);
    EXPECT_EQ(recorder.allocations.size(), 0u);
    EXPECT_TRUE(target->OnUnsafeLoadComplete());
    EXPECT_EQ(target->contextSeq, glfwGraphicsSeq);
    EXPECT_EQ(recorder.allocations.size(), 1u);

    EXPECT_EQ(device->LoadSurface(String(dir.File("none.png").c_str())), nullptr);
    gxtkSurface* untouched = new gxtkSurface;
    EXPECT_EQ(device->LoadSurface__UNSAFE__(untouched, String(dir.File("none.png").c_str())),
              nullptr);
    EXPECT_EQ(untouched->pixels, nullptr);
}

TEST_F(ImageTest, BorderedFramesDrawWithoutTheirBorder) {
    // Three 6-pixel frames: a red border column each side, green, blue and
    // white inside.
    const unsigned inside[3] = {0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    std::string file = WriteImage("frames.png", 18, 4, [&](int x, int) {
        return (x % 6 == 0 || x % 6 == 5) ? 0xFFFF0000u : inside[x / 6];
    });
    c_Image* img = Load(file, 3, c_Image::kHorizontalBorder);
    for (int f = 0; f < 3; ++f) kr_graphics_DrawImage(img, 10.0f + 10 * f, 10, f);
    device->Flush();
    for (int f = 0; f < 3; ++f) {
        unsigned expected = inside[f];
        for (int x = 0; x < 4; ++x) {
            EXPECT_TRUE(ColourNear(PixelAt(10 + 10 * f + x, 11), (expected >> 16) & 255,
                                   (expected >> 8) & 255, expected & 255))
                << "frame " << f << " column " << x;
        }
        EXPECT_TRUE(ColourNear(PixelAt(14 + 10 * f, 11), 0, 0, 0));
    }
}

TEST_F(ImageTest, DrawImagePlacesTheHandleAtThePosition) {
    std::string file = WriteImage(
        "dot.png", 8, 8, [](int x, int y) { return x == 0 && y == 0 ? 0xFFFF0000u : 0xFF00FF00u; });
    c_Image* img = Load(file, 1, c_Image::kCentreHandle);
    ASSERT_TRUE(img->m_flags & c_Image::kWholeSurface);
    kr_graphics_DrawImage(img, 50, 40, 0);
    device->Flush();
    ASSERT_EQ(recorder.draws.size(), 1u);
    EXPECT_FLOAT_EQ(recorder.draws[0].vertices[0].x, 46);
    EXPECT_FLOAT_EQ(recorder.draws[0].vertices[2].u, 1);  // the whole surface
    EXPECT_TRUE(ColourNear(PixelAt(46, 36), 255, 0, 0));
    EXPECT_TRUE(ColourNear(PixelAt(53, 43), 0, 255, 0));
    EXPECT_TRUE(ColourNear(PixelAt(54, 43), 0, 0, 0));
}

TEST_F(ImageTest, DrawImage2RotatesAndScalesAroundTheHandleAndRestoresTheMatrix) {
    std::string file =
        WriteImage("bar.png", 8, 2, [](int x, int) { return x < 4 ? 0xFFFF0000u : 0xFF0000FFu; });
    c_Image* img = Load(file, 1, c_Image::kCentreHandle);
    kr_graphics_Translate(5, 0);
    kr_graphics_DrawImage2(img, 60, 50, 90, 2, 2, 0);
    // Rotated by 90 degrees (screen y down): the bar stands upright, 4 wide
    // and 16 high around (65, 50), its first half below.
    device->Flush();
    EXPECT_TRUE(ColourNear(PixelAt(64, 55), 255, 0, 0));
    EXPECT_TRUE(ColourNear(PixelAt(64, 45), 0, 0, 255));
    EXPECT_TRUE(ColourNear(PixelAt(68, 50), 0, 0, 0));
    EXPECT_FLOAT_EQ(context()->m_tx, 5);
    EXPECT_FLOAT_EQ(context()->m_a, 1);
    EXPECT_EQ(context()->m_stackTop, 0);
}

TEST_F(ImageTest, MissingImagesAndFramesOutOfRangeDrawNothing) {
    std::string file = WriteImage("two.png", 8, 4, [](int, int) { return 0xFFFFFFFFu; });
    c_Image* img = Load(file, 2, 0);
    kr_graphics_DrawImage(nullptr, 0, 0, 0);
    kr_graphics_DrawImage(img, 0, 0, 2);
    kr_graphics_DrawImage(img, 0, 0, -1);
    kr_graphics_DrawImage2(img, 0, 0, 0, 1, 1, 5);
    device->Flush();
    EXPECT_EQ(recorder.draws.size(), 0u);
}

TEST_F(ImageTest, DefaultFontComesFromTheDataFolder) {
    ASSERT_EQ(::mkdir(dir.File("data").c_str(), 0700), 0);
    char* previous = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(dir.path().c_str()), 0);

    kr_graphics_SetFont(nullptr, 32);  // no font file yet
    EXPECT_EQ(context()->m_font, nullptr);
    EXPECT_EQ(context()->m_fontFirstCode, 32);

    WriteImage("data/fenx_font.png", 96 * 10, 12, [](int, int) { return 0xFFFFFFFFu; });
    kr_graphics_SetFont(nullptr, 0);
    ASSERT_EQ(chdir(previous), 0);
    std::free(previous);
    c_Image* font = context()->m_font;
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font, context()->m_baseFont);
    EXPECT_EQ(context()->m_fontFirstCode, 32);
    EXPECT_EQ(font->m_frames.Length(), 96);
    EXPECT_EQ(font->m_width, 8);
    EXPECT_EQ(font->m_frames[1]->m_x, 11);

    c_Image* other = Load(dir.File("data/fenx_font.png"), 1, 0);
    kr_graphics_SetFont(other, 65);
    EXPECT_EQ(context()->m_font, other);
    EXPECT_EQ(context()->m_fontFirstCode, 65);
    kr_graphics_SetFont(nullptr, 65);
    EXPECT_EQ(context()->m_font, font) << "the default font is loaded once";
}

}  // namespace
}  // namespace graphics_test
