// SPDX-License-Identifier: Zlib
#include "host/replay/recorder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

using K = KrRecordKind;

// Bytes gathered before they go to the file.
constexpr std::size_t kFlushBytes = 1 << 16;

KrSessionRecorder* recordingToFile = nullptr;

void FinishAtExit() {
    if (recordingToFile) recordingToFile->Finish();
}

// The tap's calls are the record kinds of the same names.
K KindOf(KrSessionTap::Call call) {
    switch (call) {
        case KrSessionTap::Start: return K::Start;
        case KrSessionTap::Suspend: return K::Suspend;
        case KrSessionTap::Resume: return K::Resume;
        case KrSessionTap::Update: return K::Update;
        case KrSessionTap::Render: return K::Render;
        case KrSessionTap::Key: return K::Key;
        case KrSessionTap::Mouse: return K::Mouse;
        case KrSessionTap::Touch: return K::Touch;
        case KrSessionTap::Motion: return K::Motion;
        case KrSessionTap::DiscardGraphics: return K::DiscardGraphics;
        case KrSessionTap::WindowBegin: return K::WindowBegin;
        case KrSessionTap::WindowEnd: return K::WindowEnd;
    }
    return K::Update;
}

float Element(const Array<float>& pair, int i) { return i < pair.Length() ? pair[i] : 0; }

}  // namespace

KrSessionRecorder* KrSessionRecorder::ToFile(const std::string& path, KrDescribeState describe,
                                             std::string* error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        *error = std::strerror(errno);
        return nullptr;
    }
    recordingToFile = new KrSessionRecorder(file, path, describe, 0);
    std::atexit(FinishAtExit);
    return recordingToFile;
}

KrSessionRecorder* KrSessionRecorder::InMemory(std::size_t maxBytes) {
    return new KrSessionRecorder(nullptr, std::string(), nullptr, maxBytes);
}

void KrSessionRecorder::Attach(KrGame* host) { host->SetSessionTap(this); }

void KrSessionRecorder::Write(const KrRecord& record) {
    if (finished_) return;
    encoder_.Add(record);
    Written();
}

void KrSessionRecorder::Written() {
    if (file_) {
        if (encoder_.Pending().size() >= kFlushBytes) Flush();
    } else if (maxBytes_ && encoder_.Pending().size() >= maxBytes_) {
        finished_ = true;
        encoder_.Finish();
    }
}

void KrSessionRecorder::Flush() {
    std::vector<std::uint8_t> bytes = encoder_.Drain();
    if (file_ && !bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        writeFailed_ = true;
}

std::vector<std::uint8_t> KrSessionRecorder::Snapshot() const {
    if (finished_) return encoder_.Pending();
    KrReplayEncoder ended = encoder_;
    ended.Finish();
    return ended.Pending();
}

void KrSessionRecorder::Finish() {
    if (finished_ || !file_) return;
    finished_ = true;
    encoder_.Finish();
    Flush();
    if (std::fclose(file_) != 0) writeFailed_ = true;
    file_ = nullptr;
    if (writeFailed_) std::printf("The recording %s could not be written completely\n", path_.c_str());
    else
        std::printf("Recorded %lld updates to %s: %s\n", updates_, path_.c_str(),
                    describe_ ? describe_().c_str() : "");
    std::fflush(stdout);
}

void KrSessionRecorder::Called(Call call, int a, int b, int c, float x, float y, float z) {
    if (call == Update && !finished_) ++updates_;
    Write(KrRecord{KindOf(call), a, b, c, x, y, z});
}

void KrSessionRecorder::Clock(int millisecs) { Write(KrRecord{K::Clock, millisecs}); }

// What is noted is what the game's arrays hold after the poll, all of it:
// an absent joystick or missing buttons leave earlier values in place, and
// a replay reproduces the arrays either way.
void KrSessionRecorder::Joystick(int port, bool present, const Array<float>& axesX, const Array<float>& axesY,
                                 const Array<float>& axesZ, const Array<bool>& buttons) {
    if (finished_) return;
    KrJoyReading reading;
    const Array<float>* pairs[3] = {&axesX, &axesY, &axesZ};
    for (int p = 0; p < 3; ++p)
        for (int i = 0; i < 2; ++i) reading.axes[2 * p + i] = Element(*pairs[p], i);
    for (int i = 0; i < 32 && i < buttons.Length(); ++i)
        if (buttons[i]) reading.buttons |= 1u << i;
    encoder_.AddJoystick(port, present, reading);
    Written();
}

void KrSessionRecorder::StateLoaded(const String& state) {
    if (finished_) return;
    encoder_.AddLoadState(std::u16string(state.Data(), state.Length()));
    Written();
}

void KrSessionRecorder::StateSaved(int result) { Write(KrRecord{K::SaveState, result}); }

void KrSessionRecorder::Date(const Array<int>& date) {
    if (finished_) return;
    std::vector<int> values;
    for (int i = 0; i < date.Length() && i < kReplayMaxDateFields; ++i) values.push_back(date[i]);
    encoder_.AddDate(values);
    Written();
}

void KrSessionRecorder::Trait(int trait, bool value) { Write(KrRecord{K::Trait, trait, value ? 1 : 0}); }
