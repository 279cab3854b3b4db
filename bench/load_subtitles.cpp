// Loads one SubRip file with the reader the player uses and says how many cues
// it found and how long that took: load_subtitles FILE
#include "subtitles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QTextStream out(stdout);
    if (arguments.size() != 2) {
        QTextStream(stderr) << "usage: load_subtitles FILE\n";
        return 2;
    }

    QElapsedTimer timer;
    timer.start();
    const SubtitleTable table = readSubtitleFile(arguments.at(1));
    const qint64 elapsedNs = timer.nsecsElapsed();

    out << "cues=" << table.size() << " time=" << QString::number(elapsedNs / 1e6, 'f', 3) << " ms\n";
    return 0;
}
