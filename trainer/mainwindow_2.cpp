#include "mainwindow_2.h"
#include "ui_mainwindow_2.h"

#include "drill.h"

#include <QCloseEvent>
#include <QMediaContent>
#include <QMediaPlayer>
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

    stopTimer.setSingleShot(true);
    // A fragment should end where its subtitle ends, not up to 5 % later.
    stopTimer.setTimerType(Qt::PreciseTimer);
    connect(&stopTimer, &QTimer::timeout, this, &MainWindow_2::MyStopVideo);
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
    armStop();
}

void MainWindow_2::armStop()
{
    if (const std::optional<int> delay = stopDelayMs(durationMs))
        stopTimer.start(*delay);
    else
        stopTimer.stop();
}

void MainWindow_2::MyStopVideo()
{
    player->stop();
}

void MainWindow_2::closeEvent(QCloseEvent *event)
{
    player->stop();
    stopTimer.stop();
    hide();
    event->ignore();
}
