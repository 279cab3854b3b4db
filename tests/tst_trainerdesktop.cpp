// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopchecks.h"
#include "mainwindow_2.h"
#include "mywidget.h"

#include <QApplication>
#include <QDir>
#include <QTextDocument>
#include <QtTest>

#include <memory>

// The trainer on a desktop: what a screen reader says for the buttons of its
// main widget and fragment window, and its images for a screen at twice the
// scale.
class TestTrainerDesktop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void screenReaderNames_data();
    void screenReaderNames();
    void imagesAtTwiceTheSize();
};

void TestTrainerDesktop::initTestCase()
{
    Q_INIT_RESOURCE(trainer);
}

void TestTrainerDesktop::screenReaderNames_data()
{
    QTest::addColumn<bool>("fragmentWindow");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("main widget") << false
                                 << QStringList({"Open a vocabulary file", "Next word", "Mark as known",
                                                 "Play the word's piece of film", "Help"});
    QTest::newRow("fragment window") << true << QStringList({"Play again"});
}

void TestTrainerDesktop::screenReaderNames()
{
    QFETCH(bool, fragmentWindow);
    QFETCH(QStringList, names);
    const auto widget = std::make_unique<MyWidget>(nullptr);
    QWidget *window = widget.get();
    if (fragmentWindow) {
        for (QWidget *candidate : QApplication::topLevelWidgets()) {
            if (qobject_cast<MainWindow_2 *>(candidate))
                window = candidate;
        }
        QVERIFY(window != widget.get());
    }
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    const AccessibleButtons buttons = accessibleButtons(window);
    QCOMPARE(buttons.names, names);
    for (const QString &description : buttons.descriptions)
        QVERIFY2(!description.isEmpty() && !Qt::mightBeRichText(description), qPrintable(description));
}

void TestTrainerDesktop::imagesAtTwiceTheSize()
{
    const QString folder = QStringLiteral(":/new/prefix1/my_img");
    QVERIFY(!QDir(folder).isEmpty());
    QCOMPARE(imagesWithoutTwiceTheSize(folder), QStringList());
}

QTEST_MAIN(TestTrainerDesktop)
#include "tst_trainerdesktop.moc"
