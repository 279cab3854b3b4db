// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow_2.h"
#include "ui_mainwindow_2.h"

#include "mainwindow.h"

#include <QCloseEvent>

MainWindow_2::MainWindow_2(QWidget *parent)
    : QMainWindow(parent, Qt::WindowFlags())
    , ui(new Ui::MainWindow_2)
{
    ui->setupUi(this);
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
