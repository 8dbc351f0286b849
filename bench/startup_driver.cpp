// Starts a program RUNS times, each time putting the launch instant into
// QUELVO_BENCH_T0_NS, and collects the "shown ms" line the program prints
// (startup_probe.h). Prints every run and the median.
//
// usage: startup-driver RUNS PROGRAM [ARGS...]

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

extern char** environ;

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: startup-driver RUNS PROGRAM [ARGS...]\n", stderr);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    std::vector<double> shown;
    for (int run = 0; run < runs; ++run) {
        int out[2];
        if (pipe(out) != 0)
            return 1;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);

        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const std::string t0 = std::to_string(static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        setenv("QUELVO_BENCH_T0_NS", t0.c_str(), 1);
        pid_t child = 0;
        if (posix_spawn(&child, argv[2], &actions, nullptr, argv + 2, environ) != 0) {
            std::perror("posix_spawn");
            return 1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        std::string text;
        char buffer[256];
        for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<std::size_t>(n));
        close(out[0]);
        int status = 0;
        waitpid(child, &status, 0);
        const auto at = text.find("shown ms: ");
        if (at == std::string::npos || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "startup-driver: run %d gave no figure (status %d): %s\n", run, status, text.c_str());
            return 1;
        }
        shown.push_back(std::atof(text.c_str() + at + 10));
        std::printf("run %d: %.3f\n", run, shown.back());
    }
    std::sort(shown.begin(), shown.end());
    std::printf("median ms: %.3f\n", shown[shown.size() / 2]);
    std::printf("min ms: %.3f\n", shown.front());
    return 0;
}
