// SPDX-License-Identifier: GPL-3.0-or-later
#include "syncfailure.h"

#include <atomic>
#include <cerrno>

#include <dlfcn.h>
#include <sys/stat.h>

namespace {

enum class Failing { Nothing, Everything, Folders };
std::atomic<Failing> failing{Failing::Nothing};

bool fails(int descriptor)
{
    struct stat status;
    switch (failing.load()) {
    case Failing::Nothing:
        return false;
    case Failing::Everything:
        return true;
    case Failing::Folders:
        return ::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode);
    }
    return false;
}

int syncThrough(const char *name, int descriptor)
{
    if (fails(descriptor)) {
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

SyncFailure::SyncFailure(Of what)
{
    failing = what == Folders ? Failing::Folders : Failing::Everything;
}

SyncFailure::~SyncFailure()
{
    failing = Failing::Nothing;
}
