// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef TYPING_H
#define TYPING_H

#include <QString>

class QWidget;

// Types `text` into `widget` one key at a time, as a keyboard would; unlike
// QTest::keyClicks it also sends letters beyond Latin-1. A "\n" in the text is
// the Return key.
void typeText(QWidget *widget, const QString &text);

#endif // TYPING_H
