// The start-up's busy wait alone, so the start-up benchmark can report its share.
#include "app/Module1.h"

#include <chrono>
#include <cstdio>

int main()
{
    const auto start = std::chrono::steady_clock::now();
    mitoon::Module1::busyWait();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::printf("busy_wait_ms=%.3f\n", took.count());
    return 0;
}
