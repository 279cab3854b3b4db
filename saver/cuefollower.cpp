// SPDX-License-Identifier: GPL-3.0-or-later
#include "cuefollower.h"

SubtitleTable::const_iterator cueForPosition(const SubtitleTable &table, qint64 positionMs)
{
    auto cue = table.lowerBound(positionMs);
    if (cue != table.constBegin())
        --cue;
    return cue;
}

bool CueFollower::load(SubtitleTable table)
{
    if (table.size() < minimumCues) {
        currentCue.reset();
        subtitles.clear();
        cuePending = false;
        return false;
    }
    subtitles = std::move(table);
    currentCue = subtitles.constBegin();
    cuePending = true;
    return true;
}

FollowerStep CueFollower::report(qint64 positionMs)
{
    Q_ASSERT(isFollowing());
    if (positionMs > cueEndMs() || positionMs <= cueStartMs()) {
        currentCue = cueForPosition(subtitles, positionMs);
        cuePending = true;
        return FollowerStep::Selected;
    }
    if (!cuePending)
        return FollowerStep::Unchanged;
    cuePending = false;
    return FollowerStep::Shown;
}

std::array<FollowerStep, 2> CueFollower::jump(qint64 positionMs, bool playing)
{
    if (playing)
        return {FollowerStep::Unchanged, FollowerStep::Unchanged};
    const FollowerStep first = report(positionMs);
    return {first, report(positionMs)};
}
