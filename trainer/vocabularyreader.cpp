// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocabularyreader.h"

#include "blocklinereader.h"
#include "readablefile.h"
#include "vocabularyformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <string_view>

namespace {

constexpr int separatorCoreLength = int(std::string_view(VocabularyFormat::SeparatorCore).size());
// A field starts one blank after the separator core.
constexpr int fieldStartAfter = separatorCoreLength + 1;
constexpr int maximumSeparators = 3;

// Every entry is loaded with this mark, and shares its text.
const QString &unmarked()
{
    static const QString mark = QString::fromLatin1(TrainerMark::Unmarked);
    return mark;
}

QString decoded(std::string_view line)
{
    return QString::fromUtf8(line.data(), int(line.size()));
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
// every separator. A separator that overlaps the
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

    TrainerEntry entry;
    entry.reserve(count + 2);
    entry << unmarked() << line.left(separators[0] - 1);
    for (int i = 0; i < count; ++i) {
        const int start = separators[i] + fieldStartAfter;
        const int end = i + 1 < count ? separators[i + 1] - 1 : line.size();
        entry << slice(line, start, end - start);
    }
    return entry;
}

} // namespace

std::optional<VocabularyContents> readVocabulary(QIODevice &device)
{
    VocabularyContents contents;
    BlockLineReader lines(device);
    // An empty file still has an (empty) first line.
    std::string_view line;
    lines.nextText(line);
    if (std::optional<QString> filmLine = VocabularyFormat::filmLineOf(line))
        contents.videoPath = std::move(*filmLine);
    else if (std::optional<TrainerEntry> record = recordOf(decoded(VocabularyFormat::withoutByteOrderMark(line))))
        contents.entries.append(std::move(*record));

    while (lines.nextText(line)) {
        // Only a line that holds the separator can be a record.
        if (line.find(VocabularyFormat::SeparatorCore) == std::string_view::npos)
            continue;
        if (std::optional<TrainerEntry> record = recordOf(decoded(line)))
            contents.entries.append(std::move(*record));
    }
    if (lines.failed())
        return std::nullopt;
    return contents;
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
    const QString name = VocabularyFormat::filmFileName(writtenPath);
    if (!name.isEmpty()) {
        if (std::optional<QString> path = besideTheFile(name))
            return *path;
    }
    return writtenPath;
}
