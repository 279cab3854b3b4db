#ifndef SHOTS_H
#define SHOTS_H

// Where the screenshot programs find the demo film and put their pictures.

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QString>
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

} // namespace Shots

#endif // SHOTS_H
