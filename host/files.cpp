// File access of the host: opening by mapped path, whole-file reads, and the
// state file, which is replaced atomically so a failed save never loses it.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

#include "host/game.h"
#include "host/platform.h"

namespace {

const char* const kStateFile = "./.tandorstate";
const char* const kStateTemp = "./.tandorstate.tmp";

}  // namespace

std::FILE* KrGame::OpenFile(String path, String mode) {
    String file = PathToFilePath(path);
    if (file.Length() == 0) return nullptr;
    return kr_wfopen(file.Data(), file.Length(), mode.Data(), mode.Length());
}

String KrGame::LoadString(String path) {
    std::FILE* f = OpenFile(path, String("rb"));
    if (!f) return String();
    String text = String::Load(f);
    std::fclose(f);
    return text;
}

unsigned char* KrGame::LoadData(String path, int* length) {
    std::FILE* f = OpenFile(path, String("rb"));
    if (!f) return nullptr;
    size_t size = 0, capacity = 65536;
    auto* data = static_cast<unsigned char*>(std::malloc(capacity));
    for (;;) {
        size_t got = data ? std::fread(data + size, 1, capacity - size, f) : 0;
        size += got;
        if (!data || size < capacity) break;
        capacity *= 2;
        auto* grown = static_cast<unsigned char*>(std::realloc(data, capacity));
        if (!grown) {
            std::free(data);
            data = nullptr;
        } else {
            data = grown;
        }
    }
    std::fclose(f);
    if (data && length) *length = static_cast<int>(size);
    return data;
}

// Writes the state to a temporary file beside the state file, makes it
// durable, then renames it over the old one: on any failure the old file is
// left as it was. Returns 0, -1 (cannot create) or -2 (not every byte written).
int KrGame::SaveState(String state) {
    // A temporary file left by an interrupted save may be read-only.
    std::remove(kStateTemp);
    std::FILE* f = OpenFile(String(kStateTemp), String("wb"));
    if (!f) return -1;
    bool written = state.Save(f);
    written = std::fflush(f) == 0 && written;
    written = fsync(fileno(f)) == 0 && written;
    std::fclose(f);
    if (!written) {
        std::remove(kStateTemp);
        return -2;
    }
    if (std::rename(kStateTemp, kStateFile) != 0) {
        std::remove(kStateTemp);
        return -2;
    }
    return 0;
}

String KrGame::LoadState() {
    std::FILE* f = OpenFile(String(kStateFile), String("rb"));
    if (!f) return String();
    String state = String::Load(f);
    std::fclose(f);
    return state;
}
