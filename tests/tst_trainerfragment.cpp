// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmformats.h"
#include "mainwindow_2.h"
#include "mywidget.h"
#include "playbacklog.h"
#include "testclip.h"
#include "trainerlearner.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMediaPlayer>
#include <QPointer>
#include <QTextBrowser>
#include <QtTest>

#include <algorithm>

#include <sys/stat.h>

namespace {

constexpr int playerTimeoutMs = 15000;
// How much later than due a stop may come on a loaded machine.
constexpr qint64 lateStopMs = 2500;

} // namespace

// Playing an entry's piece of film from the main widget, with the real player
// and a generated clip.
class TestTrainerFragment : public QObject, public TrainerLearner
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void playsTheTimeRangeAndStops();
    void laterStartReplacesThePendingStop_data();
    void laterStartReplacesThePendingStop();
    void lateFirstFrameStillPlaysToTheEnd();
    void pressAfterADrawStartsAtTheDrawnStart();
    void negativeLengthPlaysOn();
    void closingStopsAndHides();
    void entriesWithoutATimeRangeDoNothing_data();
    void entriesWithoutATimeRangeDoNothing();
    void noCurrentEntry();
    void nextFileNextFilm();
    void filmThatCannotPlay_data();
    void filmThatCannotPlay();
    void filmsOfEveryFormatPlay_data();
    void filmsOfEveryFormatPlay();
    void pipeAsFilmIsNotOpened();
    void movedFolderPlaysItsFilmLoadedWithTheFile();

private:
    // Loads a file of the clip's path and the given records.
    void loadRecords(const QByteArray &records);
    QMediaPlayer *player() const { return videoWindow()->player; }
    // What the fragment's window says of its film.
    QString filmProblem() const
    {
        return videoWindow()->findChild<QLabel *>(QStringLiteral("filmProblem"))->text();
    }
    const QString notPlayedText = QStringLiteral("The film could not be played.");

    QTemporaryDir clipFolder;
    QString clip;
};

void TestTrainerFragment::initTestCase()
{
    Q_INIT_RESOURCE(trainer);
    QVERIFY(clipFolder.isValid());
    // Long enough that no fragment here ends by reaching the end of the film.
    clip = makeTestClip(clipFolder.path(), 8);
    QVERIFY2(!clip.isEmpty(), "gst-launch-1.0 could not make the test clip");
}

void TestTrainerFragment::init()
{
    QVERIFY(startTrainer());
    QVERIFY(videoWindow());
    player()->setNotifyInterval(50);
}

void TestTrainerFragment::cleanup()
{
    stopTrainer();
}

void TestTrainerFragment::loadRecords(const QByteArray &records)
{
    load(writeFile(QStringLiteral("fragments.txt"), clip.toUtf8() + "\r\n" + records));
}

void TestTrainerFragment::playsTheTimeRangeAndStops()
{
    loadRecords("run out --> to finish --> We ran out-*-of time. --> 00:00:02,000***00:00:04,500\r\n");
    arrow();
    MainWindow_2 *window = videoWindow();
    QVERIFY(!window->isVisible());

    PlaybackLog log(player());
    video();
    QVERIFY(window->isVisible());
    QCOMPARE(player()->media().request().url(), QUrl::fromLocalFile(clip));
    QCOMPARE(window->startMs, 2000);
    QCOMPARE(window->durationMs, 2500);
    QTRY_COMPARE_WITH_TIMEOUT(player()->state(), QMediaPlayer::PlayingState, playerTimeoutMs);

    QTRY_VERIFY_WITH_TIMEOUT(log.stoppedAfterMs, playerTimeoutMs);
    // Held at the start again, for the replay.
    QTRY_COMPARE_WITH_TIMEOUT(player()->position(), 2000, playerTimeoutMs);
    QVERIFY(player()->state() != QMediaPlayer::PlayingState);
    QVERIFY2(*log.stoppedAfterMs >= 2450 && *log.stoppedAfterMs <= 2500 + lateStopMs,
             qPrintable(QString::number(*log.stoppedAfterMs)));
    // From the start time on, not from the beginning of the film, and not
    // far past the end time.
    QVERIFY(log.lowestPosition && log.highestPosition);
    QVERIFY2(*log.lowestPosition >= 1900 && *log.lowestPosition <= 2300,
             qPrintable(QString::number(*log.lowestPosition)));
    QVERIFY2(*log.highestPosition > 3000 && *log.highestPosition <= 4500 + lateStopMs,
             qPrintable(QString::number(*log.highestPosition)));
    QVERIFY(player()->mediaStatus() != QMediaPlayer::EndOfMedia);
    // The window stays for the replay.
    QVERIFY(window->isVisible());
}

void TestTrainerFragment::laterStartReplacesThePendingStop_data()
{
    QTest::addColumn<bool>("replay");
    QTest::newRow("video button again") << false;
    QTest::newRow("replay action") << true;
}

void TestTrainerFragment::laterStartReplacesThePendingStop()
{
    QFETCH(bool, replay);
    loadRecords("w --> t --> 00:00:02,000***00:00:04,500\r\n");
    arrow();
    video();
    QTRY_COMPARE_WITH_TIMEOUT(player()->state(), QMediaPlayer::PlayingState, playerTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(player()->position() >= 3000, playerTimeoutMs);

    // The first start's stop would fall 1.5 s after this one, near 3500 ms.
    PlaybackLog log(player());
    if (replay)
        videoWindow()->findChild<QAction *>(QStringLiteral("actionPlay_Video2"))->trigger();
    else
        video();
    QTRY_VERIFY_WITH_TIMEOUT(log.stoppedAfterMs, playerTimeoutMs);
    QVERIFY2(*log.stoppedAfterMs >= 2450 && *log.stoppedAfterMs <= 2500 + lateStopMs,
             qPrintable(QString::number(*log.stoppedAfterMs)));
    QVERIFY(log.lowestPosition && log.highestPosition);
    QVERIFY2(*log.lowestPosition >= 1900 && *log.lowestPosition <= 2300,
             qPrintable(QString::number(*log.lowestPosition)));
    QVERIFY2(*log.highestPosition > 3600, qPrintable(QString::number(*log.highestPosition)));
}

// The stop counts from the fragment as played, not from the press: a film
// that takes its time to show the first frame still plays to the end time.
void TestTrainerFragment::lateFirstFrameStillPlaysToTheEnd()
{
    loadRecords("w --> t --> 00:00:02,000***00:00:04,000\r\n");
    arrow();
    PlaybackLog log(player());
    video();
    // As if the back end needed 1.5 s for its first frame.
    player()->pause();
    QTest::qWait(1500);
    player()->play();

    QTRY_VERIFY_WITH_TIMEOUT(log.stoppedAfterMs, playerTimeoutMs);
    QVERIFY2(*log.stoppedAfterMs >= 3450, qPrintable(QString::number(*log.stoppedAfterMs)));
    const QVector<qint64> frames = log.frames();
    QVERIFY(!frames.isEmpty());
    const qint64 lastFrame = *std::max_element(frames.begin(), frames.end());
    QVERIFY2(lastFrame >= 3920 && lastFrame < 4000 + lateStopMs, qPrintable(QString::number(lastFrame)));
}

// The draw moves the player to the drawn entry's start; the press plays from
// there, not from where an earlier draw or fragment left it.
void TestTrainerFragment::pressAfterADrawStartsAtTheDrawnStart()
{
    loadRecords("late --> l --> 00:00:05,000***00:00:06,000\r\n"
                "early --> e --> 00:00:01,500***00:00:02,500\r\n");
    QVERIFY(arrowUntil(QStringLiteral("late")));
    video();
    QTRY_VERIFY_WITH_TIMEOUT(player()->position() > 5000, playerTimeoutMs);
    PlaybackLog held(player());
    QVERIFY(arrowUntil(QStringLiteral("early")));
    QTRY_COMPARE_WITH_TIMEOUT(player()->state(), QMediaPlayer::PausedState, playerTimeoutMs);
    // Held once the frame at the drawn start has reached the screen.
    QTRY_VERIFY_WITH_TIMEOUT(!held.frames().isEmpty() && qAbs(held.frames().last() - 1500) <= 100, playerTimeoutMs);

    PlaybackLog log(player());
    video();
    QTRY_VERIFY_WITH_TIMEOUT(log.stoppedAfterMs, playerTimeoutMs);
    const QVector<qint64> frames = log.frames();
    QVERIFY(!frames.isEmpty());
    QVERIFY2(frames.first() >= 1460 && frames.first() <= 1600, qPrintable(QString::number(frames.first())));
    const qint64 lastFrame = *std::max_element(frames.begin(), frames.end());
    QVERIFY2(lastFrame >= 2420 && lastFrame < 2500 + lateStopMs, qPrintable(QString::number(lastFrame)));
}

void TestTrainerFragment::negativeLengthPlaysOn()
{
    loadRecords("short --> s --> 00:00:01,000***00:00:02,000\r\n"
                "backwards --> b --> 00:00:03,000***00:00:02,000\r\n");
    QVERIFY(arrowUntil(QStringLiteral("short")));
    video();
    QTRY_COMPARE_WITH_TIMEOUT(player()->state(), QMediaPlayer::PlayingState, playerTimeoutMs);

    // The short fragment's stop is due one second after it started; the
    // backwards one cancels it and arms none of its own.
    QVERIFY(arrowUntil(QStringLiteral("backwards")));
    PlaybackLog log(player());
    video();
    QCOMPARE(videoWindow()->durationMs, -1000);
    QTRY_VERIFY_WITH_TIMEOUT(player()->position() >= 5000, playerTimeoutMs);
    QVERIFY(!log.stoppedAfterMs);
    QCOMPARE(player()->state(), QMediaPlayer::PlayingState);
    QVERIFY(log.lowestPosition);
    QVERIFY2(*log.lowestPosition >= 2900 && *log.lowestPosition <= 3300,
             qPrintable(QString::number(*log.lowestPosition)));
}

void TestTrainerFragment::closingStopsAndHides()
{
    loadRecords("w --> t --> ctx --> 00:00:01,000***00:00:05,000\r\n");
    arrow();
    video();
    QPointer<MainWindow_2> window = videoWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTRY_VERIFY_WITH_TIMEOUT(player()->position() >= 1500, playerTimeoutMs);

    QVERIFY(!window->close());
    QCOMPARE(player()->state(), QMediaPlayer::StoppedState);
    QVERIFY(!window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window);
    QVERIFY(widget->isVisible());

    // The next fragment comes in the same window and plays to its own end.
    arrow();
    PlaybackLog log(player());
    video();
    QCOMPARE(videoWindow(), window.data());
    QVERIFY(window->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(log.stoppedAfterMs, playerTimeoutMs);
    QVERIFY2(*log.stoppedAfterMs >= 3950, qPrintable(QString::number(*log.stoppedAfterMs)));
    QVERIFY(log.lowestPosition);
    QVERIFY2(*log.lowestPosition <= 1300, qPrintable(QString::number(*log.lowestPosition)));
}

void TestTrainerFragment::entriesWithoutATimeRangeDoNothing_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("context, no time range") << QByteArray("w --> t --> ctx");
    QTest::newRow("fewer than four elements") << QByteArray("w --> t");
    QTest::newRow("time range not last")
        << QByteArray("w --> t --> 00:00:01,000***00:00:02,000 --> ctx");
}

void TestTrainerFragment::entriesWithoutATimeRangeDoNothing()
{
    QFETCH(QByteArray, record);
    loadRecords(record + "\r\n");
    arrow();
    QCOMPARE(asked(), QStringLiteral("w"));
    video();
    video();
    QCOMPARE(asked(), QStringLiteral("w"));
    QVERIFY(!videoWindow()->isVisible());
    QVERIFY(player()->media().isNull());
    QCOMPARE(player()->state(), QMediaPlayer::StoppedState);
}

void TestTrainerFragment::noCurrentEntry()
{
    const QByteArray records = "zero --> 0 --> 00:00:01,000***00:00:02,000\r\n"
                               "one --> 1 --> 00:00:01,000***00:00:02,000\r\n";
    video();
    QCOMPARE(asked(), QStringLiteral("Click on the arrow!"));

    // Loaded, but the arrow not pressed yet.
    loadRecords(records);
    textBrowser_1->clear();
    video();
    QCOMPARE(asked(), QStringLiteral("Click on the arrow!"));

    // The entry chosen before lies beyond the list loaded since.
    QVERIFY(arrowUntil(QStringLiteral("one")));
    loadRecords("zero --> 0 --> 00:00:01,000***00:00:02,000\r\n");
    video();
    QCOMPARE(asked(), QStringLiteral("Click on the arrow!"));

    QVERIFY(!videoWindow()->isVisible());
    QVERIFY(player()->state() != QMediaPlayer::PlayingState);

    // A cancelled dialog keeps the entry drawn, and its fragment.
    arrow();
    QCOMPARE(asked(), QStringLiteral("zero"));
    load(QString());
    video();
    QTRY_COMPARE_WITH_TIMEOUT(player()->state(), QMediaPlayer::PlayingState, 10000);
}

void TestTrainerFragment::nextFileNextFilm()
{
    const QString otherClip = directory->filePath(QStringLiteral("other.ogv"));
    QVERIFY(QFile::copy(clip, otherClip));
    const QByteArray record = "w --> t --> 00:00:01,000***00:00:01,500\r\n";

    loadRecords(record);
    arrow();
    video();
    QCOMPARE(player()->media().request().url(), QUrl::fromLocalFile(clip));
    load(writeFile(QStringLiteral("other.txt"), otherClip.toUtf8() + "\r\n" + record));
    arrow();
    video();
    QCOMPARE(player()->media().request().url(), QUrl::fromLocalFile(otherClip));
    QTRY_COMPARE_WITH_TIMEOUT(player()->state(), QMediaPlayer::PlayingState, playerTimeoutMs);
}

void TestTrainerFragment::filmThatCannotPlay_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("names no file") << QStringLiteral("gone.ogv") << QByteArray();
    QTest::newRow("not a video") << QStringLiteral("notes.ogv") << QByteArray("just some words\n");
    QTest::newRow("cut short") << QStringLiteral("cut.ogv") << QByteArray("OggS\0\2", 6);
}

// A vocabulary file may name a film that has been moved or is no film at all:
// the fragment's window opens on nothing and says so, and the program
// carries on.
void TestTrainerFragment::filmThatCannotPlay()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    const QString film = content.isNull() ? directory->filePath(name) : writeFile(name, content);
    QVERIFY(!film.isEmpty());
    load(writeFile(QStringLiteral("lost.txt"), film.toUtf8() + "\r\nw --> to finish --> 00:00:00,200***00:00:00,700\r\n"));
    arrow();
    video();
    QTRY_VERIFY_WITH_TIMEOUT(player()->mediaStatus() == QMediaPlayer::InvalidMedia
                                 || player()->error() != QMediaPlayer::NoError,
                             playerTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(player()->state(), QMediaPlayer::StoppedState, playerTimeoutMs);
    QTRY_COMPARE(filmProblem(), notPlayedText);
    QCOMPARE(textBrowser_1->toPlainText(), QStringLiteral("w"));

    // The next start is taken as calmly: the film fails again, and the drill goes on.
    QSignalSpy errors(player(), QOverload<QMediaPlayer::Error>::of(&QMediaPlayer::error));
    QSignalSpy statuses(player(), &QMediaPlayer::mediaStatusChanged);
    video();
    const auto failedAgain = [&] {
        return !errors.isEmpty() || std::any_of(statuses.cbegin(), statuses.cend(), [](const QList<QVariant> &arguments) {
                   return arguments.at(0).value<QMediaPlayer::MediaStatus>() == QMediaPlayer::InvalidMedia;
               });
    };
    QTRY_VERIFY_WITH_TIMEOUT(failedAgain(), playerTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(player()->state(), QMediaPlayer::StoppedState, playerTimeoutMs);
    QTRY_COMPARE(filmProblem(), notPlayedText);
    answer(QStringLiteral("finish"));
    QCOMPARE(verdict->toPlainText(), QStringLiteral("Yes!"));
}

void TestTrainerFragment::filmsOfEveryFormatPlay_data()
{
    addFilmFormatRows();
}

void TestTrainerFragment::filmsOfEveryFormatPlay()
{
    const FormatClip film = makeRowClip(directory->path(), 6);
    if (!film.skipReason.isEmpty())
        QSKIP(qPrintable(film.skipReason));
    QVERIFY2(!film.path.isEmpty(), qPrintable(film.failure));
    // The first frame the player gives is the film's first picture; some
    // containers stamp it later than 0.
    const PlaybackLog fromLoad(player());
    load(writeFile(QStringLiteral("formats.txt"),
                   film.path.toUtf8() + "\r\nrun out --> to finish --> 00:00:00,500***00:00:02,000\r\n"));
    arrow();
    QTRY_VERIFY_WITH_TIMEOUT(!fromLoad.frames().isEmpty(), playerTimeoutMs);
    const qint64 firstPictureMs = fromLoad.frames().first();

    PlaybackLog log(player());
    video();
    QTRY_VERIFY_WITH_TIMEOUT(log.stoppedAfterMs, playerTimeoutMs);
    QCOMPARE(player()->error(), QMediaPlayer::NoError);
    QCOMPARE(filmProblem(), QString());
    // Sound over a black window is the fault to catch: pictures must come,
    // from the fragment's start, and the whole piece of 38 frames.
    QVector<qint64> frames = log.frames();
    QVERIFY(!frames.isEmpty());
    for (qint64 &frameMs : frames)
        frameMs -= firstPictureMs;
    // A program stream's picture can only come in at a key frame, up to 600 ms
    // before the start.
    QVERIFY2(frames.first() >= 200 && frames.first() <= 540, qPrintable(QString::number(frames.first())));
    const auto inFragment = std::count_if(frames.cbegin(), frames.cend(),
                                          [](qint64 frameMs) { return frameMs >= 500 && frameMs < 2000; });
    // (GStreamer's muxer writes clock references that make its demuxer end a
    // small program stream early, at 1.7 of 3 s: the films here run 6 s.)
    QVERIFY2(inFragment >= 36, qPrintable(QString::number(inFragment)));
}

// A pipe named as the film is never given to the player, which would wait for
// a writer and hold the trainer with it.
void TestTrainerFragment::pipeAsFilmIsNotOpened()
{
    const QString pipe = directory->filePath(QStringLiteral("film.ogv"));
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    load(writeFile(QStringLiteral("piped.txt"), pipe.toUtf8() + "\r\nw --> to finish --> 00:00:00,200***00:00:00,700\r\n"));
    QCOMPARE(videoWindow()->videoPath, pipe);
    arrow();
    video();
    QVERIFY(player()->media().isNull());
    QCOMPARE(filmProblem(), notPlayedText);
    answer(QStringLiteral("finish"));
    QCOMPARE(verdict->toPlainText(), QStringLiteral("Yes!"));
}

// A folder of a film and its vocabulary file, copied elsewhere: the film is
// found beside the file and given to the player with it, before any draw.
void TestTrainerFragment::movedFolderPlaysItsFilmLoadedWithTheFile()
{
    QVERIFY(QDir(directory->path()).mkpath(QStringLiteral("copied")));
    const QString film = directory->filePath(QStringLiteral("copied/film.ogv"));
    QVERIFY(QFile::copy(clip, film));
    load(writeFile(QStringLiteral("copied/lesson.txt"),
                   "/media/old-disc/lessons/film.ogv\r\nw --> t --> 00:00:01,000***00:00:01,500\r\n"));
    QCOMPARE(videoWindow()->videoPath, film);
    QCOMPARE(player()->media().request().url(), QUrl::fromLocalFile(film));
    QTRY_COMPARE_WITH_TIMEOUT(player()->mediaStatus(), QMediaPlayer::LoadedMedia, playerTimeoutMs);
    arrow();
    video();
    QTRY_COMPARE_WITH_TIMEOUT(player()->state(), QMediaPlayer::PlayingState, playerTimeoutMs);

    loadRecords("w --> t --> 00:00:01,000***00:00:01,500\r\n");
    QCOMPARE(player()->media().request().url(), QUrl::fromLocalFile(clip));
    QVERIFY(player()->state() != QMediaPlayer::PlayingState);
}

QTEST_MAIN(TestTrainerFragment)
#include "tst_trainerfragment.moc"
