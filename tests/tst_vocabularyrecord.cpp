// SPDX-License-Identifier: GPL-3.0-or-later
#include "appendfile.h"
#include "filesizelimit.h"
#include "syncfailure.h"
#include "vocabularyrecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <optional>

#include <sys/file.h>
#include <sys/stat.h>

namespace {

enum class Syncs { Work, Fail, FailForFolders };

} // namespace

Q_DECLARE_METATYPE(AppendOutcome)
Q_DECLARE_METATYPE(Syncs)
Q_DECLARE_METATYPE(CaptureProblem)
Q_DECLARE_METATYPE(MissingFile)
Q_DECLARE_METATYPE(VocabularyEntry)

class TestVocabularyRecord : public QObject
{
    Q_OBJECT

private slots:
    void assemble_data();
    void assemble();
    void readsBack_data();
    void readsBack();
    void appendWritesBytesExactly();
    void appendKeepsWhatIsThere();
    void appendOutcome_data();
    void appendOutcome();
    void openForAppendingWritesNothing();
    void lockedFileIsLeftAlone();
    void videoPath_data();
    void videoPath();
    void oneCharacterTarget();

private:
    static QByteArray fileBytes(const QString &path);
    QTemporaryDir directory;
};

QByteArray TestVocabularyRecord::fileBytes(const QString &path)
{
    // A device such as /dev/full would be read for ever.
    if (!QFileInfo(path).isFile())
        return QByteArray("<no file>");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

void TestVocabularyRecord::assemble_data()
{
    QTest::addColumn<VocabularyEntry>("entry");
    QTest::addColumn<QByteArray>("record");

    QTest::newRow("word and translation")
        << VocabularyEntry{"hello", "hi", "", "", ""} << QByteArray("hello --> hi");
    QTest::newRow("with context")
        << VocabularyEntry{"hello", "hi", "Hello there.", "", ""}
        << QByteArray("hello --> hi --> Hello there.");
    QTest::newRow("with time range")
        << VocabularyEntry{"hello", "hi", "", "00:00:01,000", "00:00:02,500"}
        << QByteArray("hello --> hi --> 00:00:01,000***00:00:02,500");
    QTest::newRow("context and time range")
        << VocabularyEntry{"run out", "to finish", "We ran out\nof time.", "00:01:02,500", "00:01:04,000"}
        << QByteArray("run out --> to finish --> We ran out-*-of time. --> 00:01:02,500***00:01:04,000");
    QTest::newRow("three-line context, two markers")
        << VocabularyEntry{"w", "t", "one\ntwo\nthree", "", ""}
        << QByteArray("w --> t --> one-*-two-*-three");
    QTest::newRow("empty line in context, markers back to back")
        << VocabularyEntry{"w", "t", "one\n\nthree", "", ""}
        << QByteArray("w --> t --> one-*--*-three");
    QTest::newRow("line breaks in word and translation")
        << VocabularyEntry{"give\nup", "to\nquit", "", "", ""} << QByteArray("give-*-up --> to-*-quit");
    QTest::newRow("only a start: no time range")
        << VocabularyEntry{"w", "t", "c", "00:00:01,000", ""} << QByteArray("w --> t --> c");
    QTest::newRow("only an end: no time range")
        << VocabularyEntry{"w", "t", "", "", "00:00:01,000"} << QByteArray("w --> t");
    QTest::newRow("blanks kept, blank context counts")
        << VocabularyEntry{" w ", "  t", " ", "", ""} << QByteArray(" w  -->   t -->  ");
    QTest::newRow("time texts written as they stand")
        << VocabularyEntry{"w", "t", "", "soon", "later"} << QByteArray("w --> t --> soon***later");
    QTest::newRow("cyrillic as UTF-8")
        << VocabularyEntry{QStringLiteral("кошка"), "cat", QStringLiteral("Это кошка."), "", ""}
        << QByteArray("\xD0\xBA\xD0\xBE\xD1\x88\xD0\xBA\xD0\xB0 --> cat --> "
                      "\xD0\xAD\xD1\x82\xD0\xBE \xD0\xBA\xD0\xBE\xD1\x88\xD0\xBA\xD0\xB0.");
}

void TestVocabularyRecord::assemble()
{
    QFETCH(VocabularyEntry, entry);
    QFETCH(QByteArray, record);
    QCOMPARE(assembleVocabularyRecord(entry).toUtf8(), record);
}

void TestVocabularyRecord::readsBack_data()
{
    QTest::addColumn<VocabularyEntry>("entry");
    QTest::addColumn<bool>("readsBack");

    const QString time = QStringLiteral("00:00:01,000");
    QTest::newRow("plain entry") << VocabularyEntry{"w", "t", "c", time, time} << true;
    QTest::newRow("separator core in word") << VocabularyEntry{"a-->b", "t", "", "", ""} << false;
    QTest::newRow("whole separator in translation")
        << VocabularyEntry{"w", "a --> b", "", "", ""} << false;
    QTest::newRow("separator core in context") << VocabularyEntry{"w", "t", "x-->", "", ""} << false;
    QTest::newRow("separator core in start") << VocabularyEntry{"w", "t", "", "-->", time} << false;
    QTest::newRow("separator core in end") << VocabularyEntry{"w", "t", "", time, "1-->2"} << false;
    QTest::newRow("joiner in context") << VocabularyEntry{"w", "t", "a***b", "", ""} << false;
    QTest::newRow("joiner in start") << VocabularyEntry{"w", "t", "", "***", time} << false;
    QTest::newRow("joiner in end") << VocabularyEntry{"w", "t", "", time, "0***"} << false;
    QTest::newRow("joiner in a lone start still refused")
        << VocabularyEntry{"w", "t", "", "***", ""} << false;
    QTest::newRow("start ending in a star joins into the joiner")
        << VocabularyEntry{"w", "t", "", "1*", "2"} << false;
    QTest::newRow("end beginning with a star is harmless") << VocabularyEntry{"w", "t", "", "1", "*2"} << true;
    QTest::newRow("joiner in word is harmless") << VocabularyEntry{"a***b", "t", "", "", ""} << true;
    QTest::newRow("joiner in translation is harmless") << VocabularyEntry{"w", "***", "", "", ""} << true;
    QTest::newRow("arrow with one hyphen") << VocabularyEntry{"->", "t", "a->b", "", ""} << true;
    QTest::newRow("line break in word makes a separator core")
        << VocabularyEntry{"a\n->b", "t", "", "", ""} << false;
    QTest::newRow("line break in context makes one")
        << VocabularyEntry{"w", "t", "a-\n->", "", ""} << false;
    QTest::newRow("hyphens and asterisks kept")
        << VocabularyEntry{"--", "**", "-*- -- **", "", ""} << true;
}

void TestVocabularyRecord::readsBack()
{
    QFETCH(VocabularyEntry, entry);
    QFETCH(bool, readsBack);
    QCOMPARE(readsBackAsTyped(entry), readsBack);
}

void TestVocabularyRecord::appendWritesBytesExactly()
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

void TestVocabularyRecord::appendKeepsWhatIsThere()
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

void TestVocabularyRecord::appendOutcome_data()
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
}

void TestVocabularyRecord::appendOutcome()
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
            failure.emplace(syncs == Syncs::Fail ? SyncFailure::Everything : SyncFailure::Folders);
        appended = appendLineToFile(path, QStringLiteral("w --> t"), whenMissing);
    }
    QCOMPARE(appended, outcome);
    // What fails leaves the file as it was, down to a file that was not there.
    if (outcome == AppendOutcome::Written)
        QCOMPARE(fileBytes(path), content + "w --> t\r\n");
    else
        QCOMPARE(fileBytes(path), before);
    QCOMPARE(canAppendToFile(path), outcome != AppendOutcome::OpenFailed && QFile::exists(path));
}

void TestVocabularyRecord::openForAppendingWritesNothing()
{
    // The open action chooses a file; a file it made would have no video path line.
    const QString missing = directory.filePath(QStringLiteral("missing.txt"));
    QVERIFY(!canAppendToFile(missing));
    QVERIFY(!QFile::exists(missing));

    const QString existing = directory.filePath(QStringLiteral("kept.txt"));
    QCOMPARE(appendLineToFile(existing, QStringLiteral("video.avi"), MissingFile::Create),
             AppendOutcome::Written);
    QVERIFY(canAppendToFile(existing));
    QCOMPARE(fileBytes(existing), QByteArray("video.avi\r\n"));
}

void TestVocabularyRecord::lockedFileIsLeftAlone()
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
    QCOMPARE(fileBytes(path), QByteArray("video.avi\r\n"));

    QVERIFY(flock(other.handle(), LOCK_UN) == 0);
    waits = 0;
    QCOMPARE(appendLineToFile(path, QStringLiteral("w --> t"), MissingFile::Refuse, countWaits), AppendOutcome::Written);
    QCOMPARE(waits, 0);
}

void TestVocabularyRecord::videoPath_data()
{
    QTest::addColumn<QString>("videoPath");
    QTest::addColumn<CaptureProblem>("problem");

    QTest::newRow("one character is no video") << QStringLiteral("v") << CaptureProblem::NoVideo;
    QTest::newRow("two characters are enough") << QStringLiteral("vw") << CaptureProblem::None;
    QTest::newRow("separator core would read back as a record")
        << QStringLiteral("/films/a-->b.avi") << CaptureProblem::SeparatorInVideoPath;
    QTest::newRow("arrow with one hyphen") << QStringLiteral("/films/a->b.avi") << CaptureProblem::None;
    QTest::newRow("line feed would end the path line")
        << QStringLiteral("/films/a\nb.avi") << CaptureProblem::LineBreakInVideoPath;
    QTest::newRow("carriage return reads back") << QStringLiteral("/films/a\rb.avi\r") << CaptureProblem::None;
}

void TestVocabularyRecord::videoPath()
{
    QFETCH(QString, videoPath);
    QFETCH(CaptureProblem, problem);
    QCOMPARE(videoPathProblem(videoPath), problem);
}

void TestVocabularyRecord::oneCharacterTarget()
{
    // Dialogs return absolute paths, so a path this short can only come from here.
    const QString startDirectory = QDir::currentPath();
    QVERIFY(QDir::setCurrent(directory.path()));
    const VocabularyEntry entry{"w", "t", "", "", ""};
    const CaptureProblem oneCharacter = saveVocabularyEntry(QStringLiteral("x"), entry);
    const bool made = QFile::exists(QStringLiteral("x"));
    QCOMPARE(appendLineToFile(QStringLiteral("xy"), QStringLiteral("v"), MissingFile::Create),
             AppendOutcome::Written);
    const CaptureProblem twoCharacters = saveVocabularyEntry(QStringLiteral("xy"), entry);
    QDir::setCurrent(startDirectory);

    QCOMPARE(oneCharacter, CaptureProblem::NoTarget);
    QVERIFY(!made);
    QCOMPARE(twoCharacters, CaptureProblem::None);
    QCOMPARE(fileBytes(directory.filePath(QStringLiteral("xy"))), QByteArray("v\r\nw --> t\r\n"));
}

QTEST_GUILESS_MAIN(TestVocabularyRecord)
#include "tst_vocabularyrecord.moc"
