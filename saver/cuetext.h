// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef CUETEXT_H
#define CUETEXT_H

#include <QString>
#include <QStringList>

// A cue's lines as one piece of rich text, one paragraph a line. SubRip's
// <i>, <b>, <u> and <font color="..."> apply across the lines of the cue: a
// tag opened on one line may close on a later one, or never. Position blocks
// such as {\an8} are left out; all other text, a "<" or ">" of the dialogue
// included, shows as written. So the text a learner copies from the display
// holds no markup.
QString cueHtml(const QStringList &lines);

#endif // CUETEXT_H
