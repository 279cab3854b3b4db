// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SUBTITLES_H
#define SUBTITLES_H

#include <QMap>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

class QIODevice;

// One SubRip cue: its end time and its text lines, without line terminators.
struct SubtitleCue
{
    qint64 endMs = 0;
    QStringList lines;
};

// Cues keyed by their start time in milliseconds. When a file holds several
// cues with the same start time, the first one is kept.
using SubtitleTable = QMap<qint64, SubtitleCue>;

// Reads SubRip text until the device is at its end. Only time lines (any line
// containing "-->") start a cue; the start time is read from the line's first
// 12 characters and the end time from the 12 characters at position 17. The
// cue's text runs up to the next line that is empty but for blanks and tabs,
// or the end of the data. Index lines and anything else outside a cue are
// skipped unread. Each line is taken as lineText() gives it.
//
// The text is UTF-8 where it is valid UTF-8; a file of another encoding
// (decodeLegacySubtitles) is read whole and may be at most 64 MiB.
//
// Gives nothing when the device could not be read to its end, or holds more
// than a file may (ReadableFile).
std::optional<SubtitleTable> readSubtitles(QIODevice &device);

// The same for a file; nothing for a file that cannot be opened or is no
// regular file.
std::optional<SubtitleTable> readSubtitleFile(const QString &path);

#endif // SUBTITLES_H
