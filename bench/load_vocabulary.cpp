// Reads a vocabulary file the way the trainer's open button does and reports
// how many entries it gave and how long that took.
//     load_vocabulary FILE

#include "vocabularyreader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        err << "usage: load_vocabulary FILE\n";
        return 2;
    }

    QElapsedTimer timer;
    timer.start();
    QFile file(arguments.at(1));
    if (!file.open(QIODevice::ReadOnly)) {
        err << "cannot open " << arguments.at(1) << ": " << file.errorString() << '\n';
        return 1;
    }
    const VocabularyContents contents = readVocabulary(file);
    file.close();
    const double elapsedMs = double(timer.nsecsElapsed()) / 1e6;

    out << "entries=" << contents.entries.size() << '\n'
        << "elapsed_ms=" << QString::number(elapsedMs, 'f', 2) << '\n';
    return 0;
}
