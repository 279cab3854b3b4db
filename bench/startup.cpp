// SPDX-License-Identifier: GPL-3.0-or-later
// Starts like one of the programs and quits as soon as its first window has
// been shown, so that the whole process's time measures start-up:
// startup_saver, startup_trainer, startup_bare (a plain QMainWindow, the
// yardstick) and startup_media (the yardstick plus a media player and a video
// widget, which shows what the media back end costs). Run with
// QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>
#include <QWindow>

#if defined(STARTUP_SAVER)
#include "mainwindow.h"
#elif defined(STARTUP_TRAINER)
#include "mywidget.h"
#elif defined(STARTUP_MEDIA)
#include <QMediaPlayer>
#include <QVideoWidget>
#endif

namespace {

// Quits at the first expose of the watched native window: the widget paints
// itself while that event is handled, and the quit comes after.
class FirstExposeWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose) {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            watched->removeEventFilter(this);
        }
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
#if defined(STARTUP_SAVER)
    Q_INIT_RESOURCE(saver);
    auto *window = new MainWindow;
#elif defined(STARTUP_TRAINER)
    Q_INIT_RESOURCE(trainer);
    auto *window = new MyWidget(nullptr);
#else
    auto *window = new QMainWindow;
#if defined(STARTUP_MEDIA)
    auto *player = new QMediaPlayer(window);
    auto *video = new QVideoWidget;
    player->setVideoOutput(video);
    window->setCentralWidget(video);
#endif
#endif
    FirstExposeWatcher watcher;
    // The native window exists from here on; expose events go to it, not to
    // the widget.
    window->winId();
    window->windowHandle()->installEventFilter(&watcher);
    window->show();
    const int exitCode = application.exec();
    delete window;
    return exitCode;
}
