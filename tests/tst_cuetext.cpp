// SPDX-License-Identifier: GPL-3.0-or-later
#include "cuetext.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

class TestCueText : public QObject
{
    Q_OBJECT

private slots:
    void shownAsWritten_data();
    void shownAsWritten();
};

void TestCueText::shownAsWritten_data()
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

void TestCueText::shownAsWritten()
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

QTEST_MAIN(TestCueText)
#include "tst_cuetext.moc"
