// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopchecks.h"
#include "mainwindow.h"
#include "modaldriver.h"
#include "typing.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolBar>
#include <QtTest>

#include <memory>

// The saver on a desktop: what a screen reader says for its controls, the
// road through it from the keyboard, and its images for a screen at twice the
// scale.
class TestSaverDesktop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void screenReaderNames();
    void tabFollowsTheRoad();
    void saveFromTheKeyboard();
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
    const QStringList fields = accessibleFields(window);
    delete window;
    // The button beside the "Time:" field, then the tool bar, left to right.
    QCOMPARE(buttons.names,
             QStringList({"Jump to the typed time", "About", "Open a film", "Open subtitles", "Play",
                          "Pause", "Stop", "Create a vocabulary file", "Open a vocabulary file",
                          "Save the entry"}));
    // Left to itself the toolkit would read out the tool tips' markup.
    for (const QString &description : buttons.descriptions)
        QVERIFY2(!description.isEmpty() && !Qt::mightBeRichText(description), qPrintable(description));
    // A caption is read out as its field's name.
    QCOMPARE(fields,
             QStringList({"Context, labelled by Context", "Film played", "Position in the film",
                          "Subtitle, labelled by Subtitle", "Time from:, labelled by Time from:",
                          "Time:, labelled by Time:", "Tools", "Translation, labelled by Translation",
                          "Words, labelled by Words", "to:, labelled by to:"}));
}

namespace {

QWidget *firstToolBarButton(MainWindow *window)
{
    auto *toolBar = window->findChild<QToolBar *>(QStringLiteral("MyToolBar"));
    return toolBar->widgetForAction(toolBar->actions().value(0));
}

// Presses Tab until the widget of that name has the focus.
bool tabTo(const QString &name)
{
    for (int step = 0; step < 30; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (spokenName(QApplication::focusWidget()) == name)
            return true;
    }
    return false;
}

} // namespace

void TestSaverDesktop::tabFollowsTheRoad()
{
    const std::unique_ptr<MainWindow> window(new MainWindow);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QCOMPARE(spokenName(QApplication::focusWidget()), QStringLiteral("Open a film"));
    QCOMPARE(tabChain(firstToolBarButton(window.get())),
             QStringList({"About", "Open a film", "Open subtitles", "Play", "Pause", "Stop",
                          "Create a vocabulary file", "Open a vocabulary file", "Save the entry", "Time:",
                          "Jump to the typed time", "Words", "Translation", "Context", "Time from:", "to:",
                          "Position in the film", "Subtitle"}));
}

void TestSaverDesktop::saveFromTheKeyboard()
{
    QTemporaryDir directory;
    const QString vocabularyPath = directory.filePath(QStringLiteral("words.txt"));
    QFile vocabulary(vocabularyPath);
    QVERIFY(vocabulary.open(QIODevice::WriteOnly) && vocabulary.write("/films/film.mkv\r\n") > 0);
    vocabulary.close();

    QPointer<MainWindow> window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    firstToolBarButton(window)->setFocus(Qt::TabFocusReason);

    QVERIFY(tabTo(QStringLiteral("Open a vocabulary file")));
    FileDialogSeen seen;
    answerFileDialog(vocabularyPath, &seen);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(seen.appeared);
    // What a window manager does when the dialog goes; the offscreen screen has none.
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));

    // Tab leaves each field for the next; it is never typed into one.
    QVERIFY(tabTo(QStringLiteral("Words")));
    for (const char *text : {"run out", "закончиться", "We ran out", "00:00:02,000", "00:00:04,500"}) {
        typeText(QApplication::focusWidget(), QString::fromUtf8(text));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(spokenName(QApplication::focusWidget()), QStringLiteral("Position in the film"));
    QVERIFY(tabTo(QStringLiteral("Save the entry")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);

    QCOMPARE(window->findChild<QTextEdit *>(QStringLiteral("textEdit_4"))->toPlainText(), QString());
    delete window;
    QVERIFY(vocabulary.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(vocabulary.readAll()),
             QStringLiteral("/films/film.mkv\r\nrun out --> закончиться --> We ran out --> "
                            "00:00:02,000***00:00:04,500\r\n"));
}

void TestSaverDesktop::imagesAtTwiceTheSize()
{
    const QString folder = QStringLiteral(":/new/prefix1/icons");
    QVERIFY(!QDir(folder).isEmpty());
    QCOMPARE(imagesWithoutTwiceTheSize(folder), QStringList());
}

QTEST_MAIN(TestSaverDesktop)
#include "tst_saverdesktop.moc"
