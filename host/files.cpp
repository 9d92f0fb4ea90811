// SPDX-License-Identifier: Zlib
// File access of every host: the data-path mapping, UTF-16 paths, opening by
// mapped path, whole-file reads, and the state file, which is replaced
// atomically so a failed save never loses it.
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "host/folders.h"
#include "host/game.h"

namespace {

// --- Helpers of the state save ---

// Links followed before a chain counts as a loop, as the system counts them.
const int kMaxLinks = 40;

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a save has to reach: the path itself or, when it is a symbolic
// link, the file the link names (through any further links), which need
// not exist yet. A link that names itself in a loop is returned unresolved;
// opening it then fails.
std::string FollowLinks(std::string path) {
    for (int i = 0; i < kMaxLinks; ++i) {
        char target[PATH_MAX];
        ssize_t length = readlink(path.c_str(), target, sizeof target);
        if (length <= 0 || length == static_cast<ssize_t>(sizeof target)) return path;
        std::string next(target, static_cast<std::size_t>(length));
        path = next[0] == '/' ? next : FolderOf(path) + "/" + next;
    }
    return path;
}

// Writes the whole state and makes it durable; closes the file.
bool WriteDurably(std::FILE* f, const String& state) {
    bool written = state.Save(f);
    written = std::fflush(f) == 0 && written;
    written = fsync(fileno(f)) == 0 && written;
    return std::fclose(f) == 0 && written;
}

// The rename is only durable once the folder that holds the names is.
void SyncFolder(const std::string& folder) {
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// The plain write, for a folder where no new file can be made: the file is
// rewritten where it is, so a save cut short loses what it held.
int SaveInPlace(const std::string& path, const String& state) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return -1;
    return WriteDurably(f, state) ? 0 : -2;
}

}  // namespace

// --- The data-path mapping ---

namespace {

struct PathRoot {
    const char* scheme;
    const char* folder;
};

constexpr PathRoot kPathRoots[] = {
    {"tandor://internal/", "./internal/"},
    {"tandor://external/", "./external/"},
};

}  // namespace

// Data paths lead into the data folder (./data/ unless the command line
// named another, host/folders.h). Any other "tandor:" path names no file:
// the empty result fails to open.
String KrMapDataPath(String path) {
    const String data("tandor://data/");
    if (path.StartsWith(data)) {
        const std::string folder = KrDataFolderPrefix();
        return String::Load(reinterpret_cast<const unsigned char*>(folder.data()), static_cast<int>(folder.size())) +
               path.Slice(data.Length());
    }
    for (const PathRoot& root : kPathRoots) {
        String scheme(root.scheme);
        if (path.StartsWith(scheme)) return String(root.folder) + path.Slice(scheme.Length());
    }
    if (path.StartsWith(String("tandor:"))) return String();
    return path;
}

// --- UTF-16 paths and opening them ---

std::string kr_utf16_to_utf8(const char16_t* text, int length) {
    std::string out;
    out.reserve(length);
    for (int i = 0; i < length; ++i) {
        unsigned c = text[i];
        if (c >= 0xd800 && c <= 0xdbff && i + 1 < length && text[i + 1] >= 0xdc00 && text[i + 1] <= 0xdfff) {
            c = 0x10000 + ((c - 0xd800) << 10) + (text[i + 1] - 0xdc00);
            ++i;
        } else if (c >= 0xd800 && c <= 0xdfff) {
            c = 0xfffd;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xc0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3f));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xe0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (c & 0x3f));
        } else {
            out += static_cast<char>(0xf0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (c & 0x3f));
        }
    }
    return out;
}

std::FILE* kr_wfopen(const char16_t* path, int pathLength, const char16_t* mode, int modeLength) {
    std::string p = kr_utf16_to_utf8(path, pathLength);
    std::string m = kr_utf16_to_utf8(mode, modeLength);
    // An embedded zero would silently open a different, shorter path.
    if (p.empty() || p.find('\0') != std::string::npos) return nullptr;
    return std::fopen(p.c_str(), m.c_str());
}

// --- Opening and reading whole files ---

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

// --- The state file ---

// Writes the state to a temporary file beside the file it replaces, makes
// it durable, then renames it over the old one: on any failure the old file
// is left as it was. A state file that is a symbolic link is saved through
// to the file it names, and the link stays. Where no temporary file can be
// made (a read-only folder holding a writable state file) the file is
// rewritten in place. The player's folder is made on the first save.
// Returns 0, -1 (the state file cannot be opened for writing) or -2 (not
// every byte was written).
int KrGame::WriteState(String state) {
    const std::string target = FollowLinks(KrStateFilePath());
    if (!KrMakeFolderFor(target)) return -1;
    // Whatever the plain write could not open (a folder, a read-only file)
    // is refused before anything is written.
    struct stat existing {};
    bool exists = false;
    int probe = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (probe >= 0) {
        exists = fstat(probe, &existing) == 0;
        close(probe);
    } else if (errno != ENOENT) {
        return -1;
    }

    const std::string temp = target + ".tmp";
    // A temporary file left by an interrupted save may be read-only.
    std::remove(temp.c_str());
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return SaveInPlace(target, state);
    // The new file keeps the permissions of the one it replaces.
    if (exists) fchmod(fd, existing.st_mode & 07777);
    std::FILE* f = fdopen(fd, "wb");
    if (!f) {
        close(fd);
        std::remove(temp.c_str());
        return -2;
    }
    if (!WriteDurably(f, state) || std::rename(temp.c_str(), target.c_str()) != 0) {
        std::remove(temp.c_str());
        return -2;
    }
    SyncFolder(FolderOf(target));
    return 0;
}

// Opened by its own name, not through the data-path mapping: the player's
// folder may be named in UTF-8 that a String would not carry as bytes.
String KrGame::ReadState() {
    std::FILE* f = std::fopen(KrStateFilePath().c_str(), "rb");
    if (!f) return String();
    String state = String::Load(f);
    std::fclose(f);
    return state;
}
