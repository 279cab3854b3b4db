// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FILMFORMATS_H
#define FILMFORMATS_H

#include <QString>

// The kinds of film learners bring, as rows of a data-driven test: the columns
// "fileName" (QString), "encoder" (QString, the GStreamer elements that turn
// raw video into the file's bytes) and "mustPlay" (bool: the packages the
// programs depend on can make and play it, so a missing element is a fault,
// not a reason to skip).
void addFilmFormatRows();

// The current row's film, made into `directory` from `seconds` of test
// pattern (160x120, 25 frames a second). Without a path, either the row is to
// be skipped (skipReason) or it fails (failure).
struct FormatClip
{
    QString path;
    QString skipReason;
    QString failure;
};

FormatClip makeRowClip(const QString &directory, int seconds);

#endif // FILMFORMATS_H
