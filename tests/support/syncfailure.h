// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SYNCFAILURE_H
#define SYNCFAILURE_H

// While it lives, fsync and fdatasync fail with an input/output error, as on
// a disk that fails to write back what it was given: every sync, or only
// those of folders. Built into the test that uses it only: it stands in for
// the C library's two calls in the whole executable.
class SyncFailure
{
public:
    enum Of { Everything, Folders };
    explicit SyncFailure(Of what);
    ~SyncFailure();
    SyncFailure(const SyncFailure &) = delete;
    SyncFailure &operator=(const SyncFailure &) = delete;
};

#endif // SYNCFAILURE_H
