// SPDX-License-Identifier: GPL-3.0-or-later
#include "regularfile.h"

#include <QByteArray>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

// File systems whose files are the kernel's: reading one tells of a process
// or a device, writing one changes it.
bool isKernelFileSystem(const struct statfs &system)
{
    constexpr unsigned long kernelSystems[] = {
        0x9fa0,     // proc
        0x62656572, // sysfs
        0x64626720, // debugfs
        0x74726163, // tracefs
        0x73636673, // securityfs
        0x27e0eb,   // cgroup
        0x63677270, // cgroup2
        0x1cd1,     // devpts
        0xcafe4a11, // bpf
        0x62656570, // configfs
        0x6165676c, // pstore
        0xde5e81e4, // efivarfs
        0xf97cff8c, // selinuxfs
        0x65735543, // fusectl
        0x42494e4d, // binfmt_misc
        0x19800202, // mqueue
    };
    for (unsigned long magic : kernelSystems) {
        if ((unsigned long)system.f_type == magic)
            return true;
    }
    return false;
}

} // namespace

bool namesKernelFile(const QByteArray &name)
{
    struct statfs system;
    return ::statfs(name.constData(), &system) == 0 && isKernelFileSystem(system);
}

int openRegularFile(const QByteArray &name, int flags, unsigned mode)
{
    struct stat status;
    if ((::stat(name.constData(), &status) == 0 && !S_ISREG(status.st_mode)) || namesKernelFile(name)) {
        errno = EINVAL;
        return -1;
    }
    // Opening a pipe waits for the other end unless it is opened without blocking.
    const int descriptor = ::open(name.constData(), flags | O_NONBLOCK | O_CLOEXEC, mode_t(mode));
    if (descriptor < 0)
        return -1;
    struct statfs system;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || ::fstatfs(descriptor, &system) != 0
        || isKernelFileSystem(system)) {
        ::close(descriptor);
        errno = EINVAL;
        return -1;
    }
    return descriptor;
}
