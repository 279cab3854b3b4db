// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef BLOCKLINEREADER_H
#define BLOCKLINEREADER_H

#include <QtGlobal>

#include <memory>
#include <string_view>

class QIODevice;

// Splits what a device holds into lines without reading it whole: the device
// is read in blocks, the piece of a line a block ends in is carried over to
// the next read, and the buffer only grows when a single line does not fit.
// Data past maximumBytes, a line longer than maximumLineBytes, or a read that
// fails ends the lines early with failed() set: the caller must not take
// what it got for the whole file.
class BlockLineReader
{
public:
    // Bytes asked of the device at a time.
    static constexpr qint64 blockSize = 256 * 1024;

    explicit BlockLineReader(QIODevice &device);

    // Gives the next line with its line feed, if it has one (the last line of
    // the data may not), or false at the end of the data or on failure. The
    // bytes stay valid until the next call.
    bool next(const char *&line, qint64 &size);
    // The same, as lineText() gives it.
    bool nextText(std::string_view &text);
    bool failed() const { return readFailed; }

private:
    bool readMore();

    QIODevice &device;
    std::unique_ptr<char[]> buffer;
    qint64 capacity = 0;
    qint64 start = 0;   // first byte of the next line
    qint64 scanned = 0; // bytes before this hold no line feed of the next line
    qint64 end = 0;     // end of the data read so far
    qint64 total = 0;   // bytes read from the device
    bool exhausted = false;
    bool readFailed = false;
};

// A line as the programs' readers take it: cut at its first NUL byte, if any,
// which hides its terminator too; else without its terminator (LF, or CR LF; a
// CR alone at the end of the data counts as one too).
std::string_view lineText(const char *line, qint64 size);

#endif // BLOCKLINEREADER_H
