// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopintegration.h"
#include "mywidget.h"

#include <QApplication>
#include <QDateTime>

int main(int argc, char *argv[])
{
    followDesktopScale();
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(trainer);
    // Each run draws its own order of words.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    qsrand(uint(QDateTime::currentMSecsSinceEpoch()));
    QT_WARNING_POP

    auto *widget = new MyWidget(nullptr);
    widget->show();
    const int exitCode = application.exec();

    Q_CLEANUP_RESOURCE(trainer);
    return exitCode;
}
