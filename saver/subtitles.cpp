#include "subtitles.h"

#include "blocklinereader.h"
#include "timestamp.h"

#include <QFile>
#include <QIODevice>
#include <QVarLengthArray>

#include <cstring>

namespace {

// One line of the data as bytes, without its terminator (CR LF, LF, or none on
// the last line) and cut at its first NUL byte, if any: the text counts only
// up to there, and a NUL hides the terminator too.
struct Line
{
    const char *bytes = nullptr;
    int size = 0;
};

bool nextLine(BlockLineReader &lines, Line &line)
{
    const char *bytes = nullptr;
    int size = 0;
    if (!lines.next(bytes, size))
        return false;
    const char *lineEnd = bytes + size;
    if (const void *nul = std::memchr(bytes, '\0', size_t(size))) {
        lineEnd = static_cast<const char *>(nul);
    } else if (lineEnd > bytes && lineEnd[-1] == '\n') {
        --lineEnd;
        if (lineEnd > bytes && lineEnd[-1] == '\r')
            --lineEnd;
    }
    line.bytes = bytes;
    line.size = int(lineEnd - bytes);
    return true;
}

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
    BlockLineReader lines(device, blockSize);
    // Files list their cues in order, so most cues go after the last one
    // without a search.
    qint64 lastStartMs = 0;
    // The text lines of a cue are gathered first so that its list is allocated
    // once at its size.
    QVarLengthArray<QString, 8> cueLines;
    Line line;
    while (nextLine(lines, line)) {
        if (!containsArrow(line))
            continue;

        qint64 startMs = 0;
        SubtitleCue cue;
        readTimes(line, startMs, cue.endMs);
        // A line that decodes to nothing ends the text, as an empty one does:
        // a lone byte order mark is dropped by the decoder.
        while (nextLine(lines, line) && line.size > 0) {
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
