// SPDX-License-Identifier: GPL-3.0-or-later
#include "syncfailure.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#include <dlfcn.h>
#include <sys/stat.h>

namespace {

std::atomic<SyncFailure::Of> failing{SyncFailure::Everything};
std::atomic<bool> active{false};

bool fails(const char *name, int descriptor)
{
    if (!active)
        return false;
    struct stat status;
    switch (failing.load()) {
    case SyncFailure::Everything:
        return std::strcmp(name, "close") != 0;
    case SyncFailure::Folders:
        return std::strcmp(name, "fsync") == 0 && ::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode);
    case SyncFailure::FileSystems:
        return std::strcmp(name, "syncfs") == 0;
    case SyncFailure::Closes:
        return false;
    }
    return false;
}

int syncThrough(const char *name, int descriptor)
{
    if (fails(name, descriptor)) {
        errno = EIO;
        return -1;
    }
    using SyncCall = int (*)(int);
    const auto real = reinterpret_cast<SyncCall>(dlsym(RTLD_NEXT, name));
    if (!real) {
        errno = ENOSYS;
        return -1;
    }
    return real(descriptor);
}

} // namespace

extern "C" int fsync(int descriptor)
{
    return syncThrough("fsync", descriptor);
}

extern "C" int fdatasync(int descriptor)
{
    return syncThrough("fdatasync", descriptor);
}

extern "C" int syncfs(int descriptor)
{
    return syncThrough("syncfs", descriptor);
}

extern "C" int close(int descriptor)
{
    struct stat status;
    const bool fails = active && failing == SyncFailure::Closes && ::fstat(descriptor, &status) == 0
                       && S_ISREG(status.st_mode);
    using CloseCall = int (*)(int);
    static const auto real = reinterpret_cast<CloseCall>(dlsym(RTLD_NEXT, "close"));
    const int closed = real(descriptor);
    if (fails && closed == 0) {
        errno = EIO;
        return -1;
    }
    return closed;
}

SyncFailure::SyncFailure(Of what)
{
    failing = what;
    active = true;
}

SyncFailure::~SyncFailure()
{
    active = false;
}
