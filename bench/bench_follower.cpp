// The per-report cost of following playback: the position text and the
// follower's step, without touching any widget.
#include "subtitles.h"
#include "timestamp.h"

#include <benchmark/benchmark.h>

namespace {

SubtitleTable evenlySpacedCues(int count)
{
    // Cues of 2 s with gaps of 1 s, as in a film.
    SubtitleTable table;
    for (int index = 0; index < count; ++index) {
        const qint64 startMs = 1000 + qint64(index) * 3000;
        table.insert(startMs, SubtitleCue{startMs + 2000, {QStringLiteral("Some words"), QStringLiteral("и ещё")}});
    }
    return table;
}

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
    const SubtitleTable table = evenlySpacedCues(int(state.range(0)));
    auto currentCue = table.constFind(1000 + 3000 * (state.range(0) / 2));
    qint64 cueStartMs = currentCue.key();
    qint64 cueEndMs = currentCue->endMs;
    bool cuePending = false;
    const qint64 position = cueStartMs + 1000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(msToTimestamp(position));
        benchmark::DoNotOptimize(followPosition(table, position, currentCue, cueStartMs, cueEndMs, cuePending));
    }
}
BENCHMARK(reportInsideShownCue)->Arg(1500)->Arg(100000);

// Playback in a gap: the cue before it is selected again at every report.
void reportBetweenCues(benchmark::State &state)
{
    const SubtitleTable table = evenlySpacedCues(int(state.range(0)));
    auto currentCue = table.constFind(1000 + 3000 * (state.range(0) / 2));
    qint64 cueStartMs = currentCue.key();
    qint64 cueEndMs = currentCue->endMs;
    bool cuePending = true;
    const qint64 position = cueEndMs + 500;
    for (auto _ : state) {
        benchmark::DoNotOptimize(msToTimestamp(position));
        benchmark::DoNotOptimize(followPosition(table, position, currentCue, cueStartMs, cueEndMs, cuePending));
    }
}
BENCHMARK(reportBetweenCues)->Arg(1500)->Arg(100000);

// The report that shows a pending cue: three conversions.
void reportShowingCue(benchmark::State &state)
{
    const SubtitleTable table = evenlySpacedCues(1500);
    auto currentCue = table.constFind(1000 + 3000 * 750);
    qint64 cueStartMs = currentCue.key();
    qint64 cueEndMs = currentCue->endMs;
    const qint64 position = cueStartMs + 10;
    for (auto _ : state) {
        bool cuePending = true;
        benchmark::DoNotOptimize(msToTimestamp(position));
        if (followPosition(table, position, currentCue, cueStartMs, cueEndMs, cuePending) == FollowerStep::Shown) {
            benchmark::DoNotOptimize(msToTimestamp(cueStartMs));
            benchmark::DoNotOptimize(msToTimestamp(cueEndMs));
        }
    }
}
BENCHMARK(reportShowingCue);

} // namespace

BENCHMARK_MAIN();
