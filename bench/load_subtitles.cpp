// Loads one SubRip file and says how many cues it found and how long that
// took: load_subtitles FILE. Built twice: load_subtitles with the reader the
// player uses, naive_subtitles with the plain reference reader.
#include "subtitles.h"
#ifdef NAIVE_REFERENCE
#include "subtitlereference.h"
#endif

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

namespace {

SubtitleTable load(const QString &path)
{
#ifdef NAIVE_REFERENCE
    return readSubtitleFileReference(path);
#else
    return readSubtitleFile(path);
#endif
}

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
