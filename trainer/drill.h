// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef DRILL_H
#define DRILL_H

#include "vocabularyreader.h"

#include <QString>
#include <QVector>
#include <QtGlobal>

#include <functional>
#include <optional>

// The rules of the drill, apart from any window.

// Right when the answer has at least two characters and occurs in the
// translation, letter case ignored. The answer is taken exactly as typed.
bool isRightAnswer(const QString &answer, const QString &translation);

// A stored field as the learner sees it: every run of two or more "-" or "*"
// becomes one line break. This undoes the line-break marker "-*-", and also
// turns a "--" or "**" the learner typed into a line break.
QString displayText(const QString &stored);

bool isTimeRange(const QString &element);
bool isMarked(const TrainerEntry &entry);

// The context shown after answering: element 3, unless it is a time range.
std::optional<QString> contextOf(const TrainerEntry &entry);

// Draws positions as `nextRandom() % count` until an unmarked entry comes up.
// Returns -1, without drawing, when there is none.
int drawUnmarked(const QVector<TrainerEntry> &entries, const std::function<uint()> &nextRandom);

// The piece of film an entry was taken from, in milliseconds. The length is
// negative when the end lies before the start.
struct Fragment
{
    qint64 startMs = 0;
    qint64 durationMs = 0;
};

// The fragment named by the entry's last element, when the entry has at least
// four elements and that element holds "***"; it is split at the first "***".
// A "***" in a context before the last element is no time range.
std::optional<Fragment> fragmentOf(const TrainerEntry &entry);

// How long a fragment playing at positionMs has left until its end: 0 once the
// end is reached (at once for a zero length), nothing while the position has
// not yet moved on from the start, and nothing for a negative length, which
// plays on. The player reports the start as its position long before the
// first frame of the fragment shows, so only a position past the start says
// how much of the fragment has been played. At most what a timer can wait.
std::optional<int> msToFragmentEnd(const Fragment &fragment, qint64 positionMs);

// When to stop a fragment that never gets going (a film that cannot play):
// some seconds after its length; nothing for a negative length.
std::optional<int> fallbackStopMs(qint64 durationMs);

#endif // DRILL_H
