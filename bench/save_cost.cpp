// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of one save as the learner waits for it: SAVES records appended
// one by one through the saver's own append, which syncs each to the disk,
// and as many through a plain append of the same steps without the sync.
//     save_cost FOLDER [SAVES]
// FOLDER decides the disk (a tmpfs keeps everything in memory); SAVES
// defaults to 200. Prints the median and the longest save of each, in
// milliseconds.

#include "appendfile.h"
#include "plainappend.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

QString recordOf(int index)
{
    return QStringLiteral("word %1 --> translation %1 --> a context of some length --> 00:01:02,500***00:01:04,000")
        .arg(index);
}

struct Figures
{
    double medianMs = 0;
    double longestMs = 0;
};

template<typename Save>
bool measure(const QString &path, int saves, Save save, Figures &figures)
{
    QFile::remove(path);
    if (appendLineToFile(path, QStringLiteral("film.avi"), MissingFile::Create) != AppendOutcome::Written)
        return false;
    std::vector<double> times;
    times.reserve(size_t(saves));
    for (int i = 0; i < saves; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!save(path, recordOf(i)))
            return false;
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    figures.medianMs = times[times.size() / 2];
    figures.longestMs = times.back();
    QFile::remove(path);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: save_cost FOLDER [SAVES]\n");
        return 2;
    }
    const QDir folder(QFile::decodeName(argv[1]));
    const int saves = argc > 2 ? std::atoi(argv[2]) : 200;
    if (!folder.exists() || saves <= 0) {
        std::fprintf(stderr, "FOLDER must exist, SAVES be at least 1\n");
        return 2;
    }
    const QString path = folder.filePath(QStringLiteral("save-cost.txt"));
    Figures synced;
    Figures plain;
    const bool measured =
        measure(path, saves,
                [](const QString &target, const QString &line) {
                    return appendLineToFile(target, line, MissingFile::Refuse) == AppendOutcome::Written;
                },
                synced)
        && measure(path, saves, appendWithoutSync, plain);
    if (!measured) {
        std::fprintf(stderr, "cannot append to %s\n", qPrintable(path));
        return 2;
    }
    std::printf("%d saves  synced median %.3f ms  longest %.3f ms  without sync median %.3f ms  longest %.3f ms\n",
                saves, synced.medianMs, synced.longestMs, plain.medianMs, plain.longestMs);
    return 0;
}
