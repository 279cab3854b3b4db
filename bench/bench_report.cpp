// SPDX-License-Identifier: GPL-3.0-or-later
// One position report of the saver's real window, as the player sends it
// every 10 ms during playback: the "Time:" field rewritten and the subtitle
// follower moved on, by the window's own follower on the window's own widgets. Runs under QT_QPA_PLATFORM=offscreen with
// the window shown and a subtitle file opened through its own dialog.
#include "cuedisplay.h"
#include "mainwindow.h"
#include "modaldriver.h"
#include "timestamp.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTextBrowser>
#include <QTemporaryDir>
#include <QtTest>

#include <benchmark/benchmark.h>

namespace {

MainWindow *window = nullptr;
// The window's own follower and the fields it writes. The player itself has
// no film to be at a position of its own, so each position is given as the
// player would report it.
CueDisplay *display = nullptr;

// Cues of 2 s with 1 s gaps from 1 s on, as make_subtitles.py writes them.
constexpr qint64 firstCueMs = 1000;
constexpr qint64 cueStepMs = 3000;

// Reports inside a cue already shown: the common report.
void reportInsideShownCue(benchmark::State &state)
{
    const qint64 cueStart = firstCueMs + 50 * cueStepMs;
    display->report(cueStart + 1);
    qint64 position = cueStart + 10;
    for (auto _ : state) {
        display->report(position);
        position = position < cueStart + 1990 ? position + 10 : cueStart + 10;
    }
}
BENCHMARK(reportInsideShownCue);

// Ten minutes of playback, a report every 10 ms: cue after cue shown and
// cleared, on average per report.
void reportOverPlayback(benchmark::State &state)
{
    qint64 position = firstCueMs;
    for (auto _ : state) {
        display->report(position);
        position = position < 600000 ? position + 10 : firstCueMs;
    }
}
BENCHMARK(reportOverPlayback);

// Opens the file as the learner would; true when the window took the file up.
bool openSubtitles(const QString &path)
{
    answerFileDialog(path);
    window->findChild<QAction *>(QStringLiteral("actionOpenSub"))->trigger();
    display = window->findChild<CueDisplay *>();
    return display && display->follower().isFollowing()
           && window->findChild<QTextBrowser *>(QStringLiteral("MyTextBrowser"))->toPlainText().isEmpty();
}

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

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("QT_QPA_PLATFORMTHEME");
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(saver);

    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("film.srt")));
    if (!file.open(QIODevice::WriteOnly) || file.write(subtitles(1500)) < 0)
        return 1;
    file.close();

    window = new MainWindow;
    window->show();
    if (!QTest::qWaitForWindowExposed(window) || !openSubtitles(file.fileName()))
        return 1;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    delete window;
    return 0;
}
