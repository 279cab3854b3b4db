#include "vocabularyrecord.h"

#include "vocabularyformat.h"

#include <QFile>

namespace {

QString withLineBreakMarkers(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1String(VocabularyFormat::LineBreakMarker));
}

bool hasTimeRange(const VocabularyEntry &entry)
{
    return !entry.start.isEmpty() && !entry.end.isEmpty();
}

// Write-only and append: the file is created when missing and never truncated.
// No text mode: it would turn the "\n" of the CR LF terminator into CR CR LF
// on platforms whose text files end lines in CR LF, and does nothing elsewhere.
constexpr QIODevice::OpenMode appendMode = QIODevice::WriteOnly | QIODevice::Append;

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

AppendOutcome appendLineToFile(const QString &path, const QString &line)
{
    QFile file(path);
    if (!file.open(appendMode))
        return AppendOutcome::OpenFailed;
    const QByteArray bytes = line.toUtf8() + VocabularyFormat::LineTerminator;
    // QFile buffers: a full disk shows itself only when the buffer is flushed.
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    return written ? AppendOutcome::Written : AppendOutcome::WriteFailed;
}

bool canAppendToFile(const QString &path)
{
    QFile file(path);
    return file.open(appendMode);
}
