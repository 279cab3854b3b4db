// SPDX-License-Identifier: GPL-3.0-or-later
// What both programs' readers share (common/): which files are read at all.
#include "readablefile.h"
#include "subtitles.h"
#include "vocabularyreader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class TestFileReaders : public QObject
{
    Q_OBJECT

private slots:
    void filesThatAreNotRead_data();
    void filesThatAreNotRead();

private:
    QTemporaryDir directory;
};

void TestFileReaders::filesThatAreNotRead_data()
{
    QTest::addColumn<QString>("path");

    QVERIFY(directory.isValid());
    const QString pipe = directory.filePath(QStringLiteral("pipe.srt"));
    QVERIFY(mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    const QString huge = directory.filePath(QStringLiteral("huge.srt"));
    QFile file(huge);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(ReadableFile::maximumBytes + 1));
    file.close();

    QTest::newRow("missing") << directory.filePath(QStringLiteral("missing.srt"));
    QTest::newRow("folder") << directory.path();
    QTest::newRow("named pipe without a writer") << pipe;
    QTest::newRow("endless device") << QStringLiteral("/dev/zero");
    QTest::newRow("random device") << QStringLiteral("/dev/urandom");
    QTest::newRow("over 1 GiB") << huge;
}

// Neither program's reader may hang on, grow without bound for, or take a
// shortened read of such a file for the whole of it.
void TestFileReaders::filesThatAreNotRead()
{
    QFETCH(QString, path);
    QVERIFY(!readSubtitleFile(path));
    QVERIFY(!readVocabularyFile(path));
}

QTEST_GUILESS_MAIN(TestFileReaders)
#include "tst_filereaders.moc"
