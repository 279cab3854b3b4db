#ifndef TRAINER_MAINWINDOW_2_H
#define TRAINER_MAINWINDOW_2_H

#include <QMainWindow>
#include <QString>
#include <QTimer>

class QMediaPlayer;
class QVideoWidget;

namespace Ui {
class MainWindow_2;
}

// The window that plays an entry's piece of film. Closing it only stops the
// player and hides it; it lives as long as the main widget.
class MainWindow_2 : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow_2(QWidget *parent = nullptr);
    ~MainWindow_2() override;

    QMediaPlayer *player = nullptr;
    QVideoWidget *videoWidget = nullptr;
    qint64 startMs = 0;
    qint64 durationMs = 0;
    // One film serves every entry of the loaded vocabulary file.
    QString videoPath;

    // Arms the stop of the fragment just started, after durationMs. It
    // replaces the stop of any earlier start, so a restarted fragment plays
    // its full length; a negative length leaves it playing on.
    void armStop();

private slots:
    void on_actionPlay_Video2_triggered();

public slots:
    void MyStopVideo();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Ui::MainWindow_2 *ui = nullptr;
    QTimer stopTimer;
};

#endif // TRAINER_MAINWINDOW_2_H
