// SPDX-License-Identifier: GPL-3.0-or-later
// The line reader both programs' readers are built on: lines across the
// device's reads, a line longer than a block, and data that cannot be read
// whole.
#include "blocklinereader.h"
#include "testdevices.h"

#include <QBuffer>
#include <QtTest>

#include <memory>

namespace {

std::unique_ptr<QIODevice> deviceOf(const QByteArray &data, qint64 step)
{
    if (step > 0)
        return std::make_unique<TricklingDevice>(data, step);
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(data);
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}

} // namespace

class TestBlockLineReader : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void readErrorIsNoFile();
    void overLongLineIsNoFile();
};

void TestBlockLineReader::lines_data()
{
    QTest::addColumn<QByteArray>("data");
    // Bytes a read of the device gives at most; 0 for a file-like buffer.
    QTest::addColumn<qint64>("step");
    QTest::addColumn<QList<QByteArray>>("lines");

    QTest::newRow("LF, CR LF, a last line without terminator")
        << QByteArray("one\ntwo\r\nthree") << qint64(0) << QList<QByteArray>{"one", "two", "three"};
    QTest::newRow("empty lines are lines")
        << QByteArray("\r\n\n") << qint64(0) << QList<QByteArray>{"", ""};
    QTest::newRow("a NUL cuts the line and hides its terminator")
        << QByteArray("be\0fore\r\nnext\n", 14) << qint64(0) << QList<QByteArray>{"be", "next"};
    QTest::newRow("a CR inside a line stays, a last CR goes")
        << QByteArray("a\rb\r\nend\r") << qint64(0) << QList<QByteArray>{"a\rb", "end"};
    QTest::newRow("lines carried over reads of 3 bytes")
        << QByteArray("first line\r\nsecond\nx\n\nlast") << qint64(3)
        << QList<QByteArray>{"first line", "second", "x", "", "last"};
    QTest::newRow("a terminator split between two reads")
        << QByteArray("ab\r\ncd\r\n") << qint64(3) << QList<QByteArray>{"ab", "cd"};

    // Longer than a block: the buffer grows, on a file and on a pipe alike.
    const QByteArray longLine(BlockLineReader::blockSize * 5 / 2, 'w');
    QTest::newRow("a line longer than a block, in a file")
        << "short\n" + longLine + "\nafter" << qint64(0) << QList<QByteArray>{"short", longLine, "after"};
    QTest::newRow("a line longer than a block, from a pipe")
        << "short\n" + longLine + "\nafter" << qint64(100000) << QList<QByteArray>{"short", longLine, "after"};
}

void TestBlockLineReader::lines()
{
    QFETCH(QByteArray, data);
    QFETCH(qint64, step);
    QFETCH(QList<QByteArray>, lines);

    const std::unique_ptr<QIODevice> device = deviceOf(data, step);
    BlockLineReader reader(*device);
    QList<QByteArray> read;
    std::string_view text;
    while (reader.nextText(text))
        read << QByteArray(text.data(), int(text.size()));
    QVERIFY(!reader.failed());
    QCOMPARE(read.size(), lines.size());
    QCOMPARE(read, lines);
}

// A read error is told apart from the end of the data.
void TestBlockLineReader::readErrorIsNoFile()
{
    FailingDevice lines("one\r\ntwo\r\n");
    BlockLineReader reader(lines);
    const char *line = nullptr;
    qint64 size = 0;
    while (reader.next(line, size)) {
    }
    QVERIFY(reader.failed());
}

// A line that would not fit a string once decoded ends the reading instead
// of growing without bound.
void TestBlockLineReader::overLongLineIsNoFile()
{
    EndlessDevice device('x');
    BlockLineReader reader(device);
    const char *line = nullptr;
    qint64 size = 0;
    QVERIFY(!reader.next(line, size));
    QVERIFY(reader.failed());
}

QTEST_GUILESS_MAIN(TestBlockLineReader)
#include "tst_blocklinereader.moc"
