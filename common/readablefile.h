// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef READABLEFILE_H
#define READABLEFILE_H

#include <QtGlobal>

class QFile;
class QString;

// Files the programs read whole (subtitles, vocabulary) come from the learner's
// file dialogs and may be anything: a pipe that never ends or never opens, a
// device that never runs dry, a file larger than the memory of a desktop.
namespace ReadableFile {

// Larger files are refused unread.
constexpr qint64 maximumBytes = qint64(1) << 30;
// The longest line that still fits a string once decoded, with room to spare.
constexpr qint64 maximumLineBytes = maximumBytes - (qint64(1) << 20);

// Opens `file` read-only on `path` when it names a regular file (or a link to
// one) of at most maximumBytes. Opening never waits: a pipe, a device or a
// folder is refused as if it could not be opened.
bool open(QFile &file, const QString &path);

// Whether `path` names something that is there but is no regular file: a pipe,
// a device, a folder or a file of the kernel's. Whatever opens it to read, a
// media player too, may wait for data that never comes. A missing file is no
// such thing.
bool namesNoRegularFile(const QString &path);

} // namespace ReadableFile

#endif // READABLEFILE_H
