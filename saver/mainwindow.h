// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "closefence.h"
#include "vocabularytarget.h"

#include <QMainWindow>
#include <QString>

#include <memory>

class CueDisplay;
class FilmClock;
class MainWindow_2;
class MainWindow_Help;
class My_Dialog;
class QMediaPlayer;
class QProgressBar;
class QRect;
class QSlider;
class QVideoWidget;

namespace Ui {
class MainWindow;
}

// The film player: plays the chosen video in its own window, tracks the
// position in the status bar and shows the subtitle cue of the position.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    // Bound by name to the tool-bar actions when the form is set up.
    void on_actionPlay_triggered();
    void on_actionPause_triggered();
    void on_actionStopVideo_triggered();
    void on_actionOpenVideo_triggered();
    void on_actionOpenSub_triggered();
    void on_actionOpenTextFile_triggered();
    void on_actionSaveYour_triggered();
    void on_actionCreateTextFile_triggered();
    void on_actionAbout_triggered();

public slots:
    // Runs at every position report of the player.
    void MySetSub();
    // Moves the player to the time typed in the "Time:" field.
    void MySetPoz();
    // Stops the film; the video window asks for it when it is closed.
    void stopPlayback();

private:
    // Shows the video window, beside this one the first time, and plays.
    void showVideoWindow();
    // What a jump to `position` asked by the learner does to the subtitle.
    void followSeek(qint64 position);
    // Reads the file at subtitlePath for the follower; false for no subtitle file.
    bool loadSubtitleFile();
    // The status bar's confirmation for the file just chosen, or why it cannot be written to.
    void showTargetChosen(CaptureProblem problem);

    void showRefusal(CaptureProblem problem);
    // Says once for each film chosen that it cannot be played.
    void tellFilmNotPlayed();
    void showAttention(const QString &text, const QRect &labelGeometry);

    MainWindow_2 *videoWindow = nullptr;
    MainWindow_Help *helpWindow = nullptr;
    QMediaPlayer *player = nullptr;
    // The player's positions and seeks in the film's own time.
    FilmClock *filmClock = nullptr;
    QVideoWidget *videoWidget = nullptr;
    QProgressBar *progressBar = nullptr;
    QSlider *slider = nullptr;
    // The subtitle follower, and the fields it writes.
    std::unique_ptr<CueDisplay> cueDisplay;
    Ui::MainWindow *ui = nullptr;
    QString videoPath;
    QString subtitlePath;
    // The vocabulary file the entries are saved to.
    VocabularyTarget target;
    My_Dialog *attentionDialog = nullptr;
    // No second dialog or save inside one, and no close under one.
    CloseFence closeFence{this};
};

#endif // MAINWINDOW_H
