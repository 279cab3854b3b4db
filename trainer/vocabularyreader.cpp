#include "vocabularyreader.h"

#include "vocabularyformat.h"

#include <QIODevice>

namespace {

const QString separatorCore = QString::fromLatin1(VocabularyFormat::SeparatorCore);

// The separator core is found at p and the field that follows starts after it
// and one blank: p + 3 + 1.
constexpr int separatorCoreLength = 3;
constexpr int fieldStartAfter = separatorCoreLength + 1;

int terminatorLength(const QString &line)
{
    if (line.endsWith(QLatin1String(VocabularyFormat::LineTerminator)))
        return 2;
    if (line.endsWith(QLatin1Char('\n')))
        return 1;
    return 0;
}

// A slice with the reader's edge rules: a negative length runs to the end of
// the line, a start at or past the end gives an empty field.
QString slice(const QString &line, int start, int length)
{
    if (start >= line.size())
        return QString();
    return length < 0 ? line.mid(start) : line.mid(start, length);
}

// The position of the next separator after the one at `previous`, or -1. One
// that overlaps the previous separator or its trailing blank does not count.
int nextSeparator(const QString &line, int previous)
{
    const int found = line.indexOf(separatorCore, previous + 1);
    return found > previous + separatorCoreLength ? found : -1;
}

} // namespace

QString decodeVocabularyLine(const QByteArray &lineBytes)
{
    const int nul = lineBytes.indexOf('\0');
    return QString::fromUtf8(lineBytes.constData(), nul < 0 ? lineBytes.size() : nul);
}

std::optional<TrainerEntry> readVocabularyRecord(const QByteArray &lineBytes)
{
    const QString line = decodeVocabularyLine(lineBytes);
    // Everything up to the terminator the line really has; the last field
    // ends there.
    const int textEnd = line.size() - terminatorLength(line);

    const int p1 = line.indexOf(separatorCore);
    if (p1 <= 0)
        return std::nullopt;

    TrainerEntry entry;
    entry.reserve(5);
    entry << QString::fromLatin1(TrainerMark::Unmarked) << line.left(p1 - 1);

    const int p2 = nextSeparator(line, p1);
    if (p2 < 0) {
        entry << slice(line, p1 + fieldStartAfter, textEnd - p1 - fieldStartAfter);
        return entry;
    }
    entry << slice(line, p1 + fieldStartAfter, p2 - p1 - fieldStartAfter - 1);

    const int p3 = nextSeparator(line, p2);
    if (p3 < 0) {
        entry << slice(line, p2 + fieldStartAfter, textEnd - p2 - fieldStartAfter);
        return entry;
    }
    entry << slice(line, p2 + fieldStartAfter, p3 - p2 - fieldStartAfter - 1);
    // Any later "-->" stays inside the last field.
    entry << slice(line, p3 + fieldStartAfter, textEnd - p3 - fieldStartAfter);
    return entry;
}

VocabularyContents readVocabulary(const QByteArray &fileBytes)
{
    static const QByteArray byteOrderMark("\xEF\xBB\xBF");

    VocabularyContents contents;
    int lineStart = fileBytes.startsWith(byteOrderMark) ? byteOrderMark.size() : 0;
    bool firstLine = true;
    // An empty file still has a (empty) first line.
    while (firstLine || lineStart < fileBytes.size()) {
        const int newline = fileBytes.indexOf('\n', lineStart);
        const int lineEnd = newline < 0 ? fileBytes.size() : newline + 1;
        const QByteArray lineBytes = fileBytes.mid(lineStart, lineEnd - lineStart);
        lineStart = lineEnd;

        std::optional<TrainerEntry> record = readVocabularyRecord(lineBytes);
        if (firstLine) {
            firstLine = false;
            if (!record) {
                const QString line = decodeVocabularyLine(lineBytes);
                contents.videoPath = line.left(line.size() - terminatorLength(line));
                continue;
            }
        }
        if (record)
            contents.entries.append(std::move(*record));
    }
    return contents;
}

VocabularyContents readVocabulary(QIODevice &device)
{
    return readVocabulary(device.readAll());
}
