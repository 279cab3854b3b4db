// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmclock.h"
#include "filmformats.h"
#include "mainwindow.h"
#include "modaldriver.h"
#include "playbacklog.h"
#include "saverlearner.h"
#include "testclip.h"
#include "timestamp.h"
#include "typing.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextEdit>
#include <QtTest>

namespace {

const QString notASubtitleFile =
    QStringLiteral("Полноценного файла с субтитрами не обнаружено. Проверьте файл субтитров.");

// Three cues with gaps between them; the second has two lines.
const QByteArray threeCues =
    "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nTwo\r\nВторая строка\r\n\r\n"
    "3\r\n00:00:05,000 --> 00:00:06,000\r\n<i>Three</i>\r\n\r\n";

// What the subtitle panel and the three time fields show.
struct Display
{
    QString text;
    QString from;
    QString to;

    bool operator==(const Display &other) const
    {
        return text == other.text && from == other.from && to == other.to;
    }
    QString describe() const { return text + QLatin1Char('|') + from + QLatin1Char('|') + to; }
};

} // namespace

class TestSaverSubtitles : public QObject, public SaverLearner
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openDialogAndErrorText();
    void cancelledDialogChangesNothing();
    void refusalGoesWithTheNextGoodFile();
    void secondFileReplacesTheFirst();
    void nothingFollowedBeforeAnyLoad();
    void walkThroughCues();
    void seekingBackwardsIntoEarlierCue();
    void overlappingInnerCueNeverShown();
    void failedLoadLeavesFollowerIdle();
    void playbackDrivesFollowerAndPauseKeepsCue();
    void seeking_data();
    void seeking();
    void twoWordsFromOneSubtitle();
    void subtitleReadAsWritten();
    void timeTypedWhilePlaying_data();
    void timeTypedWhilePlaying();

private:
    FileDialogSeen openSubtitles(const QString &path);
    // Seeks the paused player, waits for its report and runs the follower once.
    bool reportAt(qint64 positionMs);
    Display display() const;

    QTemporaryDir clipFolder;
    QString clipPath;
};

void TestSaverSubtitles::initTestCase()
{
    Q_INIT_RESOURCE(saver);
    QVERIFY(clipFolder.isValid());
    clipPath = makeTestClip(clipFolder.path(), 10);
    QVERIFY2(!clipPath.isEmpty(), "gst-launch-1.0 could not make the test clip");
}

void TestSaverSubtitles::init()
{
    QVERIFY(startSaver());

    // The film is opened as a user would, then paused: from here on each test
    // moves the position itself.
    QVERIFY(triggerAnsweringFileDialog("actionOpenVideo", clipPath).appeared);
    QTRY_COMPARE_WITH_TIMEOUT(player->state(), QMediaPlayer::PlayingState, 10000);
    player->pause();
    QTRY_COMPARE_WITH_TIMEOUT(player->state(), QMediaPlayer::PausedState, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(player->duration() > 0, 10000);
}

void TestSaverSubtitles::cleanup()
{
    stopSaver();
}

FileDialogSeen TestSaverSubtitles::openSubtitles(const QString &path)
{
    return triggerAnsweringFileDialog("actionOpenSub", path);
}

bool TestSaverSubtitles::reportAt(qint64 positionMs)
{
    // The follower is run by hand, once per position; the player's own
    // reports must not run it a second time.
    disconnect(player, &QMediaPlayer::positionChanged, window, &MainWindow::MySetSub);
    disconnect(window->findChild<FilmClock *>(), &FilmClock::positionChanged, window, &MainWindow::MySetSub);
    reports->clear();
    player->setPosition(positionMs);
    if (!waitForPositionReport(positionMs) || player->position() != positionMs)
        return false;
    window->MySetSub();
    return true;
}

Display TestSaverSubtitles::display() const
{
    return Display{subtitlePanel->toPlainText(), fromField->text(), toField->text()};
}

void TestSaverSubtitles::openDialogAndErrorText()
{
    const FileDialogSeen seen = openSubtitles(writeFile(QStringLiteral("two.srt"), threeCues.left(threeCues.indexOf("3\r\n"))));
    QVERIFY(seen.appeared);
    QCOMPARE(seen.caption, QStringLiteral("Open A Subtitle File"));
    QCOMPARE(seen.nameFilters, QStringList{QStringLiteral("Subtitle File (*.srt)")});
    QVERIFY(!seen.saveDialog);
    QCOMPARE(subtitlePanel->toPlainText(), notASubtitleFile);
    // Two cues are not enough to start following.
    QVERIFY(reportAt(1500));
    QVERIFY(timeField->text().isEmpty());

    subtitlePanel->clear();
    QVERIFY(openSubtitles(writeFile(QStringLiteral("none.srt"), "Dear diary,\r\nno arrows today.\r\n")).appeared);
    QCOMPARE(subtitlePanel->toPlainText(), notASubtitleFile);

    // Paused inside the first cue: a good file shows it at once, and the
    // refusal goes.
    QVERIFY(openSubtitles(writeFile(QStringLiteral("three.srt"), threeCues)).appeared);
    QCOMPARE(display().describe(), QStringLiteral("One|00:00:01,000|00:00:02,000"));
    QCOMPARE(timeField->text(), QStringLiteral("00:00:01,500"));
    QVERIFY(reportAt(1510));
    QCOMPARE(display().describe(), QStringLiteral("One|00:00:01,000|00:00:02,000"));
}

void TestSaverSubtitles::cancelledDialogChangesNothing()
{
    QVERIFY(openSubtitles(writeFile(QStringLiteral("three.srt"), threeCues)).appeared);
    QVERIFY(reportAt(1500));
    const Display shown = display();

    QVERIFY(openSubtitles(QString()).appeared);
    QCOMPARE(display().describe(), shown.describe());
    // Still following the same cues, still shown.
    QVERIFY(reportAt(1600));
    QCOMPARE(display().describe(), shown.describe());
    QCOMPARE(timeField->text(), QStringLiteral("00:00:01,600"));
}

void TestSaverSubtitles::refusalGoesWithTheNextGoodFile()
{
    QVERIFY(openSubtitles(writeFile(QStringLiteral("one.srt"), threeCues.left(threeCues.indexOf("2\r\n")))).appeared);
    QCOMPARE(subtitlePanel->toPlainText(), notASubtitleFile);
    QVERIFY(reportAt(500));
    QCOMPARE(subtitlePanel->toPlainText(), notASubtitleFile);

    // Before any cue: the display is empty at once.
    QVERIFY(openSubtitles(writeFile(QStringLiteral("three.srt"), threeCues)).appeared);
    QCOMPARE(display().describe(), QStringLiteral("||"));
    QVERIFY(reportAt(1500));
    QVERIFY(reportAt(1510));
    QCOMPARE(display().describe(), QStringLiteral("One|00:00:01,000|00:00:02,000"));
}

// The same film in another language: paused on a subtitle, the learner opens
// the other file; only its subtitle and times are shown, and only its cues
// are followed.
void TestSaverSubtitles::secondFileReplacesTheFirst()
{
    QVERIFY(openSubtitles(writeFile(QStringLiteral("three.srt"), threeCues)).appeared);
    QVERIFY(reportAt(3500));
    QVERIFY(reportAt(3510));
    QCOMPARE(display().describe(), QStringLiteral("Two\nВторая строка|00:00:03,000|00:00:04,000"));

    QVERIFY(openSubtitles(writeFile(QStringLiteral("other.srt"),
                                    "1\r\n00:00:01,000 --> 00:00:02,000\r\nUn\r\n\r\n"
                                    "2\r\n00:00:03,200 --> 00:00:04,200\r\nDeux\r\n\r\n"
                                    "3\r\n00:00:05,000 --> 00:00:06,000\r\nTrois\r\n\r\n")).appeared);
    QCOMPARE(display().describe(), QStringLiteral("Deux|00:00:03,200|00:00:04,200"));
    QVERIFY(reportAt(3520));
    QCOMPARE(display().describe(), QStringLiteral("Deux|00:00:03,200|00:00:04,200"));
    QVERIFY(reportAt(5500));
    QVERIFY(reportAt(5510));
    QCOMPARE(display().describe(), QStringLiteral("Trois|00:00:05,000|00:00:06,000"));
}

void TestSaverSubtitles::nothingFollowedBeforeAnyLoad()
{
    timeField->setText(QStringLiteral("typed"));
    QVERIFY(reportAt(1500));
    QCOMPARE(timeField->text(), QStringLiteral("typed"));

    // Real playback, with the player's reports connected as usual.
    timeField->clear();
    connect(player, &QMediaPlayer::positionChanged, window, &MainWindow::MySetSub);
    QSignalSpy reports(player, &QMediaPlayer::positionChanged);
    player->play();
    QTRY_VERIFY_WITH_TIMEOUT(reports.count() > 20, 10000);
    QVERIFY(timeField->text().isEmpty());
    QCOMPARE(display().describe(), QStringLiteral("||"));
}

void TestSaverSubtitles::walkThroughCues()
{
    QVERIFY(openSubtitles(writeFile(QStringLiteral("three.srt"), threeCues)).appeared);

    // Every change of the display, at the position that made it.
    QStringList changes;
    Display last = display();
    for (qint64 position = 0; position <= 6100; position += 10) {
        QVERIFY2(reportAt(position), qPrintable(QString::number(position)));
        QCOMPARE(timeField->text(), msToTimestamp(position));
        const Display now = display();
        if (!(now == last))
            changes << QStringLiteral("%1: %2").arg(position).arg(now.describe());
        last = now;
    }
    QCOMPARE(changes, (QStringList{
        "1010: One|00:00:01,000|00:00:02,000",
        "2010: ||",
        "3020: Two\nВторая строка|00:00:03,000|00:00:04,000",
        "4010: ||",
        "5020: Three|00:00:05,000|00:00:06,000",
        "6010: ||",
    }));
}

void TestSaverSubtitles::seekingBackwardsIntoEarlierCue()
{
    QVERIFY(openSubtitles(writeFile(QStringLiteral("three.srt"), threeCues)).appeared);
    QVERIFY(reportAt(5500));
    QVERIFY(reportAt(5510));
    QCOMPARE(display().describe(), QStringLiteral("Three|00:00:05,000|00:00:06,000"));

    QVERIFY(reportAt(1500));
    QCOMPARE(display().describe(), QStringLiteral("||"));
    QVERIFY(reportAt(1510));
    QCOMPARE(display().describe(), QStringLiteral("One|00:00:01,000|00:00:02,000"));
    QVERIFY(reportAt(1520));
    QCOMPARE(display().describe(), QStringLiteral("One|00:00:01,000|00:00:02,000"));
}

void TestSaverSubtitles::overlappingInnerCueNeverShown()
{
    QVERIFY(openSubtitles(writeFile(QStringLiteral("overlap.srt"),
                                    "1\r\n00:00:01,000 --> 00:00:05,000\r\nOuter\r\n\r\n"
                                    "2\r\n00:00:02,000 --> 00:00:03,000\r\nInner\r\n\r\n"
                                    "3\r\n00:00:06,000 --> 00:00:07,000\r\nAfter\r\n\r\n")).appeared);
    QStringList shown;
    for (qint64 position = 900; position <= 7100; position += 10) {
        QVERIFY2(reportAt(position), qPrintable(QString::number(position)));
        const QString text = subtitlePanel->toPlainText();
        if (!text.isEmpty() && (shown.isEmpty() || shown.last() != text))
            shown << text;
    }
    QCOMPARE(shown, (QStringList{"Outer", "After"}));
}

void TestSaverSubtitles::failedLoadLeavesFollowerIdle()
{
    QVERIFY(openSubtitles(writeFile(QStringLiteral("three.srt"), threeCues)).appeared);
    QVERIFY(reportAt(1500));
    QVERIFY(reportAt(1510));
    const QString shownTime = timeField->text();

    // Neither a file without cues nor one of two: the old times go, the
    // refusal stays, and no cue of either file is ever shown.
    for (const QByteArray &rejected : {QByteArray("No cues in here.\r\n"), threeCues.left(threeCues.indexOf("3\r\n"))}) {
        QVERIFY(openSubtitles(writeFile(QStringLiteral("rejected.srt"), rejected)).appeared);
        for (qint64 position : {500, 1500, 1510, 3500, 3510, 5500}) {
            QVERIFY(reportAt(position));
            QCOMPARE(timeField->text(), shownTime);
            QCOMPARE(display().describe(), notASubtitleFile + QStringLiteral("||"));
        }
    }

    // A good file makes it follow again.
    QVERIFY(openSubtitles(writeFile(QStringLiteral("three.srt"), threeCues)).appeared);
    QVERIFY(reportAt(3500));
    QVERIFY(reportAt(3510));
    QCOMPARE(display().describe(), QStringLiteral("Two\nВторая строка|00:00:03,000|00:00:04,000"));
}

void TestSaverSubtitles::playbackDrivesFollowerAndPauseKeepsCue()
{
    QVERIFY(openSubtitles(writeFile(QStringLiteral("three.srt"), threeCues)).appeared);
    player->setPosition(0);
    player->play();
    QTRY_COMPARE_WITH_TIMEOUT(display().describe(), QStringLiteral("One|00:00:01,000|00:00:02,000"), 10000);
    QVERIFY(!timeField->text().isEmpty());

    player->pause();
    QTRY_COMPARE(player->state(), QMediaPlayer::PausedState);
    const QString pausedAt = timeField->text();
    const Display shown = display();
    QVERIFY(!QTest::qWaitFor([&] { return !(display() == shown) || timeField->text() != pausedAt; }, 300));
    QCOMPARE(display().describe(), QStringLiteral("One|00:00:01,000|00:00:02,000"));
}

void TestSaverSubtitles::seeking_data()
{
    QTest::addColumn<QString>("by");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<QString>("shown");

    const QString nothing = QStringLiteral("||");
    const QString one = QStringLiteral("One|00:00:01,000|00:00:02,000");
    const QString two = QStringLiteral("Two\nВторая строка|00:00:03,000|00:00:04,000");
    const QString three = QStringLiteral("Three|00:00:05,000|00:00:06,000");
    QTest::newRow("Return into a cue") << "Return" << "00:00:03,500" << qint64(3500) << two;
    QTest::newRow("button into a cue") << "button" << "00:00:01,250" << qint64(1250) << one;
    QTest::newRow("slider into a cue") << "slider" << "" << qint64(3700) << two;
    QTest::newRow("elsewhere in the cue shown") << "Return" << "00:00:05,900" << qint64(5900) << three;
    QTest::newRow("at a cue's end") << "button" << "00:00:02,000" << qint64(2000) << one;
    QTest::newRow("at a cue's start") << "Return" << "00:00:05,000" << qint64(5000) << nothing;
    QTest::newRow("between cues") << "Return" << "00:00:02,500" << qint64(2500) << nothing;
    QTest::newRow("slider between cues") << "slider" << "" << qint64(4500) << nothing;
    QTest::newRow("after the last cue") << "Return" << "00:00:07,250" << qint64(7250) << nothing;
    QTest::newRow("empty field") << "Return" << "" << qint64(0) << nothing;
    QTest::newRow("short form reads as zero") << "button" << "1:30" << qint64(0) << nothing;
    // -1: the film's end, where a jump past it lands.
    QTest::newRow("past the end of the film") << "Return" << "00:05:00,000" << qint64(-1) << nothing;
}

// The learner pauses and jumps: the cue at the new place shows at once, as
// it would after two reports there, and the player's own report of the jump
// leaves it so.
void TestSaverSubtitles::seeking()
{
    QFETCH(QString, by);
    QFETCH(QString, typed);
    QFETCH(qint64, position);
    QFETCH(QString, shown);

    QVERIFY(openSubtitles(writeFile(QStringLiteral("three.srt"), threeCues)).appeared);
    auto jump = [this, &by](const QString &text, qint64 to) {
        if (by == QLatin1String("slider")) {
            auto *slider = window->findChild<QSlider *>();
            slider->setSliderDown(true);
            slider->setValue(int(to));
            slider->setSliderDown(false);
            return;
        }
        timeField->setText(text);
        if (by == QLatin1String("button"))
            QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("pushButton")), Qt::LeftButton);
        else
            QTest::keyClick(timeField, Qt::Key_Return);
    };
    // From a cue on screen, so that leaving it shows too.
    reports->clear();
    jump(QStringLiteral("00:00:05,500"), 5500);
    QCOMPARE(display().describe(), QStringLiteral("Three|00:00:05,000|00:00:06,000"));
    QVERIFY(waitForPositionReport(5500));

    if (position < 0)
        position = player->duration();
    reports->clear();
    jump(typed, position);
    QCOMPARE(display().describe(), shown);
    QCOMPARE(timeField->text(), msToTimestamp(position));
    QVERIFY(waitForPositionReport(position));
    QCOMPARE(player->position(), position);
    QCOMPARE(player->state(), QMediaPlayer::PausedState);
    QCOMPARE(display().describe(), shown);
}

// Paused on a subtitle, the learner saves a word, then another from the same
// subtitle: both carry its time range. Where no subtitle is shown, a save
// empties the times as it does the rest.
void TestSaverSubtitles::twoWordsFromOneSubtitle()
{
    QVERIFY(openSubtitles(writeFile(QStringLiteral("three.srt"), threeCues)).appeared);
    QVERIFY(reportAt(3500));
    QVERIFY(reportAt(3510));
    const QString words = directory->filePath(QStringLiteral("words.txt"));
    QVERIFY(triggerAnsweringFileDialog("actionCreateTextFile", words).appeared);

    auto *word = window->findChild<QTextEdit *>(QStringLiteral("textEdit_4"));
    auto *translation = window->findChild<QTextEdit *>(QStringLiteral("textEdit_5"));
    auto save = [&](const QString &typedWord, const QString &typedTranslation) {
        typeText(word, typedWord);
        typeText(translation, typedTranslation);
        return !stepOpensModal([this] { action("actionSaveYour")->trigger(); }) && word->toPlainText().isEmpty();
    };
    QVERIFY(save(QStringLiteral("two"), QStringLiteral("два")));
    QCOMPARE(display().describe(), QStringLiteral("Two\nВторая строка|00:00:03,000|00:00:04,000"));
    QVERIFY(save(QStringLiteral("line"), QStringLiteral("строка")));
    QCOMPARE(display().describe(), QStringLiteral("Two\nВторая строка|00:00:03,000|00:00:04,000"));

    // Between subtitles, times typed by hand.
    QVERIFY(reportAt(4500));
    fromField->setText(QStringLiteral("00:00:04,100"));
    toField->setText(QStringLiteral("00:00:04,400"));
    QVERIFY(save(QStringLiteral("gap"), QStringLiteral("пауза")));
    QCOMPARE(display().describe(), QStringLiteral("||"));

    QFile file(words);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()),
             clipPath + QStringLiteral("\r\ntwo --> два --> 00:00:03,000***00:00:04,000\r\n"
                                       "line --> строка --> 00:00:03,000***00:00:04,000\r\n"
                                       "gap --> пауза --> 00:00:04,100***00:00:04,400\r\n"));
}

// Markup is left out of what the learner copies; a long subtitle opens at its
// start, and part of it is selected from the keyboard.
void TestSaverSubtitles::subtitleReadAsWritten()
{
    const QByteArray longLine = QByteArray("word ").repeated(40);
    const QByteArray cue = "1\r\n00:00:01,000 --> 00:00:02,000\r\n{\\an8}<i>" + longLine + "\r\nlast</i>\r\n\r\n";
    QVERIFY(openSubtitles(writeFile(QStringLiteral("tags.srt"), cue + threeCues.mid(threeCues.indexOf("2\r\n")))).appeared);
    QVERIFY(reportAt(1500));
    QCOMPARE(subtitlePanel->toPlainText(), QString::fromLatin1(longLine + "\nlast"));
    QVERIFY(subtitlePanel->verticalScrollBar()->maximum() > 0);
    QCOMPARE(subtitlePanel->verticalScrollBar()->value(), 0);
    for (int letter = 0; letter < 4; ++letter)
        QTest::keyClick(subtitlePanel, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(subtitlePanel->textCursor().selectedText(), QStringLiteral("word"));
}

void TestSaverSubtitles::timeTypedWhilePlaying_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("encoder");
    QTest::addColumn<bool>("mustPlay");
    QTest::newRow("Theora") << "jump.ogv" << "theoraenc ! oggmux" << true;
    QTest::newRow("H.264, a key frame every 10 s")
        << "jump.mkv" << "x264enc key-int-max=250 ! h264parse ! matroskamux" << false;
}

// Typed at a person's pace while the film plays, a time stays in the field,
// and Return puts the picture there: the frame of that time comes first.
void TestSaverSubtitles::timeTypedWhilePlaying()
{
    const FormatClip film = makeRowClip(clipFolder.path(), 20);
    if (!film.skipReason.isEmpty())
        QSKIP(qPrintable(film.skipReason));
    QVERIFY2(!film.path.isEmpty(), qPrintable(film.failure));
    QVERIFY(triggerAnsweringFileDialog("actionOpenVideo", film.path).appeared);
    QVERIFY(openSubtitles(writeFile(QStringLiteral("three.srt"), threeCues)).appeared);
    QTRY_VERIFY_WITH_TIMEOUT(player->position() > 300, 10000);
    // What a window manager does when the learner comes back to Saver.
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    timeField->setFocus(Qt::TabFocusReason);
    const QString typed = QStringLiteral("00:00:17,000");
    for (int length = 1; length <= typed.size(); ++length) {
        typeText(timeField, typed.mid(length - 1, 1));
        QTest::qWait(250);
        QCOMPARE(timeField->text(), typed.left(length));
    }
    PlaybackLog log(player);
    QTest::keyClick(timeField, Qt::Key_Return);
    // The film was a few seconds in: the first frame past 10 s is the one the
    // jump brought, however long a loaded machine took to decode up to it.
    const auto landing = [&log] {
        const QVector<qint64> frames = log.frames();
        const auto first = std::find_if(frames.cbegin(), frames.cend(), [](qint64 at) { return at > 10000; });
        return first == frames.cend() ? qint64(-1) : *first;
    };
    // On a loaded machine the player may drop a seek sent while it plays; the
    // learner presses Return again. Where the film lands is what is judged.
    QTest::qWait(3000);
    if (landing() < 0)
        QTest::keyClick(timeField, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(landing() >= 0, 15000);
    QVERIFY2(qAbs(landing() - 17000) <= 40, qPrintable(QString::number(landing())));
    QCOMPARE(timeField->text(), typed);
}

QTEST_MAIN(TestSaverSubtitles)
#include "tst_saversubtitles.moc"
