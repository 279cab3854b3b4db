// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef REGULARFILE_H
#define REGULARFILE_H

class QByteArray;

// Opens the regular file (or a link to one) named `name` with the open(2)
// `flags` given, and never waits doing so: a pipe without a writer or reader,
// a device, a socket, a folder or a file of the kernel's (namesKernelFile) is
// refused as if it could not be opened.
// The path is looked at first, so that no device is ever opened, and the
// descriptor again, since the path may name something else by then. Gives the
// descriptor, or -1 with errno set (ENOENT for a file that is not there).
int openRegularFile(const QByteArray &name, int flags, unsigned mode = 0);

// Whether `name` lies on a file system of the kernel's (/proc, /sys and the
// like), whose files look regular but are a process's or a device's.
bool namesKernelFile(const QByteArray &name);

#endif // REGULARFILE_H
