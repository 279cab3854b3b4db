// SPDX-License-Identifier: GPL-3.0-or-later
#include "blocklinereader.h"

#include "readablefile.h"

#include <QIODevice>

#include <cstring>

BlockLineReader::BlockLineReader(QIODevice &device)
    : device(device)
{
    // A small file costs no more memory than it holds.
    capacity = blockSize;
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

bool BlockLineReader::nextText(std::string_view &text)
{
    const char *line = nullptr;
    qint64 size = 0;
    if (!next(line, size))
        return false;
    text = lineText(line, size);
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

std::string_view lineText(const char *line, qint64 size)
{
    if (const void *nul = std::memchr(line, '\0', size_t(size)))
        return std::string_view(line, size_t(static_cast<const char *>(nul) - line));
    if (size > 0 && line[size - 1] == '\n')
        --size;
    if (size > 0 && line[size - 1] == '\r')
        --size;
    return std::string_view(line, size_t(size));
}
