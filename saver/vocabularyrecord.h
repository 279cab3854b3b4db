// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef VOCABULARYRECORD_H
#define VOCABULARYRECORD_H

#include "appendfile.h"

#include <QString>

// One entry as the learner typed it: plain texts of the three text edits
// (line breaks as LF) and the two time texts as they stand.
struct VocabularyEntry
{
    QString word;
    QString translation;
    QString context;
    QString start;
    QString end;
};

// The record line for `entry`, without line terminator: word and translation,
// the context when it is not empty, the time range when both time texts are
// given. Line breaks become the line-break marker; nothing else is changed.
QString assembleVocabularyRecord(const VocabularyEntry &entry);

// False when the reader would cut the record elsewhere than the writer joined
// it: a field separator core inside any field, or a time range joiner in the
// context (taken for a time range) or in a time text, or a star at the end of
// the start (either way the time range is split at the wrong place).
bool readsBackAsTyped(const VocabularyEntry &entry);

// Why starting a vocabulary file or saving an entry cannot go on; the window
// tells the learner each in words of its own.
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
};

// Whether a vocabulary file may be started for the film at `videoPath`: a
// path that holds a separator core would be read back as a record, one with a
// line feed as a shorter path and a record. A carriage return reads back as
// it was written.
CaptureProblem videoPathProblem(const QString &videoPath);

// Whether the vocabulary file at `targetPath` may take the entries of the film
// at `videoPath`: not when its first line names a film of another file name
// (VocabularyFormat::filmFileName), since every entry saved to it would play
// from that film. A file that is empty, not there or cannot be read, one whose
// first line is a record, and any file while no film is open may.
CaptureProblem targetProblem(const QString &targetPath, const QString &videoPath);

// The name of a new vocabulary file: a file name without a suffix gets
// ".txt", which the trainer's open dialog lists, whatever its folders are called.
QString withTextSuffix(const QString &path);

// Starts the vocabulary file at `targetPath` for the film at `videoPath`:
// appends the video path line, making the file when there is none.
CaptureProblem startVocabularyFile(const QString &targetPath, const QString &videoPath,
                                   const WhileLocked &whileLocked = {});

// Checks `entry` for the file at `targetPath` in the order the learner is told
// of problems (target, word and translation, time texts, fields that would
// not read back), then appends its record to that file, which must exist.
// Problems found before the append leave the file untouched; the others
// leave it as appendLineToFile does.
CaptureProblem saveVocabularyEntry(const QString &targetPath, const VocabularyEntry &entry,
                                   const WhileLocked &whileLocked = {});

#endif // VOCABULARYRECORD_H
