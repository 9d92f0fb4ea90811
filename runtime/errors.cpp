// SPDX-License-Identifier: Zlib
#include "runtime/errors.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const char* dbg_info = nullptr;

namespace {

// Output buffers reused from call to call.
std::vector<unsigned char> print_buffer;
std::vector<unsigned char> dbg_buffer;

void write_line(std::FILE* out, const std::vector<unsigned char>& bytes) {
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fputc('\n', out);
    std::fflush(out);
}

// Reads a pointer written with "%p" after the command letter and answers
// with the object's debug text, but only for objects the collector knows:
// the address comes from outside and may be stale or made up. Collected
// blocks that are not Objects (array storage) have no debug text.
void answer_inspect(const char* rest) {
    void* p = nullptr;
    Object* obj = nullptr;
    if (std::sscanf(rest, "%p", &p) == 1 && gc_is_live_object(p)) {
        obj = dynamic_cast<Object*>(static_cast<gc_object*>(p));
    }
    dbg_print(obj ? obj->debug() : String());
}

}  // namespace

int krPrint(String s) {
    print_buffer.clear();
    s.Save(print_buffer);
    write_line(stdout, print_buffer);
    return 0;
}

int krDebugLog(String s) { return krPrint(s); }

int krError(String s) {
    if (s.Length() == 0) std::exit(0);
    String::CString<char> text(s);
    dbg_error(text);
}

String dbg_stacktrace() {
    if (!dbg_info || !*dbg_info) return String();
    return String(dbg_info) + String("\n");
}

void dbg_print(String s) {
    dbg_buffer.clear();
    for (int i = 0; i < s.Length(); ++i) dbg_buffer.push_back(static_cast<unsigned char>(s[i] & 0xff));
    write_line(stderr, dbg_buffer);
}

void dbg_stop() {
    std::fprintf(stderr, "{{~~%s~~}}\n", dbg_info ? dbg_info : "");
    dbg_print(String());
    for (;;) {
        char line[256];
        if (!std::fgets(line, sizeof line, stdin)) std::exit(-1);
        char* eol = std::strchr(line, '\n');
        if (!eol) std::exit(-1);
        *eol = 0;
        switch (line[0]) {
            case '?':
                break;
            case '@':
                answer_inspect(line + 1);
                break;
            case 'r':
            case 's':
            case 'e':
            case 'l':
                return;
            case 'q':
                std::exit(0);
            default:
                std::printf("????? %s ?????", line);
                std::fflush(stdout);
                std::exit(-1);
        }
    }
}

void dbg_error(const char* err) {
    for (;;) {
        krPrint(String("Tandor Runtime Error : ") + String(err));
        krPrint(dbg_stacktrace());
        dbg_stop();
    }
}

const char* dbg_signal_message(int sig) {
    switch (sig) {
        case SIGFPE: return "Floating point exception";
        case SIGSEGV: return "Memory access violation";
        case SIGILL: return "Illegal instruction";
        default: return "Unknown signal";
    }
}

void sighandler(int sig) { dbg_error(dbg_signal_message(sig)); }
