#include "mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(saver);

    // The window deletes itself when it is closed.
    auto *window = new MainWindow;
    window->show();

    const int exitCode = application.exec();
    Q_CLEANUP_RESOURCE(saver);
    return exitCode;
}
