// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef PLAINAPPEND_H
#define PLAINAPPEND_H

#include <QByteArray>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

// The saver's append before it synced, the yardstick of the one that does:
// open, lock, write, close; the file must exist.
inline bool appendWithoutSync(const QString &path, const QString &line)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const QByteArray bytes = line.toUtf8() + "\r\n";
    const bool written = ::flock(descriptor, LOCK_EX) == 0
                         && ::write(descriptor, bytes.constData(), size_t(bytes.size())) == bytes.size();
    return ::close(descriptor) == 0 && written;
}

#endif // PLAINAPPEND_H
