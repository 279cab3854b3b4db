// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmclock.h"
#include "filmformats.h"
#include "playbacklog.h"

#include <QMediaPlayer>
#include <QTemporaryDir>
#include <QVideoWidget>
#include <QtTest>

class TestFilmClock : public QObject
{
    Q_OBJECT

private slots:
    void seekBeforeTheFirstFrameIsInTheFilmsTime_data();
    void seekBeforeTheFirstFrameIsInTheFilmsTime();

private:
    QTemporaryDir directory;
};

void TestFilmClock::seekBeforeTheFirstFrameIsInTheFilmsTime_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("encoder");
    QTest::addColumn<bool>("mustPlay");
    QTest::addColumn<qint64>("startMs");
    QTest::newRow("stamped at 0") << "film.ogv" << "theoraenc ! oggmux" << true << qint64(0);
    QTest::newRow("program stream, stamped at its preload")
        << "dvd.mpg" << "mpeg2enc format=3 ! mpegpsmux" << true << qint64(720);
    // The first picture is stamped two frames late, but played at 0.
    QTest::newRow("MP4 of B-frames, stamped for the decoder's delay")
        << "film.mp4" << "x264enc bframes=2 ! h264parse ! mp4mux" << false << qint64(0);
}

// The player is asked to seek at once, before its first frame: the seek is
// sent again when the film's start is known, and lands in the film's time.
void TestFilmClock::seekBeforeTheFirstFrameIsInTheFilmsTime()
{
    QFETCH(qint64, startMs);
    const FormatClip film = makeRowClip(directory.path(), 3);
    if (!film.skipReason.isEmpty())
        QSKIP(qPrintable(film.skipReason));
    QVERIFY2(!film.path.isEmpty(), qPrintable(film.failure));

    QMediaPlayer player;
    QVideoWidget output;
    player.setVideoOutput(&output);
    FilmClock clock(&player);
    PlaybackLog log(&player);
    player.setMedia(QUrl::fromLocalFile(film.path));
    clock.setPosition(1000);
    player.pause();
    QTRY_COMPARE_WITH_TIMEOUT(clock.startOffsetMs(), startMs, 15000);
    // The picture comes in at the key frame before the time asked, if not on it.
    QTRY_VERIFY_WITH_TIMEOUT(log.frames().size() >= 2, 15000);
    QTest::qWait(500);
    const qint64 landedMs = log.frames().last() - startMs;
    // An MP4's stamps run two frames ahead.
    QVERIFY2(landedMs >= 400 && landedMs <= 1080, qPrintable(QString::number(landedMs)));
}

QTEST_MAIN(TestFilmClock)
#include "tst_filmclock.moc"
