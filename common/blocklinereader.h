#ifndef BLOCKLINEREADER_H
#define BLOCKLINEREADER_H

#include <QtGlobal>

#include <cstring>
#include <memory>

class QIODevice;

// Splits what a device holds into lines without reading it whole: the device
// is read in blocks, the piece of a line a block ends in is carried over to
// the next read, and the buffer only grows when a single line does not fit.
// It is no larger than the data when the device knows its size, and left
// uninitialised, so a small file costs no more memory than it holds.
class BlockLineReader
{
public:
    BlockLineReader(QIODevice &device, int blockSize);

    // Gives the next line with its line feed, if it has one (the last line of
    // the data may not), or false at the end of the data. The bytes stay valid
    // until the next call.
    bool next(const char *&line, int &size)
    {
        const char *lineEnd = nullptr;
        for (;;) {
            const char *data = buffer.get();
            if (const void *newline = std::memchr(data + scanned, '\n', end - scanned)) {
                lineEnd = static_cast<const char *>(newline) + 1;
                break;
            }
            scanned = end;
            if (exhausted) {
                if (start == end)
                    return false;
                lineEnd = data + end;
                break;
            }
            readMore();
        }
        line = buffer.get() + start;
        size = int(lineEnd - line);
        start = scanned = size_t(lineEnd - buffer.get());
        return true;
    }

private:
    void readMore();

    QIODevice &device;
    std::unique_ptr<char[]> buffer;
    size_t capacity = 0;
    size_t start = 0;   // first byte of the next line
    size_t scanned = 0; // bytes before this hold no line feed of the next line
    size_t end = 0;     // end of the data read so far
    bool exhausted = false;
};

#endif // BLOCKLINEREADER_H
