// SPDX-License-Identifier: GPL-3.0-or-later
// The per-report cost of following playback: the position text and the
// follower's step, without touching any widget.
#include "cuefollower.h"
#include "timestamp.h"

#include <benchmark/benchmark.h>

namespace {

// A film's worth of cues (2 s each, 1 s gaps).
SubtitleTable filmOfCues(int cueCount)
{
    SubtitleTable table;
    for (int index = 0; index < cueCount; ++index) {
        const qint64 startMs = 1000 + qint64(index) * 3000;
        table.insert(startMs, SubtitleCue{startMs + 2000, {QStringLiteral("Some words"), QStringLiteral("и ещё")}});
    }
    return table;
}

// The follower on the middle cue, shown.
struct Follower
{
    explicit Follower(int cueCount)
    {
        follower.load(filmOfCues(cueCount));
        middleStartMs = 1000 + 3000 * qint64(cueCount / 2);
        follower.report(middleStartMs + 1);
        follower.report(middleStartMs + 1);
    }

    FollowerStep report(qint64 positionMs)
    {
        benchmark::DoNotOptimize(msToTimestamp(positionMs));
        const FollowerStep step = follower.report(positionMs);
        if (step == FollowerStep::Shown) {
            benchmark::DoNotOptimize(msToTimestamp(follower.cue().key()));
            benchmark::DoNotOptimize(msToTimestamp(follower.cue()->endMs));
        }
        return step;
    }

    CueFollower follower;
    qint64 middleStartMs = 0;
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
    Follower follower(int(state.range(0)));
    const qint64 position = follower.middleStartMs + 1000;
    for (auto _ : state)
        benchmark::DoNotOptimize(follower.report(position));
}
BENCHMARK(reportInsideShownCue)->Arg(1500)->Arg(100000);

// Playback in a gap: the cue before it is selected again at every report.
void reportBetweenCues(benchmark::State &state)
{
    Follower follower(int(state.range(0)));
    const qint64 position = follower.middleStartMs + 2500;
    for (auto _ : state)
        benchmark::DoNotOptimize(follower.report(position));
}
BENCHMARK(reportBetweenCues)->Arg(1500)->Arg(100000);

// Reports that bring cues on screen, one after another: each cue selected by
// one report and shown, with its two times, by the next.
void reportSelectingAndShowingCues(benchmark::State &state)
{
    Follower follower(1500);
    const qint64 positions[] = {follower.middleStartMs + 10, follower.middleStartMs + 10,
                                follower.middleStartMs + 3010, follower.middleStartMs + 3010};
    int next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(follower.report(positions[next]));
        next = (next + 1) % 4;
    }
}
BENCHMARK(reportSelectingAndShowingCues);

} // namespace

BENCHMARK_MAIN();
