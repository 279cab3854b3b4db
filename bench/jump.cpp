// SPDX-License-Identifier: GPL-3.0-or-later
// bench_jump FILM TARGET_MS: drives the real saver as a learner does (open the
// film, let it play a second, pause, type TARGET_MS into "Time:" and press
// Return; then play two seconds and pause again) and prints a line
//     landed_ms L wait_ms W position_minus_picture_ms P
// L: the picture shown after the jump against the time typed; W: from Return
// to that picture reaching the video sink; P: the slider's time against the
// picture shown after the two seconds of playing. The film carries its frame
// numbers as framenumber.h reads them.

#include "framenumber.h"
#include "saverlearner.h"

#include "mainwindow.h"
#include "timestamp.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QMutex>
#include <QSlider>
#include <QVideoProbe>
#include <QtTest>

#include <cstdio>
#include <optional>

namespace {

class JumpBench : public SaverLearner
{
public:
    int run(const QString &film, qint64 targetMs)
    {
        if (!startSaver())
            return 1;
        QVideoProbe probe;
        if (!probe.setSource(player))
            return 1;
        QObject::connect(&probe, &QVideoProbe::videoFrameProbed, &probe, [this](const QVideoFrame &frame) {
            const int number = frameNumber(frame);
            QMutexLocker lock(&mutex);
            if (!firstAtMs)
                firstAtMs = clock.elapsed();
            lastNumber = number;
        }, Qt::DirectConnection);
        triggerAnsweringFileDialog("actionOpenVideo", film);
        QTest::qWait(1000);
        action("actionPause")->trigger();
        QTest::qWait(300);

        timeField->setText(msToTimestamp(targetMs));
        {
            QMutexLocker lock(&mutex);
            firstAtMs.reset();
            clock.start();
        }
        QTest::keyClick(timeField, Qt::Key_Return);
        QTest::qWait(1500);
        qint64 landedMs = 0;
        qint64 waitMs = -1;
        {
            QMutexLocker lock(&mutex);
            landedMs = qint64(lastNumber) * frameMs - targetMs;
            waitMs = firstAtMs.value_or(-1);
        }
        action("actionPlay")->trigger();
        QTest::qWait(2000);
        action("actionPause")->trigger();
        QTest::qWait(300);
        const int sliderMs = window->findChild<QSlider *>()->value();
        QMutexLocker lock(&mutex);
        std::printf("landed_ms %lld wait_ms %lld position_minus_picture_ms %lld\n", landedMs, waitMs,
                    qint64(sliderMs) - qint64(lastNumber) * frameMs);
        std::fflush(stdout);
        return 0;
    }

private:
    static constexpr int frameMs = 40;
    QElapsedTimer clock;
    QMutex mutex;
    std::optional<qint64> firstAtMs;
    int lastNumber = -1;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(saver);
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_jump FILM TARGET_MS\n");
        return 2;
    }
    JumpBench bench;
    return bench.run(QString::fromLocal8Bit(argv[1]), QByteArray(argv[2]).toLongLong());
}
