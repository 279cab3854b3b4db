// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef ROAD_H
#define ROAD_H

// One entry's road from film to drill, walked by two test programs that share
// nothing but the vocabulary file in ROAD_DIRECTORY: tst_road_saver saves the
// entry, tst_road_trainer drills it and plays its fragment.

#include <QByteArray>
#include <QDir>
#include <QString>

namespace Road {

inline QString directory()
{
    return QStringLiteral(ROAD_DIRECTORY);
}

inline QString vocabularyPath()
{
    return QDir(directory()).filePath(QStringLiteral("vocabulary.txt"));
}

// Long enough for the follower to pass the first cue and show the second.
constexpr int clipSeconds = 8;

const QByteArray subtitles =
    "1\r\n00:00:00,500 --> 00:00:01,200\r\nHello.\r\n\r\n"
    "2\r\n00:00:02,000 --> 00:00:04,500\r\nWe ran out\r\nof time.\r\n\r\n"
    "3\r\n00:00:05,500 --> 00:00:06,500\r\nBye.\r\n\r\n";
constexpr char cueStart[] = "00:00:02,000";
constexpr char cueEnd[] = "00:00:04,500";
constexpr qint64 cueStartMs = 2000;
constexpr qint64 cueLengthMs = 2500;

// What the learner types in the saver; the context is the cue as shown.
const QString word = QStringLiteral("run out");
const QString translation = QStringLiteral("закончиться");
const QString context = QStringLiteral("We ran out\nof time.");

} // namespace Road

#endif // ROAD_H
