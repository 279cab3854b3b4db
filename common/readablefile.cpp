// SPDX-License-Identifier: GPL-3.0-or-later
#include "readablefile.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ReadableFile {

bool open(QFile &file, const QString &path)
{
    // Looked at first, so that no device is ever opened; and again on the open
    // descriptor, since the path may name something else by then. Opening a
    // pipe waits for a writer unless it is opened without blocking.
    if (!QFileInfo(path).isFile())
        return false;
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat status;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > maximumBytes
        || !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return false;
    }
    return true;
}

bool namesNoRegularFile(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
}

} // namespace ReadableFile
