// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow_help.h"
#include "ui_mainwindow_help.h"

MainWindow_Help::MainWindow_Help(QWidget *parent)
    : QMainWindow(parent, Qt::WindowFlags())
    , ui(new Ui::MainWindow_Help)
{
    ui->setupUi(this);
}

MainWindow_Help::~MainWindow_Help()
{
    delete ui;
}
