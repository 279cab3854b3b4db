// SPDX-License-Identifier: GPL-3.0-or-later
#include "filesizelimit.h"
#include "mainwindow.h"
#include "modaldriver.h"
#include "saverlearner.h"
#include "vocabularytarget.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QSlider>
#include <QStatusBar>
#include <QTextEdit>
#include <QProcess>
#include <QtTest>
#include <memory>

#include <sys/stat.h>

namespace {

const QString noVideoText = QStringLiteral("You should open video file.");
const QString separatorInFilmText = QStringLiteral("The film's path must not contain \"-->\".");
const QString noTargetText = QStringLiteral("You should open or create text file.");
const QString wordMissingText =
    QStringLiteral("You should fill \"Word\" and \"Translation\" at least. ");
const QString oneTimeText = QStringLiteral("You should fill both fields of time.");
const QString notOpenedText = QStringLiteral("The file could not be opened for writing.");
const QString notWrittenText = QStringLiteral("The entry could not be written to the file.");
const QString notStartedText = QStringLiteral("The file could not be written.");
const QString inUseText = QStringLiteral("The file is in use by another program.");
const QRect wideGeometry(60, 60, 300, 20);
const QString ambiguousText = QStringLiteral("Remove \"-->\" and \"***\" from the fields.");
const QString openedText = QStringLiteral("The file opend");
const QString otherFilmText = QStringLiteral("The file belongs to another film.");

} // namespace

Q_DECLARE_METATYPE(VocabularyEntry)

namespace {

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class TestVocabularyCapture : public QObject, public SaverLearner
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void refusedSave_data();
    void refusedSave();
    void createRefused_data();
    void createRefused();
    void createOnNewFile();
    void createOnFileWithRecords();
    void createCancelledEmptiesTarget();
    void createOnFullDevice();
    void createAddsTextSuffix_data();
    void createAddsTextSuffix();
    void createOpensFolderByName_data();
    void createOpensFolderByName();
    void targetOfAnotherFilm_data();
    void targetOfAnotherFilm();
    void confirmationGoesWithTarget_data();
    void confirmationGoesWithTarget();
    void openWritesNothing_data();
    void openWritesNothing();
    void savedRecord_data();
    void savedRecord();
    void twoSavesTwoLines();
    void unopenableTarget();
    void unwritableTarget_data();
    void unwritableTarget();
    void busyTarget();
    void waitForTheLock_data();
    void waitForTheLock();
    void workedExample();

private:
    static QByteArray fileBytes(const QString &path);
    void openVideo(const QString &path);
    void openTarget(const QString &path, ModalSeen *refusal = nullptr);
    void createTarget(const QString &path, ModalSeen *refusal = nullptr);
    void type(const VocabularyEntry &entry);
    VocabularyEntry shownEntry() const;
    ModalSeen triggerExpectingAttention(const char *actionName);
    void trigger(const char *actionName);
    void answerFileDialogOf(const char *actionName, const QString &path, ModalSeen *refusal = nullptr);
    void verifyAttention(const ModalSeen &seen, const QString &text, const QRect &geometry);
    void verifyEntryKept(const VocabularyEntry &entry);
    void saveExpectingNoRefusal();
    QString statusText() const;

    FileDialogSeen fileDialogSeen;
    ModalSeen attentionSeen;
    const QString startDirectory = QDir::currentPath();
};

void TestVocabularyCapture::init()
{
    QVERIFY(startSaver());
}

void TestVocabularyCapture::cleanup()
{
    stopSaver();
    QDir::setCurrent(startDirectory);
}

QByteArray TestVocabularyCapture::fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<no file>");
    return file.readAll();
}

void TestVocabularyCapture::trigger(const char *actionName)
{
    QAction *item = action(actionName);
    QVERIFY2(item, actionName);
    item->trigger();
}

void TestVocabularyCapture::openVideo(const QString &path)
{
    // The films here are only names; the player's refusal of each is closed
    // before the next step, so that it cannot stand for a later one.
    ModalSeen notPlayed;
    closeNextModal(&notPlayed, "My_Dialog");
    answerFileDialogOf("actionOpenVideo", path);
    QVERIFY(fileDialogSeen.appeared);
    QTRY_COMPARE_WITH_TIMEOUT(notPlayed.labelText, QStringLiteral("The film could not be played."), 10000);
}

void TestVocabularyCapture::openTarget(const QString &path, ModalSeen *refusal)
{
    answerFileDialogOf("actionOpenTextFile", path, refusal);
    QVERIFY(fileDialogSeen.appeared);
    QCOMPARE(fileDialogSeen.caption, QStringLiteral("Open Text File to Write"));
    QCOMPARE(fileDialogSeen.nameFilters, QStringList{QStringLiteral("Text File (*.txt)")});
    QVERIFY(!fileDialogSeen.saveDialog);
}

void TestVocabularyCapture::createTarget(const QString &path, ModalSeen *refusal)
{
    answerFileDialogOf("actionCreateTextFile", path, refusal);
    QVERIFY(fileDialogSeen.appeared);
    QCOMPARE(fileDialogSeen.caption, QStringLiteral("Create File to Write"));
    QCOMPARE(fileDialogSeen.nameFilters, QStringList{QStringLiteral("Text File (*.txt)")});
    QVERIFY(fileDialogSeen.saveDialog);
}

void TestVocabularyCapture::type(const VocabularyEntry &entry)
{
    window->findChild<QTextEdit *>(QStringLiteral("textEdit_4"))->setPlainText(entry.word);
    window->findChild<QTextEdit *>(QStringLiteral("textEdit_5"))->setPlainText(entry.translation);
    window->findChild<QTextEdit *>(QStringLiteral("textEdit_3"))->setPlainText(entry.context);
    window->findChild<QLineEdit *>(QStringLiteral("lineEdit_1"))->setText(entry.start);
    window->findChild<QLineEdit *>(QStringLiteral("lineEdit_2"))->setText(entry.end);
}

VocabularyEntry TestVocabularyCapture::shownEntry() const
{
    return {window->findChild<QTextEdit *>(QStringLiteral("textEdit_4"))->toPlainText(),
            window->findChild<QTextEdit *>(QStringLiteral("textEdit_5"))->toPlainText(),
            window->findChild<QTextEdit *>(QStringLiteral("textEdit_3"))->toPlainText(),
            window->findChild<QLineEdit *>(QStringLiteral("lineEdit_1"))->text(),
            window->findChild<QLineEdit *>(QStringLiteral("lineEdit_2"))->text()};
}

ModalSeen TestVocabularyCapture::triggerExpectingAttention(const char *actionName)
{
    attentionSeen = {};
    ModalWatch watch = closeNextModal(&attentionSeen);
    trigger(actionName);
    const ModalSeen seen = attentionSeen;
    if (!seen.appeared)
        watch.cancel();
    return seen;
}

void TestVocabularyCapture::answerFileDialogOf(const char *actionName, const QString &path, ModalSeen *refusal)
{
    fileDialogSeen = triggerAnsweringFileDialog(actionName, path, refusal);
}

void TestVocabularyCapture::verifyAttention(const ModalSeen &seen, const QString &text,
                                            const QRect &geometry)
{
    QVERIFY(seen.appeared);
    QCOMPARE(seen.className, QStringLiteral("My_Dialog"));
    QCOMPARE(seen.title, QStringLiteral("Atention!"));
    QCOMPARE(seen.labelText, text);
    QCOMPARE(seen.labelGeometry, geometry);
    QCOMPARE(seen.fontFamily, QStringLiteral("Roboto"));
    QCOMPARE(seen.fontPointSize, 10);
}

void TestVocabularyCapture::verifyEntryKept(const VocabularyEntry &entry)
{
    const VocabularyEntry shown = shownEntry();
    QCOMPARE(shown.word, entry.word);
    QCOMPARE(shown.translation, entry.translation);
    QCOMPARE(shown.context, entry.context);
    QCOMPARE(shown.start, entry.start);
    QCOMPARE(shown.end, entry.end);
}

void TestVocabularyCapture::saveExpectingNoRefusal()
{
    QVERIFY(!stepOpensModal([this] { trigger("actionSaveYour"); }));
}

QString TestVocabularyCapture::statusText() const
{
    return window->findChild<QStatusBar *>(QStringLiteral("statusBar"))->currentMessage();
}

// The order of the checks is the target's; here each refusal's words.
void TestVocabularyCapture::refusedSave_data()
{
    QTest::addColumn<bool>("withTarget");
    QTest::addColumn<VocabularyEntry>("entry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");

    const QString time = QStringLiteral("00:00:01,000");
    const QRect targetGeometry(90, 60, 230, 20);
    const QRect wordGeometry(50, 60, 300, 20);
    const QRect timeGeometry(90, 60, 300, 20);
    const QRect soundGeometry(60, 60, 300, 20);

    QTest::newRow("no target")
        << false << VocabularyEntry{"w", "t", "c", time, time} << noTargetText << targetGeometry;
    QTest::newRow("empty word")
        << true << VocabularyEntry{"", "t", "c", time, time} << wordMissingText << wordGeometry;
    QTest::newRow("start only")
        << true << VocabularyEntry{"w", "t", "c", time, ""} << oneTimeText << timeGeometry;
    QTest::newRow("separator in the word")
        << true << VocabularyEntry{"a-->b", "t", "", "", ""} << ambiguousText << soundGeometry;
}

void TestVocabularyCapture::refusedSave()
{
    QFETCH(bool, withTarget);
    QFETCH(VocabularyEntry, entry);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);

    const QByteArray before("video.avi\r\n");
    const QString target = writeFile(QStringLiteral("words.txt"), before);
    if (withTarget)
        openTarget(target);
    type(entry);
    verifyAttention(triggerExpectingAttention("actionSaveYour"), text, geometry);
    verifyEntryKept(entry);
    QCOMPARE(fileBytes(target), before);
}

void TestVocabularyCapture::createRefused_data()
{
    QTest::addColumn<QString>("videoName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("no video") << QString() << noVideoText << QRect(115, 60, 230, 20);
    // The trainer would take the video path line for a record.
    QTest::newRow("separator in the film's path")
        << QStringLiteral("a --> b.avi") << separatorInFilmText << QRect(60, 60, 300, 20);
    // It would end the video path line there.
    QTest::newRow("line feed in the film's path") << QStringLiteral("a\nb.avi")
        << QStringLiteral("The film's path must not contain a line break.") << QRect(60, 60, 300, 20);
}

void TestVocabularyCapture::createRefused()
{
    QFETCH(QString, videoName);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);

    // The target was chosen before the film.
    const QByteArray before("video.avi\r\n");
    const QString earlier = writeFile(QStringLiteral("earlier.txt"), before);
    openTarget(earlier);
    if (!videoName.isEmpty())
        openVideo(writeFile(videoName));
    window->findChild<QStatusBar *>(QStringLiteral("statusBar"))->clearMessage();

    verifyAttention(triggerExpectingAttention("actionCreateTextFile"), text, geometry);
    QCOMPARE(statusText(), QString());

    const QString wanted = directory->filePath(QStringLiteral("wanted.txt"));
    // Again, ready to answer a file dialog: the attention dialog comes
    // instead and the driver closes it.
    fileDialogSeen = {};
    answerFileDialog(wanted, &fileDialogSeen);
    trigger("actionCreateTextFile");
    QVERIFY(!fileDialogSeen.appeared);
    QVERIFY(!QFile::exists(wanted));

    // The earlier target is still the one saves go to.
    type({"w", "t", "", "", ""});
    saveExpectingNoRefusal();
    QCOMPARE(fileBytes(earlier), before + "w --> t\r\n");
}

void TestVocabularyCapture::createOnNewFile()
{
    const QString video = writeFile(QStringLiteral("фильм.avi"), "not a film");
    openVideo(video);
    const QString target = directory->filePath(QStringLiteral("words.txt"));
    createTarget(target);
    QCOMPARE(fileBytes(target), video.toUtf8() + "\r\n");
    QCOMPARE(statusText(), openedText);
    // Read in full: the status bar draws it from its left margin up to the slider, and cuts it there.
    const QStatusBar *statusBar = window->statusBar();
    const int room = statusBar->findChild<QSlider *>()->x() - 8;
    const int needed = statusBar->fontMetrics().horizontalAdvance(openedText);
    QVERIFY2(needed <= room, qPrintable(QStringLiteral("%1 pixels wide, %2 of room").arg(needed).arg(room)));
}

void TestVocabularyCapture::createOnFileWithRecords()
{
    // Started for the same film, where it stood on another computer.
    const QByteArray before("D:\\films\\film.avi\r\nw --> t\r\n");
    const QString target = writeFile(QStringLiteral("words.txt"), before);
    const QString video = writeFile(QStringLiteral("film.avi"));
    openVideo(video);
    createTarget(target);
    QCOMPARE(fileBytes(target), before + video.toUtf8() + "\r\n");
    QCOMPARE(statusText(), openedText);
}

void TestVocabularyCapture::createCancelledEmptiesTarget()
{
    openVideo(writeFile(QStringLiteral("demo.avi")));
    const QString first = directory->filePath(QStringLiteral("words.txt"));
    createTarget(first);
    const QByteArray started = fileBytes(first);

    createTarget(QString());
    const VocabularyEntry entry{"w", "t", "", "", ""};
    type(entry);
    verifyAttention(triggerExpectingAttention("actionSaveYour"), noTargetText,
                    QRect(90, 60, 230, 20));
    verifyEntryKept(entry);
    QCOMPARE(fileBytes(first), started);
}

void TestVocabularyCapture::createOnFullDevice()
{
    openVideo(writeFile(QStringLiteral("demo.avi")));
    const QString target = directory->filePath(QStringLiteral("words.txt"));
    ModalSeen refusal;
    {
        // A disk with room for a few bytes only.
        FileSizeLimit limit(4);
        QVERIFY(limit.isSet());
        createTarget(target, &refusal);
    }
    // The video path line could not be written: no confirmation, no file.
    verifyAttention(refusal, notStartedText, QRect(90, 60, 230, 20));
    QCOMPARE(statusText(), QString());
    QVERIFY(!QFile::exists(target));
}

void TestVocabularyCapture::createAddsTextSuffix_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("created");
    QTest::addColumn<QByteArray>("before");

    // The dialog asks about the file the name ends up as, which keeps its lines.
    QTest::newRow("bare name of an existing file") << "words" << "words.txt" << QByteArray("demo.avi\r\nw --> t\r\n");
    // "@" stands for the name of the folder the dialog is in.
    QTest::newRow("bare name typed from a folder above") << "../@/words" << "words.txt" << QByteArray();
}

void TestVocabularyCapture::createAddsTextSuffix()
{
    QFETCH(QString, typed);
    QFETCH(QString, created);
    QFETCH(QByteArray, before);

    const QString video = writeFile(QStringLiteral("demo.avi"));
    openVideo(video);
    QVERIFY(QDir(directory->path()).mkdir(QStringLiteral("Film.2019")));
    if (!before.isEmpty())
        writeFile(created, before);
    createTarget(directory->filePath(typed.replace(QLatin1Char('@'), QFileInfo(directory->path()).fileName())));
    QCOMPARE(fileDialogSeen.askedToReplace, !before.isEmpty());
    QStringList files{created, QStringLiteral("demo.avi")};
    files.sort();
    QStringList found;
    for (QDirIterator each(directory->path(), QDir::Files, QDirIterator::Subdirectories); each.hasNext();)
        found << QDir(directory->path()).relativeFilePath(each.next());
    found.sort();
    QCOMPARE(found, files);
    QCOMPARE(fileBytes(directory->filePath(created)), before + video.toUtf8() + "\r\n");
    QCOMPARE(statusText(), openedText);
}

void TestVocabularyCapture::createOpensFolderByName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("a folder's name") << "films";
    QTest::newRow("a path of folders with a dot") << "Film.2019/b";
}

// A folder's name typed into the create dialog opens that folder, with the
// name field empty and the filter kept; a name typed there then makes the
// file in it.
void TestVocabularyCapture::createOpensFolderByName()
{
    QFETCH(QString, typed);
    const QString video = writeFile(QStringLiteral("demo.avi"));
    openVideo(video);
    QVERIFY(QDir(directory->path()).mkpath(typed));
    const QString folder = directory->filePath(typed);
    QString shownFolder;
    QString nameLeft;
    QString filterLeft;
    whenModalAppears([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        auto *nameField = modal->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!dialog || !nameField) {
            modal->close();
            return;
        }
        // The learner has gone to the folder above it and types the name alone.
        dialog->setDirectory(directory->path());
        nameField->setText(typed);
        QTest::keyClick(nameField, Qt::Key_Return);
        shownFolder = dialog->isVisible() ? dialog->directory().absolutePath() : QString();
        nameLeft = nameField->text();
        filterLeft = dialog->selectedNameFilter();
        QTest::keyClicks(nameField, QStringLiteral("words"));
        QTest::keyClick(nameField, Qt::Key_Return);
    });
    trigger("actionCreateTextFile");
    QCOMPARE(shownFolder, folder);
    QCOMPARE(nameLeft, QString());
    QCOMPARE(filterLeft, QStringLiteral("Text File (*.txt)"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("words.txt")});
    QCOMPARE(fileBytes(QDir(folder).filePath(QStringLiteral("words.txt"))), video.toUtf8() + "\r\n");
    QVERIFY(!QFile::exists(folder + QStringLiteral(".txt")));
    QCOMPARE(statusText(), openedText);
}

void TestVocabularyCapture::targetOfAnotherFilm_data()
{
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<bool>("filmOpen");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("refused");

    const QByteArray otherFilm("/films/other.mkv\r\nw --> t\r\n");
    QTest::newRow("open of another film's file") << "actionOpenTextFile" << true << otherFilm << true;
    QTest::newRow("create on another film's file") << "actionCreateTextFile" << true << otherFilm << true;
}

// One vocabulary file holds the words of one film: a file started for
// another film is not taken, so that no entry of this film is played from
// that one. After a refusal no file is in use.
void TestVocabularyCapture::targetOfAnotherFilm()
{
    QFETCH(QString, actionName);
    QFETCH(bool, filmOpen);
    QFETCH(QByteArray, content);
    QFETCH(bool, refused);

    if (filmOpen)
        openVideo(writeFile(QStringLiteral("film.mkv")));
    const QString target = writeFile(QStringLiteral("words.txt"), content);
    attentionSeen = {};
    ModalWatch watch = closeNextModal(&attentionSeen, "My_Dialog");
    QVERIFY(triggerAnsweringFileDialog(actionName.toLatin1().constData(), target).appeared);
    if (!attentionSeen.appeared)
        watch.cancel();
    QCOMPARE(attentionSeen.appeared, refused);
    QCOMPARE(statusText(), refused ? QString() : openedText);
    if (!refused)
        return;
    verifyAttention(attentionSeen, otherFilmText, QRect(60, 60, 300, 20));
    QCOMPARE(fileBytes(target), content);
    const VocabularyEntry entry{"w", "t", "", "", ""};
    type(entry);
    verifyAttention(triggerExpectingAttention("actionSaveYour"), noTargetText, QRect(90, 60, 230, 20));
    QCOMPARE(fileBytes(target), content);
}

void TestVocabularyCapture::confirmationGoesWithTarget_data()
{
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("refusal");

    // A cancelled choice is no problem to be told about.
    QTest::newRow("open cancelled") << "actionOpenTextFile" << "" << "";
    QTest::newRow("create cancelled") << "actionCreateTextFile" << "" << "";
    QTest::newRow("open of a pipe") << "actionOpenTextFile" << "pipe.txt" << notOpenedText;
    QTest::newRow("create in a missing folder") << "actionCreateTextFile" << "missing/words.txt" << notOpenedText;
    QTest::newRow("create on a pipe") << "actionCreateTextFile" << "pipe.txt" << notOpenedText;
}

// After a good open, a choice that ends with no target in use takes the
// confirmation away with it, and says why at once.
void TestVocabularyCapture::confirmationGoesWithTarget()
{
    QFETCH(QString, actionName);
    QFETCH(QString, chosen);
    QFETCH(QString, refusal);

    openVideo(writeFile(QStringLiteral("demo.avi")));
    openTarget(writeFile(QStringLiteral("words.txt"), "demo.avi\r\n"));
    QCOMPARE(statusText(), openedText);
    QVERIFY(::mkfifo(QFile::encodeName(directory->filePath(QStringLiteral("pipe.txt"))).constData(), 0644) == 0);

    const QString path = chosen.isEmpty() ? QString() : directory->filePath(chosen);
    ModalSeen seen;
    QVERIFY(triggerAnsweringFileDialog(actionName.toLatin1().constData(), path, &seen).appeared);
    if (refusal.isEmpty())
        QVERIFY(!seen.appeared);
    else
        verifyAttention(seen, refusal, wideGeometry);
    QCOMPARE(statusText(), QString());
    const VocabularyEntry entry{"w", "t", "", "", ""};
    type(entry);
    QVERIFY(triggerExpectingAttention("actionSaveYour").appeared);
    verifyEntryKept(entry);
}

void TestVocabularyCapture::openWritesNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("file with records") << QByteArray("demo.avi\r\nw --> t\r\n");
    QTest::newRow("no line terminator at the end") << QByteArray("demo.avi");
}

void TestVocabularyCapture::openWritesNothing()
{
    QFETCH(QByteArray, content);
    const QString target = writeFile(QStringLiteral("words.txt"), content);
    openTarget(target);
    QCOMPARE(fileBytes(target), content);
    QCOMPARE(statusText(), openedText);
}

// The record's own rules are the record's; here what the window reads of its fields.
void TestVocabularyCapture::savedRecord_data()
{
    QTest::addColumn<VocabularyEntry>("entry");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("context and time range")
        << VocabularyEntry{"hello", "hi", "Hi there.", "00:00:01,000", "00:00:02,000"}
        << QByteArray("hello --> hi --> Hi there. --> 00:00:01,000***00:00:02,000\r\n");
    QTest::newRow("three-line context")
        << VocabularyEntry{"w", "t", "one\ntwo\nthree", "", ""}
        << QByteArray("w --> t --> one-*-two-*-three\r\n");
}

void TestVocabularyCapture::savedRecord()
{
    QFETCH(VocabularyEntry, entry);
    QFETCH(QByteArray, line);

    const QString video = writeFile(QStringLiteral("demo.avi"));
    openVideo(video);
    const QString target = directory->filePath(QStringLiteral("words.txt"));
    createTarget(target);
    type(entry);
    saveExpectingNoRefusal();
    QCOMPARE(fileBytes(target), video.toUtf8() + "\r\n" + line);
    verifyEntryKept({});
    QCOMPARE(statusText(), openedText);
}

void TestVocabularyCapture::twoSavesTwoLines()
{
    const QString target = writeFile(QStringLiteral("words.txt"), "demo.avi\r\n");
    openTarget(target);
    type({"one", "1", "", "", ""});
    saveExpectingNoRefusal();
    type({"two", "2", "", "", ""});
    saveExpectingNoRefusal();
    QCOMPARE(fileBytes(target), QByteArray("demo.avi\r\none --> 1\r\ntwo --> 2\r\n"));
}

void TestVocabularyCapture::unopenableTarget()
{
    const VocabularyEntry entry{"w", "t", "c", "00:00:01,000", "00:00:02,000"};
    const QRect geometry(60, 60, 300, 20);

    // A device would take every record and keep none.
    type(entry);
    ModalSeen refusal;
    openTarget(QStringLiteral("/dev/null"), &refusal);
    verifyAttention(refusal, notOpenedText, geometry);
    QCOMPARE(statusText(), QString());
    verifyAttention(triggerExpectingAttention("actionSaveYour"), notOpenedText, geometry);
    verifyEntryKept(entry);

    // Chosen in a folder that does not exist: the create action cannot start it.
    openVideo(writeFile(QStringLiteral("demo.avi")));
    const QString missing = directory->filePath(QStringLiteral("missing/words.txt"));
    createTarget(missing, &refusal);
    verifyAttention(refusal, notOpenedText, geometry);
    QCOMPARE(statusText(), QString());
    // The fields are checked before the file is tried.
    const VocabularyEntry ambiguous{"a-->b", "t", "", "", ""};
    type(ambiguous);
    verifyAttention(triggerExpectingAttention("actionSaveYour"), ambiguousText, geometry);
    verifyEntryKept(ambiguous);
    type(entry);
    verifyAttention(triggerExpectingAttention("actionSaveYour"), notOpenedText, geometry);
    verifyEntryKept(entry);
    QVERIFY(!QFile::exists(missing));

    // Opened fine, then deleted: a save does not make it again.
    const QString deleted = writeFile(QStringLiteral("deleted.txt"), "demo.avi\r\n");
    openTarget(deleted);
    QVERIFY(QFile::remove(deleted));
    verifyAttention(triggerExpectingAttention("actionSaveYour"), notOpenedText, geometry);
    verifyEntryKept(entry);
    QVERIFY(!QFile::exists(deleted));

    // Opened fine, then its folder went away.
    QVERIFY(QDir(directory->path()).mkdir(QStringLiteral("sub")));
    const QString vanishing = writeFile(QStringLiteral("sub/words.txt"), "demo.avi\r\n");
    openTarget(vanishing);
    QVERIFY(QDir(directory->filePath(QStringLiteral("sub"))).removeRecursively());
    verifyAttention(triggerExpectingAttention("actionSaveYour"), notOpenedText, geometry);
    verifyEntryKept(entry);
    QVERIFY(!QFile::exists(vanishing));
}

void TestVocabularyCapture::unwritableTarget_data()
{
    // How much the file may still grow.
    QTest::addColumn<qint64>("room");

    QTest::newRow("disk fills in the middle of the record") << qint64(4);
}

void TestVocabularyCapture::unwritableTarget()
{
    QFETCH(qint64, room);

    const QByteArray before("demo.avi\r\n");
    const QString target = writeFile(QStringLiteral("words.txt"), before);
    openTarget(target);
    QCOMPARE(statusText(), openedText);
    const VocabularyEntry entry{QStringLiteral("ёж"), "hedgehog", "", "", ""};
    type(entry);
    {
        FileSizeLimit limit(before.size() + room);
        QVERIFY(limit.isSet());
        verifyAttention(triggerExpectingAttention("actionSaveYour"), notWrittenText,
                        QRect(60, 60, 300, 20));
    }
    verifyEntryKept(entry);

    // Nothing of the refused record is left to run into the next one.
    QCOMPARE(fileBytes(target), before);
    saveExpectingNoRefusal();
    QCOMPARE(fileBytes(target), before + "\xD1\x91\xD0\xB6 --> hedgehog\r\n");
}

// Another program holds the file's lock for longer than a save waits: a
// second Saver in the middle of a save, a sync tool.
void TestVocabularyCapture::busyTarget()
{
    openVideo(writeFile(QStringLiteral("demo.avi")));
    const QByteArray before("demo.avi\r\n");
    const QString target = writeFile(QStringLiteral("words.txt"), before);
    openTarget(target);
    QProcess holder;
    holder.start(QStringLiteral("sh"), {QStringLiteral("-c"),
                                        QStringLiteral("exec 9>>\"$0\" && flock -x 9 && echo locked && exec sleep 60"),
                                        target});
    QVERIFY(holder.waitForReadyRead(10000));

    // Choosing it again says so at once.
    ModalSeen openRefusal;
    openTarget(target, &openRefusal);
    verifyAttention(openRefusal, inUseText, wideGeometry);
    QCOMPARE(statusText(), QString());

    const VocabularyEntry entry{"w", "t", "c", "", ""};
    type(entry);
    PaintCounter counter;
    window->installEventFilter(&counter);
    QTimer repaint;
    connect(&repaint, &QTimer::timeout, window, [this] { window->update(); });
    repaint.start(50);
    int paintsBeforeRefusal = -1;
    ModalSeen seen;
    whenModalAppears([&](QWidget *) {
        paintsBeforeRefusal = counter.paints;
        closeNextModal(&seen);
    });
    trigger("actionSaveYour");
    repaint.stop();
    window->removeEventFilter(&counter);
    // The window did not freeze while the save waited for the lock.
    QVERIFY2(paintsBeforeRefusal > 5, qPrintable(QString::number(paintsBeforeRefusal)));
    verifyAttention(seen, inUseText, wideGeometry);
    verifyEntryKept(entry);

    // Nor can the file be started while it is held.
    ModalSeen refusal;
    createTarget(target, &refusal);
    verifyAttention(refusal, inUseText, wideGeometry);
    QCOMPARE(statusText(), QString());
    QCOMPARE(fileBytes(target), before);

    // Let go, the same entry goes in.
    holder.kill();
    QVERIFY(holder.waitForFinished(10000));
    saveExpectingNoRefusal();
    verifyEntryKept({});
    QCOMPARE(fileBytes(target), before + "w --> t --> c\r\n");
}

void TestVocabularyCapture::waitForTheLock_data()
{
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<int>("heldForSeconds");

    QTest::newRow("save, the lock freed after a second") << "actionSaveYour" << 1;
    QTest::newRow("save, the lock held") << "actionSaveYour" << 60;
}

// While the window waits for another program's lock, what does not come from
// the learner's mouse and keys still comes: a second save from a timer or a
// queued call (as an accessibility client's press arrives), a close from the
// desktop session. The entry is saved once, and the window closes after.
void TestVocabularyCapture::waitForTheLock()
{
    QFETCH(QString, actionName);
    QFETCH(int, heldForSeconds);

    openVideo(writeFile(QStringLiteral("demo.avi")));
    const QByteArray before("demo.avi\r\n");
    const QString target = writeFile(QStringLiteral("words.txt"), before);
    openTarget(target);
    type({"w", "t", "", "", ""});
    QProcess holder;
    holder.start(QStringLiteral("sh"), {QStringLiteral("-c"),
                                        QStringLiteral("exec 9>>\"$0\" && flock -x 9 && echo locked && exec sleep $1"),
                                        target, QString::number(heldForSeconds)});
    QVERIFY(holder.waitForReadyRead(10000));

    // They come at the first turn of the event loop: inside the action's own
    // loop (its file dialog, or the wait itself).
    QTimer::singleShot(0, window, [this] {
        action("actionSaveYour")->trigger();
        QMetaObject::invokeMethod(window, "on_actionSaveYour_triggered", Qt::QueuedConnection);
        window->close();
    });
    ModalSeen refusal;
    if (actionName == QLatin1String("actionCreateTextFile")) {
        createTarget(target, &refusal);
    } else {
        ModalWatch watch = closeNextModal(&refusal);
        trigger("actionSaveYour");
        if (!refusal.appeared)
            watch.cancel();
    }
    QTRY_VERIFY(window.isNull());
    holder.kill();
    holder.waitForFinished(10000);
    QCOMPARE(refusal.appeared, heldForSeconds > 2);
    QCOMPARE(fileBytes(target), heldForSeconds > 2 ? before : before + "w --> t\r\n");
}

void TestVocabularyCapture::workedExample()
{
    // The video path comes from a real file; the records match byte for byte.
    const QString video = writeFile(QStringLiteral("demo.avi"));
    openVideo(video);
    const QString target = directory->filePath(QStringLiteral("words.txt"));
    createTarget(target);
    type({"run out", "to finish", "We ran out\nof time.", "00:01:02,500", "00:01:04,000"});
    saveExpectingNoRefusal();
    type({"hello", "hi", "", "", ""});
    saveExpectingNoRefusal();

    const QByteArray records =
        "run out --> to finish --> We ran out-*-of time. --> 00:01:02,500***00:01:04,000\r\n"
        + QByteArray::fromHex("68656C6C6F202D2D3E2068690D0A");
    QCOMPARE(fileBytes(target), video.toUtf8() + "\r\n" + records);
}

QTEST_MAIN(TestVocabularyCapture)
#include "tst_vocabularycapture.moc"
