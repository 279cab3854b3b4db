// SPDX-License-Identifier: GPL-3.0-or-later
// Appending one line to a vocabulary file: the bytes written, what a failed
// append leaves, and another writer's lock.
#include "appendfile.h"
#include "filesizelimit.h"
#include "syncfailure.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <optional>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Syncs { Work, Fail, FailForFolders, FailToClose };

} // namespace

Q_DECLARE_METATYPE(AppendOutcome)
Q_DECLARE_METATYPE(Syncs)
Q_DECLARE_METATYPE(MissingFile)

class TestAppendFile : public QObject
{
    Q_OBJECT

private slots:
    void appendWritesBytesExactly();
    void appendKeepsWhatIsThere();
    void appendOutcome_data();
    void appendOutcome();
    void openForAppendingWritesNothing();
    void lockedFileIsLeftAlone();
    void newFileInFolderWithoutReadPermission();

private:
    static QByteArray fileBytes(const QString &path);
    QTemporaryDir directory;
};

QByteArray TestAppendFile::fileBytes(const QString &path)
{
    // A device such as /dev/full would be read for ever.
    if (!QFileInfo(path).isFile())
        return QByteArray("<no file>");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

void TestAppendFile::appendWritesBytesExactly()
{
    const QString path = directory.filePath(QStringLiteral("new.txt"));
    QCOMPARE(appendLineToFile(path, QStringLiteral("D:/films/demo.avi"), MissingFile::Create), AppendOutcome::Written);
    QCOMPARE(appendLineToFile(path, QStringLiteral("hello --> hi"), MissingFile::Refuse), AppendOutcome::Written);
    QCOMPARE(appendLineToFile(path, QStringLiteral("ёж --> hedgehog"), MissingFile::Refuse), AppendOutcome::Written);
    // No byte-order mark, every line ends in CR LF on every platform.
    QCOMPARE(fileBytes(path),
             QByteArray("D:/films/demo.avi\r\n")
                 + QByteArray::fromHex("68656c6c6f202d2d3e2068690d0a")
                 + QByteArray("\xD1\x91\xD0\xB6 --> hedgehog\r\n"));
}
void TestAppendFile::appendKeepsWhatIsThere()
{
    const QString path = directory.filePath(QStringLiteral("existing.txt"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("video.avi\r\nold --> record\r\n");
    }
    QCOMPARE(appendLineToFile(path, QStringLiteral("new --> record"), MissingFile::Refuse), AppendOutcome::Written);
    QCOMPARE(fileBytes(path), QByteArray("video.avi\r\nold --> record\r\nnew --> record\r\n"));
}
void TestAppendFile::appendOutcome_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<MissingFile>("whenMissing");
    QTest::addColumn<qint64>("sizeLimit");
    QTest::addColumn<Syncs>("syncs");
    QTest::addColumn<AppendOutcome>("outcome");

    const QString fresh = directory.filePath(QStringLiteral("fresh.txt"));
    const QString existing = directory.filePath(QStringLiteral("existing.txt"));
    const QByteArray started("video.avi\r\n");
    const MissingFile create = MissingFile::Create;
    const MissingFile refuse = MissingFile::Refuse;

    QTest::newRow("new file") << fresh << QByteArray() << create << qint64(0) << Syncs::Work << AppendOutcome::Written;
    QTest::newRow("missing file not to be created")
        << fresh << QByteArray() << refuse << qint64(0) << Syncs::Work << AppendOutcome::OpenFailed;
    QTest::newRow("a directory")
        << directory.path() << QByteArray() << create << qint64(0) << Syncs::Work << AppendOutcome::OpenFailed;
    QTest::newRow("folder that does not exist")
        << directory.filePath(QStringLiteral("missing/file.txt")) << QByteArray() << create
        << qint64(0) << Syncs::Work << AppendOutcome::OpenFailed;
    QTest::newRow("empty path") << QString() << QByteArray() << create << qint64(0)
                                << Syncs::Work << AppendOutcome::OpenFailed;
    const QString pipe = directory.filePath(QStringLiteral("pipe.txt"));
    if (!QFileInfo::exists(pipe))
        QVERIFY(mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    QTest::newRow("named pipe without a reader")
        << pipe << QByteArray() << refuse << qint64(0) << Syncs::Work << AppendOutcome::OpenFailed;
    // Devices take the line and keep nothing, or fail every write.
    QTest::newRow("null device") << QStringLiteral("/dev/null") << QByteArray() << create << qint64(0)
                                 << Syncs::Work << AppendOutcome::OpenFailed;
    QTest::newRow("full device") << QStringLiteral("/dev/full") << QByteArray() << refuse << qint64(0)
                                 << Syncs::Work << AppendOutcome::OpenFailed;
    QTest::newRow("disk fills in the middle of the line")
        << existing << started << refuse << qint64(started.size() + 3) << Syncs::Work << AppendOutcome::WriteFailed;
    QTest::newRow("disk fills in the middle of a new file's first line")
        << fresh << QByteArray() << create << qint64(3) << Syncs::Work << AppendOutcome::WriteFailed;
    QTest::newRow("disk already full: nothing added, nothing cut")
        << existing << started + "w --> t\r\n" << refuse << qint64(started.size()) << Syncs::Work << AppendOutcome::WriteFailed;
    // A line the disk did not take back may be gone after a power cut, or
    // come back damaged in the middle of the file.
    QTest::newRow("sync fails: the line is taken back")
        << existing << started << refuse << qint64(0) << Syncs::Fail << AppendOutcome::WriteFailed;
    QTest::newRow("sync of a new file fails: no file left")
        << fresh << QByteArray() << create << qint64(0) << Syncs::Fail << AppendOutcome::WriteFailed;
    QTest::newRow("sync of a new file's folder fails: no file left")
        << fresh << QByteArray() << create << qint64(0) << Syncs::FailForFolders << AppendOutcome::WriteFailed;
    QTest::newRow("an existing file needs no sync of its folder")
        << existing << started << create << qint64(0) << Syncs::FailForFolders << AppendOutcome::Written;
    QTest::newRow("an error in closing after the sync: written all the same")
        << existing << started << refuse << qint64(0) << Syncs::FailToClose << AppendOutcome::Written;
    QTest::newRow("a file of the kernel's, looking regular")
        << QStringLiteral("/proc/self/comm") << QByteArray() << refuse << qint64(0) << Syncs::Work
        << AppendOutcome::OpenFailed;
}
void TestAppendFile::appendOutcome()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, content);
    QFETCH(MissingFile, whenMissing);
    QFETCH(qint64, sizeLimit);
    QFETCH(Syncs, syncs);
    QFETCH(AppendOutcome, outcome);

    if (QFileInfo(path).isFile())
        QFile::remove(path);
    if (!content.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }
    const QByteArray before = fileBytes(path);
    AppendOutcome appended;
    {
        std::unique_ptr<FileSizeLimit> limit;
        if (sizeLimit > 0) {
            limit = std::make_unique<FileSizeLimit>(sizeLimit);
            QVERIFY(limit->isSet());
        }
        std::optional<SyncFailure> failure;
        if (syncs != Syncs::Work)
            failure.emplace(syncs == Syncs::Fail             ? SyncFailure::Everything
                            : syncs == Syncs::FailForFolders ? SyncFailure::Folders
                                                             : SyncFailure::Closes);
        appended = appendLineToFile(path, QStringLiteral("w --> t"), whenMissing);
    }
    QCOMPARE(appended, outcome);
    // What fails leaves the file as it was, down to a file that was not there.
    if (outcome == AppendOutcome::Written)
        QCOMPARE(fileBytes(path), content + "w --> t\r\n");
    else
        QCOMPARE(fileBytes(path), before);
    QCOMPARE(probeAppend(path) == AppendOutcome::Written, outcome != AppendOutcome::OpenFailed && QFile::exists(path));
}
void TestAppendFile::openForAppendingWritesNothing()
{
    // The open action chooses a file; a file it made would have no video path line.
    const QString missing = directory.filePath(QStringLiteral("missing.txt"));
    QCOMPARE(probeAppend(missing), AppendOutcome::OpenFailed);
    QVERIFY(!QFile::exists(missing));

    const QString existing = directory.filePath(QStringLiteral("kept.txt"));
    QCOMPARE(appendLineToFile(existing, QStringLiteral("video.avi"), MissingFile::Create),
             AppendOutcome::Written);
    QCOMPARE(probeAppend(existing), AppendOutcome::Written);
    QCOMPARE(fileBytes(existing), QByteArray("video.avi\r\n"));
}
void TestAppendFile::lockedFileIsLeftAlone()
{
    // Another Saver appending, or one that hangs while it holds the lock.
    const QString path = directory.filePath(QStringLiteral("locked.txt"));
    QCOMPARE(appendLineToFile(path, QStringLiteral("video.avi"), MissingFile::Create), AppendOutcome::Written);
    QFile other(path);
    QVERIFY(other.open(QIODevice::ReadOnly));
    QCOMPARE(flock(other.handle(), LOCK_EX | LOCK_NB), 0);
    int waits = 0;
    const WhileLocked countWaits = [&waits] { ++waits; };
    QCOMPARE(appendLineToFile(path, QStringLiteral("w --> t"), MissingFile::Refuse, countWaits), AppendOutcome::Busy);
    // The caller drew its window again and again, not once at the end.
    QVERIFY2(waits > 10, qPrintable(QString::number(waits)));
    QCOMPARE(appendLineToFile(path, QStringLiteral("second.avi"), MissingFile::Create), AppendOutcome::Busy);
    // A choice of the file is told at once.
    QCOMPARE(probeAppend(path), AppendOutcome::Busy);
    QCOMPARE(fileBytes(path), QByteArray("video.avi\r\n"));

    QVERIFY(flock(other.handle(), LOCK_UN) == 0);
    waits = 0;
    QCOMPARE(appendLineToFile(path, QStringLiteral("w --> t"), MissingFile::Refuse, countWaits), AppendOutcome::Written);
    QCOMPARE(waits, 0);
}

// A folder the learner may write to but not list: its file system is synced
// instead of the folder, and a failure of that sync is a failed append.
void TestAppendFile::newFileInFolderWithoutReadPermission()
{
    const QByteArray folder = QFile::encodeName(directory.filePath(QStringLiteral("drop box")));
    QVERIFY(::mkdir(folder.constData(), 0300) == 0);
    // Root reads any folder: the appends run as nobody, who owns this one.
    const bool asRoot = ::geteuid() == 0;
    if (asRoot) {
        QVERIFY(::chmod(QFile::encodeName(directory.path()).constData(), 0711) == 0
                && ::chown(folder.constData(), 65534, 65534) == 0 && ::seteuid(65534) == 0);
    }
    const AppendOutcome made = appendLineToFile(folder + "/made.txt", QStringLiteral("film.avi"), MissingFile::Create);
    std::optional<SyncFailure> failure(SyncFailure::FileSystems);
    const AppendOutcome notMade = appendLineToFile(folder + "/not.txt", QStringLiteral("film.avi"), MissingFile::Create);
    failure.reset();
    if (asRoot)
        QVERIFY(::seteuid(0) == 0);
    QVERIFY(::chmod(folder.constData(), 0700) == 0);
    QCOMPARE(made, AppendOutcome::Written);
    QCOMPARE(fileBytes(folder + "/made.txt"), QByteArray("film.avi\r\n"));
    QCOMPARE(notMade, AppendOutcome::WriteFailed);
    QVERIFY(!QFile::exists(folder + "/not.txt"));
}

QTEST_GUILESS_MAIN(TestAppendFile)
#include "tst_appendfile.moc"
