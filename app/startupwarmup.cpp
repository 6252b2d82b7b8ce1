#include "app/startupwarmup.h"

#include <QImageReader>
#include <fontconfig/fontconfig.h>
#include <sched.h>

namespace mitoon {

StartupWarmUp::StartupWarmUp(std::function<void()> work, bool concurrently)
{
    if (!concurrently || !work)
        return;
    thread_ = std::thread(std::move(work));
    started_ = true;
}

StartupWarmUp::~StartupWarmUp()
{
    join();
}

void StartupWarmUp::join()
{
    if (thread_.joinable())
        thread_.join();
}

bool StartupWarmUp::worthwhile()
{
    cpu_set_t cpus;
    CPU_ZERO(&cpus);
    return sched_getaffinity(0, sizeof cpus, &cpus) == 0 && CPU_COUNT(&cpus) > 1;
}

void StartupWarmUp::loadFontConfiguration()
{
    FcInit();
}

void StartupWarmUp::loadImageFormats()
{
    QImageReader::supportedImageFormats();
}

} // namespace mitoon
