// SPDX-License-Identifier: GPL-3.0-or-later
// One position report of the saver's real window, as the player sends it
// every 10 ms during playback: the window's own MySetSub, which asks its
// player for the position, rewrites the "Time:" field and moves the subtitle
// follower on. Runs under QT_QPA_PLATFORM=offscreen with the window shown, a
// test film and its subtitle file opened through the window's own dialogs.
#include "mainwindow.h"
#include "modaldriver.h"
#include "testclip.h"
#include "timestamp.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <benchmark/benchmark.h>

namespace {

MainWindow *window = nullptr;

// Cues of 2 s with 1 s gaps from 1 s on, as make_subtitles.py writes them.
constexpr qint64 firstCueMs = 1000;
constexpr qint64 cueStepMs = 3000;
constexpr int filmSeconds = 40;

void trigger(const char *actionName)
{
    window->findChild<QAction *>(QString::fromLatin1(actionName))->trigger();
}

// The learner's jump: a time typed into "Time:" and Return.
void jumpTo(qint64 positionMs)
{
    auto *timeField = window->findChild<QLineEdit *>(QStringLiteral("lineEdit"));
    timeField->setText(msToTimestamp(positionMs));
    window->MySetPoz();
    QTest::qWait(300);
}

// Reports inside a cue already shown, the film paused there: the common
// report.
void reportInsideShownCue(benchmark::State &state)
{
    trigger("actionPause");
    jumpTo(firstCueMs + 5 * cueStepMs + 500);
    for (auto _ : state)
        window->MySetSub();
}
BENCHMARK(reportInsideShownCue);

// Playback, a report every 10 ms as the player sends them: cue after cue
// shown and cleared, on average per report. Only the report is timed.
void reportOverPlayback(benchmark::State &state)
{
    jumpTo(0);
    trigger("actionPlay");
    QElapsedTimer clock;
    for (auto _ : state) {
        QTest::qWait(10);
        clock.start();
        window->MySetSub();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
    trigger("actionPause");
}
BENCHMARK(reportOverPlayback)->UseManualTime()->Iterations(2000);

QByteArray subtitles(int count)
{
    QByteArray text;
    for (int index = 0; index < count; ++index) {
        const qint64 start = firstCueMs + index * cueStepMs;
        text += QByteArray::number(index + 1) + "\r\n" + msToTimestamp(start).toLatin1() + " --> "
            + msToTimestamp(start + 2000).toLatin1()
            + "\r\nSome words on the first line\r\nи ещё несколько на второй\r\n\r\n";
    }
    return text;
}

// Opens a file through the dialog of `actionName`, as the learner would.
void open(const char *actionName, const QString &path)
{
    answerFileDialog(path);
    trigger(actionName);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("QT_QPA_PLATFORMTHEME");
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(saver);

    QTemporaryDir folder;
    const QString film = makeTestClip(folder.path(), filmSeconds);
    QFile file(folder.filePath(QStringLiteral("film.srt")));
    if (film.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(subtitles(filmSeconds / 3)) < 0)
        return 1;
    file.close();

    window = new MainWindow;
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return 1;
    open("actionOpenVideo", film);
    open("actionOpenSub", file.fileName());
    QTest::qWait(500);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    delete window;
    return 0;
}
