// SPDX-License-Identifier: GPL-3.0-or-later
// What the saver writes, the trainer must read back field for field.
#include "vocabularyformat.h"
#include "vocabularyreader.h"
#include "vocabularyrecord.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QtTest>

namespace {

QString marked(QString text)
{
    return text.replace(QLatin1Char('\n'), QStringLiteral("-*-"));
}

// The entry the trainer should load for what the learner typed.
TrainerEntry expectedEntry(const VocabularyEntry &typed)
{
    TrainerEntry entry{QStringLiteral(" "), marked(typed.word), marked(typed.translation)};
    if (!typed.context.isEmpty())
        entry << marked(typed.context);
    if (!typed.start.isEmpty() && !typed.end.isEmpty())
        entry << typed.start + QStringLiteral("***") + typed.end;
    return entry;
}

// The fragment player splits the time range at its first joiner: that must
// give back the two times as typed.
bool timeRangeSplitsBack(const TrainerEntry &entry, const VocabularyEntry &typed)
{
    if (typed.start.isEmpty() || typed.end.isEmpty())
        return true;
    const QString range = entry.last();
    const int joiner = range.indexOf(QStringLiteral("***"));
    return range.left(joiner) == typed.start && range.mid(joiner + 3) == typed.end;
}

// The bytes of a file as the saver writes it (video path line, then one
// record per entry), read as the trainer reads a file.
VocabularyContents writeAndRead(const QVector<VocabularyEntry> &typed)
{
    const QByteArray terminator(VocabularyFormat::LineTerminator);
    QByteArray bytes = "/films/demo.ogv" + terminator;
    for (const VocabularyEntry &entry : typed)
        bytes += assembleVocabularyRecord(entry).toUtf8() + terminator;
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    return readVocabulary(file).value_or(VocabularyContents());
}

} // namespace

class TestRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void typedEntries_data();
    void typedEntries();
    void randomEntriesThatPassTheCheck();
};

void TestRoundTrip::typedEntries_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("translation");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");

    QTest::newRow("word and translation") << "hello" << "hi" << "" << "" << "";
    QTest::newRow("with context") << "run out" << "to finish" << "We ran out\nof time." << "" << "";
    QTest::newRow("with time range") << "run out" << "to finish" << "" << "00:01:02,500" << "00:01:04,000";
    QTest::newRow("all four fields") << "run out" << "to finish" << "We ran out\nof time."
                                     << "00:01:02,500" << "00:01:04,000";
    QTest::newRow("cyrillic") << QStringLiteral("закончиться") << QStringLiteral("run out")
                              << QStringLiteral("У нас\nкончилось время.") << "00:00:01,000" << "00:00:02,000";
    QTest::newRow("blanks kept") << "  padded " << " both " << " " << "" << "";
    QTest::newRow("empty line in context") << "w" << "t" << "one\n\nthree" << "" << "";
    QTest::newRow("arrows and stars elsewhere") << "a->b" << "x***y" << "c > d" << "1" << "2";
    QTest::newRow("end beginning with stars") << "w" << "t" << "" << "1" << "*2";
}

void TestRoundTrip::typedEntries()
{
    QFETCH(QString, word);
    QFETCH(QString, translation);
    QFETCH(QString, context);
    QFETCH(QString, start);
    QFETCH(QString, end);
    const VocabularyEntry typed{word, translation, context, start, end};
    QVERIFY(readsBackAsTyped(typed));

    const VocabularyContents read = writeAndRead({typed});
    QCOMPARE(read.videoPath, QStringLiteral("/films/demo.ogv"));
    QCOMPARE(read.entries.size(), 1);
    QCOMPARE(read.entries.first(), expectedEntry(typed));
    QVERIFY(timeRangeSplitsBack(read.entries.first(), typed));
}

void TestRoundTrip::randomEntriesThatPassTheCheck()
{
    // Texts built from the characters that make separators, markers and time
    // ranges, so that every way of gluing them together is tried.
    const QStringList pieces{"a", QStringLiteral("Я"), QStringLiteral("é"), " ", "-", "*", ">", "\n", "1", ":", ","};
    QRandomGenerator random(20261207);
    auto text = [&](int minimumLength) {
        QString result;
        const int length = minimumLength + random.bounded(7);
        for (int i = 0; i < length; ++i)
            result += pieces.at(random.bounded(pieces.size()));
        return result;
    };

    QVector<VocabularyEntry> accepted;
    int refused = 0;
    while (accepted.size() < 5000) {
        VocabularyEntry entry{text(1), text(1), text(0), QString(), QString()};
        if (random.bounded(2)) {
            entry.start = text(1).remove(QLatin1Char('\n'));
            entry.end = text(1).remove(QLatin1Char('\n'));
        }
        if (readsBackAsTyped(entry))
            accepted << entry;
        else
            ++refused;
    }
    QVERIFY(refused > 0);

    const VocabularyContents read = writeAndRead(accepted);
    QCOMPARE(read.entries.size(), accepted.size());
    for (int i = 0; i < accepted.size(); ++i) {
        const TrainerEntry expected = expectedEntry(accepted.at(i));
        if (read.entries.at(i) != expected || !timeRangeSplitsBack(read.entries.at(i), accepted.at(i))) {
            qWarning() << "typed:" << accepted.at(i).word << accepted.at(i).translation
                       << accepted.at(i).context << accepted.at(i).start << accepted.at(i).end;
            QCOMPARE(read.entries.at(i), expected);
            QVERIFY(timeRangeSplitsBack(read.entries.at(i), accepted.at(i)));
        }
    }
}

QTEST_GUILESS_MAIN(TestRoundTrip)
#include "tst_roundtrip.moc"
