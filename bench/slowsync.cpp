// A slow disk for the benchmarks: preloaded into a program, it makes every
// fsync and fdatasync take VELMORA_SYNC_DELAY_MS milliseconds longer (none when
// unset), as on a rotating laptop disk (about 20), an SD card, a USB stick or a
// network home folder (100 and more). The sync itself still runs afterwards.
//
//   export VELMORA_SYNC_DELAY_MS=100
//   LD_PRELOAD=$PWD/build/bench/libvelmora_slowsync.so build/bench/bench_job
#include <dlfcn.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

namespace {

using SyncCall = int (*)(int);

long delayMs()
{
    static const long ms = [] {
        const char *text = std::getenv("VELMORA_SYNC_DELAY_MS");
        return text ? std::strtol(text, nullptr, 10) : 0L;
    }();
    return ms;
}

void waitDelay()
{
    const long ms = delayMs();
    if (ms <= 0)
        return;
    timespec left{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

int slowSync(const char *name, int fd)
{
    const int saved = errno;
    waitDelay();
    errno = saved;
    static_assert(sizeof(void *) == sizeof(SyncCall));
    const auto next = reinterpret_cast<SyncCall>(dlsym(RTLD_NEXT, name));
    if (!next) {
        errno = ENOSYS;
        return -1;
    }
    return next(fd);
}

} // namespace

extern "C" int fsync(int fd)
{
    return slowSync("fsync", fd);
}

extern "C" int fdatasync(int fd)
{
    return slowSync("fdatasync", fd);
}
