// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopintegration.h"
#include "mainwindow.h"
#include "mainwindow_2.h"
#include "mainwindow_help.h"
#include "modaldriver.h"
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
class ShotsSaver : public QObject
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
    template<typename Window>
    static Window *topLevel();
    void trigger(const char *actionName, const QString &dialogAnswer);

    QTemporaryDir directory;
    QString film;
    QPointer<MainWindow> window;
    QMediaPlayer *player = nullptr;
};

template<typename Window>
Window *ShotsSaver::topLevel()
{
    for (QWidget *candidate : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<Window *>(candidate))
            return found;
    }
    return nullptr;
}

void ShotsSaver::initTestCase()
{
    Q_INIT_RESOURCE(saver);
    Shots::useTheScreensResolution();
    film = Shots::demoFilm();
    if (film.isEmpty())
        film = makeTestClip(directory.path(), 8);
    QVERIFY2(!film.isEmpty(), "no demo film, and gst-launch-1.0 could not make a clip");

    window = new MainWindow(nullptr);
    window->move(0, 0);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    player = window->findChild<QMediaPlayer *>();
    QVERIFY(player);
}

void ShotsSaver::cleanupTestCase()
{
    delete window;
}

void ShotsSaver::trigger(const char *actionName, const QString &dialogAnswer)
{
    FileDialogSeen seen;
    answerFileDialog(dialogAnswer, &seen);
    window->findChild<QAction *>(QLatin1String(actionName))->trigger();
    QVERIFY2(seen.appeared, actionName);
}

void ShotsSaver::playingWithASubtitle()
{
    trigger("actionOpenVideo", film);
    QTRY_COMPARE_WITH_TIMEOUT(player->state(), QMediaPlayer::PlayingState, 15000);
    trigger("actionOpenSub", Shots::demoSubtitles());

    // The second subtitle has two lines.
    auto *subtitle = window->findChild<QTextBrowser *>(QStringLiteral("MyTextBrowser"));
    QTRY_VERIFY_WITH_TIMEOUT(subtitle->toPlainText().startsWith(QStringLiteral("Tonight")), 20000);
    QVERIFY(Shots::save(window, QStringLiteral("saver-playing")));
    QVERIFY(Shots::drawnIntact(window));
    auto *video = topLevel<MainWindow_2>();
    QVERIFY(video && video->isVisible());
    QVERIFY(Shots::save(video, QStringLiteral("saver-video")));
    QVERIFY(Shots::saveSideBySide(window, video, QStringLiteral("saver-film")));
}

void ShotsSaver::typingAnEntry()
{
    player->pause();
    QTRY_COMPARE_WITH_TIMEOUT(player->state(), QMediaPlayer::PausedState, 15000);
    typeText(window->findChild<QTextEdit *>(QStringLiteral("textEdit_4")), QStringLiteral("test card"));
    typeText(window->findChild<QTextEdit *>(QStringLiteral("textEdit_5")),
             QStringLiteral("испытательная таблица"));
    auto *subtitle = window->findChild<QTextBrowser *>(QStringLiteral("MyTextBrowser"));
    typeText(window->findChild<QTextEdit *>(QStringLiteral("textEdit_3")), subtitle->toPlainText());
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
    window->findChild<QAction *>(QStringLiteral("actionSaveYour"))->trigger();
    QVERIFY(saved);
}

void ShotsSaver::helpWindow()
{
    window->findChild<QAction *>(QStringLiteral("actionAbout"))->trigger();
    auto *help = topLevel<MainWindow_Help>();
    QVERIFY(help && help->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QVERIFY(Shots::save(help, QStringLiteral("saver-help")));
}

QTEST_MAIN(ShotsSaver)
#include "shots_saver.moc"
