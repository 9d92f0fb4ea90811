// Decoding image files for surfaces: the file's own channel count, and no
// result and no message for files that cannot be read.
#include <cstdlib>

#include "tests/graphics/image_files.h"

namespace graphics_test {
namespace {

struct Decoded {
    unsigned char* data = nullptr;
    int width = -1, height = -1, bytesPerPixel = -1;
    ~Decoded() { std::free(data); }
};

void Decode(const std::string& file, Decoded* out) {
    out->data =
        Host().LoadImageData(String(file.c_str()), &out->width, &out->height, &out->bytesPerPixel);
}

class ImageDecodeTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(ImageDecodeTest, KeepsTheFilesOwnChannelCount) {
    auto value = [](int x, int y, int c) { return (x * 40 + y * 7 + c * 60) % 256; };
    const struct {
        const char* name;
        int channels;
    } pngs[] = {{"grey.png", 1}, {"grey_alpha.png", 2}, {"rgb.png", 3}, {"rgba.png", 4}};
    for (const auto& png : pngs) {
        auto pixels = MakePixels(5, 3, png.channels, value);
        WritePng(dir.File(png.name), 5, 3, png.channels, pixels);
        Decoded d;
        Decode(dir.File(png.name), &d);
        ASSERT_NE(d.data, nullptr) << png.name;
        EXPECT_EQ(d.width, 5);
        EXPECT_EQ(d.height, 3);
        EXPECT_EQ(d.bytesPerPixel, png.channels) << png.name;
        // PNG is lossless and nothing is premultiplied here.
        EXPECT_EQ(std::vector<unsigned char>(d.data, d.data + pixels.size()), pixels) << png.name;
    }
}

TEST_F(ImageDecodeTest, RgbJpegGivesThreeBytesPerPixel) {
    auto rgb =
        MakePixels(16, 8, 3, [](int x, int, int c) { return c == 0 ? 200 : (x < 8 ? 40 : 90); });
    WriteJpeg(dir.File("photo.jpg"), 16, 8, rgb);
    Decoded d;
    Decode(dir.File("photo.jpg"), &d);
    ASSERT_NE(d.data, nullptr);
    EXPECT_EQ(d.width, 16);
    EXPECT_EQ(d.height, 8);
    EXPECT_EQ(d.bytesPerPixel, 3);
    EXPECT_NEAR(d.data[0], 200, 12);
    EXPECT_NEAR(d.data[1], 40, 12);
}

TEST_F(ImageDecodeTest, TheContentsDecideNotTheName) {
    auto rgba = MakePixels(2, 2, 4, [](int, int, int c) { return 50 + c; });
    WritePng(dir.File("really_a_png.jpg"), 2, 2, 4, rgba);
    Decoded d;
    Decode(dir.File("really_a_png.jpg"), &d);
    ASSERT_NE(d.data, nullptr);
    EXPECT_EQ(d.bytesPerPixel, 4);
}

TEST_F(ImageDecodeTest, UnreadableFilesGiveNothingAndSayNothing) {
    auto rgba = MakePixels(32, 32, 4, [](int x, int y, int c) { return x * y + c; });
    WritePng(dir.File("good.png"), 32, 32, 4, rgba);
    std::string good = ReadBytes(dir.File("good.png"));
    ASSERT_GT(good.size(), 100u);
    WriteBytes(dir.File("truncated.png"), good.substr(0, good.size() / 2));
    std::string corrupt = good;
    for (size_t i = 40; i < corrupt.size(); i += 3)
        corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5A);
    WriteBytes(dir.File("corrupt.png"), corrupt);
    WriteBytes(dir.File("empty.png"), "");
    WriteBytes(dir.File("text.png"), "this is not an image at all\n");
    ::mkdir(dir.File("folder.png").c_str(), 0700);

    for (const char* name :
         {"missing.png", "truncated.png", "corrupt.png", "empty.png", "text.png", "folder.png"}) {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        Decoded d;
        Decode(dir.File(name), &d);
        std::string out = testing::internal::GetCapturedStdout();
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(d.data, nullptr) << name;
        EXPECT_EQ(out, "") << name;
        EXPECT_EQ(err, "") << name;
    }
}

TEST_F(ImageDecodeTest, DataFolderPathsAreMappedByTheHost) {
    ASSERT_EQ(::mkdir(dir.File("data").c_str(), 0700), 0);
    auto grey = MakePixels(3, 1, 1, [](int x, int, int) { return x * 100; });
    WritePng(dir.File("data/pic.png"), 3, 1, 1, grey);
    char* previous = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    Decoded d;
    Decode("tandor://data/pic.png", &d);
    Decoded wrongScheme;
    Decode("tandor://elsewhere/pic.png", &wrongScheme);
    ASSERT_EQ(chdir(previous), 0);
    std::free(previous);
    ASSERT_NE(d.data, nullptr);
    EXPECT_EQ(d.bytesPerPixel, 1);
    EXPECT_EQ(d.data[2], 200);
    EXPECT_EQ(wrongScheme.data, nullptr);
}

}  // namespace
}  // namespace graphics_test
