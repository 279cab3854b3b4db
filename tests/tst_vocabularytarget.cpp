// SPDX-License-Identifier: GPL-3.0-or-later
// The vocabulary file saves go to: which film's file may be chosen or
// started, and the order in which a save is checked.
#include "vocabularytarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(CaptureProblem)
Q_DECLARE_METATYPE(VocabularyEntry)

class TestVocabularyTarget : public QObject
{
    Q_OBJECT

private slots:
    void videoPath_data();
    void videoPath();
    void oneCharacterTarget();
    void saveChecks_data();
    void saveChecks();
    void targetOfAnotherFilm_data();
    void targetOfAnotherFilm();
    void textSuffix_data();
    void textSuffix();

private:
    QString writeFile(const QString &name, const QByteArray &content);
    static QByteArray fileBytes(const QString &path);
    QTemporaryDir directory;
};

QString TestVocabularyTarget::writeFile(const QString &name, const QByteArray &content)
{
    const QString path = directory.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        return QString();
    return path;
}

QByteArray TestVocabularyTarget::fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<no file>");
    return file.readAll();
}

void TestVocabularyTarget::videoPath_data()
{
    QTest::addColumn<QString>("videoPath");
    QTest::addColumn<CaptureProblem>("problem");

    QTest::newRow("one character is no video") << QStringLiteral("v") << CaptureProblem::NoVideo;
    QTest::newRow("two characters are enough") << QStringLiteral("vw") << CaptureProblem::None;
    QTest::newRow("separator core would read back as a record")
        << QStringLiteral("/films/a-->b.avi") << CaptureProblem::SeparatorInVideoPath;
    QTest::newRow("arrow with one hyphen") << QStringLiteral("/films/a->b.avi") << CaptureProblem::None;
    QTest::newRow("line feed would end the path line")
        << QStringLiteral("/films/a\nb.avi") << CaptureProblem::LineBreakInVideoPath;
    QTest::newRow("carriage return reads back") << QStringLiteral("/films/a\rb.avi\r") << CaptureProblem::None;
}

void TestVocabularyTarget::videoPath()
{
    QFETCH(QString, videoPath);
    QFETCH(CaptureProblem, problem);
    QCOMPARE(VocabularyTarget::videoPathProblem(videoPath), problem);
}

void TestVocabularyTarget::oneCharacterTarget()
{
    // Dialogs return absolute paths, so a path this short can only come from here.
    const QString startDirectory = QDir::currentPath();
    QVERIFY(QDir::setCurrent(directory.path()));
    const VocabularyEntry entry{"w", "t", "", "", ""};
    VocabularyTarget target;
    target.open(QStringLiteral("x"), QString());
    const CaptureProblem oneCharacter = target.save(entry);
    const bool made = QFile::exists(QStringLiteral("x"));
    QCOMPARE(target.create(QStringLiteral("xy"), QStringLiteral("vw")), CaptureProblem::None);
    const CaptureProblem twoCharacters = target.save(entry);
    QDir::setCurrent(startDirectory);

    QCOMPARE(oneCharacter, CaptureProblem::NoTarget);
    QVERIFY(!made);
    QCOMPARE(twoCharacters, CaptureProblem::None);
    QCOMPARE(fileBytes(directory.filePath(QStringLiteral("xy"))), QByteArray("vw\r\nw --> t\r\n"));
}

void TestVocabularyTarget::saveChecks_data()
{
    QTest::addColumn<bool>("withTarget");
    QTest::addColumn<VocabularyEntry>("entry");
    QTest::addColumn<CaptureProblem>("problem");

    const QString time = QStringLiteral("00:00:01,000");
    QTest::newRow("no target")
        << false << VocabularyEntry{"w", "t", "c", time, time} << CaptureProblem::NoTarget;
    QTest::newRow("no target comes before an empty word")
        << false << VocabularyEntry{"", "t", "", time, ""} << CaptureProblem::NoTarget;
    QTest::newRow("empty word")
        << true << VocabularyEntry{"", "t", "c", time, time} << CaptureProblem::WordOrTranslationMissing;
    QTest::newRow("empty translation")
        << true << VocabularyEntry{"w", "", "", "", ""} << CaptureProblem::WordOrTranslationMissing;
    QTest::newRow("empty word comes before one time")
        << true << VocabularyEntry{"", "t", "", time, ""} << CaptureProblem::WordOrTranslationMissing;
    QTest::newRow("start only") << true << VocabularyEntry{"w", "t", "c", time, ""} << CaptureProblem::OneTimeMissing;
    QTest::newRow("end only") << true << VocabularyEntry{"w", "t", "", "", time} << CaptureProblem::OneTimeMissing;
    QTest::newRow("one time comes before a separator in the word")
        << true << VocabularyEntry{"a-->b", "t", "", "", time} << CaptureProblem::OneTimeMissing;
    QTest::newRow("separator in the word")
        << true << VocabularyEntry{"a-->b", "t", "", "", ""} << CaptureProblem::DoesNotReadBack;
    QTest::newRow("separator in the translation")
        << true << VocabularyEntry{"w", "a --> b", "", time, time} << CaptureProblem::DoesNotReadBack;
    QTest::newRow("separator made by a line break in the context")
        << true << VocabularyEntry{"w", "t", "a-\n->b", "", ""} << CaptureProblem::DoesNotReadBack;
    QTest::newRow("separator in the end time")
        << true << VocabularyEntry{"w", "t", "", time, "-->"} << CaptureProblem::DoesNotReadBack;
    QTest::newRow("joiner in the context")
        << true << VocabularyEntry{"w", "t", "x***y", "", ""} << CaptureProblem::DoesNotReadBack;
    QTest::newRow("joiner in the start time")
        << true << VocabularyEntry{"w", "t", "", "0***1", time} << CaptureProblem::DoesNotReadBack;
}

// A refused save leaves the file as it was.
void TestVocabularyTarget::saveChecks()
{
    QFETCH(bool, withTarget);
    QFETCH(VocabularyEntry, entry);
    QFETCH(CaptureProblem, problem);

    const QByteArray before("video.avi\r\n");
    const QString path = writeFile(QStringLiteral("words.txt"), before);
    VocabularyTarget target;
    if (withTarget)
        QCOMPARE(target.open(path, QString()), CaptureProblem::None);
    QCOMPARE(target.save(entry), problem);
    QCOMPARE(fileBytes(path), before);
}

void TestVocabularyTarget::targetOfAnotherFilm_data()
{
    QTest::addColumn<bool>("create");
    QTest::addColumn<QString>("videoPath");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("refused");

    const QString film = QStringLiteral("/films/film.mkv");
    const QByteArray otherFilm("/films/other.mkv\r\nw --> t\r\n");
    QTest::newRow("open of another film's file") << false << film << otherFilm << true;
    QTest::newRow("create on another film's file") << true << film << otherFilm << true;
    QTest::newRow("the same film in another folder") << true << film << QByteArray("C:\\Films\\film.mkv\r\n") << false;
    QTest::newRow("first line a record") << false << film << QByteArray("w --> t\r\n") << false;
    QTest::newRow("empty file") << true << film << QByteArray() << false;
    // Only the start of a file is read: a longer first line is no film's path.
    QTest::newRow("first line longer than a path") << false << film << QByteArray(70000, 'a') << false;
    QTest::newRow("no film open") << false << QString() << otherFilm << false;
}

// One vocabulary file holds the words of one film: a file started for
// another film is not taken, so that no entry of this film is played from
// that one. After a refusal no file is in use, and nothing was written.
void TestVocabularyTarget::targetOfAnotherFilm()
{
    QFETCH(bool, create);
    QFETCH(QString, videoPath);
    QFETCH(QByteArray, content);
    QFETCH(bool, refused);

    const QString path = writeFile(QStringLiteral("words.txt"), content);
    VocabularyTarget target;
    const CaptureProblem problem = create ? target.create(path, videoPath) : target.open(path, videoPath);
    QCOMPARE(problem, refused ? CaptureProblem::TargetOfAnotherFilm : CaptureProblem::None);
    QCOMPARE(target.filePath(), refused ? QString() : path);
    if (refused) {
        QCOMPARE(fileBytes(path), content);
        QCOMPARE(target.save(VocabularyEntry{"w", "t", "", "", ""}), CaptureProblem::NoTarget);
    }
}

void TestVocabularyTarget::textSuffix_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("named");

    QTest::newRow("bare name") << "/home/me/my words" << "/home/me/my words.txt";
    QTest::newRow("own suffix kept") << "/home/me/words.list" << "/home/me/words.list";
    QTest::newRow("bare name in a folder with a dot") << "/home/me/Film.2019/words" << "/home/me/Film.2019/words.txt";
}

void TestVocabularyTarget::textSuffix()
{
    QFETCH(QString, typed);
    QFETCH(QString, named);
    QCOMPARE(withTextSuffix(typed), named);
}

QTEST_GUILESS_MAIN(TestVocabularyTarget)
#include "tst_vocabularytarget.moc"
