// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef TRAINER_MAINWINDOW_2_H
#define TRAINER_MAINWINDOW_2_H

#include <QMainWindow>
#include <QString>
#include <QTimer>

#include <optional>

class FilmClock;
class FilmWatch;
class QLabel;
class QMediaPlayer;
class QVideoWidget;

namespace Ui {
class MainWindow_2;
}

// The window that plays an entry's piece of film. Closing it (or Escape)
// only stops the player and hides it; it lives as long as the main widget.
// Showing it leaves the keyboard with the main widget.
class MainWindow_2 : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow_2(QWidget *parent = nullptr);
    ~MainWindow_2() override;

    QMediaPlayer *player = nullptr;
    // The player's positions and seeks in the film's own time, the time of
    // the entries' ranges.
    FilmClock *filmClock = nullptr;
    QVideoWidget *videoWidget = nullptr;
    qint64 startMs = 0;
    qint64 durationMs = 0;
    // One film serves every entry of the loaded vocabulary file.
    QString videoPath;

    // Plays the fragment from startMs for durationMs in this window, shown,
    // and stops it when playback reaches its end. Every start plays the full
    // length; a start while a fragment plays begins it again, and only the
    // latest start's stop applies.
    void startFragment(qint64 fragmentStartMs, qint64 fragmentDurationMs);
    // Moves the player, silently, to where a fragment starts and holds it
    // there paused, so that the film is decoded up to that point before the
    // learner asks for it.
    void holdAt(qint64 positionMs);
    // Gives the player the film of videoPath unless it holds it already. A
    // fragment of the film it held before is given up.
    void loadFilm();

private slots:
    void on_actionPlay_Video2_triggered();

public slots:
    void MyStopVideo();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void followPosition(qint64 positionMs);
    void endFragment();
    // No stop is to come: the fragment was given up.
    void cancelStop();
    // Says, in the shown window, that its film cannot be played.
    void showFilmProblem();

    Ui::MainWindow_2 *ui = nullptr;
    // The film the player holds, and where it is held paused for a start.
    QString loadedPath;
    std::optional<qint64> heldAtMs;
    // True from a start with a stop to come until that stop.
    bool following = false;
    QTimer stopTimer;
    QTimer fallbackTimer;
    FilmWatch *filmWatch = nullptr;
    QLabel *filmProblem = nullptr;
    // The film's path names no file the player may be given.
    bool filmUnreadable = false;
};

#endif // TRAINER_MAINWINDOW_2_H
