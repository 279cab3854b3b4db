// SPDX-License-Identifier: GPL-3.0-or-later
#include "drill.h"

#include "timestamp.h"
#include "vocabularyformat.h"

#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace {
constexpr int shortestRightAnswer = 2;
}

bool isRightAnswer(const QString &answer, const QString &translation)
{
    return answer.size() >= shortestRightAnswer
           && translation.indexOf(answer, 0, Qt::CaseInsensitive) >= 0;
}

QString displayText(const QString &stored)
{
    static const QRegularExpression lineBreakRun(QStringLiteral("[-*-]{2,}"));
    QString shown = stored;
    return shown.replace(lineBreakRun, QStringLiteral("\n"));
}

bool isTimeRange(const QString &element)
{
    return element.contains(QLatin1String(VocabularyFormat::TimeRangeJoiner));
}

bool isMarked(const TrainerEntry &entry)
{
    return !entry.isEmpty() && entry.first() == QLatin1String(TrainerMark::Marked);
}

std::optional<QString> contextOf(const TrainerEntry &entry)
{
    if (entry.size() >= 4 && !isTimeRange(entry.at(3)))
        return entry.at(3);
    return std::nullopt;
}

int drawUnmarked(const QVector<TrainerEntry> &entries, const std::function<uint()> &nextRandom)
{
    if (std::all_of(entries.cbegin(), entries.cend(), isMarked))
        return -1;
    const uint count = uint(entries.size());
    uint index;
    do {
        index = nextRandom() % count;
    } while (isMarked(entries.at(int(index))));
    return int(index);
}

std::optional<Fragment> fragmentOf(const TrainerEntry &entry)
{
    if (entry.size() < 4)
        return std::nullopt;
    const QString &range = entry.last();
    const QLatin1String joiner(VocabularyFormat::TimeRangeJoiner);
    const int joinAt = range.indexOf(joiner);
    if (joinAt < 0)
        return std::nullopt;
    Fragment fragment;
    fragment.startMs = timestampToMs(range.left(joinAt));
    fragment.durationMs = timestampToMs(range.mid(joinAt + joiner.size())) - fragment.startMs;
    return fragment;
}

namespace {

// Cutting to the low 32 bits would turn a wait beyond 24.8 days into a short
// or negative one.
int timerDelay(qint64 ms)
{
    return int(std::min<qint64>(ms, std::numeric_limits<int>::max()));
}

} // namespace

std::optional<int> msToFragmentEnd(const Fragment &fragment, qint64 positionMs)
{
    if (fragment.durationMs < 0)
        return std::nullopt;
    const qint64 endMs = fragment.startMs + fragment.durationMs;
    if (positionMs >= endMs)
        return 0;
    if (positionMs <= fragment.startMs)
        return std::nullopt;
    return timerDelay(endMs - positionMs);
}

std::optional<int> fallbackStopMs(qint64 durationMs)
{
    constexpr qint64 graceMs = 5000;
    if (durationMs < 0)
        return std::nullopt;
    return timerDelay(std::min(durationMs, std::numeric_limits<qint64>::max() - graceMs) + graceMs);
}
