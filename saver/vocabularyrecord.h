// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef VOCABULARYRECORD_H
#define VOCABULARYRECORD_H

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

#endif // VOCABULARYRECORD_H
