// SPDX-License-Identifier: Zlib
// Screenshots on a real window under Xvfb: the PNG written as a frame is
// presented holds exactly the pixels the device reads back from that frame;
// the names tell the time and never replace an earlier file.
#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <unistd.h>

#include <filesystem>

#include "graphics/renderer.h"
#include "host/desktop/glfw_game.h"
#include "host/desktop/screenshot.h"
#include "host/glfw2/glfw2.h"
#include "tests/support/display.h"

namespace {

namespace fs = std::filesystem;

// An odd size: rows of RGB bytes that are not a multiple of 4 long.
constexpr int kW = 163, kH = 97;

// A frame with a colour in two corners, so that a flip or a shift shows.
void DrawFrame(gxtkGraphics* device, int shade) {
    device->BeginRender();
    device->Cls(10, 20, shade), device->SetAlpha(1);
    device->SetColor(255, 0, 0), device->DrawRect(0, 0, 7, 5);
    device->SetColor(255, 255, 0), device->DrawRect(kW - 1, kH - 1, 1, 1);
    device->Flush();
}

// Pixels of a PNG as 0xRRGGBB.
std::vector<int> PngPixels(const std::string& path, int* w, int* h) {
    int n = 0;
    unsigned char* data = stbi_load(path.c_str(), w, h, &n, 3);
    std::vector<int> pixels;
    if (!data) return pixels;
    for (int i = 0; i < *w * *h; ++i) pixels.push_back(data[3 * i] << 16 | data[3 * i + 1] << 8 | data[3 * i + 2]);
    stbi_image_free(data);
    return pixels;
}

// The desktop host, counting the frames it presents.
struct CountingHost : KrGlfwGame {
    int presents = 0;
    void SwapBuffers() override { ++presents, KrGlfwGame::SwapBuffers(); }
};

class Screenshots : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::EnsureDisplay();
        ASSERT_EQ(glfw2::glfwInit(), 1);
        KrWindowRequest request;
        request.width = kW, request.height = kH, request.resizable = false;
        host.OpenWindow(request);
        device = new gxtkGraphics;
        char name[] = "/tmp/vornhelm_shots_XXXXXX";
        ASSERT_TRUE(mkdtemp(name) && getcwd(home, sizeof home));
        ASSERT_EQ(chdir(dir.assign(name).c_str()), 0);
    }
    void TearDown() override {
        glfw2::glfwCloseWindow();
        EXPECT_EQ(chdir(home), 0);
        fs::remove_all(dir);
    }
    CountingHost host;
    gxtkGraphics* device = nullptr;
    std::string dir;
    char home[4096];
};

TEST_F(Screenshots, ThePngHoldsThePixelsOfThePresentedFrame) {
    DrawFrame(device, 77);
    Array<int> expected(kW * kH);
    device->ReadPixels(expected, 0, 0, kW, kH, 0, kW);
    host.CaptureNextFrame("frame.png");
    EXPECT_TRUE(host.CapturePending());
    testing::internal::CaptureStdout();
    device->EndRender();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Screenshot saved as frame.png\n");
    EXPECT_TRUE(!host.CapturePending() && host.LastCaptureSaved());
    EXPECT_EQ(host.presents, 1) << "the captured frame is presented too";

    int w = 0, h = 0;
    std::vector<int> png = PngPixels("frame.png", &w, &h);
    ASSERT_EQ(std::make_pair(w, h), std::make_pair(kW, kH));
    int differing = 0;
    for (int i = 0; i < kW * kH; ++i) differing += png[i] != (expected[i] & 0xffffff);
    EXPECT_EQ(differing, 0);
    EXPECT_TRUE(png[0] == 0xff0000 && png[kH * kW - 1] == 0xffff00);

    // The next frame is presented without a capture.
    DrawFrame(device, 78);
    device->EndRender();
    EXPECT_EQ(host.presents, 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << "frame.png only";

    // A file that cannot be written says so, on one line.
    DrawFrame(device, 79);
    host.CaptureNextFrame("no/such/folder/x.png");
    testing::internal::CaptureStdout();
    device->EndRender();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Screenshot could not be saved as no/such/folder/x.png\n");
    EXPECT_FALSE(host.LastCaptureSaved());
}

TEST_F(Screenshots, NamesTellTheTimeAndNeverReplaceAFile) {
    std::tm t{.tm_sec = 9, .tm_min = 5, .tm_hour = 7, .tm_mday = 29, .tm_mon = 1, .tm_year = 124, .tm_isdst = -1};
    std::time_t when = std::mktime(&t);
    EXPECT_EQ(KrScreenshotName(when), "vornhelm-20240229-070509.png");
    for (const char* next : {"-2", "-3"}) {
        std::fclose(std::fopen(KrScreenshotName(when).c_str(), "w"));
        EXPECT_EQ(KrScreenshotName(when), std::string("vornhelm-20240229-070509") + next + ".png");
    }
}

}  // namespace
