// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow_2.h"
#include "trainerlearner.h"

#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

#include <sys/stat.h>

// The drill as a learner does it: files chosen in the real open dialog, the
// buttons clicked and the answers typed into the answer line.
class TestTrainerDrill : public QObject, public TrainerLearner
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void promptsBeforeAFileIsOpen();
    void openDialog();
    void answerRules_data();
    void answerRules();
    void returnReturnReturn();
    void arrowWhileAnswered();
    void contextAndStone_data();
    void contextAndStone();
    void storedLineBreaksShownAsLineBreaks();
    void markingExcludesUntilReload();
    void allMarkedEndsTheDraw();
    void indexBeyondAShorterReload();
    void cancelledOrFailedOpenKeepsTheDrill();
    void videoPathFollowsTheFile();

private:
    QString stone() const;

    QImage yellowStone;
    QImage greenStone;
};

namespace {

QImage stoneImage(const QIcon &icon)
{
    return icon.pixmap(QSize(40, 40)).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

void TestTrainerDrill::initTestCase()
{
    Q_INIT_RESOURCE(trainer);
    yellowStone = stoneImage(QIcon(QStringLiteral(":/new/prefix1/my_img/yellowStone.png")));
    greenStone = stoneImage(QIcon(QStringLiteral(":/new/prefix1/my_img/greenStone.png")));
    QVERIFY(!yellowStone.isNull());
    QVERIFY(yellowStone != greenStone);
}

void TestTrainerDrill::init()
{
    QVERIFY(startTrainer());
}

void TestTrainerDrill::cleanup()
{
    stopTrainer();
}

QString TestTrainerDrill::stone() const
{
    const QImage shown = stoneImage(videoButton->icon());
    if (shown == yellowStone)
        return QStringLiteral("yellow");
    if (shown == greenStone)
        return QStringLiteral("green");
    return QStringLiteral("other");
}

void TestTrainerDrill::promptsBeforeAFileIsOpen()
{
    arrow();
    QCOMPARE(asked(), QStringLiteral("Choose the text file!"));
    textBrowser_1->clear();
    answer(QStringLiteral("house"));
    QCOMPARE(asked(), QStringLiteral("Choose the text file!"));
    mark();
    QCOMPARE(asked(), QStringLiteral("Click on the arrow!"));
    QCOMPARE(verdict->toPlainText(), QString());
    QCOMPARE(stone(), QStringLiteral("yellow"));
}

void TestTrainerDrill::openDialog()
{
    const FileDialogSeen seen = load(writeFile("one.txt", "v.avi\r\nhello --> hi\r\n"));
    QVERIFY(seen.appeared);
    QCOMPARE(seen.caption, QStringLiteral("Открыть файл"));
    QCOMPARE(seen.nameFilters, QStringList{QStringLiteral("TXT (*.txt)")});
    // Loading shows nothing by itself.
    QCOMPARE(asked(), QString());
    arrow();
    QCOMPARE(asked(), QStringLiteral("hello"));
}

void TestTrainerDrill::answerRules_data()
{
    QTest::addColumn<QByteArray>("translation");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QString>("shown");

    QTest::newRow("other case") << QByteArray("a house") << "HOUSE" << "Yes!" << "a house";
    QTest::newRow("part of a word") << QByteArray("a house") << "ous" << "Yes!" << "a house";
    QTest::newRow("trailing blank") << QByteArray("a house") << "house " << "No!" << "a house";
    QTest::newRow("empty") << QByteArray("a house") << "" << "No!" << "a house";
    QTest::newRow("one character") << QByteArray("a") << "a" << "No!" << "a";
    QTest::newRow("second line of the translation")
        << QByteArray("first-*-second") << "second" << "Yes!" << "first\nsecond";
    QTest::newRow("both lines as one") << QByteArray("first-*-second") << "first second"
                                      << "No!" << "first\nsecond";
}

void TestTrainerDrill::answerRules()
{
    QFETCH(QByteArray, translation);
    QFETCH(QString, typed);
    QFETCH(QString, verdict);
    QFETCH(QString, shown);

    load(writeFile("answer.txt", "v.avi\r\nword --> " + translation + "\r\n"));
    arrow();
    QCOMPARE(asked(), QStringLiteral("word"));
    answer(typed);
    QCOMPARE(this->verdict->toPlainText(), verdict);
    QCOMPARE(textBrowser_2->toPlainText(), shown);
    // The answer stays for the learner to compare.
    QCOMPARE(answerLine->text(), typed);
}

void TestTrainerDrill::returnReturnReturn()
{
    load(writeFile("pair.txt", "v.avi\r\nred --> rot --> context\r\nblue --> blau\r\n"));
    const QMap<QString, QString> translations{{"red", "rot"}, {"blue", "blau"}};
    arrow();
    const QString first = asked();
    QVERIFY(translations.contains(first));

    answer(translations.value(first));
    QCOMPARE(verdict->toPlainText(), QStringLiteral("Yes!"));
    QCOMPARE(textBrowser_2->toPlainText(), translations.value(first));

    // The second Return asks the next word and clears what was shown.
    QTest::keyClick(answerLine, Qt::Key_Return);
    const QString second = asked();
    QVERIFY(translations.contains(second));
    QCOMPARE(verdict->toPlainText(), QString());
    QCOMPARE(textBrowser_2->toPlainText(), QString());
    QCOMPARE(textBrowser_3->toPlainText(), QString());
    QCOMPARE(answerLine->text(), QString());

    // The third judges the answer to it.
    QTest::keyClick(answerLine, Qt::Key_Return);
    QCOMPARE(asked(), second);
    QCOMPARE(verdict->toPlainText(), QStringLiteral("No!"));
    QCOMPARE(textBrowser_2->toPlainText(), translations.value(second));
}

void TestTrainerDrill::arrowWhileAnswered()
{
    load(writeFile("single.txt", "v.avi\r\ncat --> Katze --> a pet\r\n"));
    arrow();
    answer(QStringLiteral("Katze"));
    QCOMPARE(textBrowser_3->toPlainText(), QStringLiteral("a pet"));

    arrow();
    QCOMPARE(asked(), QStringLiteral("cat"));
    QCOMPARE(verdict->toPlainText(), QString());
    QCOMPARE(textBrowser_2->toPlainText(), QString());
    QCOMPARE(textBrowser_3->toPlainText(), QString());
    QCOMPARE(answerLine->text(), QString());

    // Return now judges, it does not move on.
    answer(QStringLiteral("kat"));
    QCOMPARE(asked(), QStringLiteral("cat"));
    QCOMPARE(verdict->toPlainText(), QStringLiteral("Yes!"));
}

void TestTrainerDrill::contextAndStone_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("stone");

    QTest::newRow("context and time range")
        << QByteArray("w --> t --> ctx --> 00:00:01,000***00:00:02,000") << "ctx" << "green";
    QTest::newRow("time range only")
        << QByteArray("w --> t --> 00:00:01,000***00:00:02,000") << "" << "green";
    QTest::newRow("context only") << QByteArray("w --> t --> ctx") << "ctx" << "yellow";
    QTest::newRow("context holding ***") << QByteArray("w --> t --> 3 *** 4") << "" << "green";
    QTest::newRow("neither") << QByteArray("w --> t") << "" << "yellow";
}

void TestTrainerDrill::contextAndStone()
{
    QFETCH(QByteArray, record);
    QFETCH(QString, context);
    QFETCH(QString, stone);

    // A first entry with a fragment turns the stone green before the one under test.
    load(writeFile("stone.txt",
                   "v.avi\r\nfirst --> f --> 00:00:01,000***00:00:02,000\r\n" + record + "\r\n"));
    QVERIFY(arrowUntil(QStringLiteral("first")));
    QCOMPARE(this->stone(), QStringLiteral("green"));
    answer(QStringLiteral("f"));
    QVERIFY(arrowUntil(QStringLiteral("w")));
    QCOMPARE(this->stone(), stone);
    answer(QStringLiteral("t"));
    QCOMPARE(textBrowser_3->toPlainText(), context);
    QCOMPARE(this->stone(), stone);
}

void TestTrainerDrill::storedLineBreaksShownAsLineBreaks()
{
    load(writeFile("breaks.txt",
                   "v.avi\r\nwell--known --> first-*-second --> We ran out-*-of time.\r\n"));
    arrow();
    QCOMPARE(asked(), QStringLiteral("well\nknown"));
    answer(QStringLiteral("second"));
    QCOMPARE(verdict->toPlainText(), QStringLiteral("Yes!"));
    QCOMPARE(textBrowser_2->toPlainText(), QStringLiteral("first\nsecond"));
    QCOMPARE(textBrowser_3->toPlainText(), QStringLiteral("We ran out\nof time."));
}

void TestTrainerDrill::markingExcludesUntilReload()
{
    const QString path = writeFile("marks.txt", "v.avi\r\nkeep --> k\r\ndrop --> d\r\n");
    load(path);
    QVERIFY(arrowUntil(QStringLiteral("drop")));
    answer(QStringLiteral("dd"));
    mark();
    // Marking shows nothing and changes nothing on the screen.
    QCOMPARE(asked(), QStringLiteral("drop"));
    QCOMPARE(verdict->toPlainText(), QStringLiteral("No!"));
    mark();

    for (int i = 0; i < 50; ++i) {
        arrow();
        QCOMPARE(asked(), QStringLiteral("keep"));
    }

    load(path);
    QVERIFY(arrowUntil(QStringLiteral("drop")));
}

void TestTrainerDrill::allMarkedEndsTheDraw()
{
    load(writeFile("all.txt", "v.avi\r\nonly --> o --> ctx --> 00:00:01,000***00:00:02,000\r\n"));
    arrow();
    answer(QStringLiteral("o"));
    QCOMPARE(stone(), QStringLiteral("green"));
    mark();

    arrow();
    QCOMPARE(asked(), QStringLiteral("All words are marked!"));
    QCOMPARE(verdict->toPlainText(), QString());
    QCOMPARE(textBrowser_2->toPlainText(), QString());
    QCOMPARE(textBrowser_3->toPlainText(), QString());
    QCOMPARE(answerLine->text(), QString());
    QCOMPARE(stone(), QStringLiteral("yellow"));

    // No entry is chosen any more.
    answer(QStringLiteral("ctx"));
    QCOMPARE(asked(), QStringLiteral("Click on the arrow!"));
    QCOMPARE(verdict->toPlainText(), QString());
    textBrowser_1->clear();
    mark();
    QCOMPARE(asked(), QStringLiteral("Click on the arrow!"));
}

void TestTrainerDrill::indexBeyondAShorterReload()
{
    load(writeFile("long.txt", "v.avi\r\nzero --> 0\r\none --> 1\r\ntwo --> 2\r\n"));
    QVERIFY(arrowUntil(QStringLiteral("two")));
    load(writeFile("short.txt", "v.avi\r\nsole --> s\r\n"));

    answer(QStringLiteral("2"));
    QCOMPARE(asked(), QStringLiteral("Click on the arrow!"));
    QCOMPARE(verdict->toPlainText(), QString());
    textBrowser_1->clear();
    mark();
    QCOMPARE(asked(), QStringLiteral("Click on the arrow!"));

    // Nothing was marked: the new entry is still drawn.
    arrow();
    QCOMPARE(asked(), QStringLiteral("sole"));
    answer(QStringLiteral("s"));
    QCOMPARE(verdict->toPlainText(), QStringLiteral("No!"));
    QCOMPARE(textBrowser_2->toPlainText(), QStringLiteral("s"));
}

// The learner has marked a word, then opens the dialog and thinks better of
// it, or picks a file that cannot be read: the drill goes on as it was.
void TestTrainerDrill::cancelledOrFailedOpenKeepsTheDrill()
{
    load(writeFile("cancel.txt", "v.avi\r\nhello --> hi\r\nknown --> bekannt\r\n"));
    QVERIFY(arrowUntil(QStringLiteral("known")));
    mark();
    QVERIFY(arrowUntil(QStringLiteral("hello")));

    QVERIFY(load(QString()).appeared);
    const QString pipe = directory->filePath(QStringLiteral("pipe.txt"));
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    QVERIFY(load(pipe).appeared);
    QCOMPARE(asked(), QStringLiteral("hello"));
    answer(QStringLiteral("hi"));
    QCOMPARE(verdict->toPlainText(), QStringLiteral("Yes!"));
    // The marked word stays out of the draw.
    for (int draw = 0; draw < 20; ++draw) {
        arrow();
        QCOMPARE(asked(), QStringLiteral("hello"));
    }
    QCOMPARE(videoWindow()->videoPath, QStringLiteral("v.avi"));
}

void TestTrainerDrill::videoPathFollowsTheFile()
{
    MainWindow_2 *window = videoWindow();
    QVERIFY(window);
    QCOMPARE(window->videoPath, QString());

    load(writeFile("example.txt",
                   "D:/films/demo.avi\r\n"
                   "run out --> to finish --> We ran out-*-of time. --> 00:01:02,500***00:01:04,000\r\n"
                   "hello --> hi\r\n"));
    QCOMPARE(window->videoPath, QStringLiteral("D:/films/demo.avi"));

    // A second video path line further down is passed over.
    load(writeFile("twice.txt", "E:/a.avi\nw --> t\nF:/b.avi\nx --> y\n"));
    QCOMPARE(window->videoPath, QStringLiteral("E:/a.avi"));

    // A cancelled dialog leaves it alone.
    load(QString());
    QCOMPARE(window->videoPath, QStringLiteral("E:/a.avi"));

    // A file without a video path line keeps its first record as an entry.
    load(writeFile("records.txt", "first --> 1\r\n"));
    QCOMPARE(window->videoPath, QString());
    arrow();
    QCOMPARE(asked(), QStringLiteral("first"));
}

QTEST_MAIN(TestTrainerDrill)
#include "tst_trainerdrill.moc"
