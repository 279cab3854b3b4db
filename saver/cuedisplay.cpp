// SPDX-License-Identifier: GPL-3.0-or-later
#include "cuedisplay.h"

#include "timestamp.h"

#include <QLineEdit>
#include <QTextBrowser>

CueDisplay::CueDisplay(QLineEdit *position, QTextBrowser *lines, QLineEdit *start, QLineEdit *end)
    : position(position)
    , lines(lines)
    , start(start)
    , end(end)
{
}

void CueDisplay::showPosition(qint64 positionMs) const
{
    position->setText(msToTimestamp(positionMs));
}

void CueDisplay::apply(FollowerStep step, SubtitleTable::const_iterator cue) const
{
    switch (step) {
    case FollowerStep::Selected:
        lines->clear();
        start->clear();
        end->clear();
        break;
    case FollowerStep::Shown:
        // One paragraph a line, added to what the display holds.
        for (const QString &line : cue->lines)
            lines->append(line);
        start->setText(msToTimestamp(cue.key()));
        end->setText(msToTimestamp(cue->endMs));
        break;
    case FollowerStep::Unchanged:
        break;
    }
}
