#include "subtitles.h"

#include "timestamp.h"

#include <QFile>
#include <QIODevice>
#include <QVarLengthArray>

#include <cstring>
#include <memory>

namespace {

// One line of the data as bytes, without its terminator (CR LF, LF, or none on
// the last line) and cut at its first NUL byte, if any: the text counts only
// up to there, and a NUL hides the terminator too.
struct Line
{
    const char *bytes = nullptr;
    int size = 0;
};

// Splits the data of a device into lines. The device is read in blocks; the
// piece of a line a block ends in is carried over to the next read, and the
// buffer only grows when a single line does not fit. The buffer is no larger
// than the data when the device knows its size, and left uninitialised, so a
// small file costs no more memory than it holds.
class LineSplitter
{
public:
    explicit LineSplitter(QIODevice &device, int blockSize)
        : device(device)
    {
        capacity = size_t(qMax(blockSize, 1));
        if (!device.isSequential())
            capacity = size_t(qBound(qint64(1), device.bytesAvailable() + 1, qint64(capacity)));
        buffer.reset(new char[capacity]);
    }

    // Gives the next line, or false at the end of the data.
    bool next(Line &line)
    {
        const char *lineEnd = nullptr;
        for (;;) {
            const char *data = buffer.get();
            const auto *newline = static_cast<const char *>(std::memchr(data + scanned, '\n', end - scanned));
            if (newline) {
                lineEnd = newline + 1;
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

        const char *lineBegin = buffer.get() + start;
        start = scanned = size_t(lineEnd - buffer.get());
        if (const void *nul = std::memchr(lineBegin, '\0', size_t(lineEnd - lineBegin))) {
            lineEnd = static_cast<const char *>(nul);
        } else if (lineEnd > lineBegin && lineEnd[-1] == '\n') {
            --lineEnd;
            if (lineEnd > lineBegin && lineEnd[-1] == '\r')
                --lineEnd;
        }
        line.bytes = lineBegin;
        line.size = int(lineEnd - lineBegin);
        return true;
    }

private:
    void readMore()
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

    QIODevice &device;
    std::unique_ptr<char[]> buffer;
    size_t capacity = 0;
    size_t start = 0;   // first byte of the next line
    size_t scanned = 0; // bytes before this hold no line feed of the next line
    size_t end = 0;     // end of the data read so far
    bool exhausted = false;
};

bool containsArrow(const Line &line)
{
    const char *end = line.bytes + line.size;
    for (const char *from = line.bytes + 2; from < end; ++from) {
        from = static_cast<const char *>(std::memchr(from, '>', size_t(end - from)));
        if (!from)
            return false;
        if (from[-1] == '-' && from[-2] == '-')
            return true;
    }
    return false;
}

bool isDigit(char byte)
{
    return byte >= '0' && byte <= '9';
}

// The value of a field of ASCII digits.
int digitsValue(const char *digits, int count)
{
    int value = 0;
    for (int index = 0; index < count; ++index)
        value = value * 10 + (digits[index] - '0');
    return value;
}

// Whether the 12 bytes at text hold digits wherever a time has a number.
bool hasTimeDigits(const char *text)
{
    for (int index : {0, 1, 3, 4, 6, 7, 9, 10, 11}) {
        if (!isDigit(text[index]))
            return false;
    }
    return true;
}

qint64 timeFromDigits(const char *text)
{
    return qint64(digitsValue(text, 2) * 3600000 + digitsValue(text + 3, 2) * 60000
                  + digitsValue(text + 6, 2) * 1000 + digitsValue(text + 9, 3));
}

// Start and end time of a time line: the 12 characters at 0 and at 17. The
// positions count decoded characters, which are the bytes as long as the
// bytes up to there are ASCII; a line with digits in every field is read
// straight from its bytes, any other through the decoded text, field by
// field as timestampToMs does.
void readTimes(const Line &line, qint64 &startMs, qint64 &endMs)
{
    constexpr int timeLineSize = 29;
    bool plain = line.size >= timeLineSize && hasTimeDigits(line.bytes) && hasTimeDigits(line.bytes + 17);
    for (int index = 0; plain && index < timeLineSize; ++index)
        plain = static_cast<unsigned char>(line.bytes[index]) < 0x80;
    if (plain) {
        startMs = timeFromDigits(line.bytes);
        endMs = timeFromDigits(line.bytes + 17);
        return;
    }
    const QString text = QString::fromUtf8(line.bytes, line.size);
    startMs = timestampToMs(text.left(12));
    endMs = timestampToMs(text.mid(17, 12));
}

// The text of a line. The decoder reserves a character for every byte, which
// leaves much of the string unused for text outside ASCII, for as long as the
// table lives; such text is moved into a string of its own size.
QString decodeText(const Line &line)
{
    QString text = QString::fromUtf8(line.bytes, line.size);
    if (line.size - text.size() < 8)
        return text;
    return QString(text.constData(), text.size());
}

} // namespace

SubtitleTable readSubtitles(QIODevice &device, int blockSize)
{
    SubtitleTable table;
    LineSplitter lines(device, blockSize);
    // Files list their cues in order, so most cues go after the last one
    // without a search.
    qint64 lastStartMs = 0;
    // The text lines of a cue are gathered first so that its list is allocated
    // once at its size.
    QVarLengthArray<QString, 8> cueLines;
    Line line;
    while (lines.next(line)) {
        if (!containsArrow(line))
            continue;

        qint64 startMs = 0;
        SubtitleCue cue;
        readTimes(line, startMs, cue.endMs);
        // A line that decodes to nothing ends the text, as an empty one does:
        // a lone byte order mark is dropped by the decoder.
        while (lines.next(line) && line.size > 0) {
            QString text = decodeText(line);
            if (text.isEmpty())
                break;
            cueLines.append(QString());
            cueLines.last().swap(text);
        }
        cue.lines.reserve(cueLines.size());
        for (QString &text : cueLines) {
            cue.lines.append(QString());
            cue.lines.last().swap(text);
        }
        cueLines.clear();

        if (table.isEmpty() || startMs > lastStartMs) {
            table.insert(table.constEnd(), startMs, cue);
            lastStartMs = startMs;
        } else if (startMs != lastStartMs && !table.contains(startMs)) {
            table.insert(startMs, cue);
        }
    }
    return table;
}

SubtitleTable readSubtitleFile(const QString &path)
{
    // Opened without text mode: the terminators are handled by the reader.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return SubtitleTable();
    return readSubtitles(file);
}

SubtitleTable::const_iterator cueForPosition(const SubtitleTable &table, qint64 positionMs)
{
    auto cue = table.lowerBound(positionMs);
    if (cue != table.constBegin())
        --cue;
    return cue;
}

FollowerStep followPosition(const SubtitleTable &table, qint64 positionMs,
                            SubtitleTable::const_iterator &currentCue,
                            qint64 &cueStartMs, qint64 &cueEndMs, bool &cuePending)
{
    Q_ASSERT(!table.isEmpty());
    if (positionMs > cueEndMs || positionMs <= cueStartMs) {
        currentCue = cueForPosition(table, positionMs);
        cueStartMs = currentCue.key();
        cueEndMs = currentCue->endMs;
        cuePending = true;
        return FollowerStep::Selected;
    }
    if (!cuePending)
        return FollowerStep::Unchanged;
    cuePending = false;
    return FollowerStep::Shown;
}
