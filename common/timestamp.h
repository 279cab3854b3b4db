// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef TIMESTAMP_H
#define TIMESTAMP_H

#include <QString>
#include <QtGlobal>

// Conversions between the subtitle time text "hh:mm:ss,mmm" and milliseconds.
//
// timestampToMs cuts its four fields at fixed positions (0, 3, 6 and 9) and
// never looks at the separators; a field that is not a number counts as 0.
// msToTimestamp writes hours above 23 as "00" and pads negative parts as if
// they were small numbers ("-1500" gives "00:00:0-1,00-500"). Both quirks are
// what stored vocabulary files rely on, so they are kept as they are.
qint64 timestampToMs(QString text);
QString msToTimestamp(qint64 ms);

#endif // TIMESTAMP_H
