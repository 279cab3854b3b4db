// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow_2.h"
#include "playbacklog.h"
#include "road.h"
#include "testclip.h"
#include "trainerlearner.h"

#include <QMediaPlayer>
#include <QTextBrowser>
#include <QtTest>

// The trainer's half of the road: the vocabulary file tst_road_saver wrote is
// loaded, its entry drilled, and its fragment played from the same film.
class TestRoadTrainer : public QObject, public TrainerLearner
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void drillTheSavedEntry();
};

void TestRoadTrainer::initTestCase()
{
    Q_INIT_RESOURCE(trainer);
    QVERIFY2(QFile::exists(Road::vocabularyPath()), "tst_road_saver has not written the file");
    QVERIFY(startTrainer());
}

void TestRoadTrainer::cleanupTestCase()
{
    stopTrainer();
}

void TestRoadTrainer::drillTheSavedEntry()
{
    QVERIFY(load(Road::vocabularyPath()).appeared);
    arrow();
    QCOMPARE(asked(), Road::word);
    answer(QStringLiteral("закон"));
    QCOMPARE(verdict->toPlainText(), QStringLiteral("Yes!"));
    QCOMPARE(textBrowser_2->toPlainText(), Road::translation);
    QCOMPARE(textBrowser_3->toPlainText(), Road::context);

    MainWindow_2 *window = videoWindow();
    QVERIFY(window);
    window->player->setNotifyInterval(50);
    PlaybackLog log(window->player);
    video();
    QVERIFY(window->isVisible());
    // The film the saver played, named by the file's first line.
    QCOMPARE(window->player->media().request().url(),
             QUrl::fromLocalFile(makeTestClip(Road::directory(), Road::clipSeconds)));

    QTRY_VERIFY_WITH_TIMEOUT(log.stoppedAfterMs, 15000);
    QVERIFY2(*log.stoppedAfterMs >= Road::cueLengthMs - 50
                 && *log.stoppedAfterMs <= Road::cueLengthMs + 2500,
             qPrintable(QString::number(*log.stoppedAfterMs)));
    QVERIFY(log.lowestPosition && log.highestPosition);
    QVERIFY2(qAbs(*log.lowestPosition - Road::cueStartMs) <= 300,
             qPrintable(QString::number(*log.lowestPosition)));
    QVERIFY2(*log.highestPosition > Road::cueStartMs + 1000
                 && *log.highestPosition <= Road::cueStartMs + Road::cueLengthMs + 2500,
             qPrintable(QString::number(*log.highestPosition)));
}

QTEST_MAIN(TestRoadTrainer)
#include "tst_road_trainer.moc"
