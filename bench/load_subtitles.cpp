// SPDX-License-Identifier: GPL-3.0-or-later
// Loads one SubRip file and says how many cues it found and how long that
// took: load_subtitles FILE. Built twice: load_subtitles with the reader the
// player uses, naive_subtitles with a plain line-by-line reader of the same
// rules, the yardstick it is measured against.
#include "subtitles.h"
#include "timestamp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

namespace {

#ifdef NAIVE_READER
// One QIODevice::readLine, one QString::fromUtf8 per line, QMap::insert.
QString readLine(QIODevice &device)
{
    QByteArray bytes = device.readLine();
    const int nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    else if (bytes.endsWith("\r\n"))
        bytes.chop(2);
    else if (bytes.endsWith('\n'))
        bytes.chop(1);
    return QString::fromUtf8(bytes);
}

SubtitleTable load(const QString &path)
{
    SubtitleTable table;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return table;
    while (!file.atEnd()) {
        const QString timeLine = readLine(file);
        if (!timeLine.contains(QLatin1String("-->")))
            continue;
        const qint64 startMs = timestampToMs(timeLine.left(12));
        SubtitleCue cue;
        cue.endMs = timestampToMs(timeLine.mid(17, 12));
        for (QString line = readLine(file); !line.isEmpty(); line = readLine(file))
            cue.lines.append(line);
        if (!table.contains(startMs))
            table.insert(startMs, cue);
    }
    return table;
}
#else
SubtitleTable load(const QString &path)
{
    return readSubtitleFile(path).value_or(SubtitleTable());
}
#endif

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QTextStream out(stdout);
    if (arguments.size() != 2) {
        QTextStream(stderr) << "usage: " << QFileInfo(arguments.at(0)).fileName() << " FILE\n";
        return 2;
    }

    QElapsedTimer timer;
    timer.start();
    const SubtitleTable table = load(arguments.at(1));
    const qint64 elapsedNs = timer.nsecsElapsed();

    out << "cues=" << table.size() << " time=" << QString::number(elapsedNs / 1e6, 'f', 3) << " ms\n";
    return 0;
}
