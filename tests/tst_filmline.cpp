// SPDX-License-Identifier: GPL-3.0-or-later
// The film line of a vocabulary file's first line: one rule, so that the
// saver never takes a file for a film other than the one the trainer plays.
#include "vocabularyformat.h"
#include "vocabularyreader.h"
#include "vocabularytarget.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>
#include <string_view>

class TestFilmLine : public QObject
{
    Q_OBJECT

private slots:
    void filmLine_data();
    void filmLine();
};

void TestFilmLine::filmLine_data()
{
    QTest::addColumn<QByteArray>("firstLine");
    QTest::addColumn<bool>("isFilmLine");
    QTest::addColumn<QString>("film");

    QTest::newRow("a path") << QByteArray("/films/demo.avi") << true << "/films/demo.avi";
    QTest::newRow("byte-order mark dropped") << QByteArray("\xEF\xBB\xBF/films/demo.avi") << true << "/films/demo.avi";
    QTest::newRow("a record names no film") << QByteArray("w --> t") << false << QString();
    QTest::newRow("the separator core first is no record") << QByteArray("--> x.avi") << true << "--> x.avi";
}

void TestFilmLine::filmLine()
{
    QFETCH(QByteArray, firstLine);
    QFETCH(bool, isFilmLine);
    QFETCH(QString, film);
    const std::optional<QString> filmLine =
        VocabularyFormat::filmLineOf(std::string_view(firstLine.constData(), size_t(firstLine.size())));
    QCOMPARE(filmLine.has_value(), isFilmLine);
    QCOMPARE(filmLine.value_or(QString()), film);

    // The trainer plays that film; the saver takes the file for that film only.
    QByteArray bytes = firstLine + "\r\nw --> t\r\n";
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    QCOMPARE(readVocabulary(device)->videoPath, film);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("words.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QCOMPARE(targetProblem(path, QStringLiteral("/films/another.avi")),
             isFilmLine ? CaptureProblem::TargetOfAnotherFilm : CaptureProblem::None);
}

QTEST_GUILESS_MAIN(TestFilmLine)
#include "tst_filmline.moc"
