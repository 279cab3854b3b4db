// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopchecks.h"
#include "mainwindow.h"

#include <QDir>
#include <QPointer>
#include <QTextDocument>
#include <QtTest>

// The saver on a desktop: what a screen reader says for its buttons, and its
// images for a screen at twice the scale.
class TestSaverDesktop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void screenReaderNames();
    void imagesAtTwiceTheSize();
};

void TestSaverDesktop::initTestCase()
{
    Q_INIT_RESOURCE(saver);
}

void TestSaverDesktop::screenReaderNames()
{
    QPointer<MainWindow> window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    const AccessibleButtons buttons = accessibleButtons(window);
    delete window;
    // The button beside the "Time:" field, then the tool bar, left to right.
    QCOMPARE(buttons.names,
             QStringList({"Jump to the typed time", "About", "Open a film", "Open subtitles", "Play",
                          "Pause", "Stop", "Create a vocabulary file", "Open a vocabulary file",
                          "Save the entry"}));
    // Left to itself the toolkit would read out the tool tips' markup.
    for (const QString &description : buttons.descriptions)
        QVERIFY2(!description.isEmpty() && !Qt::mightBeRichText(description), qPrintable(description));
}

void TestSaverDesktop::imagesAtTwiceTheSize()
{
    const QString folder = QStringLiteral(":/new/prefix1/icons");
    QVERIFY(!QDir(folder).isEmpty());
    QCOMPARE(imagesWithoutTwiceTheSize(folder), QStringList());
}

QTEST_MAIN(TestSaverDesktop)
#include "tst_saverdesktop.moc"
