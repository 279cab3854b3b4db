// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef VOCABULARYTARGET_H
#define VOCABULARYTARGET_H

#include "appendfile.h"
#include "vocabularyrecord.h"

#include <QString>

// Why choosing or starting a vocabulary file, or saving an entry, cannot go
// on; the window tells the learner each in words of its own.
enum class CaptureProblem {
    None,
    NoVideo,
    SeparatorInVideoPath,
    LineBreakInVideoPath,
    NoTarget,
    TargetOfAnotherFilm,
    WordOrTranslationMissing,
    OneTimeMissing,
    DoesNotReadBack,
    TargetNotOpened,
    TargetInUse,
    TargetNotStarted,
    EntryNotWritten,
    // Asked again while a save or a start waits for the file's lock.
    WriteUnderWay,
};

// The vocabulary file that saves go to, chosen with open() or started with
// create(); none at first. A file that belongs to another film is never
// taken; every other choice is kept, also one that cannot be written to, so
// that the next save says why.
class VocabularyTarget
{
public:
    // Whether a vocabulary file may be started for the film at `videoPath`: a
    // path that holds a separator core would be read back as a record, one
    // with a line feed as a shorter path and a record. A carriage return reads
    // back as it was written.
    static CaptureProblem videoPathProblem(const QString &videoPath);

    // Takes the existing file at `path` (none for an empty path: NoTarget),
    // after the checks of the film it belongs to and of appending to it: a
    // file another program holds is told at once. Nothing is written.
    CaptureProblem open(const QString &path, const QString &videoPath, const WhileLocked &whileLocked = {});
    // Takes the file at `path` and starts it for the film at `videoPath`:
    // appends the video path line, making the file when there is none. A
    // file another program holds is told at once and not written.
    CaptureProblem create(const QString &path, const QString &videoPath, const WhileLocked &whileLocked = {});
    // Checks `entry` in the order the learner is told of problems (a file,
    // word and translation, time texts, fields that would not read back),
    // then appends its record to the file, which must still be there.
    // Problems found before the append leave the file untouched; the others
    // leave it as appendLineToFile does.
    CaptureProblem save(const VocabularyEntry &entry, const WhileLocked &whileLocked = {});

    const QString &filePath() const { return textFilePath; }
    // Whether a save or a start is under way: `whileLocked` may be running
    // the window's events. Another one then is refused (WriteUnderWay).
    bool isWriting() const { return writing; }

private:
    // Refuses `path` as the target when it was started for another film.
    bool takeUnlessOfAnotherFilm(const QString &path, const QString &videoPath);
    CaptureProblem append(const QString &line, MissingFile whenMissing, CaptureProblem notWritten,
                          const WhileLocked &whileLocked, LockWait lockWait);

    QString textFilePath;
    bool writing = false;
};

// Whether the vocabulary file at `targetPath` may take the entries of the film
// at `videoPath`: not when its first line names a film of another file name
// (VocabularyFormat::filmFileName), since every entry saved to it would play
// from that film. A file that is empty, not there or cannot be read, one whose
// first line is a record or longer than any film's path, and any file while
// no film is open may. Only the start of the file is read.
CaptureProblem targetProblem(const QString &targetPath, const QString &videoPath);

// The name of a new vocabulary file: a file name without a suffix gets
// ".txt", which the trainer's open dialog lists, whatever its folders are called.
QString withTextSuffix(const QString &path);

#endif // VOCABULARYTARGET_H
