// SPDX-License-Identifier: GPL-3.0-or-later
// Any text converts without crashing, and a value that converts to a day
// time converts back to itself.
#include "timestamp.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    const qint64 ms = timestampToMs(text);
    const QString written = msToTimestamp(ms);
    if (ms >= 0 && ms < 86400000 && (written.size() != 12 || timestampToMs(written) != ms))
        std::abort();
    return 0;
}
