#ifndef SUBTITLEREFERENCE_H
#define SUBTITLEREFERENCE_H

#include "subtitles.h"

class QIODevice;
class QString;

// The plain line-by-line subtitle reader: QIODevice::readLine, one
// QString::fromUtf8 per line and QMap::insert. It is the yardstick the fast
// reader is measured against and must agree with for every input, so it stays
// as simple as it is.
SubtitleTable readSubtitlesReference(QIODevice &device);
SubtitleTable readSubtitleFileReference(const QString &path);

// The first difference between two tables, described for a failure message,
// or an empty string when they hold the same cues.
QString subtitleTableDifference(const SubtitleTable &expected, const SubtitleTable &actual);

#endif // SUBTITLEREFERENCE_H
