// SPDX-License-Identifier: GPL-3.0-or-later
// What both programs' readers share (common/): which files are read at all,
// and a read error part-way through a file.
#include "readablefile.h"
#include "subtitles.h"
#include "vocabularyreader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

// A device that fails to read after its first bytes, as a disk may.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(const QByteArray &firstBytes) : firstBytes(firstBytes) { open(ReadOnly); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 count = qMin(maxSize, qint64(firstBytes.size()) - given);
        if (count <= 0)
            return -1;
        memcpy(data, firstBytes.constData() + given, size_t(count));
        given += count;
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray firstBytes;
    qint64 given = 0;
};

const QByteArray threeCues =
    "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nTwo\r\n\r\n"
    "3\r\n00:00:05,000 --> 00:00:06,000\r\nThree\r\n\r\n";

} // namespace

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
}

// Neither program's reader may hang on, grow without bound for, or take a
// shortened read of such a file for the whole of it.
void TestFileReaders::filesThatAreNotRead()
{
    QFETCH(QString, path);
    QVERIFY(!readSubtitleFile(path));
    QVERIFY(!readVocabularyFile(path));
}

void TestFileReaders::readErrorIsNoFile()
{
    FailingDevice subtitles(threeCues);
    QVERIFY(!readSubtitles(subtitles, 16));
    FailingDevice vocabulary("v.avi\r\nw --> t\r\n");
    QVERIFY(!readVocabulary(vocabulary));
}

QTEST_GUILESS_MAIN(TestFileReaders)
#include "tst_filereaders.moc"
