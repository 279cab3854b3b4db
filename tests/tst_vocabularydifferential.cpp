// The trainer's reader cuts most lines on their bytes and reads a device in
// blocks; the plain reference decodes every line and cuts the decoded text.
// Both must give the same video path and the same entries for any input.
#include "vocabularyreader.h"
#include "vocabularyreference.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Bytes of a literal that may hold NUL characters.
template<int N>
QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

QString shown(const QByteArray &input)
{
    const QByteArray head = input.left(200);
    QString text;
    for (const char c : head) {
        const auto byte = static_cast<unsigned char>(c);
        text += byte >= 0x20 && byte < 0x7F ? QString(QChar(byte))
                                            : QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    return input.size() > head.size() ? text + QStringLiteral("... (%1 bytes)").arg(input.size()) : text;
}

// An empty description when both agree, else what differs.
QString difference(const VocabularyContents &fast, const VocabularyContents &reference)
{
    if (fast.videoPath != reference.videoPath)
        return QStringLiteral("video path %1 against %2").arg(fast.videoPath, reference.videoPath);
    if (fast.entries.size() != reference.entries.size())
        return QStringLiteral("%1 entries against %2").arg(fast.entries.size()).arg(reference.entries.size());
    for (int i = 0; i < fast.entries.size(); ++i) {
        if (fast.entries.at(i) != reference.entries.at(i)) {
            return QStringLiteral("entry %1: [%2] against [%3]")
                .arg(i)
                .arg(fast.entries.at(i).join(QLatin1Char('|')), reference.entries.at(i).join(QLatin1Char('|')));
        }
    }
    return QString();
}

VocabularyContents readThroughDevice(const QByteArray &file)
{
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    return readVocabulary(buffer);
}

// Empty when the trainer's reader, from bytes and from a device, and its
// single-line reader agree with the reference on `file`.
QString disagreement(const QByteArray &file)
{
    const VocabularyContents expected = VocabularyReference::read(file);
    QString found = difference(readVocabulary(file), expected);
    if (found.isEmpty())
        found = difference(readThroughDevice(file), expected);
    if (!found.isEmpty())
        return QStringLiteral("%1\n   input: %2").arg(found, shown(file));
    return QString();
}

QString recordDisagreement(const QByteArray &line)
{
    const std::optional<TrainerEntry> fast = readVocabularyRecord(line);
    const std::optional<TrainerEntry> expected = VocabularyReference::readRecord(line);
    if (fast != expected)
        return QStringLiteral("line %1 read differently").arg(shown(line));
    return QString();
}

#define COMPARE_READERS(file)                                                                      \
    do {                                                                                           \
        const QString found = disagreement(file);                                                  \
        if (!found.isEmpty())                                                                      \
            QFAIL(qPrintable(found));                                                              \
    } while (false)

// Pieces that make up random lines: what separators, terminators and the
// decoder's special cases are made of, and characters of every UTF-8 width.
const QVector<QByteArray> pieces{
    "a", "word", " ", "-", ">", "-->", " --> ", "-*-", "***", "00:01:02,500",
    "\r", "\n", "\r\n", bytes("\0"), "\t",
    "\xC3\xA9",         // é
    "\xD0\xBF",         // п
    "\xE2\x82\xAC",     // €
    "\xF0\x9F\x98\x80", // four bytes, a surrogate pair when decoded
    "\xEF\xBB\xBF",     // byte-order mark
    "\xEF\xBF\xBE",     // U+FFFE
    "\xFF", "\x80", "\xC3", "\xE2\x82", "\xF0\x9F\x98", // invalid or cut
    "\xC0\xAF",         // overlong
    "\xED\xA0\x80",     // surrogate
    "\xF4\x90\x80\x80", // past U+10FFFF
};

QByteArray randomLine(QRandomGenerator &random, int maximumPieces)
{
    QByteArray line;
    const int count = random.bounded(maximumPieces + 1);
    for (int i = 0; i < count; ++i)
        line += pieces.at(random.bounded(pieces.size()));
    return line;
}

const QVector<QByteArray> terminators{"\r\n", "\n", ""};

QByteArray encoded(char32_t codePoint)
{
    return QString::fromUcs4(&codePoint, 1).toUtf8();
}

} // namespace

class TestVocabularyDifferential : public QObject
{
    Q_OBJECT

private slots:
    void generatedFiles_data();
    void generatedFiles();
    void oddFiles_data();
    void oddFiles();
    void badInput_data();
    void badInput();
    void millionRecords();
    void separatorAtEveryPosition();
    void everyCodePointInAndNextToFields();
    void randomLines();
    void mutatedFiles();
    void largeRandomFileAcrossBlocks();
    void realFile();
};

void TestVocabularyDifferential::generatedFiles_data()
{
    QTest::addColumn<QByteArray>("file");

    const QByteArray latinShapes[] = {
        "word 1 --> translation 1",
        "word 2 --> translation 2 --> We ran out-*-of time.",
        "word 3 --> translation 3 --> 00:00:01,500***00:00:02,700",
        "word 4 --> translation 4 --> We ran out-*-of time. --> 00:01:02,500***00:01:04,000",
    };
    const QByteArray cyrillicShapes[] = {
        "слово --> перевод",
        "слово --> перевод --> У нас-*-кончилось время.",
        "слово --> перевод --> 00:00:01,500***00:00:02,700",
        "закончиться --> run out --> У нас-*-кончилось время. --> 00:01:02,500***00:01:04,000",
    };
    for (const QByteArray &terminator : terminators) {
        const QByteArray name = terminator == "\r\n" ? "CR LF" : terminator == "\n" ? "LF" : "no terminator";
        for (const auto *shapes : {latinShapes, cyrillicShapes}) {
            const QByteArray script = shapes == latinShapes ? "Latin" : "Cyrillic";
            QByteArray file = shapes == latinShapes ? "D:/films/demo.avi" : "D:/фильмы/кино.avi";
            for (int i = 0; i < 4; ++i) {
                file += terminator.isEmpty() ? QByteArray("\r\n") : terminator;
                file += shapes[i];
            }
            // Without a terminator only the last line goes without.
            file += terminator;
            QTest::newRow(script + ", " + name) << file;
        }
    }
}

void TestVocabularyDifferential::generatedFiles()
{
    QFETCH(QByteArray, file);
    COMPARE_READERS(file);
    const VocabularyContents read = readVocabulary(file);
    QCOMPARE(read.entries.size(), 4);
    QCOMPARE(read.entries.last().size(), 5);
}

void TestVocabularyDifferential::oddFiles_data()
{
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("only line feeds") << QByteArray(10, '\n');
    QTest::newRow("separator at the start of a line") << QByteArray("v\r\n--> a --> b\r\n-->\r\n");
    QTest::newRow("separator at the start of line 1") << QByteArray("--> a --> b\r\nx --> y\r\n");
    QTest::newRow("blank and separator") << QByteArray("v\r\n --> a\r\n -->\r\n -->-->\r\n");
    QTest::newRow("empty fields") << QByteArray("v\r\nw -->  -->  --> \r\nw --> --> --> \r\n --> \r\n");
    QTest::newRow("four and more separators") << QByteArray("v\r\na --> b --> c --> d --> e --> f\r\n");
    QTest::newRow("separators back to back") << QByteArray("v\r\na -->-->-->--> b\r\na-->x-->y-->z\r\n");
    QTest::newRow("separator as the last characters") << QByteArray("v\r\na -->\r\nb --> c -->\nd -->");
    QTest::newRow("NUL before the separator") << bytes("v\r\nab\0 --> c\r\n");
    QTest::newRow("NUL after the separator") << bytes("v\r\nab --> c\0d\r\n");
    QTest::newRow("NUL before the terminator") << bytes("v\r\nab --> cd\0\r\n");
    QTest::newRow("NUL in line 1") << bytes("D:/fil\0ms.avi\r\na --> b\r\n");
    QTest::newRow("invalid UTF-8 in fields") << QByteArray("v\r\n\xFF\xFE --> \x80x --> \xC3\r\n");
    QTest::newRow("invalid UTF-8 next to separators")
        << QByteArray("v\r\na\xFF-->\xFF" "b\xC3-->\xE2\x82\xAC" "c\r\n");
    QTest::newRow("cut sequence before the terminator") << QByteArray("v\r\na --> b\xE2\x82\r\n");
    QTest::newRow("multi-byte characters next to separators")
        << QByteArray("v\r\nслово-->перевод-->€x€-->\xF0\x9F\x98\x80y\r\n");
    QTest::newRow("multi-byte character as the only one between separators")
        << QByteArray("v\r\na -->\xD0\xBF--> b\r\na -->\xF0\x9F\x98\x80--> b\r\n");
    QTest::newRow("multi-byte characters at line ends")
        << QByteArray("v\r\na --> бб\r\nc --> \xF0\x9F\x98\x80\nd --> \xE2\x82\xAC");
    QTest::newRow("multi-byte character right after a closing separator")
        << QByteArray("v\r\na -->\xD0\xBF\r\nb -->\xD0\xBF");
    QTest::newRow("byte-order mark at the start of the file") << QByteArray("\xEF\xBB\xBFv\r\na --> b\r\n");
    QTest::newRow("two byte-order marks at the start of the file")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFv\r\na --> b\r\n");
    QTest::newRow("byte-order mark at the start of a record")
        << QByteArray("v\r\n\xEF\xBB\xBF" "a --> b\r\n\xEF\xBB\xBF--> b\r\n");
    QTest::newRow("byte-order mark at the start of a field")
        << QByteArray("v\r\na --> \xEF\xBB\xBF" "b --> \xEF\xBB\xBF\r\n");
    QTest::newRow("byte-order mark only") << QByteArray("\xEF\xBB\xBF");
    QTest::newRow("CR alone") << QByteArray("v\ra --> b\rc --> d\r");
    QTest::newRow("CR before CR LF") << QByteArray("v\r\r\na --> b\r\r\n");
    QTest::newRow("noncharacters and a surrogate pair")
        << QByteArray("v\r\n\xEF\xBF\xBE --> \xEF\xBF\xBF --> \xF0\x9F\x98\x80\r\n");
    QTest::newRow("encoded surrogates and overlong forms")
        << QByteArray("v\r\n\xED\xA0\x80 --> \xC0\xAF --> \xF4\x90\x80\x80\r\n");
    QTest::newRow("line 1 is a record in Cyrillic") << QByteArray("слово-->перевод\r\n");
    QTest::newRow("line longer than a block")
        << "v\r\nword --> " + QByteArray(700 * 1024, 'x') + " --> " + QByteArray(300 * 1024, 'y') + "\r\nz --> w\r\n";
    QTest::newRow("line 1 longer than a block, no terminator") << QByteArray(600 * 1024, 'p');
    QTest::newRow("line of multi-byte characters longer than a block")
        << "v\r\nw --> " + QByteArray(200 * 1024, 'x') + QString(100 * 1024, QChar(0x444)).toUtf8();
}

void TestVocabularyDifferential::oddFiles()
{
    QFETCH(QByteArray, file);
    COMPARE_READERS(file);
}

void TestVocabularyDifferential::badInput_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("entries");

    const QByteArray tenMegabytes(10 * 1024 * 1024, 'x');
    QTest::newRow("empty file") << QByteArray() << 0;
    QTest::newRow("only NUL bytes") << QByteArray(1024 * 1024, '\0') << 0;
    QTest::newRow("NUL lines holding separators") << bytes("\0\n\0 --> a\r\n\0\0-->\0\n") << 0;
    QTest::newRow("invalid UTF-8 throughout")
        << QByteArray("\xFF\xFE\r\n\xC0 --> \xE0\x80 --> \xF8\x88\x80\x80\x80\r\n\x80 --> \xBF\r\n") << 2;
    QTest::newRow("time ranges holding garbage")
        << bytes("v\r\na --> b --> ab:cd:ef,ghi***-1:+2:99,9999\r\n"
                 "c --> d --> ctx --> ******\r\n"
                 "e --> f --> 00:01:02,500***\xFF\0\r\n"
                 "g --> h --> ***00:00:01,000***x*** --> y\r\n")
        << 4;
    QTest::newRow("10 MB line without line feed") << "v\r\nw --> " + tenMegabytes << 1;
    QTest::newRow("10 MB first line without line feed") << tenMegabytes << 0;
    QTest::newRow("10 MB line of separators") << "v\r\n" + QByteArray(10 * 1024 * 1024 / 5, ' ').replace(" ", " --> ")
                                              << 1;
}

void TestVocabularyDifferential::badInput()
{
    QFETCH(QByteArray, file);
    QFETCH(int, entries);
    COMPARE_READERS(file);
    QCOMPARE(readVocabulary(file).entries.size(), entries);
}

void TestVocabularyDifferential::millionRecords()
{
    QByteArray file = "D:/films/demo.avi\r\n";
    for (int i = 0; i < 1000000; ++i) {
        file += "word " + QByteArray::number(i) + " --> перевод";
        if (i % 2)
            file += " --> 00:00:01,500***00:00:02,700";
        file += "\r\n";
    }
    const VocabularyContents contents = readThroughDevice(file);
    QCOMPARE(contents.entries.size(), 1000000);
    QCOMPARE(contents.entries.last(),
             TrainerEntry({" ", "word 999999", "перевод", "00:00:01,500***00:00:02,700"}));
}

void TestVocabularyDifferential::separatorAtEveryPosition()
{
    // A separator core, with or without its blanks, put at every byte of
    // lines that mix widths, invalid bytes and terminators.
    const QVector<QByteArray> lines{
        "ab --> cd --> ef\r\n",
        "п€ --> é\xF0\x9F\x98\x80 -->\xD0\xBF\r\n",
        "x\xFF --> \xC3 -->y\n",
        bytes("a --> b\0 --> c"),
        "\xEF\xBB\xBF" "a --> b",
    };
    const QVector<QByteArray> inserts{"-->", " --> ", "-", ">", "\xD0\xBF", "\r\n"};
    for (const QByteArray &line : lines) {
        for (const QByteArray &insert : inserts) {
            for (int position = 0; position <= line.size(); ++position) {
                QByteArray changed = line;
                changed.insert(position, insert);
                const QString found = recordDisagreement(changed);
                if (!found.isEmpty())
                    QFAIL(qPrintable(found));
                COMPARE_READERS("v\r\n" + changed);
                COMPARE_READERS(changed);
            }
        }
    }
}

void TestVocabularyDifferential::everyCodePointInAndNextToFields()
{
    // Every Unicode scalar value in a field, sixteen to a line, and a sample
    // of them on both sides of each separator.
    QByteArray fields = "v\r\n";
    QByteArray neighbours = "v\r\n";
    QByteArray line;
    int inLine = 0;
    for (char32_t codePoint = 1; codePoint <= 0x10FFFF; ++codePoint) {
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
            continue;
        const QByteArray character = encoded(codePoint);
        line += character;
        if (++inLine == 16) {
            fields += "w --> " + line + " --> " + line + "\r\n";
            line.clear();
            inLine = 0;
        }
        if (codePoint < 0x800 || codePoint % 251 == 0 || (codePoint & 0xFFFE) == 0xFFFE)
            neighbours += character + "-->" + character + "x-->" + character + "\r\n";
    }
    COMPARE_READERS(fields);
    COMPARE_READERS(neighbours);
}

void TestVocabularyDifferential::randomLines()
{
    QRandomGenerator random(20261207);
    for (int round = 0; round < 20000; ++round) {
        QByteArray file;
        const int lines = random.bounded(1, 6);
        for (int i = 0; i < lines; ++i)
            file += randomLine(random, 12) + terminators.at(random.bounded(terminators.size()));
        const QString found = recordDisagreement(randomLine(random, 16));
        if (!found.isEmpty())
            QFAIL(qPrintable(found));
        COMPARE_READERS(file);
    }
}

void TestVocabularyDifferential::mutatedFiles()
{
    // Real-shaped files with bytes flipped, inserted and removed.
    const QByteArray original = "D:/films/demo.avi\r\n"
                                "run out --> to finish --> We ran out-*-of time. --> 00:01:02,500***00:01:04,000\r\n"
                                "слово --> перевод --> 00:00:01,000***00:00:02,000\r\n"
                                "hello --> hi\r\n";
    QRandomGenerator random(7);
    for (int round = 0; round < 20000; ++round) {
        QByteArray file = original;
        const int changes = random.bounded(1, 5);
        for (int i = 0; i < changes; ++i) {
            const int position = random.bounded(file.size() + 1);
            switch (random.bounded(3)) {
            case 0:
                if (position < file.size())
                    file[position] = char(random.bounded(256));
                break;
            case 1:
                file.insert(position, pieces.at(random.bounded(pieces.size())));
                break;
            default:
                file.remove(position, random.bounded(1, 4));
                break;
            }
        }
        COMPARE_READERS(file);
    }
}

void TestVocabularyDifferential::largeRandomFileAcrossBlocks()
{
    // Several megabytes of random lines, so that block ends fall inside
    // lines, multi-byte characters and terminators.
    QRandomGenerator random(99);
    QByteArray file;
    while (file.size() < 3 * 1024 * 1024) {
        file += randomLine(random, 30) + terminators.at(random.bounded(2));
        if (random.bounded(500) == 0)
            file += QByteArray(random.bounded(300 * 1024), 'L');
    }
    COMPARE_READERS(file);
}

void TestVocabularyDifferential::realFile()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    QByteArray content = "D:/фильмы/кино.avi\r\n";
    for (int i = 0; i < 50000; ++i) {
        content += "слово " + QByteArray::number(i) + " --> word --> ctx-*-" + QByteArray::number(i * 7)
                   + (i % 3 ? "\r\n" : " --> 00:00:01,000***00:00:02,000\r\n");
    }
    QFile file(directory.filePath(QStringLiteral("words.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    QVERIFY(file.open(QIODevice::ReadOnly));
    const VocabularyContents fast = readVocabulary(file);
    file.close();
    QVERIFY(file.open(QIODevice::ReadOnly));
    const VocabularyContents reference = VocabularyReference::read(file);
    QCOMPARE(difference(fast, reference), QString());
    QCOMPARE(fast.entries.size(), 50000);
}

QTEST_GUILESS_MAIN(TestVocabularyDifferential)
#include "tst_vocabularydifferential.moc"
