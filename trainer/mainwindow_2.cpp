// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow_2.h"
#include "ui_mainwindow_2.h"

#include "desktopintegration.h"
#include "drill.h"
#include "filmclock.h"
#include "filmwatch.h"
#include "readablefile.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMediaContent>
#include <QMediaPlayer>
#include <QUrl>
#include <QVideoWidget>

MainWindow_2::MainWindow_2(QWidget *parent)
    : QMainWindow(parent, Qt::WindowFlags())
    , ui(new Ui::MainWindow_2)
{
    ui->setupUi(this);
    nameToolBarButtons(ui->toolBar);
    toolBarButtonsTakingFocus(ui->toolBar);
    makeFilmWindow(this);

    player = new QMediaPlayer(this);
    filmClock = new FilmClock(player, this);
    videoWidget = new QVideoWidget(this);
    player->setVideoOutput(videoWidget);
    // Replaces, and so deletes, the form's empty central widget.
    setCentralWidget(videoWidget);

    // Beside the play button, under the picture the learner asked for.
    filmProblem = new QLabel(this);
    filmProblem->setObjectName(QStringLiteral("filmProblem"));
    filmProblem->setContentsMargins(6, 0, 6, 0);
    ui->toolBar->addWidget(filmProblem);
    filmWatch = new FilmWatch(player);
    connect(filmWatch, &FilmWatch::cannotPlay, this, &MainWindow_2::showFilmProblem);

    // Position reports drive the stop: the first one past the start arms it
    // for the time left, and each later one sets it right again.
    player->setNotifyInterval(40);
    connect(filmClock, &FilmClock::positionChanged, this, [this](qint64 positionMs) {
        if (player->state() == QMediaPlayer::PlayingState)
            followPosition(positionMs);
    });

    stopTimer.setSingleShot(true);
    // A fragment should end where its subtitle ends, not up to 5 % later.
    stopTimer.setTimerType(Qt::PreciseTimer);
    connect(&stopTimer, &QTimer::timeout, this, &MainWindow_2::endFragment);
    fallbackTimer.setSingleShot(true);
    connect(&fallbackTimer, &QTimer::timeout, this, &MainWindow_2::endFragment);
}

MainWindow_2::~MainWindow_2()
{
    delete ui;
}

void MainWindow_2::on_actionPlay_Video2_triggered()
{
    startFragment(startMs, durationMs);
}

void MainWindow_2::startFragment(qint64 fragmentStartMs, qint64 fragmentDurationMs)
{
    startMs = fragmentStartMs;
    durationMs = fragmentDurationMs;
    loadFilm();
    // Held paused at this start, the player only has to play; anywhere else,
    // playing or not, it goes back to the start.
    if (heldAtMs != startMs || player->state() != QMediaPlayer::PausedState)
        filmClock->setPosition(startMs);
    heldAtMs.reset();
    player->play();
    show();
    showFilmProblem();

    following = true;
    stopTimer.stop();
    if (const std::optional<int> delay = fallbackStopMs(durationMs))
        fallbackTimer.start(*delay);
    else
        fallbackTimer.stop();
    // A zero length stops at once.
    followPosition(startMs);
}

void MainWindow_2::holdAt(qint64 positionMs)
{
    loadFilm();
    cancelStop();
    filmClock->setPosition(positionMs);
    player->pause();
    heldAtMs = positionMs;
}

void MainWindow_2::loadFilm()
{
    // A film that could not be read is tried again: it may be there by now.
    if (loadedPath == videoPath && player->error() == QMediaPlayer::NoError
        && player->mediaStatus() != QMediaPlayer::InvalidMedia && !player->media().isNull())
        return;
    loadedPath = videoPath;
    heldAtMs.reset();
    cancelStop();
    // A pipe or a device named as the film would hold the player, and every
    // window with it.
    filmUnreadable = ReadableFile::namesNoRegularFile(videoPath);
    if (filmUnreadable)
        player->setMedia(QMediaContent());
    else
        player->setMedia(QUrl::fromLocalFile(videoPath));
    filmProblem->clear();
}

void MainWindow_2::showFilmProblem()
{
    // A film found wanting while held for the next fragment is told when the
    // learner asks for that fragment.
    if (isVisible() && (filmUnreadable || filmWatch->toldForThisFilm()))
        filmProblem->setText(QStringLiteral("The film could not be played."));
}

void MainWindow_2::followPosition(qint64 positionMs)
{
    if (!following)
        return;
    const std::optional<int> left = msToFragmentEnd(Fragment{startMs, durationMs}, positionMs);
    if (!left)
        stopTimer.stop();
    else if (*left == 0)
        endFragment();
    else
        stopTimer.start(*left);
}

void MainWindow_2::endFragment()
{
    MyStopVideo();
    // Ready for the replay: held at the start, the fragment plays again at
    // once instead of after decoding from the key frame before it.
    if (player->error() == QMediaPlayer::NoError && player->isSeekable())
        holdAt(startMs);
}

void MainWindow_2::MyStopVideo()
{
    cancelStop();
    player->stop();
}

void MainWindow_2::cancelStop()
{
    following = false;
    stopTimer.stop();
    fallbackTimer.stop();
}

void MainWindow_2::closeEvent(QCloseEvent *event)
{
    MyStopVideo();
    hide();
    event->ignore();
}
