// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef VOCABULARYLOAD_H
#define VOCABULARYLOAD_H

#include "vocabularyreader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

// The frame both vocabulary load programs share, so that they differ in
// nothing but the reader: open FILE, read it, report how many entries it gave
// and how long that took. The entries are released when the program ends, as
// part of its whole-process time.
inline int runVocabularyLoad(int argc, char *argv[], const char *programName,
                             std::optional<VocabularyContents> (*read)(QIODevice &))
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        err << "usage: " << programName << " FILE\n";
        return 2;
    }

    QElapsedTimer timer;
    timer.start();
    QFile file(arguments.at(1));
    if (!file.open(QIODevice::ReadOnly)) {
        err << "cannot open " << arguments.at(1) << ": " << file.errorString() << '\n';
        return 1;
    }
    const std::optional<VocabularyContents> contents = read(file);
    file.close();
    if (!contents) {
        err << "cannot read " << arguments.at(1) << '\n';
        return 1;
    }
    const double elapsedMs = double(timer.nsecsElapsed()) / 1e6;

    out << "entries=" << contents->entries.size() << '\n'
        << "elapsed_ms=" << QString::number(elapsedMs, 'f', 2) << '\n';
    return 0;
}

#endif // VOCABULARYLOAD_H
