// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef TRAINER_MAINWINDOW_HELP_H
#define TRAINER_MAINWINDOW_HELP_H

#include <QMainWindow>

namespace Ui {
class MainWindow_Help;
}

// A short note about the program. Its text can be edited, but only for the
// current run.
class MainWindow_Help : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow_Help(QWidget *parent = nullptr);
    ~MainWindow_Help() override;

private:
    Ui::MainWindow_Help *ui = nullptr;
};

#endif // TRAINER_MAINWINDOW_HELP_H
