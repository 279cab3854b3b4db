// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowplacement.h"

#include <QtTest>

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void filmBesideTheMainWindow_data();
    void filmBesideTheMainWindow();
};

// Saver's frame is 324 x 600 and the film's 810 x 627 at 100 %; at 150 % a
// screen offers two thirds of its pixels. The fields and the tool bar lie
// 10 pixels inside Saver's frame.
void TestWindowPlacement::filmBesideTheMainWindow_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("saver");
    QTest::addColumn<QRect>("film");
    QTest::newRow("1366x768") << QRect(0, 0, 1366, 740) << QRect(0, 0, 324, 600) << QRect(324, 0, 810, 627);
    QTest::newRow("second screen, no room on the right")
        << QRect(1366, 0, 1920, 1050) << QRect(2900, 0, 324, 600) << QRect(2090, 0, 810, 627);
    QTest::newRow("1920x1080 at 150 %, raised off the bottom")
        << QRect(0, 0, 1280, 700) << QRect(40, 100, 324, 600) << QRect(364, 73, 810, 627);
    // 911x512: no room beside it, and the film made to fit the screen.
    QTest::newRow("1366x768 at 150 %") << QRect(0, 0, 911, 492) << QRect(0, 0, 324, 600) << QRect(276, 0, 635, 492);
}

void TestWindowPlacement::filmBesideTheMainWindow()
{
    QFETCH(QRect, available);
    QFETCH(QRect, saver);
    QFETCH(QRect, film);
    QCOMPARE(placeBeside(saver, QSize(810, 627), available, {saver.marginsRemoved(QMargins(10, 10, 10, 10))}), film);
}

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
