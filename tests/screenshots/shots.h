// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SHOTS_H
#define SHOTS_H

// What the screenshot programs share: where they find the demo film and put
// their pictures, and the checks that fail a picture of a window larger than
// its screen, a tool bar that overflows or a text that is cut off.

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QScrollBar>
#include <QString>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>
#include <QtTest>

namespace Shots {

// SCREENSHOT_DIR, or screenshots/ in the build tree.
inline QString outputDirectory()
{
    const QString chosen = qEnvironmentVariable("SCREENSHOT_DIR");
    return chosen.isEmpty() ? QStringLiteral(SHOTS_DEFAULT_DIRECTORY) : chosen;
}

// demo/demo.ogv as made by the set-up, or an empty string.
inline QString demoFilm()
{
    const QString path = QDir(QStringLiteral(SHOTS_SOURCE_DIRECTORY)).filePath(QStringLiteral("demo/demo.ogv"));
    return QFileInfo(path).size() > 0 ? path : QString();
}

inline QString demoSubtitles()
{
    return QDir(QStringLiteral(SHOTS_SOURCE_DIRECTORY)).filePath(QStringLiteral("scripts/demo.srt"));
}

// Saves what `window` shows as <name>.png; false when it could not. On an X
// screen the picture comes from the screen, as the film is drawn into a native
// child window that rendering the widget would leave black.
inline bool save(QWidget *window, const QString &name)
{
    if (!QDir().mkpath(outputDirectory()))
        return false;
    QCoreApplication::processEvents();
    QPixmap picture;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        window->raise();
        QTest::qWait(200);
        picture = window->screen()->grabWindow(window->winId());
    } else {
        picture = window->grab();
    }
    return picture.save(QDir(outputDirectory()).filePath(name + QStringLiteral(".png")));
}

// Saves the screen area that holds both windows, `second` placed to the right
// of `first` as a desktop would place it. Without an X screen only `first` is
// saved: the offscreen platform has no screen to take the pair from.
inline bool saveSideBySide(QWidget *first, QWidget *second, const QString &name)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return save(first, name);
    if (!QDir().mkpath(outputDirectory()))
        return false;
    second->move(first->frameGeometry().right() + 20, first->y());
    second->raise();
    QTest::qWait(300);
    const QRect area = first->frameGeometry().united(second->frameGeometry());
    return first->screen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .save(QDir(outputDirectory()).filePath(name + QStringLiteral(".png")));
}

// What a scaled desktop can spoil in windows of fixed geometry: a tool bar too
// short for its buttons, which then hides the last ones behind its overflow
// arrow, and texts that their boxes cut off. Returns one line per fault found
// among the shown widgets of `window`; none when it is drawn intact.
inline QStringList cutOff(QWidget *window)
{
    QStringList faults;
    const auto describe = [](const QWidget *widget, const QString &what) {
        return QStringLiteral("%1: %2").arg(widget->objectName(), what);
    };
    // A window larger than the screen cannot be seen whole.
    if (const QScreen *screen = window->screen()) {
        const QSize room = screen->availableSize();
        if (window->frameGeometry().width() > room.width() || window->frameGeometry().height() > room.height())
            faults << describe(window, QStringLiteral("larger than the screen"));
    }
    const QList<QToolBar *> toolBars = window->findChildren<QToolBar *>();
    for (const QToolBar *toolBar : toolBars) {
        const auto *overflow = toolBar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"));
        if (toolBar->isVisible() && overflow && overflow->isVisible())
            faults << describe(toolBar, QStringLiteral("buttons hidden behind the overflow arrow"));
    }
    // A caption placed as its label places its one line: its advance across,
    // and the ink of its letters up and down.
    const QList<QLabel *> labels = window->findChildren<QLabel *>();
    for (const QLabel *label : labels) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        const QFontMetrics metrics = label->fontMetrics();
        const QRect line = QStyle::alignedRect(label->layoutDirection(), label->alignment(),
                                               metrics.size(Qt::TextSingleLine, label->text()),
                                               label->contentsRect());
        const QRect ink = metrics.tightBoundingRect(label->text()).translated(0, line.top() + metrics.ascent());
        if (line.left() < 0 || line.left() + metrics.horizontalAdvance(label->text()) > label->width()
            || ink.top() < 0 || ink.bottom() >= label->height())
            faults << describe(label, QStringLiteral("\"%1\" cut off").arg(label->text()));
    }
    // A line edit places its line in its contents as its alignment says (one
    // pixel in from the top or the bottom, or centred) and clips what does not
    // fit: the letters must stand whole on their line, tails of a "g" or a "ц"
    // included.
    const QList<QLineEdit *> lineEdits = window->findChildren<QLineEdit *>();
    for (const QLineEdit *lineEdit : lineEdits) {
        if (!lineEdit->isVisible() || lineEdit->text().isEmpty())
            continue;
        QStyleOptionFrame option;
        option.initFrom(lineEdit);
        option.lineWidth = lineEdit->hasFrame()
            ? lineEdit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, lineEdit)
            : 0;
        const QRect area = lineEdit->style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, lineEdit)
                               .marginsRemoved(lineEdit->textMargins());
        const QFontMetrics metrics = lineEdit->fontMetrics();
        int lineTop = area.y() + (area.height() - metrics.height() + 1) / 2;
        if (lineEdit->alignment() & Qt::AlignBottom)
            lineTop = area.y() + area.height() - metrics.height() - 1;
        else if (lineEdit->alignment() & Qt::AlignTop)
            lineTop = area.y() + 1;
        const int baseline = lineTop + metrics.ascent();
        const QRect ink = metrics.tightBoundingRect(lineEdit->text()).translated(0, baseline);
        if (metrics.horizontalAdvance(lineEdit->text()) + 4 > area.width() || ink.top() < area.top()
            || ink.bottom() > area.bottom())
            faults << describe(lineEdit, QStringLiteral("\"%1\" cut off").arg(lineEdit->text()));
    }
    // Text boxes scroll what they cannot show; in these pictures all of it should show.
    const QList<QAbstractScrollArea *> textBoxes = window->findChildren<QAbstractScrollArea *>();
    for (const QAbstractScrollArea *box : textBoxes) {
        if (box->isVisible() && box->verticalScrollBar()->maximum() > 0)
            faults << describe(box, QStringLiteral("text scrolls out of sight"));
    }
    return faults;
}

// On an X screen with a window manager: `film`, just shown, left the keyboard
// where it was.
inline bool leftTheKeyboard(const QWidget *film)
{
    QTest::qWait(500);
    return QGuiApplication::platformName() != QLatin1String("xcb") || QApplication::activeWindow() != film;
}

// And it lies inside the screen beside `worker`, as every screen of these
// pictures has room for.
inline bool besideOnScreen(const QWidget *worker, const QWidget *film)
{
    const QRect place = film->frameGeometry();
    return QGuiApplication::platformName() != QLatin1String("xcb")
        || (worker->screen()->availableGeometry().contains(place) && !place.intersects(worker->frameGeometry()));
}

inline bool drawnIntact(QWidget *window)
{
    const QStringList faults = cutOff(window);
    for (const QString &fault : faults)
        qWarning("%s", qPrintable(fault));
    return faults.isEmpty();
}

// QTEST_MAIN fixes the font resolution at 96 dots per inch, whatever the
// screen; the programs take the screen's, and so must their pictures.
inline void useTheScreensResolution()
{
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi, false);
}

} // namespace Shots

#endif // SHOTS_H
