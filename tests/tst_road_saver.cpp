// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow.h"
#include "road.h"
#include "saverlearner.h"
#include "testclip.h"
#include "typing.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTextEdit>
#include <QtTest>

// The saver's half of the road: film and subtitles opened through the real
// dialogs, a cue followed during playback, an entry typed and saved into a
// newly created vocabulary file, which tst_road_trainer then reads.
class TestRoadSaver : public QObject, public SaverLearner
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void saveAnEntryFromTheFilm();

private:
    void openThrough(const char *actionName, const QString &path, const QString &caption);
    template<typename Child>
    Child *child(const char *name) const
    {
        return window->findChild<Child *>(QLatin1String(name));
    }

    QString clip;
    QString subtitlePath;
};

void TestRoadSaver::initTestCase()
{
    Q_INIT_RESOURCE(saver);
    QVERIFY(QDir().mkpath(Road::directory()));
    // The saver appends to a file it is told to create; start the road afresh.
    QFile::remove(Road::vocabularyPath());
    clip = makeTestClip(Road::directory(), Road::clipSeconds);
    QVERIFY2(!clip.isEmpty(), "gst-launch-1.0 could not make the test clip");

    subtitlePath = QDir(Road::directory()).filePath(QStringLiteral("film.srt"));
    QFile subtitles(subtitlePath);
    QVERIFY(subtitles.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(subtitles.write(Road::subtitles), qint64(Road::subtitles.size()));
}

void TestRoadSaver::cleanupTestCase()
{
    stopSaver();
}

void TestRoadSaver::openThrough(const char *actionName, const QString &path, const QString &caption)
{
    const FileDialogSeen seen = triggerAnsweringFileDialog(actionName, path);
    QVERIFY2(seen.appeared, actionName);
    QCOMPARE(seen.caption, caption);
}

void TestRoadSaver::saveAnEntryFromTheFilm()
{
    QVERIFY(startSaver());
    auto *wordField = child<QTextEdit>("textEdit_4");
    auto *translationField = child<QTextEdit>("textEdit_5");
    auto *contextField = child<QTextEdit>("textEdit_3");
    QVERIFY(wordField && translationField && contextField);

    openThrough("actionOpenVideo", clip, QStringLiteral("Open A Video File"));
    QTRY_COMPARE_WITH_TIMEOUT(player->state(), QMediaPlayer::PlayingState, 15000);
    openThrough("actionOpenSub", subtitlePath, QStringLiteral("Open A Subtitle File"));

    // The learner waits for the line, pauses, and copies it as the context.
    QTRY_COMPARE_WITH_TIMEOUT(subtitlePanel->toPlainText(), Road::context, 20000);
    player->pause();
    QTRY_COMPARE_WITH_TIMEOUT(player->state(), QMediaPlayer::PausedState, 15000);
    QCOMPARE(subtitlePanel->toPlainText(), Road::context);
    QCOMPARE(fromField->text(), QLatin1String(Road::cueStart));
    QCOMPARE(toField->text(), QLatin1String(Road::cueEnd));

    typeText(wordField, Road::word);
    typeText(translationField, Road::translation);
    typeText(contextField, subtitlePanel->toPlainText());
    QCOMPARE(translationField->toPlainText(), Road::translation);

    openThrough("actionCreateTextFile", Road::vocabularyPath(), QStringLiteral("Create File to Write"));
    QCOMPARE(child<QStatusBar>("statusBar")->currentMessage(), QStringLiteral("The file opend"));

    QVERIFY(!stepOpensModal([this] { action("actionSaveYour")->trigger(); }));
    QCOMPARE(wordField->toPlainText(), QString());

    QFile saved(Road::vocabularyPath());
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(saved.readAll()),
             clip + QStringLiteral("\r\nrun out --> закончиться --> We ran out-*-of time. --> "
                                   "00:00:02,000***00:00:04,500\r\n"));
}

QTEST_MAIN(TestRoadSaver)
#include "tst_road_saver.moc"
