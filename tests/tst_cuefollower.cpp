// SPDX-License-Identifier: GPL-3.0-or-later
#include "cuefollower.h"

#include <QtTest>

using CueTimes = QList<QPair<qint64, qint64>>;

namespace {

SubtitleTable tableOf(const CueTimes &times)
{
    SubtitleTable table;
    for (const auto &time : times)
        table.insert(time.first, SubtitleCue{time.second, {QStringLiteral("cue at %1").arg(time.first)}});
    return table;
}

const CueTimes threeCues{{1000, 2000}, {3000, 4000}, {5000, 6000}};

// "select <start>", "show <start>" or "-" for nothing.
QString describe(FollowerStep step, const CueFollower &follower)
{
    switch (step) {
    case FollowerStep::Selected:
        return QStringLiteral("select %1").arg(follower.cue().key());
    case FollowerStep::Shown:
        return QStringLiteral("show %1").arg(follower.cue().key());
    case FollowerStep::Unchanged:
        break;
    }
    return QStringLiteral("-");
}

} // namespace

class TestCueFollower : public QObject
{
    Q_OBJECT

private slots:
    void cueForPosition_data();
    void cueForPosition();
    void followsPositions_data();
    void followsPositions();
    void jumpsWhilePaused_data();
    void jumpsWhilePaused();
};

void TestCueFollower::cueForPosition_data()
{
    QTest::addColumn<qint64>("position");
    QTest::addColumn<qint64>("selectedStart");

    QTest::newRow("before every cue: the first") << qint64(0) << qint64(1000);
    QTest::newRow("negative position: the first") << qint64(-500) << qint64(1000);
    QTest::newRow("at the first start: still the first") << qint64(1000) << qint64(1000);
    QTest::newRow("inside the first") << qint64(1001) << qint64(1000);
    QTest::newRow("in the gap: the cue before") << qint64(2500) << qint64(1000);
    QTest::newRow("at a later start: the cue before it") << qint64(3000) << qint64(1000);
    QTest::newRow("just past a later start") << qint64(3001) << qint64(3000);
    QTest::newRow("after every cue: the last") << qint64(99999999) << qint64(5000);
}

void TestCueFollower::cueForPosition()
{
    QFETCH(qint64, position);
    QFETCH(qint64, selectedStart);

    const SubtitleTable table = tableOf(threeCues);
    const auto cue = ::cueForPosition(table, position);
    QVERIFY(cue != table.constEnd());
    QCOMPARE(cue.key(), selectedStart);

    const SubtitleTable single = tableOf({{1000, 2000}});
    QCOMPARE(::cueForPosition(single, position).key(), qint64(1000));
    const SubtitleTable empty;
    QVERIFY(::cueForPosition(empty, position) == empty.constEnd());
}

void TestCueFollower::followsPositions_data()
{
    QTest::addColumn<CueTimes>("cueTimes");
    QTest::addColumn<QList<qint64>>("positions");
    QTest::addColumn<QStringList>("steps");

    QTest::newRow("exactly at start, inside, exactly at end, past end")
        << threeCues << QList<qint64>{1000, 1001, 1500, 2000, 2001}
        << QStringList{"select 1000", "show 1000", "-", "-", "select 1000"};
    QTest::newRow("across a gap the next cue is selected first, then shown")
        << threeCues << QList<qint64>{2500, 3000, 3001, 3002}
        << QStringList{"select 1000", "select 1000", "select 3000", "show 3000"};
    QTest::newRow("seeking backwards into an earlier cue")
        << threeCues << QList<qint64>{5500, 5510, 1500, 1510, 1520}
        << QStringList{"select 5000", "show 5000", "select 1000", "show 1000", "-"};
    QTest::newRow("overlapping inner cue is never shown")
        << CueTimes{{1000, 5000}, {2000, 3000}, {8000, 9000}}
        << QList<qint64>{1010, 2010, 2500, 3010, 5000, 5010, 5020}
        << QStringList{"show 1000", "-", "-", "-", "-", "select 2000", "select 2000"};
    // "00:00:00,-01" reads as -1 ms: a time like any other, not "no cue".
    QTest::newRow("a first cue starting before the film")
        << CueTimes{{-1, 2000}, {3000, 4000}, {5000, 6000}} << QList<qint64>{0, 10}
        << QStringList{"show -1", "-"};
}

void TestCueFollower::followsPositions()
{
    QFETCH(CueTimes, cueTimes);
    QFETCH(QList<qint64>, positions);
    QFETCH(QStringList, steps);

    CueFollower follower;
    QVERIFY(follower.load(tableOf(cueTimes)));
    QVERIFY(follower.isFollowing());
    QStringList seen;
    for (qint64 position : positions)
        seen << describe(follower.report(position), follower);
    QCOMPARE(seen, steps);
}

void TestCueFollower::jumpsWhilePaused_data()
{
    QTest::addColumn<qint64>("position");
    QTest::addColumn<bool>("playing");
    QTest::addColumn<QStringList>("steps");

    // From the third cue on screen.
    QTest::newRow("into another cue") << qint64(3500) << false << QStringList{"select 3000", "show 3000"};
    QTest::newRow("elsewhere in the cue shown") << qint64(5900) << false << QStringList{"-", "-"};
    QTest::newRow("at a cue's end") << qint64(2000) << false << QStringList{"select 1000", "show 1000"};
    QTest::newRow("at a cue's start") << qint64(3000) << false << QStringList{"select 1000", "select 1000"};
    QTest::newRow("between cues") << qint64(4500) << false << QStringList{"select 3000", "select 3000"};
    QTest::newRow("after the last cue") << qint64(7250) << false << QStringList{"select 5000", "select 5000"};
    QTest::newRow("to the start of the film") << qint64(0) << false << QStringList{"select 1000", "select 1000"};
    QTest::newRow("while playing: the reports move it on") << qint64(3500) << true << QStringList{"-", "-"};
}

void TestCueFollower::jumpsWhilePaused()
{
    QFETCH(qint64, position);
    QFETCH(bool, playing);
    QFETCH(QStringList, steps);

    CueFollower follower;
    QVERIFY(follower.load(tableOf(threeCues)));
    follower.report(5500);
    QCOMPARE(describe(follower.report(5500), follower), QStringLiteral("show 5000"));

    QStringList seen;
    for (FollowerStep step : follower.jump(position, playing))
        seen << describe(step, follower);
    QCOMPARE(seen, steps);
}

QTEST_GUILESS_MAIN(TestCueFollower)
#include "tst_cuefollower.moc"
