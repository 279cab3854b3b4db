// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocabularyrecord.h"

#include "appendfile.h"
#include "blocklinereader.h"
#include "readablefile.h"
#include "vocabularyformat.h"

#include <QFile>
#include <QFileInfo>

#include <string_view>

namespace {

QString withLineBreakMarkers(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1String(VocabularyFormat::LineBreakMarker));
}

bool hasTimeRange(const VocabularyEntry &entry)
{
    return !entry.start.isEmpty() && !entry.end.isEmpty();
}

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

// What the learner is told of an append; `notWritten` names what was lost.
CaptureProblem problemOf(AppendOutcome outcome, CaptureProblem notWritten)
{
    switch (outcome) {
    case AppendOutcome::OpenFailed:
        return CaptureProblem::TargetNotOpened;
    case AppendOutcome::Busy:
        return CaptureProblem::TargetInUse;
    case AppendOutcome::WriteFailed:
        return notWritten;
    case AppendOutcome::Written:
        break;
    }
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

CaptureProblem targetProblem(const QString &targetPath, const QString &videoPath)
{
    if (tooShortForAPath(videoPath))
        return CaptureProblem::None;
    QFile file;
    if (!ReadableFile::open(file, targetPath))
        return CaptureProblem::None;
    BlockLineReader lines(file);
    std::string_view line;
    if (!lines.nextText(line))
        return CaptureProblem::None;
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (line.substr(0, byteOrderMark.size()) == byteOrderMark)
        line.remove_prefix(byteOrderMark.size());
    if (line.empty() || line.find(VocabularyFormat::SeparatorCore) != std::string_view::npos)
        return CaptureProblem::None;
    const QString filmLine = QString::fromUtf8(line.data(), int(line.size()));
    if (VocabularyFormat::filmFileName(filmLine) != VocabularyFormat::filmFileName(videoPath))
        return CaptureProblem::TargetOfAnotherFilm;
    return CaptureProblem::None;
}

QString withTextSuffix(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty() || name.contains(QLatin1Char('.')))
        return path;
    return path + QStringLiteral(".txt");
}

CaptureProblem startVocabularyFile(const QString &targetPath, const QString &videoPath,
                                   const WhileLocked &whileLocked)
{
    return problemOf(appendLineToFile(targetPath, videoPath, MissingFile::Create, whileLocked),
                     CaptureProblem::TargetNotStarted);
}

CaptureProblem saveVocabularyEntry(const QString &targetPath, const VocabularyEntry &entry,
                                   const WhileLocked &whileLocked)
{
    const CaptureProblem problem = entryProblem(targetPath, entry);
    if (problem != CaptureProblem::None)
        return problem;
    // A target that went away since it was chosen is not made again: a new
    // file would have no video path line.
    return problemOf(appendLineToFile(targetPath, assembleVocabularyRecord(entry), MissingFile::Refuse, whileLocked),
                     CaptureProblem::EntryNotWritten);
}
