#include "mainwindow_2.h"
#include "ui_mainwindow_2.h"

#include <QCloseEvent>
#include <QMediaContent>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <QVideoWidget>

MainWindow_2::MainWindow_2(QWidget *parent)
    : QMainWindow(parent, Qt::WindowFlags())
    , ui(new Ui::MainWindow_2)
{
    ui->setupUi(this);

    player = new QMediaPlayer(this);
    videoWidget = new QVideoWidget(this);
    player->setVideoOutput(videoWidget);
    // Replaces, and so deletes, the form's empty central widget.
    setCentralWidget(videoWidget);
}

MainWindow_2::~MainWindow_2()
{
    delete ui;
}

void MainWindow_2::on_actionPlay_Video2_triggered()
{
    player->stop();
    player->setMedia(QUrl::fromLocalFile(videoPath));
    player->setPosition(startMs);
    player->play();
    // Earlier stops stay armed: whichever falls due first stops the player.
    const int delay = int(durationMs);
    if (delay >= 0)
        QTimer::singleShot(delay, this, SLOT(MyStopVideo()));
}

void MainWindow_2::MyStopVideo()
{
    player->stop();
}

void MainWindow_2::closeEvent(QCloseEvent *event)
{
    player->stop();
    hide();
    event->ignore();
}
