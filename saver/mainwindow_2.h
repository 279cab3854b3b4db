// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef MAINWINDOW_2_H
#define MAINWINDOW_2_H

#include <QMainWindow>
#include <QRect>
#include <QVector>

class MainWindow;

namespace Ui {
class MainWindow_2;
}

// The video window. It is never closed for good: closing it (or Escape)
// stops the owner's player and hides it until the next play. Showing it
// leaves the keyboard with the main window.
class MainWindow_2 : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow_2(QWidget *parent = nullptr);
    ~MainWindow_2() override;

    MainWindow *owner = nullptr;

    // Shows the window. The first time it is placed beside `mainWindow`, on
    // its screen, covering the least of `keepClear` (screen coordinates)
    // where there is no room beside it; later it stays where the learner
    // leaves it.
    void showBeside(const QWidget *mainWindow, const QVector<QRect> &keepClear);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Ui::MainWindow_2 *ui = nullptr;
    bool placed = false;
};

#endif // MAINWINDOW_2_H
