// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for load_vocabulary: the same file read the plain way, one
// QIODevice::readLine and one QString::fromUtf8 per line, fields cut from the
// decoded line and appended to the list.
//     naive_vocabulary FILE

#include "vocabularyformat.h"
#include "vocabularyload.h"

namespace {

const QString separatorCore = QString::fromLatin1(VocabularyFormat::SeparatorCore);

QString decodeLine(const QByteArray &lineBytes)
{
    const int nul = lineBytes.indexOf('\0');
    return QString::fromUtf8(lineBytes.constData(), nul < 0 ? lineBytes.size() : nul);
}

int terminatorLength(const QString &line)
{
    if (line.endsWith(QLatin1String(VocabularyFormat::LineTerminator)))
        return 2;
    return line.endsWith(QLatin1Char('\n')) ? 1 : 0;
}

QString slice(const QString &line, int start, int length)
{
    if (start >= line.size())
        return QString();
    return length < 0 ? line.mid(start) : line.mid(start, length);
}

int nextSeparator(const QString &line, int previous)
{
    const int found = line.indexOf(separatorCore, previous + 1);
    return found > previous + 3 ? found : -1;
}

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
        entry << slice(line, p1 + 4, textEnd - p1 - 4);
        return entry;
    }
    entry << slice(line, p1 + 4, p2 - p1 - 5);
    const int p3 = nextSeparator(line, p2);
    if (p3 < 0) {
        entry << slice(line, p2 + 4, textEnd - p2 - 4);
        return entry;
    }
    entry << slice(line, p2 + 4, p3 - p2 - 5) << slice(line, p3 + 4, textEnd - p3 - 4);
    return entry;
}

std::optional<VocabularyContents> read(QIODevice &device)
{
    VocabularyContents contents;
    QByteArray firstLine = device.readLine();
    if (firstLine.startsWith("\xEF\xBB\xBF"))
        firstLine.remove(0, 3);
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

} // namespace

int main(int argc, char *argv[])
{
    return runVocabularyLoad(argc, argv, "naive_vocabulary", read);
}
