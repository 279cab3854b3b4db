// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopintegration.h"
#include "mainwindow.h"

#include <QApplication>

#include <csignal>

int main(int argc, char *argv[])
{
    followDesktopScale();
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(saver);
    // Under a file size limit a save is refused like one on a full disk,
    // rather than the signal ending the program with the line half written.
    std::signal(SIGXFSZ, SIG_IGN);

    // The window deletes itself when it is closed.
    auto *window = new MainWindow;
    window->show();

    const int exitCode = application.exec();
    Q_CLEANUP_RESOURCE(saver);
    return exitCode;
}
