// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FILESIZELIMIT_H
#define FILESIZELIMIT_H

#include <QtGlobal>

#include <sys/resource.h>

// While it lives, no file this process writes may grow past `bytes`, as on a
// disk that fills: a write that crosses the limit takes what fits and the
// next one fails. The signal the system sends for it is ignored, so that the
// write fails instead of ending the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool isSet() const { return set; }

private:
    rlimit earlierLimit{};
    void (*earlierHandler)(int) = nullptr;
    bool set = false;
};

#endif // FILESIZELIMIT_H
