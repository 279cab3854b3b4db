// SPDX-License-Identifier: GPL-3.0-or-later
#include "drill.h"

#include <QtTest>

class TestDrillRules : public QObject
{
    Q_OBJECT

private slots:
    void judging_data();
    void judging();
    void display_data();
    void display();
    void contextAndFragment_data();
    void contextAndFragment();
    void fragment_data();
    void fragment();
    void stopDelay_data();
    void stopDelay();
    void drawSkipsMarkedEntries();
    void drawGivesUpWhenAllAreMarked();
};

void TestDrillRules::judging_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("translation");
    QTest::addColumn<bool>("right");

    QTest::newRow("whole word, other case") << "HOUSE" << "a house" << true;
    QTest::newRow("part of a word") << "ous" << "a house" << true;
    QTest::newRow("trailing blank not trimmed") << "house " << "a house" << false;
    QTest::newRow("empty answer") << "" << "a house" << false;
    QTest::newRow("empty answer, empty translation") << "" << "" << false;
    QTest::newRow("one character, even for a one-letter translation") << "a" << "a" << false;
    QTest::newRow("two characters") << "ho" << "a house" << true;
    QTest::newRow("longer than the translation") << "a houses" << "a house" << false;
    QTest::newRow("marker is part of the stored text") << "t-*-s" << "first-*-second" << true;
    QTest::newRow("words across a stored line break") << "first second" << "first-*-second" << false;
    QTest::newRow("Cyrillic, other case") << QStringLiteral("ДОМ") << QStringLiteral("дом") << true;
}

void TestDrillRules::judging()
{
    QFETCH(QString, answer);
    QFETCH(QString, translation);
    QFETCH(bool, right);
    QCOMPARE(isRightAnswer(answer, translation), right);
}

void TestDrillRules::display_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");

    QTest::newRow("one marker") << "first-*-second" << "first\nsecond";
    QTest::newRow("consecutive markers give one break") << "a-*--*-b" << "a\nb";
    QTest::newRow("typed double hyphen") << "well--known" << "well\nknown";
    QTest::newRow("typed asterisks") << "a**b***c" << "a\nb\nc";
    QTest::newRow("hyphen next to a marker absorbed") << "half--*-way" << "half\nway";
    QTest::newRow("single hyphen and asterisk kept") << "x-ray*" << "x-ray*";
    QTest::newRow("nothing to replace") << "plain text" << "plain text";
}

void TestDrillRules::display()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(displayText(stored), shown);
}

void TestDrillRules::contextAndFragment_data()
{
    QTest::addColumn<QStringList>("entry");
    QTest::addColumn<QString>("context");
    QTest::addColumn<bool>("fragment");

    const QString range = QStringLiteral("00:00:01,000***00:00:02,000");
    QTest::newRow("word and translation") << QStringList{" ", "w", "t"} << QString() << false;
    QTest::newRow("context only") << QStringList{" ", "w", "t", "ctx"} << "ctx" << false;
    QTest::newRow("time range only") << QStringList{" ", "w", "t", range} << QString() << true;
    QTest::newRow("context and time range")
        << QStringList{" ", "w", "t", "ctx", range} << "ctx" << true;
    QTest::newRow("context holding *** counts as a time range")
        << QStringList{" ", "w", "t", "a***b"} << QString() << true;
    QTest::newRow("*** in word or translation is no time range")
        << QStringList{" ", "a***b", "c***d"} << QString() << false;
    // The stone is green only for a piece of film the video button plays.
    QTest::newRow("*** in the context with no time range last")
        << QStringList{" ", "w", "t", "a***b", "no range"} << QString() << false;
}

void TestDrillRules::contextAndFragment()
{
    QFETCH(QStringList, entry);
    QFETCH(QString, context);
    QFETCH(bool, fragment);

    const std::optional<QString> shown = contextOf(entry);
    QCOMPARE(shown.has_value(), !context.isNull());
    QCOMPARE(shown.value_or(QString()), context);
    QCOMPARE(fragmentOf(entry).has_value(), fragment);
}

void TestDrillRules::fragment_data()
{
    QTest::addColumn<QStringList>("entry");
    QTest::addColumn<bool>("found");
    QTest::addColumn<qint64>("startMs");
    QTest::addColumn<qint64>("durationMs");

    QTest::newRow("time range only")
        << QStringList{" ", "w", "t", "00:01:02,500***00:01:05,000"} << true << qint64(62500)
        << qint64(2500);
    QTest::newRow("context and time range")
        << QStringList{" ", "w", "t", "ctx", "00:00:02,000***00:00:04,500"} << true << qint64(2000)
        << qint64(2500);
    QTest::newRow("split at the first ***")
        << QStringList{" ", "w", "t", "00:00:01,000***00:00:03,000***00:00:09,000"} << true
        << qint64(1000) << qint64(2000);
    QTest::newRow("end before start")
        << QStringList{" ", "w", "t", "00:00:05,000***00:00:02,000"} << true << qint64(5000)
        << qint64(-3000);
    QTest::newRow("unreadable times count as 0")
        << QStringList{" ", "w", "t", "***00:00:01,000"} << true << qint64(0) << qint64(1000);
    QTest::newRow("hours beyond a day")
        << QStringList{" ", "w", "t", "00:00:00,000***99:59:59,999"} << true << qint64(0)
        << qint64(359999999);
    QTest::newRow("three elements") << QStringList{" ", "w", "00:00:01,000***00:00:02,000"} << false
                                    << qint64(0) << qint64(0);
    QTest::newRow("context only") << QStringList{" ", "w", "t", "ctx"} << false << qint64(0)
                                  << qint64(0);
    QTest::newRow("time range not last")
        << QStringList{" ", "w", "t", "00:00:01,000***00:00:02,000", "ctx"} << false << qint64(0)
        << qint64(0);
}

void TestDrillRules::fragment()
{
    QFETCH(QStringList, entry);
    QFETCH(bool, found);
    QFETCH(qint64, startMs);
    QFETCH(qint64, durationMs);

    const std::optional<Fragment> fragment = fragmentOf(entry);
    QCOMPARE(fragment.has_value(), found);
    if (fragment) {
        QCOMPARE(fragment->startMs, startMs);
        QCOMPARE(fragment->durationMs, durationMs);
    }
}

void TestDrillRules::stopDelay_data()
{
    QTest::addColumn<qint64>("startMs");
    QTest::addColumn<qint64>("durationMs");
    QTest::addColumn<qint64>("positionMs");
    QTest::addColumn<int>("leftMs");
    QTest::addColumn<int>("fallbackMs");

    const int none = -1;
    QTest::newRow("negative: plays on") << qint64(3000) << qint64(-1) << qint64(3500) << none << none;
    QTest::newRow("zero: at once") << qint64(3000) << qint64(0) << qint64(3000) << 0 << 5000;
    QTest::newRow("not moved from the start") << qint64(62500) << qint64(2500) << qint64(62500) << none << 7500;
    QTest::newRow("before the start") << qint64(62500) << qint64(2500) << qint64(60000) << none << 7500;
    QTest::newRow("moved on") << qint64(62500) << qint64(2500) << qint64(62540) << 2460 << 7500;
    QTest::newRow("at the end") << qint64(62500) << qint64(2500) << qint64(65000) << 0 << 7500;
    QTest::newRow("past the end") << qint64(62500) << qint64(2500) << qint64(70000) << 0 << 7500;
    QTest::newRow("longest wait") << qint64(0) << qint64(4294967296LL + 1000) << qint64(1)
                                  << 2147483647 << 2147483647;
}

void TestDrillRules::stopDelay()
{
    QFETCH(qint64, startMs);
    QFETCH(qint64, durationMs);
    QFETCH(qint64, positionMs);
    QFETCH(int, leftMs);
    QFETCH(int, fallbackMs);
    QCOMPARE(msToFragmentEnd(Fragment{startMs, durationMs}, positionMs).value_or(-1), leftMs);
    QCOMPARE(fallbackStopMs(durationMs).value_or(-1), fallbackMs);
}

void TestDrillRules::drawSkipsMarkedEntries()
{
    const QVector<TrainerEntry> entries{
        {"F", "a", "1"}, {" ", "b", "2"}, {"F", "c", "3"}, {"f", "d", "4"}};
    // Draws 0, 2 and 6 fall on marked entries; 7 % 4 = 3 is marked "f", which is no mark.
    QVector<uint> values{0, 2, 6, 7, 1};
    int calls = 0;
    const int drawn = drawUnmarked(entries, [&] { return values.at(calls++); });
    QCOMPARE(drawn, 3);
    QCOMPARE(calls, 4);

    // The full unsigned range is taken modulo the count.
    QCOMPARE(drawUnmarked(entries, [] { return 0xFFFFFFFDu; }), 1);
}

void TestDrillRules::drawGivesUpWhenAllAreMarked()
{
    int calls = 0;
    const auto counted = [&] { ++calls; return 0u; };
    QCOMPARE(drawUnmarked({{"F", "a", "1"}, {"F", "b", "2"}}, counted), -1);
    QCOMPARE(drawUnmarked({}, counted), -1);
    QCOMPARE(calls, 0);
}

QTEST_GUILESS_MAIN(TestDrillRules)
#include "tst_drillrules.moc"
