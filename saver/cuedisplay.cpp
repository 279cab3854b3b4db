// SPDX-License-Identifier: GPL-3.0-or-later
#include "cuedisplay.h"

#include "cuetext.h"
#include "timestamp.h"

#include <QLineEdit>
#include <QTextBrowser>

CueDisplay::CueDisplay(QLineEdit *position, QWidget *jumpButton, QTextBrowser *lines, QLineEdit *start,
                       QLineEdit *end)
    : position(position)
    , jumpButton(jumpButton)
    , lines(lines)
    , start(start)
    , end(end)
{
}

bool CueDisplay::load(SubtitleTable table)
{
    return cueFollower.load(std::move(table));
}

void CueDisplay::report(qint64 positionMs)
{
    if (!cueFollower.isFollowing())
        return;
    if (!isTimeTyped())
        position->setText(msToTimestamp(positionMs));
    apply(cueFollower.report(positionMs));
}

void CueDisplay::jump(qint64 positionMs, bool playing)
{
    if (!cueFollower.isFollowing())
        return;
    position->setText(msToTimestamp(positionMs));
    for (FollowerStep step : cueFollower.jump(positionMs, playing))
        apply(step);
}

void CueDisplay::showCueTimes()
{
    if (!cueFollower.isShowingCue())
        return;
    start->setText(msToTimestamp(cueFollower.cueStartMs()));
    end->setText(msToTimestamp(cueFollower.cueEndMs()));
}

void CueDisplay::apply(FollowerStep step)
{
    switch (step) {
    case FollowerStep::Selected:
        lines->clear();
        start->clear();
        end->clear();
        break;
    case FollowerStep::Shown: {
        // A long cue is read from its first line.
        lines->setHtml(cueHtml(cueFollower.cue()->lines));
        lines->moveCursor(QTextCursor::Start);
        start->setText(msToTimestamp(cueFollower.cueStartMs()));
        end->setText(msToTimestamp(cueFollower.cueEndMs()));
        break;
    }
    case FollowerStep::Unchanged:
        break;
    }
}

bool CueDisplay::isTimeTyped() const
{
    return position->hasFocus() || jumpButton->hasFocus();
}
