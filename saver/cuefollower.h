// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef CUEFOLLOWER_H
#define CUEFOLLOWER_H

#include "subtitles.h"

#include <array>
#include <optional>

// The cue to follow at a position: the last cue starting strictly before it,
// or the first cue when none does. Gives table.constEnd() only for an empty table.
SubtitleTable::const_iterator cueForPosition(const SubtitleTable &table, qint64 positionMs);

// What a position report did to the followed cue.
enum class FollowerStep {
    Selected,  // the position left the cue: a cue was selected again, the display must be cleared
    Shown,     // the position is inside the pending cue: its lines and times must be shown now
    Unchanged, // nothing to do
};

// Follows the film's position through a subtitle table and tells the display
// what to do at each step. Idle until a table has been taken up.
class CueFollower
{
public:
    // Tables with fewer cues are no subtitle file.
    static constexpr int minimumCues = 3;

    // Takes a newly read table, and tells whether it is one to follow. A table
    // that is has its first cue selected, not yet shown. One that is not
    // leaves the follower idle: nothing of it, or of an earlier table, is ever
    // shown.
    bool load(SubtitleTable table);

    bool isFollowing() const { return currentCue.has_value(); }
    // Whether the current cue is on screen: shown, and not left since.
    bool isShowingCue() const { return isFollowing() && !cuePending; }

    // One position report. A cue is shown at the first report strictly inside
    // it while it is pending and stays until a report falls after its end or
    // at or before its start; such a report selects the cue for the position,
    // marked pending. Only while following.
    FollowerStep report(qint64 positionMs);

    // The steps a jump to a position takes, in order. While the film plays,
    // the reports that follow the jump move the follower on and the jump
    // itself takes none. A film that stands still reports a jump once at
    // most, so the follower is moved on at once as far as two reports at the
    // position take it: the cue that covers the position is shown, or the
    // display is left empty. Only while following.
    std::array<FollowerStep, 2> jump(qint64 positionMs, bool playing);

    // The cue a step selected or showed, and its times. Only while following.
    SubtitleTable::const_iterator cue() const { return *currentCue; }
    qint64 cueStartMs() const { return currentCue->key(); }
    qint64 cueEndMs() const { return (*currentCue)->endMs; }

private:
    SubtitleTable subtitles;
    // None until a table has been taken up: the follower stays idle.
    std::optional<SubtitleTable::const_iterator> currentCue;
    bool cuePending = false;
};

#endif // CUEFOLLOWER_H
