// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FILMCLOCK_H
#define FILMCLOCK_H

#include <QObject>
#include <QVideoProbe>

#include <optional>

class QMediaPlayer;
class QVideoFrame;

// The film's own time, counted from its first picture as other players count
// it, for a QMediaPlayer that counts from the container's clock. Most films
// stamp their first picture at 0 and both clocks agree; an MPEG program
// stream (a DVD rip) stamps it after its first clock reference, about half a
// second in, and the player's positions run ahead of the picture by as much.
//
// The clock takes the player's time of the first frame after a film is given
// to it, before any seek, as the film's start; until then seeks are held back
// and sent once it is known. Every position shown, stored or sought goes
// through here, so nothing else needs to know about the start.
class FilmClock : public QObject
{
    Q_OBJECT

public:
    explicit FilmClock(QMediaPlayer *player, QObject *parent = nullptr);

    // The player's time of the film's first picture, 0 until it is known.
    qint64 startOffsetMs() const { return offsetMs.value_or(0); }
    bool knowsStart() const { return offsetMs.has_value(); }

    qint64 position() const;
    qint64 duration() const;
    // Moves the player to `filmMs` of the film's time.
    void setPosition(qint64 filmMs);

    qint64 toFilmTime(qint64 playerMs) const;
    qint64 toPlayerTime(qint64 filmMs) const;

signals:
    void positionChanged(qint64 filmMs);
    void durationChanged(qint64 filmMs);

private:
    void filmGiven();
    void frameArrived(const QVideoFrame &frame);
    void takeStart(qint64 playerMs);

    QMediaPlayer *player = nullptr;
    QVideoProbe probe;
    std::optional<qint64> offsetMs;
    // A seek asked for before the start was known, in the film's time.
    std::optional<qint64> heldSeekMs;
};

#endif // FILMCLOCK_H
