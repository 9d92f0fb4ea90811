// SPDX-License-Identifier: Zlib
// Opening a URL in the desktop's browser.
#include <string>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

bool kr_open_url(const std::string& url) {
    // Double fork, so the browser launcher never lingers as our zombie.
    pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        pid_t pid;
        const char* argv[] = {"xdg-open", url.c_str(), nullptr};
        int rc = posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char**>(argv), environ);
        _exit(rc == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
