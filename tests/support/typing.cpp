// SPDX-License-Identifier: GPL-3.0-or-later
#include "typing.h"

#include <QtTest>

void typeText(QWidget *widget, const QString &text)
{
    for (const QChar character : text) {
        if (character == QLatin1Char('\n'))
            QTest::keyClick(widget, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character), Qt::NoModifier);
    }
}
