// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopintegration.h"
#include "mainwindow.h"
#include "mainwindow_2.h"
#include "mainwindow_help.h"
#include "saverlearner.h"
#include "shots.h"
#include "testclip.h"
#include "typing.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QPointer>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextEdit>
#include <QtTest>

// Pictures of the saver in its main states: playing the demo film with a
// subtitle shown, an entry being typed, the attention dialog and the help window.
class ShotsSaver : public QObject, public SaverLearner
{
    Q_OBJECT

public:
    // Run by QTEST_MAIN before it makes the application object.
    static void initMain() { followDesktopScale(); }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void playingWithASubtitle();
    void typingAnEntry();
    void attentionDialog();
    void helpWindow();

private:
    void trigger(const char *actionName, const QString &dialogAnswer);

    QTemporaryDir clipFolder;
    QString film;
};

void ShotsSaver::initTestCase()
{
    Q_INIT_RESOURCE(saver);
    Shots::useTheScreensResolution();
    film = Shots::demoFilm();
    if (film.isEmpty())
        film = makeTestClip(clipFolder.path(), 8);
    QVERIFY2(!film.isEmpty(), "no demo film, and gst-launch-1.0 could not make a clip");

    QVERIFY(startSaver());
    window->move(0, 0);
}

void ShotsSaver::cleanupTestCase()
{
    stopSaver();
}

void ShotsSaver::trigger(const char *actionName, const QString &dialogAnswer)
{
    QVERIFY2(triggerAnsweringFileDialog(actionName, dialogAnswer).appeared, actionName);
}

void ShotsSaver::playingWithASubtitle()
{
    trigger("actionOpenVideo", film);
    QTRY_COMPARE_WITH_TIMEOUT(player->state(), QMediaPlayer::PlayingState, 15000);
    trigger("actionOpenSub", Shots::demoSubtitles());

    // The second subtitle has two lines.
    QTRY_VERIFY_WITH_TIMEOUT(subtitlePanel->toPlainText().startsWith(QStringLiteral("Tonight")), 20000);
    QVERIFY(Shots::save(window, QStringLiteral("saver-playing")));
    QVERIFY(Shots::drawnIntact(window));
    QWidget *video = topLevelOfClass("MainWindow_2");
    QVERIFY(video && video->isVisible());
    QVERIFY(Shots::leftTheKeyboard(video) && Shots::besideOnScreen(window, video));
    QVERIFY(Shots::save(video, QStringLiteral("saver-video")));
    QVERIFY(Shots::saveSideBySide(window, video, QStringLiteral("saver-film")));
}

void ShotsSaver::typingAnEntry()
{
    QWidget *video = topLevelOfClass("MainWindow_2");
    // Shown again by Play, the film's window leaves the keyboard with Saver.
    video->close();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    action("actionPlay")->trigger();
    QVERIFY(Shots::leftTheKeyboard(video) && QApplication::activeWindow() == window);
    QTRY_VERIFY_WITH_TIMEOUT(subtitlePanel->toPlainText().startsWith(QStringLiteral("Tonight")), 20000);
    player->pause();
    QTRY_COMPARE_WITH_TIMEOUT(player->state(), QMediaPlayer::PausedState, 15000);
    typeText(window->findChild<QTextEdit *>(QStringLiteral("textEdit_4")), QStringLiteral("test card"));
    typeText(window->findChild<QTextEdit *>(QStringLiteral("textEdit_5")),
             QStringLiteral("испытательная таблица"));
    typeText(window->findChild<QTextEdit *>(QStringLiteral("textEdit_3")), subtitlePanel->toPlainText());
    QVERIFY(Shots::save(window, QStringLiteral("saver-entry")));
    QVERIFY(Shots::drawnIntact(window));
}

void ShotsSaver::attentionDialog()
{
    // Saving before a vocabulary file is chosen is refused.
    bool saved = false;
    whenModalAppears([&saved](QWidget *modal) {
        saved = Shots::save(modal, QStringLiteral("saver-attention"));
        modal->close();
    });
    action("actionSaveYour")->trigger();
    QVERIFY(saved);
}

void ShotsSaver::helpWindow()
{
    action("actionAbout")->trigger();
    QWidget *help = topLevelOfClass("MainWindow_Help");
    QVERIFY(help && help->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QVERIFY(Shots::save(help, QStringLiteral("saver-help")));
}

QTEST_MAIN(ShotsSaver)
#include "shots_saver.moc"
