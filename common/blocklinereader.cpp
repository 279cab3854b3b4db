// SPDX-License-Identifier: GPL-3.0-or-later
#include "blocklinereader.h"

#include "readablefile.h"

#include <QIODevice>

#include <cstring>

BlockLineReader::BlockLineReader(QIODevice &device, qint64 blockSize)
    : device(device)
{
    // A small file costs no more memory than it holds.
    capacity = qMax<qint64>(blockSize, 1);
    if (!device.isSequential())
        capacity = qBound<qint64>(1, device.bytesAvailable() + 1, capacity);
    buffer.reset(new char[size_t(capacity)]);
}

bool BlockLineReader::next(const char *&line, qint64 &size)
{
    const char *data = buffer.get();
    const char *lineEnd = nullptr;
    while (!lineEnd) {
        if (const void *newline = std::memchr(data + scanned, '\n', size_t(end - scanned))) {
            lineEnd = static_cast<const char *>(newline) + 1;
        } else if (exhausted) {
            if (start == end || readFailed)
                return false;
            lineEnd = data + end;
        } else {
            scanned = end;
            if (!readMore())
                return false;
            data = buffer.get();
        }
    }
    line = data + start;
    size = lineEnd - line;
    start = scanned = lineEnd - data;
    return true;
}

bool BlockLineReader::readMore()
{
    if (start > 0) {
        std::memmove(buffer.get(), buffer.get() + start, size_t(end - start));
        end -= start;
        scanned -= start;
        start = 0;
    }
    if (end > ReadableFile::maximumLineBytes) {
        readFailed = exhausted = true;
        return false;
    }
    if (end == capacity) {
        const qint64 larger = qMin(capacity * 2, ReadableFile::maximumLineBytes + 1);
        std::unique_ptr<char[]> grown(new char[size_t(larger)]);
        std::memcpy(grown.get(), buffer.get(), size_t(end));
        buffer = std::move(grown);
        capacity = larger;
    }
    const qint64 count = device.read(buffer.get() + end, capacity - end);
    if (count < 0 || total + qMax<qint64>(count, 0) > ReadableFile::maximumBytes) {
        readFailed = exhausted = true;
        return false;
    }
    if (count == 0)
        exhausted = true;
    end += count;
    total += count;
    return true;
}
