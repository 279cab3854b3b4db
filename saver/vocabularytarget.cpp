// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocabularytarget.h"

#include "blocklinereader.h"
#include "readablefile.h"
#include "vocabularyformat.h"

#include <QFile>
#include <QFileInfo>

#include <optional>
#include <string_view>

namespace {

// A path or file name this short is taken for none.
bool tooShortForAPath(const QString &path)
{
    return path.size() < 2;
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

CaptureProblem VocabularyTarget::videoPathProblem(const QString &videoPath)
{
    if (tooShortForAPath(videoPath))
        return CaptureProblem::NoVideo;
    if (videoPath.contains(QLatin1String(VocabularyFormat::SeparatorCore)))
        return CaptureProblem::SeparatorInVideoPath;
    if (videoPath.contains(QLatin1Char('\n')))
        return CaptureProblem::LineBreakInVideoPath;
    return CaptureProblem::None;
}

CaptureProblem VocabularyTarget::open(const QString &path, const QString &videoPath)
{
    if (!takeUnlessOfAnotherFilm(path, videoPath))
        return CaptureProblem::TargetOfAnotherFilm;
    if (textFilePath.isEmpty())
        return CaptureProblem::NoTarget;
    return canAppendToFile(textFilePath) ? CaptureProblem::None : CaptureProblem::TargetNotOpened;
}

CaptureProblem VocabularyTarget::create(const QString &path, const QString &videoPath,
                                        const WhileLocked &whileLocked)
{
    const CaptureProblem problem = videoPathProblem(videoPath);
    if (problem != CaptureProblem::None)
        return problem;
    if (!takeUnlessOfAnotherFilm(path, videoPath))
        return CaptureProblem::TargetOfAnotherFilm;
    if (textFilePath.isEmpty())
        return CaptureProblem::NoTarget;
    // The file is appended to, never emptied.
    return problemOf(appendLineToFile(textFilePath, videoPath, MissingFile::Create, whileLocked),
                     CaptureProblem::TargetNotStarted);
}

CaptureProblem VocabularyTarget::save(const VocabularyEntry &entry, const WhileLocked &whileLocked) const
{
    if (tooShortForAPath(textFilePath))
        return CaptureProblem::NoTarget;
    if (entry.word.isEmpty() || entry.translation.isEmpty())
        return CaptureProblem::WordOrTranslationMissing;
    if (entry.start.isEmpty() != entry.end.isEmpty())
        return CaptureProblem::OneTimeMissing;
    if (!readsBackAsTyped(entry))
        return CaptureProblem::DoesNotReadBack;
    // A target that went away since it was chosen is not made again: a new
    // file would have no video path line.
    return problemOf(appendLineToFile(textFilePath, assembleVocabularyRecord(entry), MissingFile::Refuse, whileLocked),
                     CaptureProblem::EntryNotWritten);
}

bool VocabularyTarget::takeUnlessOfAnotherFilm(const QString &path, const QString &videoPath)
{
    // A refused file is not in use: a save asks for a file.
    const bool taken = targetProblem(path, videoPath) == CaptureProblem::None;
    textFilePath = taken ? path : QString();
    return taken;
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
    const std::optional<QString> filmLine = VocabularyFormat::filmLineOf(line);
    if (!filmLine || filmLine->isEmpty())
        return CaptureProblem::None;
    if (VocabularyFormat::filmFileName(*filmLine) != VocabularyFormat::filmFileName(videoPath))
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
