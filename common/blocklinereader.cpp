#include "blocklinereader.h"

#include <QIODevice>

BlockLineReader::BlockLineReader(QIODevice &device, int blockSize)
    : device(device)
{
    capacity = size_t(qMax(blockSize, 1));
    if (!device.isSequential())
        capacity = size_t(qBound(qint64(1), device.bytesAvailable() + 1, qint64(capacity)));
    buffer.reset(new char[capacity]);
}

void BlockLineReader::readMore()
{
    if (start > 0) {
        std::memmove(buffer.get(), buffer.get() + start, end - start);
        end -= start;
        scanned -= start;
        start = 0;
    }
    if (end == capacity) {
        std::unique_ptr<char[]> larger(new char[capacity * 2]);
        std::memcpy(larger.get(), buffer.get(), end);
        buffer = std::move(larger);
        capacity *= 2;
    }
    const qint64 count = device.read(buffer.get() + end, qint64(capacity - end));
    if (count <= 0)
        exhausted = true;
    else
        end += size_t(count);
}
