// The soak test: random play through the bare host for SOAK_SECONDS (default
// 8) or SOAK_MINUTES, from the seed SOAK_SEED (default: from the clock, and
// printed), in a build with the address and undefined-behaviour sanitizers.
// Prints the updates run, the games played and the peak resident size at the
// start and the end; exits 1 on a broken invariant. A sanitizer report ends
// the process by itself.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "tests/soak/soak_driver.h"

// Sanitizer settings unless the environment gives others: every report ends
// the run with its stack, and freed memory waits in a small quarantine so
// that the peak resident size shows the game's own memory.
extern "C" const char* __asan_default_options() {
    return "halt_on_error=1:handle_abort=1:detect_leaks=1:quarantine_size_mb=16";
}
extern "C" const char* __ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }

namespace {

double EnvNumber(const char* name, double fallback) {
    const char* v = std::getenv(name);
    if (!v || !*v) return fallback;
    char* end = nullptr;
    double d = std::strtod(v, &end);
    return end != v && d >= 0 ? d : fallback;
}

long PeakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main() {
    double seconds = EnvNumber("SOAK_SECONDS", 8);
    if (std::getenv("SOAK_MINUTES")) seconds = 60 * EnvNumber("SOAK_MINUTES", 30);
    auto seed = static_cast<std::uint64_t>(EnvNumber("SOAK_SEED", static_cast<double>(std::time(nullptr))));
    std::printf("soak: seed %llu, %.0f s\n", static_cast<unsigned long long>(seed), seconds);
    std::fflush(stdout);

    SoakDriver driver(seed);
    driver.Start();
    long rssStart = PeakRssKiB();

    using Clock = std::chrono::steady_clock;
    auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (driver.Stats().violationCount == 0) {
        for (int i = 0; i < 100 && driver.Stats().violationCount == 0; ++i) driver.Step();
        if (Clock::now() >= end) break;
    }

    const SoakStats& s = driver.Stats();
    std::printf("soak: %lld updates, %lld games, %lld suspensions, %lld resizes\n", s.updates, s.games,
                s.suspensions, s.resizes);
    std::printf("soak: peak RSS %ld KiB at start, %ld KiB at end\n", rssStart, PeakRssKiB());
    for (const std::string& v : s.violations) std::printf("soak: broken: %s\n", v.c_str());
    if (s.violationCount > 0) {
        std::printf("soak: %lld broken invariants (seed %llu)\n", s.violationCount,
                    static_cast<unsigned long long>(seed));
        return 1;
    }
    return 0;
}
