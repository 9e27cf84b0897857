// Runs a program with its launch time (CLOCK_MONOTONIC, ns) in QBENCH_T0, so the
// shim inside it can tell how long it took to the first frame.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s program [arguments]\n", argv[0]);
        return 2;
    }
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    char t0[32];
    snprintf(t0, sizeof(t0), "%lld", (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec);
    setenv("QBENCH_T0", t0, 1);
    execvp(argv[1], argv + 1);
    perror(argv[1]);
    return 127;
}
