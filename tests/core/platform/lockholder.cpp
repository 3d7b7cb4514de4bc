// test_lock_holder NAME: takes the single-instance lock NAME, prints "locked" (or "busy" and
// exits 1 when another process holds it) and then waits until it is killed or its standard
// input closes.
#include "core/platform/singleinstance.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: test_lock_holder NAME\n");
        return 2;
    }
    qz::SingleInstance instance;
    if (!instance.acquire(QString::fromLocal8Bit(argv[1]))) {
        std::printf("busy\n");
        return 1;
    }
    std::printf("locked\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}
