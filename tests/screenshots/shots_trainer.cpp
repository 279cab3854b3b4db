// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopintegration.h"
#include "mainwindow_2.h"
#include "mainwindow_help.h"
#include "mywidget.h"
#include "shots.h"
#include "testclip.h"
#include "trainerlearner.h"

#include <QApplication>
#include <QMediaPlayer>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

// Pictures of the trainer in its main states: a verdict given, a fragment
// playing, and the help window.
class ShotsTrainer : public QObject, public TrainerLearner
{
    Q_OBJECT

public:
    // Run by QTEST_MAIN before it makes the application object.
    static void initMain() { followDesktopScale(); }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void afterAVerdict();
    void fragmentPlaying();
    void helpWindow();

private:
    QTemporaryDir clipFolder;
};

void ShotsTrainer::initTestCase()
{
    Q_INIT_RESOURCE(trainer);
    Shots::useTheScreensResolution();
    QString film = Shots::demoFilm();
    if (film.isEmpty())
        film = makeTestClip(clipFolder.path(), 8);
    QVERIFY2(!film.isEmpty(), "no demo film, and gst-launch-1.0 could not make a clip");

    QVERIFY(startTrainer());
    widget->move(0, 0);
    // Two entries as the saver writes them from the demo's subtitles.
    const QString path = writeFile(
        QStringLiteral("demo.txt"),
        film.toUtf8()
            + "\r\ntest card --> испытательная таблица --> Tonight on the test card:-*-colour bars and a "
              "steady tone. --> 00:00:03,600***00:00:05,800\r\n"
              "kettle --> чайник\r\n");
    QVERIFY(!path.isEmpty());
    QVERIFY(load(path).appeared);
}

void ShotsTrainer::cleanupTestCase()
{
    stopTrainer();
}

void ShotsTrainer::afterAVerdict()
{
    QVERIFY(arrowUntil(QStringLiteral("test card")));
    // Every tail below the line shows whole while it is typed.
    answerLine->setText(QStringLiteral("jumpy going, цщ"));
    QVERIFY(Shots::drawnIntact(widget));
    answerLine->clear();
    answer(QStringLiteral("таблица"));
    QCOMPARE(verdict->toPlainText(), QStringLiteral("Yes!"));
    QVERIFY(Shots::save(widget, QStringLiteral("trainer-verdict")));
    QVERIFY(Shots::drawnIntact(widget));
}

void ShotsTrainer::fragmentPlaying()
{
    video();
    MainWindow_2 *window = videoWindow();
    QVERIFY(window && window->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(Shots::leftTheKeyboard(window));
    window->player->setNotifyInterval(50);
    QTRY_VERIFY_WITH_TIMEOUT(window->player->position() >= 4500, 15000);
    QVERIFY(Shots::save(window, QStringLiteral("trainer-fragment")));
    QVERIFY(Shots::drawnIntact(window));
    QVERIFY(Shots::saveSideBySide(widget, window, QStringLiteral("trainer-drill")));
}

void ShotsTrainer::helpWindow()
{
    QTest::mouseClick(widget->findChild<QPushButton *>(QStringLiteral("pushButton_H")), Qt::LeftButton);
    MainWindow_Help *help = nullptr;
    for (QWidget *candidate : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<MainWindow_Help *>(candidate))
            help = found;
    }
    QVERIFY(help && help->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QVERIFY(Shots::save(help, QStringLiteral("trainer-help")));
}

QTEST_MAIN(ShotsTrainer)
#include "shots_trainer.moc"
