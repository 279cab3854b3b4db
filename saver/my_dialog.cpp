// SPDX-License-Identifier: GPL-3.0-or-later
#include "my_dialog.h"
#include "ui_my_dialog.h"

#include <QLabel>

My_Dialog::My_Dialog(QWidget *parent)
    : QDialog(parent, Qt::WindowFlags())
    , ui(new Ui::My_Dialog)
{
    ui->setupUi(this);
    messageLabel = new QLabel(this);
}

My_Dialog::~My_Dialog()
{
    delete messageLabel;
    delete ui;
}
