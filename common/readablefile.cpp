// SPDX-License-Identifier: GPL-3.0-or-later
#include "readablefile.h"

#include "regularfile.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ReadableFile {

bool open(QFile &file, const QString &path)
{
    const int descriptor = openRegularFile(QFile::encodeName(path), O_RDONLY);
    if (descriptor < 0)
        return false;
    struct stat status;
    if (::fstat(descriptor, &status) != 0 || status.st_size > maximumBytes
        || !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return false;
    }
    return true;
}

bool namesNoRegularFile(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && (!info.isFile() || namesKernelFile(QFile::encodeName(path)));
}

} // namespace ReadableFile
