// SPDX-License-Identifier: GPL-3.0-or-later
#include "cuetext.h"
#include "subtitles.h"
#include "timestamp.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextCodec>
#include <QtTest>

namespace {

// "start-end: line|line" for each cue, in table order.
QStringList describe(const SubtitleTable &table)
{
    QStringList cues;
    for (auto cue = table.constBegin(); cue != table.constEnd(); ++cue)
        cues << QStringLiteral("%1-%2: %3").arg(cue.key()).arg(cue->endMs).arg(cue->lines.join(QLatin1Char('|')));
    return cues;
}

// Cues of the given texts, one a second, in the given encoding.
QByteArray encodedCues(const char *codec, const QStringList &texts)
{
    QString file;
    for (int i = 0; i < texts.size(); ++i) {
        const qint64 startMs = (i + 1) * 1000;
        file += QStringLiteral("%1\r\n%2 --> %3\r\n%4\r\n\r\n")
                    .arg(i + 1)
                    .arg(msToTimestamp(startMs), msToTimestamp(startMs + 900), texts.at(i));
    }
    return QTextCodec::codecForName(codec)->fromUnicode(file);
}

QStringList describeEncoded(const QStringList &texts)
{
    QStringList cues;
    for (int i = 0; i < texts.size(); ++i)
        cues << QStringLiteral("%1-%2: %3").arg((i + 1) * 1000).arg((i + 1) * 1000 + 900).arg(texts.at(i));
    return cues;
}

const QStringList russian{
    QStringLiteral("Мы опоздали на поезд."), QStringLiteral("Где ты был всю ночь?"),
    QStringLiteral("Это не твоё дело, честное слово."), QStringLiteral("Пойдём домой, уже поздно."),
};
const QStringList french{
    QStringLiteral("Où étais-tu hier soir ?"), QStringLiteral("Je ne sais pas, peut-être à la gare."),
    QStringLiteral("Ça m'est égal, répondit-elle."), QStringLiteral("Il faut être très prudent."),
};

// Lines of plain English, as most of an English film's subtitles are.
const QStringList plainEnglish{
    QStringLiteral("We should go before it gets dark."), QStringLiteral("I never liked this town anyway."),
    QStringLiteral("Nobody saw him leave the station."), QStringLiteral("Is that your car outside?"),
    QStringLiteral("Give me a minute, I'll be right there."), QStringLiteral("That's not what I meant."),
    QStringLiteral("Close the window, please."), QStringLiteral("Where did you put the keys?"),
};

// `count` cues: the given lines first, then more lines of the same kind.
QStringList cuesOf(const QStringList &lines, const QStringList &more, int count)
{
    QStringList texts = lines;
    for (int i = 0; texts.size() < count; ++i)
        texts << more.at(i % more.size());
    return texts;
}

const QByteArray threeCues =
    "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nTwo\r\n\r\n"
    "3\r\n00:00:05,000 --> 00:00:06,000\r\nThree\r\n\r\n";

} // namespace

class TestSubtitleLoader : public QObject
{
    Q_OBJECT

private slots:
    // A cue as the panel shows it: its markup applied, never shown.
    void cueShownAsWritten_data();
    void cueShownAsWritten();
    void readsFile_data();
    void readsFile();
    void legacyEncodings_data();
    void legacyEncodings();

private:
    void readsBack(const QByteArray &content, const QStringList &cues);
    QTemporaryDir directory;
};

void TestSubtitleLoader::readsFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("cues");

    QTest::newRow("CR LF, multi-line cues keep their lines in order")
        << QByteArray("1\r\n00:00:01,000 --> 00:00:02,500\r\nFirst line\r\nSecond line\r\n\r\n"
                      "2\r\n00:01:00,250 --> 00:01:03,000\r\n<i>Привет,</i>\r\nмир!\r\nThird\r\n\r\n")
        << QStringList{"1000-2500: First line|Second line", "60250-63000: <i>Привет,</i>|мир!|Third"};
    QTest::newRow("three cues")
        << threeCues << QStringList{"1000-2000: One", "3000-4000: Two", "5000-6000: Three"};
    QTest::newRow("exactly two cues are still read")
        << threeCues.left(threeCues.indexOf("3\r\n00:00:05"))
        << QStringList{"1000-2000: One", "3000-4000: Two"};
    QTest::newRow("last cue without trailing blank line")
        << QByteArray("1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\nB\r\n")
        << QStringList{"1000-2000: A|B"};
    QTest::newRow("last line without terminator keeps every character")
        << QByteArray("1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\nlast words")
        << QStringList{"1000-2000: A|last words"};
    QTest::newRow("time line as the last line, with terminator")
        << QByteArray("1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n2\r\n00:00:03,000 --> 00:00:04,000\r\n")
        << QStringList{"1000-2000: A", "3000-4000: "};
    QTest::newRow("time line as the last line, without terminator")
        << QByteArray("1\r\n00:00:03,000 --> 00:00:04,000")
        << QStringList{"3000-4000: "};
    QTest::newRow("same start time: the first cue wins")
        << QByteArray("1\r\n00:00:01,000 --> 00:00:02,000\r\nfirst\r\n\r\n"
                      "2\r\n00:00:01,000 --> 00:00:09,000\r\nsecond\r\n\r\n")
        << QStringList{"1000-2000: first"};
    QTest::newRow("cues out of order are held in order")
        << QByteArray("1\r\n00:00:05,000 --> 00:00:06,000\r\nlate\r\n\r\n"
                      "2\r\n00:00:01,000 --> 00:00:02,000\r\nearly\r\n\r\n"
                      "3\r\n00:00:03,000 --> 00:00:04,000\r\nmiddle\r\n\r\n")
        << QStringList{"1000-2000: early", "3000-4000: middle", "5000-6000: late"};
    QTest::newRow("missing blank line swallows the next cue")
        << QByteArray("1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n"
                      "2\r\n00:00:03,000 --> 00:00:04,000\r\nB\r\n\r\n"
                      "3\r\n00:00:05,000 --> 00:00:06,000\r\nC\r\n\r\n")
        << QStringList{"1000-2000: A|2|00:00:03,000 --> 00:00:04,000|B", "5000-6000: C"};
    QTest::newRow("LF only: no character lost, one-character lines are text")
        << QByteArray("1\n00:00:01,000 --> 00:00:02,000\nHello\nI\n\n"
                      "2\n00:00:03,000 --> 00:00:04,000\n?\n\n")
        << QStringList{"1000-2000: Hello|I", "3000-4000: ?"};
    QTest::newRow("CR LF and LF mixed")
        << QByteArray("1\r\n00:00:01,000 --> 00:00:02,000\nA\r\nB\n\r\nC\n")
        << QStringList{"1000-2000: A|B"};
    QTest::newRow("line of blanks and tabs ends the text")
        << QByteArray("1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n \t \r\n"
                      "2\r\n00:00:03,000 --> 00:00:04,000\r\nB\r\n\t\n3\r\n00:00:05,000 --> 00:00:06,000\r\n C \r\n")
        << QStringList{"1000-2000: A", "3000-4000: B", "5000-6000:  C "};
    QTest::newRow("byte-order marks: dropped at the start, a lone one ends the text")
        << QByteArray("\xEF\xBB\xBF" "1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n\xEF\xBB\xBF\r\nlost\r\n\r\n")
        << QStringList{"1000-2000: A"};
    QTest::newRow("arrow inside a cue's text is text")
        << QByteArray("1\r\n00:00:01,000 --> 00:00:02,000\r\nleft --> right\r\n\r\n")
        << QStringList{"1000-2000: left --> right"};
    QTest::newRow("text is decoded up to the first NUL byte")
        << QByteArray("1\r\n00:00:01,000 --> 00:00:02,000\r\nbefore") + '\0' + "after\r\nnext\r\n\r\n"
        << QStringList{"1000-2000: before|next"};
    QTest::newRow("malformed times count as zero, cue kept")
        << QByteArray("x\r\nab:cd:ef,ghi --> 00:00:0x,500 and more\r\nodd\r\n\r\n")
        << QStringList{"0-500: odd"};
    QTest::newRow("anything after the end time is ignored")
        << QByteArray("1\r\n00:00:01,000 --> 00:00:02,000 X1:10 X2:20\r\nA\r\n\r\n")
        << QStringList{"1000-2000: A"};
    QTest::newRow("text without arrows")
        << QByteArray("Just a letter.\r\nNothing to see here.\r\n") << QStringList();
    QTest::newRow("empty file") << QByteArray() << QStringList();

    QTest::newRow("Windows-1251") << encodedCues("Windows-1251", russian) << describeEncoded(russian);
    QTest::newRow("Windows-1252") << encodedCues("Windows-1252", french) << describeEncoded(french);
    QTest::newRow("UTF-16 with byte-order mark")
        << QByteArray("\xFF\xFE") + encodedCues("UTF-16LE", russian) << describeEncoded(russian);
    QTest::newRow("valid UTF-8 is not decoded again")
        << encodedCues("UTF-8", french) << describeEncoded(french);
    QTest::newRow("UTF-8 with one bad byte stays UTF-8")
        << encodedCues("UTF-8", french) + "5\r\n00:00:09,000 --> 00:00:09,900\r\nbad \xFF byte\r\n"
        << describeEncoded(french) + QStringList{QStringLiteral("9000-9900: bad \uFFFD byte")};
    // Bytes that Windows-1252 leaves out come through the toolkit as control codes.
    QTest::newRow("a byte no page defines is shown as unknown")
        << encodedCues("Windows-1252", french) + "5\r\n00:00:09,000 --> 00:00:09,900\r\n\xE0 \x81 \x90\r\n"
        << describeEncoded(french) + QStringList{QStringLiteral("9000-9900: à \uFFFD \uFFFD")};
    QTest::newRow("one cue of UTF-8 in a Windows-1252 file is decoded as the rest")
        << encodedCues("Windows-1252", french) + "5\r\n00:00:09,000 --> 00:00:09,900\r\n\xC3\xA9t\xC3\xA9\r\n"
        << describeEncoded(french) + QStringList{QStringLiteral("9000-9900: Ã©tÃ©")};

    QByteArray longLine(200000, 'w');
    QTest::newRow("a very long line is read whole")
        << QByteArray("00:00:01,000 --> 00:00:02,000\r\n" + longLine + "\r\n")
        << QStringList{"1000-2000: " + QString::fromLatin1(longLine)};
}

void TestSubtitleLoader::readsFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, cues);
    readsBack(content, cues);
}

void TestSubtitleLoader::readsBack(const QByteArray &content, const QStringList &cues)
{
    QVERIFY(directory.isValid());
    const QString path = directory.filePath(QStringLiteral("film.srt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), qint64(content.size()));
    file.close();

    const std::optional<SubtitleTable> table = readSubtitleFile(path);
    QVERIFY(table);
    QCOMPARE(describe(*table), cues);
}

void TestSubtitleLoader::legacyEncodings_data()
{
    QTest::addColumn<QByteArray>("codec");
    QTest::addColumn<QStringList>("texts");

    // An English film whose only non-ASCII characters are a letter or a sign
    // somewhere, or its curly quotes.
    const QList<QPair<const char *, QStringList>> english{
        {"one n with tilde", {QStringLiteral("The old man at the gate called him Señor.")}},
        {"one e with acute", {QStringLiteral("She walked into the café and ordered tea.")}},
        {"one i with diaeresis", {QStringLiteral("He was a little naïve about the whole thing.")}},
        {"one degree sign", {QStringLiteral("It was 40° in the shade yesterday.")}},
        {"one c with cedilla", {QStringLiteral("Behind the façade the house was a ruin.")}},
        {"one e with diaeresis", {QStringLiteral("Zoë is waiting in the car.")}},
        {"a Spanish cheer", {QStringLiteral("The whole crowd shouted ¡Olé! at once.")}},
        {"one curly apostrophe a line",
         {QStringLiteral("I’m not going back there."), QStringLiteral("I’m sure he knows."),
          QStringLiteral("I’m telling you the truth."), QStringLiteral("I’m fine, thanks."),
          QStringLiteral("I’m late again."), QStringLiteral("I’m going to need a bigger boat."),
          QStringLiteral("I’m right here."), QStringLiteral("I’m not your friend.")}},
        {"curly apostrophes and quotes",
         {QStringLiteral("Don’t tell me you’re leaving already."),
          QStringLiteral("She said “maybe” and walked out."),
          QStringLiteral("It’s not my fault, it’s ‘yours’.")}},
    };
    for (const auto &[what, lines] : english) {
        for (const int count : {3, 40}) {
            QTest::addRow("English, %s, %d cues", what, count)
                << QByteArray("Windows-1252") << cuesOf(lines, plainEnglish, count);
        }
    }

    const QList<std::tuple<const char *, const char *, QStringList>> languages{
        {"Spanish", "Windows-1252",
         {QStringLiteral("—¿Dónde está mi hermano pequeño?"), QStringLiteral("—No lo sé, señora, salió temprano."),
          QStringLiteral("¡Qué día tan largo ha sido!")}},
        {"French", "Windows-1252",
         {QStringLiteral("Où est passé le garçon ?"), QStringLiteral("Il était là, près de la fenêtre."),
          QStringLiteral("Ça ne m’étonne pas, c’est l’été.")}},
        {"German", "Windows-1252",
         {QStringLiteral("Können Sie mir bitte helfen?"), QStringLiteral("„Ich weiß nicht, wo die Straße ist.“"),
          QStringLiteral("Wir müssen früher aufstehen.")}},
        {"Portuguese", "Windows-1252",
         {QStringLiteral("Não sei onde ele está agora."),
          QStringLiteral("A situação é mais difícil do que pensávamos."), QStringLiteral("Você já comeu hoje?")}},
        {"Italian", "Windows-1252",
         {QStringLiteral("Perché non sei venuto ieri sera?"), QStringLiteral("Non è colpa mia, c’è troppa gente."),
          QStringLiteral("Così va la vita, più o meno.")}},
        {"Polish", "Windows-1250",
         {QStringLiteral("Gdzie się podziała moja żona?"), QStringLiteral("Nie wiem, może poszła do sklepu."),
          QStringLiteral("Złóż ten list i zaczekaj chwilę.")}},
        {"Czech", "Windows-1250",
         {QStringLiteral("Kde jsi byl celou noc?"), QStringLiteral("Řekl jsem ti, že přijdu později."),
          QStringLiteral("To není moje věc, ať si to vyřeší sám.")}},
        {"Hungarian", "Windows-1250",
         {QStringLiteral("Hol voltál egész éjszaka?"), QStringLiteral("Nem tudom, hogy mikor jön vissza."),
          QStringLiteral("Ez a kőhíd régebbi, mint gondolnád.")}},
        {"Russian", "Windows-1251",
         {QStringLiteral("Где ты был всю ночь?"), QStringLiteral("Я не знаю, куда он ушёл."),
          QStringLiteral("Пойдём домой, уже поздно.")}},
        {"Russian", "KOI8-R",
         {QStringLiteral("Почему ты не позвонил мне?"), QStringLiteral("Телефон остался в машине."),
          QStringLiteral("Съешь ещё этих мягких булок.")}},
        {"Ukrainian", "Windows-1251",
         {QStringLiteral("Де ти був цілу ніч?"), QStringLiteral("Я не знаю, коли він повернеться."),
          QStringLiteral("Ходімо додому, вже пізно.")}},
        {"Korean", "EUC-KR",
         {QStringLiteral("어젯밤에 어디 있었어?"), QStringLiteral("그가 언제 돌아올지 모르겠어."),
          QStringLiteral("집에 가자, 너무 늦었어.")}},
        {"Greek", "Windows-1253",
         {QStringLiteral("Πού ήσουν όλη τη νύχτα;"), QStringLiteral("Δεν ξέρω πότε θα γυρίσει."),
          QStringLiteral("Πάμε σπίτι, είναι αργά.")}},
        {"Turkish", "Windows-1254",
         {QStringLiteral("Bütün gece neredeydin?"), QStringLiteral("Ne zaman döneceğini bilmiyorum."),
          QStringLiteral("Eve gidelim, çok geç oldu.")}},
    };
    for (const auto &[language, codec, lines] : languages) {
        for (const int count : {3, 40}) {
            QTest::addRow("%s, %s, %d cues", language, codec, count)
                << QByteArray(codec) << cuesOf(lines, lines, count);
        }
    }

    // Quotes, dashes and ellipses lie between 0x80 and 0x9F in every Windows
    // page, where ISO-8859 pages have control codes: the detector names an
    // ISO page for some of these files.
    const QList<std::tuple<const char *, const char *, QStringList>> punctuated{
        {"Turkish with quotes and dashes", "Windows-1254",
         {QStringLiteral("“Geliyorum” dedi…"), QStringLiteral("‘Bekle’ dedim – ama çok geç kalmıştı."),
          QStringLiteral("Kapıyı açtı — içeride kimse yoktu.")}},
        {"Greek with quotes and dashes", "Windows-1253",
         {QStringLiteral("“Έρχομαι” είπε…"), QStringLiteral("‘Περίμενε’ – του είπα, αλλά ήταν αργά."),
          QStringLiteral("Άνοιξε την πόρτα — μέσα δεν ήταν κανείς.")}},
        {"Polish with quotes and dashes", "Windows-1250",
         {QStringLiteral("“Już idę” – powiedział…"), QStringLiteral("‘Czekaj’ — krzyknęła, ale było za późno."),
          QStringLiteral("Otworzył drzwi… w środku nie było nikogo.")}},
        {"Czech with quotes and dashes", "Windows-1250",
         {QStringLiteral("“Už jdu” – řekl…"), QStringLiteral("‘Počkej’ — zavolala, ale bylo pozdě."),
          QStringLiteral("Otevřel dveře… uvnitř nikdo nebyl.")}},
        {"French with quotes and dashes", "Windows-1252",
         {QStringLiteral("“J’arrive” – dit-il…"), QStringLiteral("‘Attends’ — cria-t-elle, mais c’était trop tard."),
          QStringLiteral("Il ouvrit la porte… personne à l’intérieur.")}},
        {"English with quotes and dashes", "Windows-1252",
         {QStringLiteral("“I’m coming,” he said…"), QStringLiteral("‘Wait’ – she shouted — but it was too late."),
          QStringLiteral("He opened the door… nobody was inside.")}},
    };
    // Some files are written in the ISO page the detector names.
    const QList<std::tuple<const char *, const char *, QStringList>> isoPages{
        {"Lithuanian with quotes and dashes", "Windows-1257",
         {QStringLiteral("“Ateinu” – pasakė…"), QStringLiteral("Jis atidarė duris — viduje nieko nebuvo."),
          QStringLiteral("Šiandien labai šalta, žiemą dar šalčiau.")}},
        {"Lithuanian with low and high quotes", "ISO-8859-13",
         {QStringLiteral("„Ateinu“, pasakė jis."), QStringLiteral("Jis atidarė duris, viduje nieko nebuvo."),
          QStringLiteral("Šiandien labai šalta, žiemą dar šalčiau.")}},
        {"Greek with single quotes and a capital alpha with tonos", "ISO-8859-7",
         {QStringLiteral("Πού ήσουν όλη τη νύχτα;"), QStringLiteral("‘Δεν ξέρω’ πότε θα γυρίσει."),
          QStringLiteral("Άλλη μια φορά, είναι αργά.")}},
    };
    for (const auto &[language, codec, lines] : punctuated + isoPages) {
        for (const int count : {3, 40}) {
            QTest::addRow("%s, %s, %d cues", language, codec, count)
                << QByteArray(codec) << cuesOf(lines, lines, count);
        }
    }
}

void TestSubtitleLoader::legacyEncodings()
{
    QFETCH(QByteArray, codec);
    QFETCH(QStringList, texts);
    readsBack(encodedCues(codec.constData(), texts), describeEncoded(texts));
}

void TestSubtitleLoader::cueShownAsWritten_data()
{
    QTest::addColumn<QString>("cue");
    // Each run of text in brackets with its marks: "/" italic, "*" bold, "_" underlined, a colour.
    QTest::addColumn<QString>("shown");
    QTest::newRow("tag closed on the next line") << "<i>Where were you\nlast night?</i>"
                                                 << "[/ Where were you]\n[/ last night?]\n";
    QTest::newRow("colours across lines, never closed")
        << "<font color=ffff00>Y\n<B>on</font>\n<u><font color='red;x:y'>x" << "[#ffff00 Y]\n[*#ffff00 on]\n[*_ x]\n";
    QTest::newRow("position blocks") << "{\\an8}Up here\nleft {\\pos(320,40)}behind" << "Up here\nleft behind\n";
    QTest::newRow("dialogue as written") << "a < b > c </i> <s>&amp;  {an8}" << "a < b > c  <s>&amp;  {an8}\n";
}

void TestSubtitleLoader::cueShownAsWritten()
{
    QFETCH(QString, cue);
    QFETCH(QString, shown);
    QTextDocument document;
    document.setHtml(cueHtml(cue.split(QLatin1Char('\n'))));
    QString seen;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto run = block.begin(); !run.atEnd(); ++run) {
            const QTextCharFormat format = run.fragment().charFormat();
            const QString marks = QLatin1String(format.fontItalic() ? "/" : "")
                + QLatin1String(format.fontWeight() > QFont::Normal ? "*" : "")
                + QLatin1String(format.fontUnderline() ? "_" : "")
                + (format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color().name() : QString());
            const QString text = run.fragment().text();
            seen += marks.isEmpty() ? text : QStringLiteral("[%1 %2]").arg(marks, text);
        }
        seen += QLatin1Char('\n');
    }
    QCOMPARE(seen, shown);
}

QTEST_GUILESS_MAIN(TestSubtitleLoader)
#include "tst_subtitleloader.moc"
