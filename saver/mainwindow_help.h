// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef MAINWINDOW_HELP_H
#define MAINWINDOW_HELP_H

#include <QMainWindow>

namespace Ui {
class MainWindow_Help;
}

// A short note about the program, shown from the tool bar.
class MainWindow_Help : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow_Help(QWidget *parent = nullptr);
    ~MainWindow_Help() override;

private:
    Ui::MainWindow_Help *ui = nullptr;
};

#endif // MAINWINDOW_HELP_H
