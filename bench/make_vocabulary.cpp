// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a vocabulary file of M records, cycling through the four record
// shapes (word and translation; with context; with time range; with both).
//     make_vocabulary M FILE

#include "timestamp.h"
#include "vocabularyformat.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = QCoreApplication::arguments();
    bool countRead = false;
    const qint64 count = arguments.size() == 3 ? arguments.at(1).toLongLong(&countRead) : 0;
    if (!countRead || count < 0) {
        err << "usage: make_vocabulary M FILE\n";
        return 2;
    }

    QFile file(arguments.at(2));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        err << "cannot write " << arguments.at(2) << ": " << file.errorString() << '\n';
        return 1;
    }
    QTextStream out(&file);
    out.setCodec("UTF-8");
    const QString separator = QString::fromLatin1(VocabularyFormat::FieldSeparator);
    const QString terminator = QString::fromLatin1(VocabularyFormat::LineTerminator);
    const QString lineBreak = QString::fromLatin1(VocabularyFormat::LineBreakMarker);
    const QString joiner = QString::fromLatin1(VocabularyFormat::TimeRangeJoiner);

    out << "D:/films/demo.avi" << terminator;
    for (qint64 i = 0; i < count; ++i) {
        out << "word " << i << separator << QStringLiteral("перевод ") << i;
        const int shape = int(i % 4);
        if (shape == 1 || shape == 3)
            out << separator << "We ran out" << lineBreak << "of time, line " << i << '.';
        if (shape >= 2) {
            const qint64 startMs = (i * 1500) % 86400000;
            out << separator << msToTimestamp(startMs) << joiner << msToTimestamp(startMs + 1200);
        }
        out << terminator;
    }
    out.flush();
    if (file.error() != QFile::NoError) {
        err << "cannot write " << arguments.at(2) << ": " << file.errorString() << '\n';
        return 1;
    }
    return 0;
}
