// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef CUEDISPLAY_H
#define CUEDISPLAY_H

#include "cuefollower.h"

class QLineEdit;
class QTextBrowser;
class QWidget;

// The widgets that show what the subtitle follower follows: the position in
// the "Time:" field, and the followed cue's lines and its start and end time.
// Owned by the window whose widgets it writes. While the learner types a time
// to jump to (the "Time:" field or the button that jumps has the focus),
// reports leave that field alone.
class CueDisplay
{
public:
    CueDisplay(QLineEdit *position, QWidget *jumpButton, QTextBrowser *lines, QLineEdit *start,
               QLineEdit *end);

    // Follows `table` from now on when it is a subtitle file's (see CueFollower::load).
    bool load(SubtitleTable table);
    // A position report of the player: the position shown, the follower moved on.
    void report(qint64 positionMs);
    // A jump asked by the learner, while the film plays or not.
    void jump(qint64 positionMs, bool playing);
    // Fills the time fields again with the times of the cue on screen, if one is.
    void showCueTimes();

private:
    // Does what a follower step asks for: a selection empties the cue's
    // widgets, showing puts the cue's text in the panel and fills its times.
    void apply(FollowerStep step);
    bool isTimeTyped() const;

    CueFollower cueFollower;
    QLineEdit *position;
    QWidget *jumpButton;
    QTextBrowser *lines;
    QLineEdit *start;
    QLineEdit *end;
};

#endif // CUEDISPLAY_H
