// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SYNCFAILURE_H
#define SYNCFAILURE_H

// While it lives, fsync, fdatasync and syncfs fail with an input/output
// error, as on a disk that fails to write back what it was given: every sync,
// only those of folders, or only those of whole file systems. Or close fails
// so after closing a regular file, as a network file system may. Built into
// the test that uses it only: it stands in for the C library's calls in the
// whole executable.
class SyncFailure
{
public:
    enum Of { Everything, Folders, FileSystems, Closes };
    explicit SyncFailure(Of what);
    ~SyncFailure();
    SyncFailure(const SyncFailure &) = delete;
    SyncFailure &operator=(const SyncFailure &) = delete;
};

#endif // SYNCFAILURE_H
