// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow_2.h"
#include "ui_mainwindow_2.h"

#include "desktopintegration.h"
#include "mainwindow.h"
#include "windowplacement.h"

#include <QCloseEvent>
#include <QMargins>
#include <QScreen>

MainWindow_2::MainWindow_2(QWidget *parent)
    : QMainWindow(parent, Qt::WindowFlags())
    , ui(new Ui::MainWindow_2)
{
    ui->setupUi(this);
    makeFilmWindow(this);
}

void MainWindow_2::showBeside(const QWidget *mainWindow, const QVector<QRect> &keepClear)
{
    if (!placed && mainWindow->isVisible()) {
        // Not yet shown, this window has no frame: it will get one like the main window's.
        const QRect inner = mainWindow->geometry();
        const QRect outer = mainWindow->frameGeometry();
        const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                             outer.bottom() - inner.bottom());
        const QRect place =
            placeBeside(outer, size().grownBy(frame), mainWindow->screen()->availableGeometry(), keepClear);
        setGeometry(place.marginsRemoved(frame));
        placed = true;
    }
    show();
}

MainWindow_2::~MainWindow_2()
{
    delete ui;
}

void MainWindow_2::closeEvent(QCloseEvent *event)
{
    if (owner)
        owner->stopPlayback();
    hide();
    event->ignore();
}
