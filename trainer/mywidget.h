// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef MYWIDGET_H
#define MYWIDGET_H

#include "closefence.h"
#include "vocabularyreader.h"

#include <QVector>
#include <QWidget>

class MainWindow_2;
class MainWindow_Help;

namespace Ui {
class MyWidget;
}

// The trainer's main window: loads a vocabulary file and drills its entries.
class MyWidget : public QWidget
{
    Q_OBJECT

public:
    explicit MyWidget(QWidget *parent = nullptr);
    ~MyWidget() override;

public slots:
    void MyEventHandler();
    void MyStart();
    void MyEnter();
    void MyOtmet();
    void MyVideoWin();
    void MyHelpBut();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The entry being trained, or nullptr when none is chosen. An index left
    // over from a longer, earlier list counts as none.
    TrainerEntry *currentEntry();
    void setStone(const QString &resource);

    QVector<TrainerEntry> entries;
    quint32 currentIndex = quint32(-1);
    bool answered = false;
    MainWindow_2 *videoWindow = nullptr;
    MainWindow_Help *helpWindow = nullptr;
    Ui::MyWidget *ui = nullptr;
    // No close under the file dialog.
    CloseFence closeFence{this};
};

#endif // MYWIDGET_H
