// The audio device with other OpenAL Soft backends, each in a child process:
// the wave-file backend shows that played sound really reaches the output
// (and where), and a backend that does not exist shows the device carrying
// on silently without OpenAL.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/audio/sound_files.h"
#include "tests/support/process.h"

using namespace soundfiles;
using testsupport::RunProcess;
using testsupport::TestAppPath;

namespace {

// Stereo output read back from the wave backend's file.
struct StereoOutput {
    int rate = 0;
    std::vector<float> left, right;
};

std::uint32_t LE(const Bytes& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint32_t>(b[at + i]) << (8 * i);
    return v;
}

// Reads a stereo WAV of 32-bit float or 16-bit integer samples.
bool ReadStereoOutput(const std::string& path, StereoOutput* out) {
    std::ifstream in(path, std::ios::binary);
    Bytes b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF") return false;
    int channels = 0, bits = 0;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        std::string tag(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
        std::size_t size = LE(b, at + 4, 4);
        std::size_t body = at + 8;
        if (tag == "fmt ") {
            channels = static_cast<int>(LE(b, body + 2, 2));
            out->rate = static_cast<int>(LE(b, body + 4, 4));
            bits = static_cast<int>(LE(b, body + 14, 2));
        } else if (tag == "data") {
            if (channels != 2 || (bits != 32 && bits != 16)) return false;
            std::size_t frameBytes = 2 * bits / 8;
            std::size_t end = std::min(b.size(), body + size);
            for (std::size_t f = body; f + frameBytes <= end; f += frameBytes) {
                for (int c = 0; c < 2; ++c) {
                    std::size_t s = f + c * bits / 8;
                    float v;
                    if (bits == 32) {
                        std::uint32_t u = LE(b, s, 4);
                        std::memcpy(&v, &u, 4);
                    } else {
                        v = static_cast<std::int16_t>(LE(b, s, 2)) / 32768.0f;
                    }
                    (c == 0 ? out->left : out->right).push_back(v);
                }
            }
            return true;
        }
        at = body + size;
    }
    return false;
}

// A stretch of 10 ms windows that all sound, or all are silent.
struct Stretch {
    bool sounding;
    int windows;
    double leftRms = 0, rightRms = 0;
};

std::vector<Stretch> SplitIntoStretches(const StereoOutput& out) {
    const std::size_t window = static_cast<std::size_t>(out.rate / 100);
    std::vector<Stretch> runs;
    for (std::size_t at = 0; at + window <= out.left.size(); at += window) {
        double l = 0, r = 0;
        for (std::size_t i = at; i < at + window; ++i) {
            l += out.left[i] * out.left[i];
            r += out.right[i] * out.right[i];
        }
        l = std::sqrt(l / window);
        r = std::sqrt(r / window);
        bool sounding = std::max(l, r) > 0.01;
        if (runs.empty() || runs.back().sounding != sounding) runs.push_back({sounding, 0});
        Stretch& run = runs.back();
        run.leftRms += l;
        run.rightRms += r;
        ++run.windows;
    }
    for (Stretch& run : runs) {
        run.leftRms /= run.windows;
        run.rightRms /= run.windows;
    }
    return runs;
}

// A unique name in /tmp for a file some other program writes: an empty
// reserved file is kept beside it while the object lives, so no other run
// can pick the same name. Both are removed with the object.
class TempPath {
public:
    explicit TempPath(const std::string& suffix) : reserve_({}, suffix), path_(reserve_.path() + suffix) {}
    ~TempPath() { unlink(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    TempFile reserve_;
    std::string path_;
};

}  // namespace

TEST(WaveBackend, PlayedSoundReachesTheOutputAndPanMovesItRight) {
    TempPath output(".wav");
    std::string conf =
        "channels = stereo\nsample-type = float32\nfrequency = 44100\nhrtf = false\n"
        "[wave]\nfile = " + output.path() + "\n";
    TempFile confFile(Bytes(conf.begin(), conf.end()), ".conf");

    auto result = RunProcess({TestAppPath("audio_backend_probe"), "play"},
                             {.env = {{"ALSOFT_DRIVERS", "wave"}, {"ALSOFT_CONF", confFile.path()}}});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_EQ(result.out.find("OpenAl error"), std::string::npos) << result.out;

    StereoOutput out;
    ASSERT_TRUE(ReadStereoOutput(output.path(), &out)) << "no readable output in " << output.path();
    std::vector<Stretch> runs = SplitIntoStretches(out);
    std::vector<Stretch> sounds;
    for (const Stretch& run : runs) {
        if (run.sounding) sounds.push_back(run);
    }
    // Played 0.5 s centred, 0.5 s of silence after the stop, 0.5 s panned
    // right, silence after the second stop.
    ASSERT_EQ(sounds.size(), 2u) << runs.size() << " runs";
    for (const Stretch& s : sounds) {
        EXPECT_GT(s.windows, 30) << "too short";
        EXPECT_LT(s.windows, 80) << "kept sounding after StopChannel";
    }
    EXPECT_NEAR(sounds[0].leftRms / sounds[0].rightRms, 1.0, 0.2) << "centred";
    EXPECT_GT(sounds[1].rightRms, 4 * sounds[1].leftRms) << "panned right";
    ASSERT_FALSE(runs.back().sounding);
    EXPECT_GT(runs.back().windows, 30) << "silence after the last stop";
}

TEST(NoAudioDevice, ReportsOnceAndEveryCallIsHarmless) {
    auto result = RunProcess({TestAppPath("audio_backend_probe"), "nodevice"},
                             {.env = {{"ALSOFT_DRIVERS", "vornhelm-no-such-backend"}}});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_EQ(result.out,
              "OpenAl error: alcOpenDevice failed\n"
              "loaded=1 buffer=0 state=0 music=0 missing=-1 musicState=0 reloaded=1\n");
}
