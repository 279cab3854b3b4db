// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef MY_DIALOG_H
#define MY_DIALOG_H

#include <QDialog>

class QLabel;

namespace Ui {
class My_Dialog;
}

// The modal attention dialog: one line of text in `messageLabel`, placed by
// the caller. It has no buttons; the learner closes it with the frame's close
// button or Escape.
class My_Dialog : public QDialog
{
    Q_OBJECT

public:
    explicit My_Dialog(QWidget *parent = nullptr);
    ~My_Dialog() override;

    QLabel *messageLabel = nullptr;

private:
    Ui::My_Dialog *ui = nullptr;
};

#endif // MY_DIALOG_H
