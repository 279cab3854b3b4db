#include "subtitlereference.h"

#include "timestamp.h"

#include <QFile>
#include <QIODevice>

namespace {

// One line of the file without its terminator (CR LF, LF, or none on the last
// line). The text is decoded up to the first NUL byte; a NUL hides the
// terminator too. At the end of the data the line is empty.
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

} // namespace

SubtitleTable readSubtitlesReference(QIODevice &device)
{
    SubtitleTable table;
    while (!device.atEnd()) {
        const QString timeLine = readLine(device);
        if (!timeLine.contains(QLatin1String("-->")))
            continue;

        const qint64 startMs = timestampToMs(timeLine.left(12));
        SubtitleCue cue;
        cue.endMs = timestampToMs(timeLine.mid(17, 12));
        for (QString line = readLine(device); !line.isEmpty(); line = readLine(device))
            cue.lines.append(line);

        if (!table.contains(startMs))
            table.insert(startMs, cue);
    }
    return table;
}

SubtitleTable readSubtitleFileReference(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return SubtitleTable();
    return readSubtitlesReference(file);
}

QString subtitleTableDifference(const SubtitleTable &expected, const SubtitleTable &actual)
{
    auto wanted = expected.constBegin();
    auto got = actual.constBegin();
    for (; wanted != expected.constEnd() && got != actual.constEnd(); ++wanted, ++got) {
        if (wanted.key() != got.key() || wanted->endMs != got->endMs || wanted->lines != got->lines) {
            return QStringLiteral("expected %1-%2 [%3], got %4-%5 [%6]")
                .arg(wanted.key()).arg(wanted->endMs).arg(wanted->lines.join(QLatin1Char('|')))
                .arg(got.key()).arg(got->endMs).arg(got->lines.join(QLatin1Char('|')));
        }
    }
    if (expected.size() != actual.size())
        return QStringLiteral("expected %1 cues, got %2").arg(expected.size()).arg(actual.size());
    return QString();
}
