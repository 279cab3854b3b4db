// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocabularyreader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using Entries = QVector<QStringList>;

class TestVocabularyReader : public QObject
{
    Q_OBJECT

private slots:
    void readsFile_data();
    void readsFile();
    void readsFromDevice();
    void lineWithoutRecord_data();
    void lineWithoutRecord();
    void filmBesideTheFile_data();
    void filmBesideTheFile();

private:
    static void compareEntries(const Entries &actual, const Entries &expected);
};

namespace {

const QByteArray example = "D:/films/demo.avi\r\n"
                           "run out --> to finish --> We ran out-*-of time. --> 00:01:02,500***00:01:04,000\r\n"
                           "hello --> hi\r\n";

std::optional<VocabularyContents> readFromMemory(const QByteArray &content)
{
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    return readVocabulary(buffer);
}

// Bytes of a literal that may hold NUL characters.
template<int N>
QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

QStringList entry(const QStringList &fields)
{
    return QStringList{QStringLiteral(" ")} + fields;
}

const Entries exampleEntries{
    entry({"run out", "to finish", "We ran out-*-of time.", "00:01:02,500***00:01:04,000"}),
    entry({"hello", "hi"}),
};

} // namespace

void TestVocabularyReader::compareEntries(const Entries &actual, const Entries &expected)
{
    QCOMPARE(actual.size(), expected.size());
    for (int i = 0; i < actual.size(); ++i)
        QCOMPARE(actual.at(i), expected.at(i));
}

void TestVocabularyReader::readsFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("videoPath");
    QTest::addColumn<Entries>("entries");

    QTest::newRow("worked example") << example << "D:/films/demo.avi" << exampleEntries;
    QTest::newRow("only the video path line") << QByteArray("D:/films/demo.avi\r\n")
                                              << "D:/films/demo.avi" << Entries();
    QTest::newRow("empty file") << QByteArray() << "" << Entries();
    QTest::newRow("the four shapes")
        << QByteArray("v.avi\r\n"
                      "w1 --> t1\r\n"
                      "w2 --> t2 --> context\r\n"
                      "w3 --> t3 --> 00:00:01,000***00:00:02,000\r\n"
                      "w4 --> t4 --> context --> 00:00:01,000***00:00:02,000\r\n")
        << "v.avi"
        << Entries{entry({"w1", "t1"}), entry({"w2", "t2", "context"}),
                   entry({"w3", "t3", "00:00:01,000***00:00:02,000"}),
                   entry({"w4", "t4", "context", "00:00:01,000***00:00:02,000"})};
    QTest::newRow("fourth separator stays in the last field")
        << QByteArray("v.avi\r\na --> b --> c --> d --> e\r\n") << "v.avi"
        << Entries{entry({"a", "b", "c", "d --> e"})};
    QTest::newRow("separator without blanks drops the neighbouring characters")
        << QByteArray("v.avi\r\nab-->cd\r\n") << "v.avi" << Entries{entry({"a", "d"})};
    QTest::newRow("separator directly after a separator does not count")
        << QByteArray("v.avi\r\na -->--> b --> c\r\n") << "v.avi"
        << Entries{entry({"a", "-> b --> c"})};
    QTest::newRow("line starting with the separator skipped, one starting with a blank kept")
        << QByteArray("v.avi\r\n--> x --> y\r\n --> hi\r\n") << "v.avi"
        << Entries{entry({"", "hi"})};
    QTest::newRow("empty lines and later video path lines skipped")
        << QByteArray("D:/first.avi\r\na --> b\r\n\r\nE:/second.avi\r\nc --> d\r\n")
        << "D:/first.avi" << Entries{entry({"a", "b"}), entry({"c", "d"})};
    QTest::newRow("markers and blanks kept as stored")
        << QByteArray("v.avi\r\n  two  words  -->  a-*-b   \r\n") << "v.avi"
        << Entries{entry({"  two  words ", " a-*-b   "})};
    QTest::newRow("non-ASCII text")
        << QByteArray("D:/фильмы/кино.avi\r\nслово --> перевод --> контекст\r\n")
        << QStringLiteral("D:/фильмы/кино.avi")
        << Entries{entry({QStringLiteral("слово"), QStringLiteral("перевод"),
                          QStringLiteral("контекст")})};
    QTest::newRow("invalid UTF-8 does not stop the load")
        << QByteArray("v.avi\r\n\xff\xfe --> x\r\nok --> fine\r\n") << "v.avi"
        << Entries{entry({QString(2, QChar::ReplacementCharacter), "x"}), entry({"ok", "fine"})};
    QTest::newRow("NUL ends the text of its line")
        << bytes("v.avi\r\nhello --> hi\0 --> lost\r\nnext --> line\r\n") << "v.avi"
        << Entries{entry({"hello", "hi"}), entry({"next", "line"})};

    // Lines that do not end in CR LF lose nothing.
    QTest::newRow("LF line ends")
        << QByteArray("D:/films/demo.avi\nhello --> hi\nrun --> go --> ctx\n")
        << "D:/films/demo.avi" << Entries{entry({"hello", "hi"}), entry({"run", "go", "ctx"})};
    QTest::newRow("last line without terminator")
        << QByteArray("v.avi\r\nhello --> hi\r\nbye --> ciao") << "v.avi"
        << Entries{entry({"hello", "hi"}), entry({"bye", "ciao"})};
    QTest::newRow("unterminated four-field last line")
        << QByteArray("v.avi\r\nw --> t --> c --> 00:00:01,000***00:00:02,000") << "v.avi"
        << Entries{entry({"w", "t", "c", "00:00:01,000***00:00:02,000"})};
    QTest::newRow("video path line without terminator") << QByteArray("D:/demo.avi")
                                                        << "D:/demo.avi" << Entries();
    QTest::newRow("one-character video path") << QByteArray("x") << "x" << Entries();
    QTest::newRow("separator at the end of an unterminated line gives an empty field")
        << QByteArray("v.avi\r\nword -->") << "v.avi" << Entries{entry({"word", ""})};
    QTest::newRow("byte-order mark dropped from the video path")
        << QByteArray("\xEF\xBB\xBF" "D:/films/demo.avi\r\nhello --> hi\r\n")
        << "D:/films/demo.avi" << Entries{entry({"hello", "hi"})};

    // A file without a video path line keeps its first record.
    QTest::newRow("first line is a record")
        << QByteArray("hello --> hi\r\nbye --> ciao\r\n") << ""
        << Entries{entry({"hello", "hi"}), entry({"bye", "ciao"})};
    QTest::newRow("first line is a record after a byte-order mark")
        << QByteArray("\xEF\xBB\xBF" "hello --> hi\r\n") << "" << Entries{entry({"hello", "hi"})};
    QTest::newRow("first line starting with the separator is still the video path")
        << QByteArray("--> odd.avi\r\nhello --> hi\r\n") << "--> odd.avi"
        << Entries{entry({"hello", "hi"})};
}

void TestVocabularyReader::readsFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, videoPath);
    QFETCH(Entries, entries);

    const std::optional<VocabularyContents> contents = readFromMemory(file);
    QVERIFY(contents);
    QCOMPARE(contents->videoPath, videoPath);
    compareEntries(contents->entries, entries);
}

void TestVocabularyReader::readsFromDevice()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString path = directory.filePath(QStringLiteral("words.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    // Large enough that no single buffered read returns the whole file.
    QByteArray content = example;
    for (int i = 0; i < 20000; ++i)
        content += "word" + QByteArray::number(i) + " --> translation --> context\r\n";
    file.write(content);
    file.close();

    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::optional<VocabularyContents> contents = readVocabulary(file);
    QVERIFY(contents);
    QCOMPARE(contents->videoPath, QStringLiteral("D:/films/demo.avi"));
    QCOMPARE(contents->entries.size(), 20002);
    QCOMPARE(contents->entries.at(0), exampleEntries.at(0));
    QCOMPARE(contents->entries.last(), entry({"word19999", "translation", "context"}));
}

void TestVocabularyReader::lineWithoutRecord_data()
{
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("terminator only") << QByteArray("\r\n");
    QTest::newRow("video path") << QByteArray("D:/films/demo.avi\r\n");
    QTest::newRow("separator at the start") << QByteArray("--> hi\r\n");
    QTest::newRow("separator behind a NUL") << bytes("hello\0 --> hi\r\n");
    QTest::newRow("arrow without both hyphens") << QByteArray("a -> b\r\n");
}

void TestVocabularyReader::lineWithoutRecord()
{
    QFETCH(QByteArray, line);
    // The same line first in a file (where it may be the video path) and after the video path.
    for (const QByteArray &file : {line, "D:/films/demo.avi\r\n" + line}) {
        const std::optional<VocabularyContents> contents = readFromMemory(file);
        QVERIFY(contents);
        QVERIFY(contents->entries.isEmpty());
    }
}

void TestVocabularyReader::filmBesideTheFile_data()
{
    // "@" stands for the temporary folder, which holds lessons/lesson.txt.
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("played");

    QTest::newRow("absolute, still there") << "@/elsewhere/other.mkv" << "@/elsewhere/other.mkv";
    QTest::newRow("absolute, before a film of that name beside the file")
        << "@/elsewhere/film.mkv" << "@/elsewhere/film.mkv";
    QTest::newRow("folder moved") << "/home/someone/films/film.mkv" << "@/lessons/film.mkv";
    QTest::newRow("relative, beside the file") << "film.mkv" << "@/lessons/film.mkv";
    QTest::newRow("relative, in a subfolder") << "films/part2.mkv" << "@/lessons/films/part2.mkv";
    QTest::newRow("relative, up and over") << "../elsewhere/other.mkv" << "@/elsewhere/other.mkv";
    QTest::newRow("relative, only in the working directory") << "decoy.mkv" << "decoy.mkv";
    QTest::newRow("drive letter and backslashes") << "C:\\Films\\film.mkv" << "@/lessons/film.mkv";
    QTest::newRow("drive letter and slashes") << "C:/Films/film.mkv" << "@/lessons/film.mkv";
    QTest::newRow("no film anywhere") << "/media/disc/missing.mkv" << "/media/disc/missing.mkv";
    QTest::newRow("a folder of that name") << "/old/films" << "/old/films";
    QTest::newRow("empty") << "" << "";
}

void TestVocabularyReader::filmBesideTheFile()
{
    QFETCH(QString, written);
    QFETCH(QString, played);

    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QDir root(directory.path());
    for (const char *name : {"lessons/lesson.txt", "lessons/film.mkv", "lessons/films/part2.mkv",
                             "elsewhere/other.mkv", "elsewhere/film.mkv", "work/decoy.mkv"}) {
        const QString path = root.filePath(QLatin1String(name));
        QVERIFY(root.mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(root.filePath(QStringLiteral("work"))));

    const QString film = filmPathFor(written.replace(QLatin1Char('@'), root.path()),
                                     root.filePath(QStringLiteral("lessons/lesson.txt")));
    QDir::setCurrent(previous);
    QCOMPARE(film, played.replace(QLatin1Char('@'), root.path()));
}

QTEST_GUILESS_MAIN(TestVocabularyReader)
#include "tst_vocabularyreader.moc"
