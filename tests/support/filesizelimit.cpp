// SPDX-License-Identifier: GPL-3.0-or-later
#include "filesizelimit.h"

#include <csignal>

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    if (getrlimit(RLIMIT_FSIZE, &earlierLimit) != 0)
        return;
    rlimit lowered = earlierLimit;
    lowered.rlim_cur = rlim_t(bytes);
    if (setrlimit(RLIMIT_FSIZE, &lowered) != 0)
        return;
    earlierHandler = std::signal(SIGXFSZ, SIG_IGN);
    set = true;
}

FileSizeLimit::~FileSizeLimit()
{
    if (!set)
        return;
    setrlimit(RLIMIT_FSIZE, &earlierLimit);
    std::signal(SIGXFSZ, earlierHandler);
}
