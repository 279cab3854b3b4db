// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef MAINWINDOW_2_H
#define MAINWINDOW_2_H

#include <QMainWindow>

class MainWindow;

namespace Ui {
class MainWindow_2;
}

// The video window. It is never closed for good: closing it stops the
// owner's player and hides it until the next play.
class MainWindow_2 : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow_2(QWidget *parent = nullptr);
    ~MainWindow_2() override;

    MainWindow *owner = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Ui::MainWindow_2 *ui = nullptr;
};

#endif // MAINWINDOW_2_H
