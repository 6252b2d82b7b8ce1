#include "app/Module1.h"

namespace mitoon {

// On its own so that the start-up benchmark's bare window runs the very same wait.
long Module1::busyWait(long last)
{
    // volatile: the wait is a count of passes that the optimiser must not remove.
    volatile long i = 0;
    while (i <= last)
        i = i + 1;
    return i;
}

} // namespace mitoon
