// The fast subtitle reader against the plain reference reader: for every
// input, generated or random, both must give the same table.
#include "subtitlereference.h"
#include "subtitles.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cctype>
#include <iterator>
#include <random>

namespace {

// Block sizes that put block ends everywhere: inside terminators, time
// fields, multi-byte characters and lines, as well as the one the player uses.
const int blockSizes[] = {1, 2, 3, 7, 64, subtitleBlockSize};

SubtitleTable readReference(const QByteArray &content)
{
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    return readSubtitlesReference(buffer);
}

SubtitleTable readFast(const QByteArray &content, int blockSize)
{
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    return readSubtitles(buffer, blockSize);
}

// Compares the readers on content with every block size; the first
// difference, with the block size and the content, or an empty string.
QString compareReaders(const QByteArray &content)
{
    const SubtitleTable expected = readReference(content);
    for (int blockSize : blockSizes) {
        const QString found = subtitleTableDifference(expected, readFast(content, blockSize));
        if (!found.isEmpty()) {
            const QByteArray shown = content.size() > 300 ? content.left(300) + "..." : content;
            return QStringLiteral("block size %1: %2; content (hex) %3")
                .arg(blockSize).arg(found, QString::fromLatin1(shown.toHex()));
        }
    }
    return QString();
}

QString timeText(qint64 ms)
{
    return QString::asprintf("%02lld:%02lld:%02lld,%03lld", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
}

// A file shaped like the ones the benchmarks use: numbered cues in order, one
// to three lines of words, some Cyrillic, some in <i> tags.
QByteArray generatedFile(int cueCount, const QByteArray &newline, std::mt19937 &random)
{
    static const char *const latin[] = {"the", "river", "night", "window", "never", "again", "quiet"};
    static const char *const cyrillic[] = {"время", "река", "ночью", "окно", "никогда", "снова"};
    auto below = [&random](int bound) { return int(random() % unsigned(bound)); };

    QByteArray file;
    qint64 startMs = 1000;
    for (int index = 1; index <= cueCount; ++index) {
        const qint64 endMs = startMs + 800 + below(3200);
        file += QByteArray::number(index) + newline;
        file += (timeText(startMs) + QStringLiteral(" --> ") + timeText(endMs)).toUtf8() + newline;
        for (int lineCount = 1 + below(3); lineCount > 0; --lineCount) {
            QByteArray line;
            for (int words = 2 + below(6); words > 0; --words)
                line += QByteArray(below(10) < 3 ? cyrillic[below(6)] : latin[below(7)]) + ' ';
            line += below(4) == 0 ? "..." : "?";
            file += (below(10) == 0 ? "<i>" + line + "</i>" : line) + newline;
        }
        file += newline;
        startMs = endMs + 40 + below(1460);
    }
    return file;
}

// Bytes that matter to the reader: terminators and their parts, NUL, the
// arrow and its parts, signs, blanks, letters and digits for time fields, a
// byte order mark, Cyrillic, and broken or overlong UTF-8.
const QByteArray pieces[] = {
    "00:00:01,000 --> 00:00:02,000", "12:34:56,789", " --> ", "-->", "--", "-", ">", "+", " ", "\t",
    "0", "7", "99", "x", "Zz", ":", ",", "\r\n", "\n", "\r", QByteArray(1, '\0'), "\xEF\xBB\xBF",
    "\xD0\xBF\xD1\x80", "\xC3", "\xFF", "\x80", "\xED\xA0\x80", "\xC0\xAD", "\xF0\x9F\x98\x80", "<i>",
    "\xE2\x80\x94", "\xEF\xBF\xBF", "\xF4\x90\x80\x80", "\xD0\xBF\xD1\x80\xD0\xBF\xD1\x80\xD0\xBF\xD1\x80\xD0\xBF\xD1\x80",
};

QByteArray randomPieces(std::mt19937 &random)
{
    QByteArray content;
    for (int count = int(random() % 60); count > 0; --count)
        content += pieces[random() % std::size(pieces)];
    return content;
}

// A time line whose characters are mostly digits at the places of the fields
// but anything from pieces now and then, of any length around 29.
QByteArray randomTimeLine(std::mt19937 &random)
{
    const QByteArray standard = "00:00:01,000 --> 00:00:02,000";
    QByteArray line;
    const int size = int(random() % 36);
    for (int index = 0; index < size; ++index) {
        if (random() % 8 == 0)
            line += pieces[random() % std::size(pieces)];
        else if (index < standard.size() && !std::isdigit(static_cast<unsigned char>(standard.at(index))))
            line += standard.at(index);
        else
            line += char('0' + random() % 10);
    }
    return line;
}

// A real-shaped file with a few bytes replaced, inserted, removed or repeated.
QByteArray mutatedFile(std::mt19937 &random)
{
    QByteArray content = generatedFile(1 + int(random() % 5), random() % 2 ? "\r\n" : "\n", random);
    for (int count = 1 + int(random() % 8); count > 0 && !content.isEmpty(); --count) {
        const int at = int(random() % unsigned(content.size()));
        const QByteArray piece = pieces[random() % std::size(pieces)];
        switch (random() % 4) {
        case 0:
            content.replace(at, 1, piece);
            break;
        case 1:
            content.insert(at, piece);
            break;
        case 2:
            content.remove(at, 1 + int(random() % 20));
            break;
        default:
            content.insert(at, content.mid(at, 1 + int(random() % 80)));
            break;
        }
    }
    return content;
}

QByteArray timeLines(const QList<QByteArray> &lines)
{
    QByteArray content;
    for (const QByteArray &line : lines)
        content += line + "\r\n";
    return content;
}

} // namespace

class TestSubtitleDifferential : public QObject
{
    Q_OBJECT

private slots:
    void generatedFiles_data();
    void generatedFiles();
    void oddInputs_data();
    void oddInputs();
    void linesLongerThanABlock_data();
    void linesLongerThanABlock();
    void randomInputs_data();
    void randomInputs();
};

void TestSubtitleDifferential::generatedFiles_data()
{
    QTest::addColumn<QByteArray>("newline");
    QTest::addColumn<int>("cueCount");

    QTest::newRow("CR LF, 1 500 cues") << QByteArray("\r\n") << 1500;
    QTest::newRow("LF, 1 500 cues") << QByteArray("\n") << 1500;
    QTest::newRow("CR LF, 20 000 cues over several blocks") << QByteArray("\r\n") << 20000;
}

void TestSubtitleDifferential::generatedFiles()
{
    QFETCH(QByteArray, newline);
    QFETCH(int, cueCount);

    std::mt19937 random{quint32(cueCount)};
    const QByteArray content = generatedFile(cueCount, newline, random);
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString path = directory.filePath(QStringLiteral("film.srt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), qint64(content.size()));
    file.close();

    const SubtitleTable expected = readSubtitleFileReference(path);
    QCOMPARE(expected.size(), cueCount);
    const QString found = subtitleTableDifference(expected, readSubtitleFile(path));
    QVERIFY2(found.isEmpty(), qPrintable(found));
    for (int blockSize : {5, 4096}) {
        const QString found = subtitleTableDifference(expected, readFast(content, blockSize));
        QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("block size %1: %2").arg(blockSize).arg(found)));
    }
}

void TestSubtitleDifferential::oddInputs_data()
{
    QTest::addColumn<QByteArray>("content");

    const QByteArray nul(1, '\0');
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("only NUL bytes") << QByteArray(5000, '\0');
    QTest::newRow("only terminators") << QByteArray("\r\n\n\r\r\n\n");
    QTest::newRow("signs, blanks and letters in time fields")
        << timeLines({"-1:+2:-3,-45 --> +0:-0: 1, +9", " 1:02:03,004 --> 00:00:0x,500", "01:02:03,004 --> 0a:00:00,00",
                      "1\t:02:03,0 4 --> 00:00:01,5", "--:--:--,--- --> ++:++:++,+++", "ab:cd:ef,ghi --> jk:lm:no,pqr"});
    QTest::newRow("time lines shorter than both times")
        << timeLines({"-->", "00:00:01,000 -->", "00:00:01,000 --> 00:0", "00:00:01,000 --> 00:00:02,00"});
    QTest::newRow("arrow anywhere in the line")
        << timeLines({"-->00:00:01,000", "x 00:00:01,000 --> 00:00:02,000", "00:00:03,000 --> 00:00:04,000 -->"});
    QTest::newRow("NUL before, inside and after the arrow")
        << "00:00:01,000 " + nul + "--> 00:00:02,000\r\ntext\r\n\r\n00:00:03,000 -" + nul + "-> 00:00:04,000\r\n"
           "00:00:05,000 --> 00:00:06" + nul + ",000\r\nkept" + nul + "cut\r\n" + nul + "ends the cue\r\n\r\n";
    QTest::newRow("invalid UTF-8 in times and text")
        << QByteArray("00:00:\xC3\x01,000 --> 00:\xFF:02,000\r\n\xC3\xA9t\xE9\r\n\xED\xA0\x80\r\n\xC0\xAD\r\n\r\n"
                      "\xE2\x80 00:00:03,000 --> 00:00:04,000\r\n\xF0\x9F\x98\x80\r\n");
    QTest::newRow("Cyrillic before the times shifts the fields")
        << QByteArray("дa:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n00:00:03,000 --> ч0:00:04,000 more\r\nB\r\n");
    QTest::newRow("byte order marks")
        << QByteArray("\xEF\xBB\xBF" "1\r\n\xEF\xBB\xBF" "00:00:01,000 --> 00:00:02,000\r\nA\r\n\xEF\xBB\xBF\r\nB\r\n\r\n"
                      "00:00:03,000 --> 00:00:04,000\r\nC\xEF\xBB\xBF\r\n\xEF\xBB\xBF" "D\r\n");
    QTest::newRow("missing terminators")
        << QByteArray("00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n00:00:03,000 --> 00:00:04,000");
    QTest::newRow("last text line without terminator") << QByteArray("00:00:01,000 --> 00:00:02,000\r\nend");
    QTest::newRow("CR alone is no terminator")
        << QByteArray("00:00:01,000 --> 00:00:02,000\rA\r\r\nB\r\r\n\r\r\n00:00:03,000 --> 00:00:04,000\r\nC\r");
    QTest::newRow("CR and LF in every order")
        << QByteArray("\n\r00:00:01,000 --> 00:00:02,000\n\rA\r\r\n\n\r\n00:00:03,000 --> 00:00:04,000\r\n\rX\n\r");
    QTest::newRow("duplicate and out-of-order starts")
        << timeLines({"00:00:05,000 --> 00:00:06,000", "late", "", "00:00:01,000 --> 00:00:02,000", "early", "",
                      "00:00:05,000 --> 00:00:09,000", "late again", "", "00:00:01,000 --> 00:00:03,000", "",
                      "00:00:03,000 --> 00:00:04,000", "", "00:00:03,000 --> 00:00:04,500", "", "-0:00:00,000 --> x",
                      "00:00:00,000 --> y", "", "-1:00:00,000 --> negative", "", "00:00:07,000 --> 00:00:08,000"});
    QTest::newRow("missing blank lines swallow cues")
        << QByteArray("1\n00:00:01,000 --> 00:00:02,000\nA\n2\n00:00:03,000 --> 00:00:04,000\nB\n\n"
                      "3\n00:00:05,000 --> 00:00:06,000\nC\n");
}

void TestSubtitleDifferential::oddInputs()
{
    QFETCH(QByteArray, content);
    const QString found = compareReaders(content);
    QVERIFY2(found.isEmpty(), qPrintable(found));
}

void TestSubtitleDifferential::linesLongerThanABlock_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("cueCount");

    // Text and time lines well past the block the player reads, with short
    // lines after them that start in the middle of a block.
    const QByteArray longText(subtitleBlockSize + subtitleBlockSize / 2, 'w');
    const QByteArray longTime = "00:00:03,000 --> 00:00:04,000" + QByteArray(3 * subtitleBlockSize, ' ') + "-->";
    QTest::newRow("long text and time lines")
        << "00:00:01,000 --> 00:00:02,000\r\n" + longText + "\r\nshort\r\n\r\n" + longTime + "\r\n" + longText
            + "\r\n\r\n00:00:05,000 --> 00:00:06,000\r\nlast" + longText
        << 3;

    // 10 MB lines without a line feed, ending the data.
    const int tenMegabytes = 10 << 20;
    QTest::newRow("10 MB of text without line feed")
        << "00:00:01,000 --> 00:00:02,000\r\n" + QByteArray(tenMegabytes, 'w') << 1;
    QTest::newRow("10 MB time line without line feed")
        << "00:00:01,000 --> 00:00:02,000" + QByteArray(tenMegabytes, ' ') << 1;
    QTest::newRow("10 MB of arrow pieces that never make an arrow")
        << QByteArray("->").repeated(tenMegabytes / 2) << 0;
    QTest::newRow("10 MB of Cyrillic text without line feed")
        << "00:00:01,000 --> 00:00:02,000\r\n" + QByteArray("\xD0\xBF").repeated(tenMegabytes / 2) << 1;
}

void TestSubtitleDifferential::linesLongerThanABlock()
{
    QFETCH(QByteArray, content);
    QFETCH(int, cueCount);

    const SubtitleTable expected = readReference(content);
    QCOMPARE(expected.size(), cueCount);
    for (int blockSize : {1, 4096, subtitleBlockSize}) {
        const QString found = subtitleTableDifference(expected, readFast(content, blockSize));
        QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("block size %1: %2").arg(blockSize).arg(found)));
    }
}

void TestSubtitleDifferential::randomInputs_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("count");

    QTest::newRow("random pieces") << 0 << 6000;
    QTest::newRow("time lines with odd fields") << 1 << 6000;
    QTest::newRow("mutated real-shaped files") << 2 << 3000;
}

void TestSubtitleDifferential::randomInputs()
{
    QFETCH(int, kind);
    QFETCH(int, count);

    std::mt19937 random{quint32(kind + 1)};
    for (int round = 0; round < count; ++round) {
        QByteArray content;
        switch (kind) {
        case 0:
            content = randomPieces(random);
            break;
        case 1:
            for (int lines = 1 + int(random() % 6); lines > 0; --lines)
                content += randomTimeLine(random) + (random() % 3 ? "\r\ntext\r\n\r\n" : "\n");
            break;
        default:
            content = mutatedFile(random);
            break;
        }
        const QString found = compareReaders(content);
        QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("round %1: %2").arg(round).arg(found)));
    }
}

QTEST_GUILESS_MAIN(TestSubtitleDifferential)
#include "tst_subtitledifferential.moc"
