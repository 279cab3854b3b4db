// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocabularytarget.h"

#include "blocklinereader.h"
#include "readablefile.h"
#include "vocabularyformat.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {

// A film's path is a few hundred bytes long; a first line without a line
// feed in this many names no film.
constexpr qint64 longestFilmLineBytes = 64 * 1024;

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

CaptureProblem VocabularyTarget::open(const QString &path, const QString &videoPath, const WhileLocked &whileLocked)
{
    if (writing)
        return CaptureProblem::WriteUnderWay;
    if (!takeUnlessOfAnotherFilm(path, videoPath))
        return CaptureProblem::TargetOfAnotherFilm;
    if (textFilePath.isEmpty())
        return CaptureProblem::NoTarget;
    return problemOf(probeAppend(textFilePath, whileLocked), CaptureProblem::TargetNotOpened);
}

CaptureProblem VocabularyTarget::create(const QString &path, const QString &videoPath,
                                        const WhileLocked &whileLocked)
{
    if (writing)
        return CaptureProblem::WriteUnderWay;
    const CaptureProblem problem = videoPathProblem(videoPath);
    if (problem != CaptureProblem::None)
        return problem;
    if (!takeUnlessOfAnotherFilm(path, videoPath))
        return CaptureProblem::TargetOfAnotherFilm;
    if (textFilePath.isEmpty())
        return CaptureProblem::NoTarget;
    // The file is appended to, never emptied.
    return append(videoPath, MissingFile::Create, CaptureProblem::TargetNotStarted, whileLocked, LockWait::Moment);
}

CaptureProblem VocabularyTarget::save(const VocabularyEntry &entry, const WhileLocked &whileLocked)
{
    if (writing)
        return CaptureProblem::WriteUnderWay;
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
    return append(assembleVocabularyRecord(entry), MissingFile::Refuse, CaptureProblem::EntryNotWritten,
                  whileLocked, LockWait::AppendLength);
}

CaptureProblem VocabularyTarget::append(const QString &line, MissingFile whenMissing, CaptureProblem notWritten,
                                        const WhileLocked &whileLocked, LockWait lockWait)
{
    writing = true;
    const AppendOutcome outcome = appendLineToFile(textFilePath, line, whenMissing, whileLocked, lockWait);
    writing = false;
    return problemOf(outcome, notWritten);
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
    // Room for the longest line that can name a film, and its terminator.
    const QByteArray start = file.read(longestFilmLineBytes + 2);
    const int lineFeed = start.indexOf('\n');
    if (lineFeed < 0 && start.size() > longestFilmLineBytes)
        return CaptureProblem::None;
    const std::optional<QString> filmLine =
        VocabularyFormat::filmLineOf(lineText(start.constData(), lineFeed < 0 ? start.size() : lineFeed + 1));
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
