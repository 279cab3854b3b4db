// SPDX-License-Identifier: GPL-3.0-or-later
// bench_fragment FILM START_MS END_MS [PRESS_AFTER_MS [DRAW_AFTER_MS]]: drives
// the real trainer as a learner does (load a file with one entry, wait
// DRAW_AFTER_MS, 0 unless given, draw the entry, wait PRESS_AFTER_MS, 2000
// unless given, press the video button; once the fragment has stopped, wait
// two seconds and press again) and prints, for each press, a line
//     press N wait_ms W shown S of F after_end A first_frame_ms L
// W: from the press to the first fragment frame reaching the video sink (-1 if
// none came); S of F: how many of the fragment's frames reached the sink
// before the player stopped; A: frames past the end that reached it; L: the
// first frame that reached it, against the fragment's start.
//
// The film must carry each frame's number as twelve white squares, bit 0 on
// the left, in its bottom rows (bench/run.py makes such a film): the number is
// read from the pixels, not from time stamps the player could get wrong.

#include "framenumber.h"
#include "trainerlearner.h"

#include "mainwindow_2.h"
#include "timestamp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMediaPlayer>
#include <QMutex>
#include <QVideoFrame>
#include <QVideoProbe>
#include <QtTest>

#include <cstdio>
#include <set>

namespace {

constexpr int frameMs = 40;

struct Seen
{
    qint64 atMs;
    int number;
};

class FragmentBench : public TrainerLearner
{
public:
    int run(const QString &film, qint64 startMs, qint64 endMs, int firstPressAfterMs, int drawAfterMs)
    {
        if (!startTrainer())
            return 1;
        QMediaPlayer *player = videoWindow()->player;
        QVideoProbe probe;
        if (!probe.setSource(player)) {
            std::fprintf(stderr, "the player cannot be probed\n");
            return 1;
        }
        QObject::connect(&probe, &QVideoProbe::videoFrameProbed, &probe,
                         [this](const QVideoFrame &frame) {
                             const qint64 now = clock.elapsed();
                             const int number = frameNumber(frame);
                             QMutexLocker lock(&mutex);
                             seen.push_back({now, number});
                         },
                         Qt::DirectConnection);
        clock.start();

        const QString range = QStringLiteral("%1***%2").arg(msToTimestamp(startMs), msToTimestamp(endMs));
        load(writeFile(QStringLiteral("bench.txt"),
                       film.toUtf8() + "\r\nword --> translation --> " + range.toUtf8() + "\r\n"));
        if (drawAfterMs > 0)
            QTest::qWait(drawAfterMs);
        arrow();
        if (asked() != QLatin1String("word")) {
            std::fprintf(stderr, "the entry was not drawn\n");
            return 1;
        }
        if (firstPressAfterMs > 0)
            QTest::qWait(firstPressAfterMs);
        press(1, player, startMs, endMs);
        QTest::qWait(2000);
        press(2, player, startMs, endMs);
        stopTrainer();
        return 0;
    }

private:
    void press(int count, QMediaPlayer *player, qint64 startMs, qint64 endMs)
    {
        // The frames of the fragment: from the one covering the start up to
        // the last one that begins before the end.
        const int first = int(startMs / frameMs);
        const int last = int((endMs + frameMs - 1) / frameMs) - 1;
        {
            QMutexLocker lock(&mutex);
            seen.clear();
        }
        const qint64 pressedAt = clock.elapsed();
        video();
        // Let the start get going before watching for its stop.
        QTest::qWait(200);
        QElapsedTimer waited;
        waited.start();
        while (player->state() != QMediaPlayer::StoppedState && waited.elapsed() < 20000)
            QTest::qWait(10);
        QTest::qWait(100);

        QMutexLocker lock(&mutex);
        qint64 firstAt = -1;
        std::set<int> shown;
        int afterEnd = 0;
        // Where the picture came in, against the fragment's start.
        const qint64 landedMs = seen.empty() ? 0 : qint64(seen.front().number) * frameMs - startMs;
        for (const Seen &frame : seen) {
            if (frame.number > last)
                ++afterEnd;
            if (frame.number < first || frame.number > last)
                continue;
            if (firstAt < 0)
                firstAt = frame.atMs - pressedAt;
            shown.insert(frame.number);
        }
        std::printf("press %d wait_ms %lld shown %d of %d after_end %d first_frame_ms %lld\n", count, firstAt,
                    int(shown.size()), last - first + 1, afterEnd, landedMs);
        std::fflush(stdout);
    }

    QElapsedTimer clock;
    QMutex mutex;
    std::vector<Seen> seen;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(trainer);
    if (argc < 4 || argc > 6) {
        std::fprintf(stderr, "usage: bench_fragment FILM START_MS END_MS [PRESS_AFTER_MS [DRAW_AFTER_MS]]\n");
        return 2;
    }
    FragmentBench bench;
    return bench.run(QString::fromLocal8Bit(argv[1]), QByteArray(argv[2]).toLongLong(),
                     QByteArray(argv[3]).toLongLong(), argc > 4 ? QByteArray(argv[4]).toInt() : 2000,
                     argc > 5 ? QByteArray(argv[5]).toInt() : 0);
}
