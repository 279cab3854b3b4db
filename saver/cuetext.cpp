// SPDX-License-Identifier: GPL-3.0-or-later
#include "cuetext.h"

#include <QRegularExpression>
#include <QVector>

namespace {

// The markup of a cue line: the tags SubRip players apply, and override
// blocks of the advanced format, which players of SubRip leave out.
const QRegularExpression markup(QStringLiteral(R"(<(?<close>/?)(?<style>[ibu])>)"
                                               R"(|<font(?<attributes>\s[^<>]*)?>|(?<fontEnd></font\s*>))"
                                               R"(|\{\\[^{}]*\})"),
                                QRegularExpression::CaseInsensitiveOption);
const QRegularExpression colourAttribute(QStringLiteral(R"(\bcolor\s*=\s*["']?([^"'\s>]*))"),
                                         QRegularExpression::CaseInsensitiveOption);
// A colour goes into a style sheet: only a hexadecimal value or a name.
const QRegularExpression safeColour(QStringLiteral("^(#?[0-9a-f]{3}|#?[0-9a-f]{6}|#[0-9a-f]{8}|[a-z]{1,30})$"),
                                    QRegularExpression::CaseInsensitiveOption);
const QRegularExpression bareHex(QStringLiteral("^([0-9a-f]{3}|[0-9a-f]{6})$"),
                                 QRegularExpression::CaseInsensitiveOption);

QString colourOf(const QString &attributes)
{
    const QString value = colourAttribute.match(attributes).captured(1);
    if (!safeColour.match(value).hasMatch())
        return QString();
    // Many files write "ffff00" for "#ffff00".
    return bareHex.match(value).hasMatch() ? QLatin1Char('#') + value : value;
}

// What the tags opened so far apply to the text that follows.
struct Format
{
    int italic = 0;
    int bold = 0;
    int underline = 0;
    // One entry per open <font>; an empty one changes no colour.
    QVector<QString> colours;

    QString style() const
    {
        QString style;
        if (italic > 0)
            style += QStringLiteral("font-style:italic;");
        if (bold > 0)
            style += QStringLiteral("font-weight:bold;");
        if (underline > 0)
            style += QStringLiteral("text-decoration:underline;");
        for (auto colour = colours.crbegin(); colour != colours.crend(); ++colour) {
            if (!colour->isEmpty()) {
                style += QStringLiteral("color:") + *colour + QLatin1Char(';');
                break;
            }
        }
        return style;
    }

    void apply(const QRegularExpressionMatch &tag)
    {
        const QString style = tag.captured(QStringLiteral("style")).toLower();
        if (!style.isEmpty()) {
            int &depth = style == QLatin1String("i") ? italic : style == QLatin1String("b") ? bold : underline;
            // A closing tag without its opening one is dropped.
            depth = qMax(0, depth + (tag.captured(QStringLiteral("close")).isEmpty() ? 1 : -1));
        } else if (!tag.captured(QStringLiteral("fontEnd")).isEmpty()) {
            if (!colours.isEmpty())
                colours.removeLast();
        } else if (tag.captured(0).startsWith(QLatin1Char('<'))) {
            colours.append(colourOf(tag.captured(QStringLiteral("attributes"))));
        }
    }
};

QString run(const QString &text, const Format &format)
{
    if (text.isEmpty())
        return QString();
    const QString style = format.style();
    const QString escaped = text.toHtmlEscaped();
    return style.isEmpty() ? escaped : QStringLiteral("<span style=\"%1\">%2</span>").arg(style, escaped);
}

} // namespace

QString cueHtml(const QStringList &lines)
{
    QString html;
    Format format;
    for (const QString &line : lines) {
        // Spaces of the dialogue stay as they are, as in plain text.
        html += QStringLiteral("<p style=\"margin-top:0px; margin-bottom:0px; white-space:pre-wrap;\">");
        int at = 0;
        QRegularExpressionMatchIterator tags = markup.globalMatch(line);
        while (tags.hasNext()) {
            const QRegularExpressionMatch tag = tags.next();
            html += run(line.mid(at, tag.capturedStart() - at), format);
            format.apply(tag);
            at = tag.capturedEnd();
        }
        html += run(line.mid(at), format) + QStringLiteral("</p>");
    }
    return html;
}
