#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "mainwindow_2.h"
#include "mainwindow_help.h"
#include "my_dialog.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QMediaPlayer>
#include <QProgressBar>
#include <QSlider>
#include <QUrl>
#include <QVideoWidget>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent, Qt::WindowFlags())
    , ui(new Ui::MainWindow)
{
    ui->setupUi(this);

    helpWindow = new MainWindow_Help;
    attentionDialog = new My_Dialog;
    videoWindow = new MainWindow_2;
    videoWindow->owner = this;

    player = new QMediaPlayer(this);
    videoWidget = new QVideoWidget(this);
    player->setVideoOutput(videoWidget);
    videoWindow->setCentralWidget(videoWidget);
    player->setNotifyInterval(10);

    slider = new QSlider(this);
    progressBar = new QProgressBar(this);
    slider->setOrientation(Qt::Horizontal);
    ui->statusBar->addPermanentWidget(slider, 0);
    ui->statusBar->addPermanentWidget(progressBar, 0);

    // The player's 64-bit positions are narrowed to the widgets' int range.
    connect(player, &QMediaPlayer::durationChanged, slider, [this](qint64 duration) { slider->setMaximum(int(duration)); });
    connect(player, &QMediaPlayer::positionChanged, slider, [this](qint64 position) { slider->setValue(int(position)); });
    connect(slider, &QSlider::sliderMoved, player, [this](int position) { player->setPosition(position); });
    connect(player, &QMediaPlayer::durationChanged, progressBar, [this](qint64 duration) { progressBar->setMaximum(int(duration)); });
    connect(player, &QMediaPlayer::positionChanged, progressBar, [this](qint64 position) { progressBar->setValue(int(position)); });

    ui->pushButton->setToolTip(QStringLiteral("Set Video position"));
}

MainWindow::~MainWindow()
{
    delete helpWindow;
    delete attentionDialog;
    delete videoWindow;
    delete ui;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    deleteLater();
}

void MainWindow::on_actionPlay_triggered()
{
    if (videoPath.isEmpty())
        return;
    videoWindow->show();
    player->play();
}

void MainWindow::on_actionPause_triggered()
{
    player->pause();
}

void MainWindow::on_actionStopVideo_triggered()
{
    player->stop();
}

void MainWindow::on_actionOpenVideo_triggered()
{
    videoPath = QFileDialog::getOpenFileName(this, QStringLiteral("Open A Video File"), QString(),
                                             QStringLiteral("Video File (*.*)"));
    if (videoPath.isEmpty())
        return;
    player->setMedia(QMediaContent(QUrl::fromLocalFile(videoPath)));
    videoWindow->show();
    player->play();
}

void MainWindow::on_actionAbout_triggered()
{
    helpWindow->show();
}
