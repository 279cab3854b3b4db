#include "vocabularyreference.h"

#include "vocabularyformat.h"

#include <QBuffer>

namespace {

const QString separatorCore = QString::fromLatin1(VocabularyFormat::SeparatorCore);

// The separator core is found at p and the field that follows starts after it
// and one blank: p + 3 + 1.
constexpr int separatorCoreLength = 3;
constexpr int fieldStartAfter = separatorCoreLength + 1;

QString decodeLine(const QByteArray &lineBytes)
{
    const int nul = lineBytes.indexOf('\0');
    return QString::fromUtf8(lineBytes.constData(), nul < 0 ? lineBytes.size() : nul);
}

int terminatorLength(const QString &line)
{
    if (line.endsWith(QLatin1String(VocabularyFormat::LineTerminator)))
        return 2;
    if (line.endsWith(QLatin1Char('\n')))
        return 1;
    return 0;
}

// A negative length runs to the end of the line, a start at or past the end
// gives an empty field.
QString slice(const QString &line, int start, int length)
{
    if (start >= line.size())
        return QString();
    return length < 0 ? line.mid(start) : line.mid(start, length);
}

// A separator that overlaps the previous one or its trailing blank does not
// count.
int nextSeparator(const QString &line, int previous)
{
    const int found = line.indexOf(separatorCore, previous + 1);
    return found > previous + separatorCoreLength ? found : -1;
}

} // namespace

namespace VocabularyReference {

std::optional<TrainerEntry> readRecord(const QByteArray &lineBytes)
{
    const QString line = decodeLine(lineBytes);
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
    entry << slice(line, p3 + fieldStartAfter, textEnd - p3 - fieldStartAfter);
    return entry;
}

VocabularyContents read(QIODevice &device)
{
    static const QByteArray byteOrderMark("\xEF\xBB\xBF");

    VocabularyContents contents;
    QByteArray firstLine = device.readLine();
    if (firstLine.startsWith(byteOrderMark))
        firstLine.remove(0, byteOrderMark.size());
    if (std::optional<TrainerEntry> record = readRecord(firstLine)) {
        contents.entries.append(std::move(*record));
    } else {
        const QString line = decodeLine(firstLine);
        contents.videoPath = line.left(line.size() - terminatorLength(line));
    }
    while (!device.atEnd()) {
        if (std::optional<TrainerEntry> record = readRecord(device.readLine()))
            contents.entries.append(std::move(*record));
    }
    return contents;
}

VocabularyContents read(const QByteArray &fileBytes)
{
    QBuffer buffer;
    buffer.setData(fileBytes);
    buffer.open(QIODevice::ReadOnly);
    return read(buffer);
}

} // namespace VocabularyReference
