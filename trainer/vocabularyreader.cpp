// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocabularyreader.h"

#include "blocklinereader.h"
#include "readablefile.h"
#include "vocabularyformat.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <string_view>

namespace {

constexpr int separatorCoreLength = 3;
// A field starts one blank after the separator core.
constexpr int fieldStartAfter = separatorCoreLength + 1;
constexpr int maximumSeparators = 3;
constexpr int blockSize = 256 * 1024;

// Every entry is loaded with this mark, and shares its text.
const QString &unmarked()
{
    static const QString mark = QString::fromLatin1(TrainerMark::Unmarked);
    return mark;
}

QString decodeLine(const char *bytes, qint64 size)
{
    const void *nul = std::memchr(bytes, '\0', size_t(size));
    return QString::fromUtf8(bytes, nul ? int(static_cast<const char *>(nul) - bytes) : int(size));
}

int terminatorLength(const QString &line)
{
    if (line.endsWith(QLatin1String(VocabularyFormat::LineTerminator)))
        return 2;
    return line.endsWith(QLatin1Char('\n')) ? 1 : 0;
}

// A negative length runs to the end of the line, a start at or past the end
// gives an empty field.
QString slice(const QString &line, int start, int length)
{
    if (start >= line.size())
        return QString();
    return length < 0 ? line.mid(start) : line.mid(start, length);
}

// The fields lie between the separators, less the blank on each side of
// every separator and the line's terminator. A separator that overlaps the
// previous one or its blank does not count; after the third, none is looked for.
std::optional<TrainerEntry> recordOf(const QString &line)
{
    const QLatin1String core(VocabularyFormat::SeparatorCore);
    int separators[maximumSeparators];
    int count = 0;
    separators[count++] = line.indexOf(core);
    if (separators[0] <= 0)
        return std::nullopt;
    while (count < maximumSeparators) {
        const int next = line.indexOf(core, separators[count - 1] + 1);
        if (next <= separators[count - 1] + separatorCoreLength)
            break;
        separators[count++] = next;
    }

    const int textEnd = line.size() - terminatorLength(line);
    TrainerEntry entry;
    entry.reserve(count + 2);
    entry << unmarked() << line.left(separators[0] - 1);
    for (int i = 0; i < count; ++i) {
        const int start = separators[i] + fieldStartAfter;
        const int end = i + 1 < count ? separators[i + 1] - 1 : textEnd;
        entry << slice(line, start, end - start);
    }
    return entry;
}

} // namespace

std::optional<VocabularyContents> readVocabulary(QIODevice &device)
{
    VocabularyContents contents;
    BlockLineReader lines(device, blockSize);
    const char *bytes = nullptr;
    qint64 size = 0;
    // An empty file still has an (empty) first line.
    if (!lines.next(bytes, size))
        bytes = "", size = 0;
    constexpr char byteOrderMark[] = "\xEF\xBB\xBF";
    if (size >= 3 && std::memcmp(bytes, byteOrderMark, 3) == 0)
        bytes += 3, size -= 3;
    const QString firstLine = decodeLine(bytes, size);
    if (std::optional<TrainerEntry> record = recordOf(firstLine))
        contents.entries.append(std::move(*record));
    else
        contents.videoPath = firstLine.left(firstLine.size() - terminatorLength(firstLine));

    while (lines.next(bytes, size)) {
        // Only a line that holds the separator can be a record.
        if (std::string_view(bytes, size_t(size)).find(VocabularyFormat::SeparatorCore) == std::string_view::npos)
            continue;
        if (std::optional<TrainerEntry> record = recordOf(decodeLine(bytes, size)))
            contents.entries.append(std::move(*record));
    }
    if (lines.failed())
        return std::nullopt;
    return contents;
}

std::optional<VocabularyContents> readVocabulary(const QByteArray &fileBytes)
{
    QBuffer buffer;
    buffer.setData(fileBytes);
    buffer.open(QIODevice::ReadOnly);
    return readVocabulary(buffer);
}

std::optional<VocabularyContents> readVocabularyFile(const QString &path)
{
    QFile file;
    if (!ReadableFile::open(file, path))
        return std::nullopt;
    return readVocabulary(file);
}

QString filmPathFor(const QString &writtenPath, const QString &vocabularyFilePath)
{
    if (writtenPath.isEmpty())
        return writtenPath;
    const QFileInfo written(writtenPath);
    if (written.isAbsolute() && written.isFile())
        return writtenPath;

    const QDir folder = QFileInfo(vocabularyFilePath).absoluteDir();
    const auto besideTheFile = [&folder](const QString &relativePath) -> std::optional<QString> {
        const QString path = QDir::cleanPath(folder.filePath(relativePath));
        if (QFileInfo(path).isFile())
            return path;
        return std::nullopt;
    };
    if (written.isRelative()) {
        if (std::optional<QString> path = besideTheFile(writtenPath))
            return *path;
    }
    // A path written on another system: "C:\Films\film.mkv" is one relative
    // file name here, and "C:/Films/film.mkv" a folder that is not there.
    const int lastSeparator = qMax(writtenPath.lastIndexOf(QLatin1Char('/')),
                                   writtenPath.lastIndexOf(QLatin1Char('\\')));
    const QString name = writtenPath.mid(lastSeparator + 1);
    if (!name.isEmpty()) {
        if (std::optional<QString> path = besideTheFile(name))
            return *path;
    }
    return writtenPath;
}
