// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef CUEDISPLAY_H
#define CUEDISPLAY_H

#include "subtitles.h"

class QLineEdit;
class QTextBrowser;

// The widgets that show what the subtitle follower follows: the position in
// the "Time:" field, and the followed cue's lines and its start and end time.
class CueDisplay
{
public:
    CueDisplay() = default;
    CueDisplay(QLineEdit *position, QTextBrowser *lines, QLineEdit *start, QLineEdit *end);

    void showPosition(qint64 positionMs) const;
    // Does what a follower step asks for: a selection empties the cue's
    // widgets, showing adds `cue`'s lines to the text and fills its times.
    void apply(FollowerStep step, SubtitleTable::const_iterator cue) const;

private:
    QLineEdit *position = nullptr;
    QTextBrowser *lines = nullptr;
    QLineEdit *start = nullptr;
    QLineEdit *end = nullptr;
};

#endif // CUEDISPLAY_H
