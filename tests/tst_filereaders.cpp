// SPDX-License-Identifier: GPL-3.0-or-later
// What both programs' readers share (common/): which files are read at all.
#include "readablefile.h"
#include "subtitles.h"
#include "testdevices.h"
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
    void readErrorIsNoFile();

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
    QTest::newRow("a file of the kernel's") << QStringLiteral("/proc/self/status");
}

// Neither program's reader may hang on, grow without bound for, or take a
// shortened read of such a file for the whole of it.
void TestFileReaders::filesThatAreNotRead()
{
    QFETCH(QString, path);
    QVERIFY(!readSubtitleFile(path));
    QVERIFY(!readVocabularyFile(path));
}

// Neither program's reader takes the lines read before an error for the file.
void TestFileReaders::readErrorIsNoFile()
{
    FailingDevice subtitles("1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n\r\n"
                            "2\r\n00:00:03,000 --> 00:00:04,000\r\nTwo\r\n\r\n"
                            "3\r\n00:00:05,000 --> 00:00:06,000\r\nThree\r\n\r\n");
    QVERIFY(!readSubtitles(subtitles));
    FailingDevice vocabulary("v.avi\r\nw --> t\r\n");
    QVERIFY(!readVocabulary(vocabulary));
}

QTEST_GUILESS_MAIN(TestFileReaders)
#include "tst_filereaders.moc"
