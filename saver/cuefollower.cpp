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
    subtitles = std::move(table);
    currentCue = subtitles.constBegin();
    if (subtitles.size() < minimumCues)
        return false;
    cueStartMs = currentCue.key();
    cueEndMs = currentCue->endMs;
    cuePending = true;
    return true;
}

bool CueFollower::isFollowing() const
{
    // Idle before the first good table, and while a later one has left no
    // cue to follow.
    return cueStartMs != -1 && !subtitles.isEmpty();
}

FollowerStep CueFollower::report(qint64 positionMs)
{
    Q_ASSERT(isFollowing());
    if (positionMs > cueEndMs || positionMs <= cueStartMs) {
        currentCue = cueForPosition(subtitles, positionMs);
        cueStartMs = currentCue.key();
        cueEndMs = currentCue->endMs;
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
