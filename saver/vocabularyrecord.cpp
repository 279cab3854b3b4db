#include "vocabularyrecord.h"

#include "vocabularyformat.h"

#include <QFile>
#include <QFileDevice>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString withLineBreakMarkers(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1String(VocabularyFormat::LineBreakMarker));
}

bool hasTimeRange(const VocabularyEntry &entry)
{
    return !entry.start.isEmpty() && !entry.end.isEmpty();
}

// Write-only and append: never truncated. No text mode: it would turn the
// "\n" of the CR LF terminator into CR CR LF on platforms whose text files end
// lines in CR LF, and does nothing elsewhere. Unbuffered, so that a failed
// write shows itself in write() and no rest of the line waits in QFile's
// buffer to be written when the file is closed.
constexpr QIODevice::OpenMode appendMode =
    QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered;

// A path or file name this short is taken for none.
bool tooShortForAPath(const QString &path)
{
    return path.size() < 2;
}

CaptureProblem entryProblem(const QString &targetPath, const VocabularyEntry &entry)
{
    if (tooShortForAPath(targetPath))
        return CaptureProblem::NoTarget;
    if (entry.word.isEmpty() || entry.translation.isEmpty())
        return CaptureProblem::WordOrTranslationMissing;
    if (entry.start.isEmpty() != entry.end.isEmpty())
        return CaptureProblem::OneTimeMissing;
    if (!readsBackAsTyped(entry))
        return CaptureProblem::DoesNotReadBack;
    return CaptureProblem::None;
}

} // namespace

QString assembleVocabularyRecord(const VocabularyEntry &entry)
{
    const QLatin1String separator(VocabularyFormat::FieldSeparator);
    QString record = withLineBreakMarkers(entry.word) + separator
                     + withLineBreakMarkers(entry.translation);
    if (!entry.context.isEmpty())
        record += separator + withLineBreakMarkers(entry.context);
    if (hasTimeRange(entry))
        record += separator + entry.start + QLatin1String(VocabularyFormat::TimeRangeJoiner)
                  + entry.end;
    return record;
}

bool readsBackAsTyped(const VocabularyEntry &entry)
{
    // Markers are checked in the text as written: a line break next to a
    // hyphen or a greater-than sign can make a separator core of its own.
    const QString word = withLineBreakMarkers(entry.word);
    const QString translation = withLineBreakMarkers(entry.translation);
    const QString context = withLineBreakMarkers(entry.context);
    const QLatin1String core(VocabularyFormat::SeparatorCore);
    const QLatin1String joiner(VocabularyFormat::TimeRangeJoiner);
    for (const QString *field : {&word, &translation, &context, &entry.start, &entry.end}) {
        if (field->contains(core))
            return false;
    }
    for (const QString *field : {&context, &entry.start, &entry.end}) {
        if (field->contains(joiner))
            return false;
    }
    // The time range is split at its first joiner, so a star at the end of
    // the start would move into the end: "1*" and "2" read back as "1", "*2".
    return !entry.start.endsWith(QLatin1Char('*'));
}

CaptureProblem videoPathProblem(const QString &videoPath)
{
    if (tooShortForAPath(videoPath))
        return CaptureProblem::NoVideo;
    if (videoPath.contains(QLatin1String(VocabularyFormat::SeparatorCore)))
        return CaptureProblem::SeparatorInVideoPath;
    if (videoPath.contains(QLatin1Char('\n')))
        return CaptureProblem::LineBreakInVideoPath;
    return CaptureProblem::None;
}

CaptureProblem saveVocabularyEntry(const QString &targetPath, const VocabularyEntry &entry)
{
    const CaptureProblem problem = entryProblem(targetPath, entry);
    if (problem != CaptureProblem::None)
        return problem;
    // A target that went away since it was chosen is not made again: a new
    // file would have no video path line.
    switch (appendLineToFile(targetPath, assembleVocabularyRecord(entry), MissingFile::Refuse)) {
    case AppendOutcome::OpenFailed:
        return CaptureProblem::TargetNotOpened;
    case AppendOutcome::WriteFailed:
        return CaptureProblem::EntryNotWritten;
    case AppendOutcome::Written:
        break;
    }
    return CaptureProblem::None;
}

namespace {

// Opens the file at `path` for appending. Opening a pipe for writing waits for
// a reader unless it is opened without blocking; without one it is refused.
// Opening an existing file first, then creating one only if none was there,
// tells for certain whether this call made the file.
bool openForAppending(QFile &file, const QString &path, MissingFile whenMissing, bool &created)
{
    const QByteArray name = QFile::encodeName(path);
    const int flags = O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC;
    int descriptor = ::open(name.constData(), flags);
    created = false;
    if (descriptor < 0 && errno == ENOENT && whenMissing == MissingFile::Create) {
        descriptor = ::open(name.constData(), flags | O_CREAT | O_EXCL, 0666);
        created = descriptor >= 0;
    }
    if (descriptor < 0)
        return false;
    if (!file.open(descriptor, appendMode, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return false;
    }
    return true;
}

} // namespace

AppendOutcome appendLineToFile(const QString &path, const QString &line, MissingFile whenMissing)
{
    QFile file;
    bool created = false;
    if (path.isEmpty() || !openForAppending(file, path, whenMissing, created))
        return AppendOutcome::OpenFailed;
    const qint64 sizeBefore = file.size();
    const QByteArray bytes = line.toUtf8() + VocabularyFormat::LineTerminator;
    bool written = file.write(bytes) == bytes.size();
    // Closing drops the error of a failed write and reports only its own.
    file.close();
    written = written && file.error() == QFileDevice::NoError;
    if (written)
        return AppendOutcome::Written;
    // A full disk or a size limit can take part of the line: that part would
    // run into the next line written.
    if (created)
        QFile::remove(path);
    else
        QFile::resize(path, sizeBefore);
    return AppendOutcome::WriteFailed;
}

bool canAppendToFile(const QString &path)
{
    QFile file;
    bool created = false;
    return !path.isEmpty() && openForAppending(file, path, MissingFile::Refuse, created);
}
