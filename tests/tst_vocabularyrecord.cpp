// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocabularyrecord.h"

#include <QtTest>

Q_DECLARE_METATYPE(VocabularyEntry)

class TestVocabularyRecord : public QObject
{
    Q_OBJECT

private slots:
    void assemble_data();
    void assemble();
    void readsBack_data();
    void readsBack();
};

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

QTEST_GUILESS_MAIN(TestVocabularyRecord)
#include "tst_vocabularyrecord.moc"
