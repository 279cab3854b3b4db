// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef VOCABULARYREADER_H
#define VOCABULARYREADER_H

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

class QIODevice;

// One record as loaded: mark, word, translation, then the context and/or the
// time range exactly as cut from the line (markers "-*-" kept, nothing trimmed).
using TrainerEntry = QStringList;

namespace TrainerMark {
constexpr char Unmarked[] = " ";
constexpr char Marked[] = "F";
}

struct VocabularyContents
{
    QString videoPath;
    QVector<TrainerEntry> entries;
};

// Reads a whole vocabulary file. Line 1 is the video path, unless it is a
// record itself; then it is loaded as an entry and the video path is empty.
// Each line is taken as lineText() gives it and decoded as UTF-8; a byte-order
// mark at the start of the file is dropped. A device is read in blocks, never
// whole. Gives nothing when the data could not be read to its end, or holds
// more than a file may (ReadableFile).
std::optional<VocabularyContents> readVocabulary(QIODevice &device);

// The same for a file; nothing for a file that cannot be opened or is no
// regular file.
std::optional<VocabularyContents> readVocabularyFile(const QString &path);

// The film to play for a vocabulary file whose line 1 is `writtenPath`, so
// that a folder holding both still plays after it was moved or copied to
// another computer: an absolute `writtenPath` naming an existing file; else a
// relative one taken from the vocabulary file's folder (never from the working
// directory); else the file of the same name (after the last "/" or "\") in
// that folder; else `writtenPath` as it stands.
QString filmPathFor(const QString &writtenPath, const QString &vocabularyFilePath);

#endif // VOCABULARYREADER_H
