// SPDX-License-Identifier: GPL-3.0-or-later
// The per-report cost of following playback: the position text and the
// follower's step, without touching any widget.
#include "subtitles.h"
#include "timestamp.h"

#include <benchmark/benchmark.h>

namespace {

// A film's worth of cues (2 s each, 1 s gaps) with the follower on the middle one.
struct Follower
{
    explicit Follower(int cueCount, bool pending)
        : cuePending(pending)
    {
        for (int index = 0; index < cueCount; ++index) {
            const qint64 startMs = 1000 + qint64(index) * 3000;
            table.insert(startMs, SubtitleCue{startMs + 2000, {QStringLiteral("Some words"), QStringLiteral("и ещё")}});
        }
        currentCue = table.constFind(1000 + 3000 * qint64(cueCount / 2));
        cueStartMs = currentCue.key();
        cueEndMs = currentCue->endMs;
    }

    FollowerStep report(qint64 positionMs)
    {
        return followPosition(table, positionMs, currentCue, cueStartMs, cueEndMs, cuePending);
    }

    SubtitleTable table;
    SubtitleTable::const_iterator currentCue;
    qint64 cueStartMs = -1;
    qint64 cueEndMs = -1;
    bool cuePending = false;
};

void msToTimestampOfPositions(benchmark::State &state)
{
    qint64 position = 3723004;
    for (auto _ : state) {
        benchmark::DoNotOptimize(msToTimestamp(position));
        position += 10;
    }
}
BENCHMARK(msToTimestampOfPositions);

// Playback inside a cue that is already shown: the common report.
void reportInsideShownCue(benchmark::State &state)
{
    Follower follower(int(state.range(0)), false);
    const qint64 position = follower.cueStartMs + 1000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(msToTimestamp(position));
        benchmark::DoNotOptimize(follower.report(position));
    }
}
BENCHMARK(reportInsideShownCue)->Arg(1500)->Arg(100000);

// Playback in a gap: the cue before it is selected again at every report.
void reportBetweenCues(benchmark::State &state)
{
    Follower follower(int(state.range(0)), true);
    const qint64 position = follower.cueEndMs + 500;
    for (auto _ : state) {
        benchmark::DoNotOptimize(msToTimestamp(position));
        benchmark::DoNotOptimize(follower.report(position));
    }
}
BENCHMARK(reportBetweenCues)->Arg(1500)->Arg(100000);

// The report that shows a pending cue: three conversions.
void reportShowingCue(benchmark::State &state)
{
    Follower follower(1500, true);
    const qint64 position = follower.cueStartMs + 10;
    for (auto _ : state) {
        follower.cuePending = true;
        benchmark::DoNotOptimize(msToTimestamp(position));
        if (follower.report(position) == FollowerStep::Shown) {
            benchmark::DoNotOptimize(msToTimestamp(follower.cueStartMs));
            benchmark::DoNotOptimize(msToTimestamp(follower.cueEndMs));
        }
    }
}
BENCHMARK(reportShowingCue);

} // namespace

BENCHMARK_MAIN();
