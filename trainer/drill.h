#ifndef DRILL_H
#define DRILL_H

#include "vocabularyreader.h"

#include <QString>
#include <QVector>

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

// True when an element from position 3 on holds a time range.
bool hasFragment(const TrainerEntry &entry);

// The context shown after answering: element 3, unless it is a time range.
std::optional<QString> contextOf(const TrainerEntry &entry);

// Draws positions as `nextRandom() % count` until an unmarked entry comes up.
// Returns -1, without drawing, when there is none.
int drawUnmarked(const QVector<TrainerEntry> &entries, const std::function<uint()> &nextRandom);

#endif // DRILL_H
