// SPDX-License-Identifier: GPL-3.0-or-later
#include "timestamp.h"

#include <QtTest>

class TestTimestamp : public QObject
{
    Q_OBJECT

private slots:
    void toMs_data();
    void toMs();
    void toText_data();
    void toText();
    void roundTripOverTheDay();
};

void TestTimestamp::toMs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("ms");

    QTest::newRow("standard") << "01:02:03,004" << qint64(3723004);
    QTest::newRow("zero") << "00:00:00,000" << qint64(0);
    QTest::newRow("last of the day") << "23:59:59,999" << qint64(86399999);
    QTest::newRow("empty") << "" << qint64(0);
    QTest::newRow("letters") << "ab:cd:ef,ghi" << qint64(0);
    QTest::newRow("one-digit hours read at the wrong place") << "1:02:03,004" << qint64(4);
    QTest::newRow("short milliseconds are whole milliseconds") << "00:00:01,5" << qint64(1005);
    QTest::newRow("everything after position 11 ignored") << "00:00:01,000 --> 00:00:04,000" << qint64(1000);
    QTest::newRow("separators are not looked at") << "00x01y02z003" << qint64(62003);
    QTest::newRow("leading sign accepted") << "-1:00:00,000" << qint64(-3600000);
    QTest::newRow("sign in milliseconds") << "00:00:01,-50" << qint64(950);
    QTest::newRow("unreadable field counts 0, others kept") << "00:0x:05,250" << qint64(5250);
    QTest::newRow("largest fields") << "99:99:99,999" << qint64(99 * 3600000 + 99 * 60000 + 99 * 1000 + 999);
    QTest::newRow("hours only") << "02" << qint64(7200000);
    QTest::newRow("cut inside minutes") << "00:1" << qint64(60000);
    QTest::newRow("cyrillic") << QStringLiteral("чч:мм:сс,ммм") << qint64(0);
}

void TestTimestamp::toMs()
{
    QFETCH(QString, text);
    QFETCH(qint64, ms);
    QCOMPARE(timestampToMs(text), ms);
}

void TestTimestamp::toText_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << qint64(0) << "00:00:00,000";
    QTest::newRow("standard") << qint64(3723004) << "01:02:03,004";
    QTest::newRow("two-digit fields") << qint64(45296789) << "12:34:56,789";
    QTest::newRow("last of the day") << qint64(86399999) << "23:59:59,999";
    QTest::newRow("just past a second") << qint64(1010) << "00:00:01,010";
    QTest::newRow("milliseconds 5") << qint64(5) << "00:00:00,005";
    QTest::newRow("milliseconds 50") << qint64(50) << "00:00:00,050";
    QTest::newRow("ten hours") << qint64(36000000) << "10:00:00,000";
    QTest::newRow("24 hours written as 00") << qint64(86400000) << "00:00:00,000";
    QTest::newRow("hours above 23 written as 00") << qint64(90061001) << "00:01:01,001";
    QTest::newRow("a hundred hours and more written as 00") << qint64(360123004) << "00:02:03,004";
    QTest::newRow("highest value") << std::numeric_limits<qint64>::max() << "00:12:55,807";
    QTest::newRow("negative parts padded as small numbers") << qint64(-1500) << "00:00:0-1,00-500";
    QTest::newRow("minus one") << qint64(-1) << "00:00:00,00-1";
    QTest::newRow("negative hours") << qint64(-3600000) << "0-1:00:00,000";
    QTest::newRow("far negative")
        << qint64(-(qint64(2) << 40)) << "0-610839:0-47:0-35,00-552";
    QTest::newRow("lowest value")
        << std::numeric_limits<qint64>::min()
        << "0-2562047788015:0-12:0-55,00-808";
}

void TestTimestamp::toText()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(msToTimestamp(ms), text);
}

void TestTimestamp::roundTripOverTheDay()
{
    // Returns the first value that does not survive the round trip, or -1.
    auto firstFailure = [](qint64 from, qint64 to, qint64 stride) -> qint64 {
        for (qint64 ms = from; ms < to; ms += stride) {
            const QString text = msToTimestamp(ms);
            if (text.size() != 12 || timestampToMs(text) != ms)
                return ms;
        }
        return -1;
    };
    // Every millisecond of the first, a middle and the last minute, where the
    // padding of every field changes...
    for (qint64 minuteStart : {qint64(0), qint64(9 * 3600000 + 59 * 60000), qint64(86340000)}) {
        const qint64 failed = firstFailure(minuteStart, minuteStart + 60000, 1);
        QVERIFY2(failed < 0, qPrintable(QString::number(failed) + " -> " + msToTimestamp(failed)));
    }
    // ...and a prime stride across the whole day.
    const qint64 failed = firstFailure(0, 86400000, 997);
    QVERIFY2(failed < 0, qPrintable(QString::number(failed) + " -> " + msToTimestamp(failed)));
}

QTEST_GUILESS_MAIN(TestTimestamp)
#include "tst_timestamp.moc"
