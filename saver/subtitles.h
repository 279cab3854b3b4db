// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SUBTITLES_H
#define SUBTITLES_H

#include <QMap>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>
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

// Bytes asked of the device at a time when reading subtitles.
constexpr int subtitleBlockSize = 1 << 20;

// Reads SubRip text until the device is at its end. Only time lines (any line
// containing "-->") start a cue; the start time is read from the line's first
// 12 characters and the end time from the 12 characters at position 17. The
// cue's text runs up to the next line that is empty but for blanks and tabs,
// or the end of the data. Index lines and anything else outside a cue are
// skipped unread. Each line loses its terminator (CR LF, LF or none) and
// counts up to its first NUL byte.
//
// The text is UTF-8 where it is valid UTF-8. Other files are in the legacy
// encoding the detector finds for the whole file when subtitle files are
// written in it, Windows-1252 otherwise, and also when the guess is one page
// of Latin letters for another on only a few non-ASCII bytes; a file that
// starts with a UTF-16 byte-order mark is UTF-16. Such a file is read whole
// and may be at most 64 MiB.
//
// Gives nothing when the device could not be read to its end, or holds more
// than a file may (ReadableFile). The data is read in blocks of blockSize
// bytes (smaller ones are for tests); a longer line is still read whole.
std::optional<SubtitleTable> readSubtitles(QIODevice &device, int blockSize = subtitleBlockSize);

// The same for a file; nothing for a file that cannot be opened or is no
// regular file.
std::optional<SubtitleTable> readSubtitleFile(const QString &path);

// The cue to follow at a position: the last cue starting strictly before it,
// or the first cue when none does. Gives table.constEnd() only for an empty table.
SubtitleTable::const_iterator cueForPosition(const SubtitleTable &table, qint64 positionMs);

// What a position report did to the followed cue.
enum class FollowerStep {
    Selected,  // the position left the cue: a cue was selected again, the display must be cleared
    Shown,     // the position is inside the pending cue: its lines and times must be shown now
    Unchanged, // nothing to do
};

// Moves the follower on to a position report. A cue is shown at the first
// report strictly inside it while it is pending and stays until a report falls
// after its end or at or before its start; such a report selects the cue for
// the position, marked pending. The table must not be empty and currentCue
// must refer to one of its cues.
FollowerStep followPosition(const SubtitleTable &table, qint64 positionMs,
                            SubtitleTable::const_iterator &currentCue,
                            qint64 &cueStartMs, qint64 &cueEndMs, bool &cuePending);

// The steps a jump to a position takes, in order. While the film plays, the
// reports that follow the jump move the follower on and the jump itself takes
// none. A film that stands still reports a jump once at most, so the follower
// is moved on at once as far as two reports at the position take it: the cue
// that covers the position is shown, or the display is left empty. Same
// preconditions as followPosition.
std::array<FollowerStep, 2> followJump(const SubtitleTable &table, qint64 positionMs, bool playing,
                                       SubtitleTable::const_iterator &currentCue,
                                       qint64 &cueStartMs, qint64 &cueEndMs, bool &cuePending);

#endif // SUBTITLES_H
