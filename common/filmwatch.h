// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FILMWATCH_H
#define FILMWATCH_H

#include <QElapsedTimer>
#include <QObject>

class QMediaPlayer;
class QVideoProbe;

// Tells when the film a player was given cannot be played: the player gives
// up on it (a damaged file, a format without a decoder, a file gone), or it
// plays on without a single picture (a sound file, a picture no decoder
// gives frames for). Told once for each film given to the player.
class FilmWatch : public QObject
{
    Q_OBJECT

public:
    explicit FilmWatch(QMediaPlayer *player);

    // True once cannotPlay() was emitted for the player's film.
    bool toldForThisFilm() const { return told; }

signals:
    void cannotPlay();

private:
    void startFilm();
    void followPosition(qint64 positionMs);
    void tell();

    QMediaPlayer *player;
    QVideoProbe *probe;
    bool told = false;
    bool pictureSeen = false;
    // Since when the film has been playing without a picture.
    QElapsedTimer playingBlind;
    qint64 blindFromMs = 0;
};

#endif // FILMWATCH_H
