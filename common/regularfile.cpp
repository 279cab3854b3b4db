// SPDX-License-Identifier: GPL-3.0-or-later
#include "regularfile.h"

#include <QByteArray>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int openRegularFile(const QByteArray &name, int flags, unsigned mode)
{
    struct stat status;
    if (::stat(name.constData(), &status) == 0 && !S_ISREG(status.st_mode)) {
        errno = EINVAL;
        return -1;
    }
    // Opening a pipe waits for the other end unless it is opened without blocking.
    const int descriptor = ::open(name.constData(), flags | O_NONBLOCK | O_CLOEXEC, mode_t(mode));
    if (descriptor < 0)
        return -1;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        errno = EINVAL;
        return -1;
    }
    return descriptor;
}
