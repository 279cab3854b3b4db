// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopchecks.h"
#include "mainwindow_2.h"
#include "mywidget.h"
#include "trainerlearner.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QtTest>

#include <memory>

// The trainer on a desktop: what a screen reader says for the controls of its
// main widget and fragment window, the drill from the keyboard, and its
// images for a screen at twice the scale.
class TestTrainerDesktop : public QObject, public TrainerLearner
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void screenReaderNames_data();
    void screenReaderNames();
    void tabFollowsTheDrill_data();
    void tabFollowsTheDrill();
    void drillFromTheKeyboard();
    void imagesAtTwiceTheSize();

private:
    // Shows the main widget or the fragment window and makes it active.
    QWidget *showActive(bool fragmentWindow);
};

void TestTrainerDesktop::initTestCase()
{
    Q_INIT_RESOURCE(trainer);
}

void TestTrainerDesktop::init()
{
    QVERIFY(startTrainer());
}

void TestTrainerDesktop::cleanup()
{
    stopTrainer();
}

QWidget *TestTrainerDesktop::showActive(bool fragmentWindow)
{
    QWidget *window = fragmentWindow ? static_cast<QWidget *>(videoWindow()) : widget.data();
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window) ? window : nullptr;
}

void TestTrainerDesktop::screenReaderNames_data()
{
    QTest::addColumn<bool>("fragmentWindow");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("main widget") << false
                                 << QStringList({"Open a vocabulary file", "Next word", "Mark as known",
                                                 "Play the word's piece of film", "Help"})
                                 << QStringList({"Context", "Saved translation", "Verdict", "Word asked",
                                                 "Your translation"});
    QTest::newRow("fragment window") << true << QStringList({"Play again"}) << QStringList({"Fragment"});
}

void TestTrainerDesktop::screenReaderNames()
{
    QFETCH(bool, fragmentWindow);
    QFETCH(QStringList, names);
    QFETCH(QStringList, fields);
    QWidget *window = showActive(fragmentWindow);
    QVERIFY(window);

    const AccessibleButtons buttons = accessibleButtons(window);
    QCOMPARE(buttons.names, names);
    for (const QString &description : buttons.descriptions)
        QVERIFY2(!description.isEmpty() && !Qt::mightBeRichText(description), qPrintable(description));
    QCOMPARE(accessibleFields(window), fields);
}

void TestTrainerDesktop::tabFollowsTheDrill_data()
{
    QTest::addColumn<bool>("fragmentWindow");
    QTest::addColumn<QStringList>("chain");
    QTest::newRow("main widget") << false
                                 << QStringList({"Open a vocabulary file", "Next word", "Your translation",
                                                 "Mark as known", "Play the word's piece of film", "Help",
                                                 "Word asked", "Saved translation", "Context", "Verdict"});
    // The tool-bar button alone, which a tool bar would give no focus.
    QTest::newRow("fragment window") << true << QStringList({"Play again"});
}

void TestTrainerDesktop::tabFollowsTheDrill()
{
    QFETCH(bool, fragmentWindow);
    QFETCH(QStringList, chain);
    QWidget *window = showActive(fragmentWindow);
    QVERIFY(window);
    QWidget *start = openButton;
    if (fragmentWindow) {
        auto *toolBar = window->findChild<QToolBar *>();
        start = toolBar->widgetForAction(toolBar->actions().value(0));
    }
    QCOMPARE(tabChain(start), chain);
}

void TestTrainerDesktop::drillFromTheKeyboard()
{
    const QString path = writeFile(QStringLiteral("words.txt"), "/films/film.mkv\r\nrun out --> to finish\r\n");
    QVERIFY(showActive(false));
    openButton->setFocus(Qt::TabFocusReason);
    FileDialogSeen seen;
    answerFileDialog(path, &seen);
    QTest::keyClick(openButton, Qt::Key_Space);
    QVERIFY(seen.appeared);
    // What a window manager does when the dialog goes; the offscreen screen has none.
    QApplication::setActiveWindow(widget.data());
    QVERIFY(QTest::qWaitForWindowActive(widget.data()));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(asked(), QStringLiteral("run out"));
    // The draw gives the answer line the focus.
    QCOMPARE(QApplication::focusWidget(), answerLine);
    answer(QStringLiteral("to finish"));
    QCOMPARE(verdict->toPlainText(), QStringLiteral("Yes!"));
}

void TestTrainerDesktop::imagesAtTwiceTheSize()
{
    const QString folder = QStringLiteral(":/new/prefix1/my_img");
    QVERIFY(!QDir(folder).isEmpty());
    QCOMPARE(imagesWithoutTwiceTheSize(folder), QStringList());
}

QTEST_MAIN(TestTrainerDesktop)
#include "tst_trainerdesktop.moc"
