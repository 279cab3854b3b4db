// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FILMCLOCK_H
#define FILMCLOCK_H

#include <QObject>
#include <QTimer>
#include <QVideoProbe>

#include <atomic>
#include <optional>

class QMediaPlayer;
class QVideoFrame;

// The film's own time, counted from its first picture as other players count
// it, for a QMediaPlayer that counts from the container's clock. Most films
// stamp their first picture at 0 and both clocks agree; an MPEG program
// stream (a DVD rip) stamps it after its first clock reference, about half a
// second in, and the player's positions run ahead of the picture by as much.
//
// The clock takes the time stamp of the first frame after a film is given to
// the player as the film's start: the player shows that picture first, also
// when it was asked to seek before. A seek sent before the start was known is
// sent again once it is. Every position shown, stored or sought goes through
// here, so nothing else needs to know about the start.
//
// A seek that brings its first picture in later than asked is sent again,
// earlier, until the picture comes in at or before the time asked: in a
// program stream the player seeks by the clock references, whose pictures are
// stamped half a second later, and decoding starts at the next key frame
// after those, up to a second late. Other films land where they are sent.
class FilmClock : public QObject
{
    Q_OBJECT

public:
    explicit FilmClock(QMediaPlayer *player, QObject *parent = nullptr);

    // The player's time of the film's first picture, 0 until it is known.
    qint64 startOffsetMs() const { return offsetMs.value_or(0); }

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
    void frameArrived(const QVideoFrame &frame, int seek);
    void takeStart(qint64 playerMs);
    void sendHeldSeek();
    void seekPlayer(qint64 playerMs);
    void checkLanding(qint64 landedMs);

    QMediaPlayer *player = nullptr;
    QVideoProbe probe;
    std::optional<qint64> offsetMs;
    // A seek sent before the start was known, in the film's time; and one to
    // send again with the start, once the player takes seeks.
    std::optional<qint64> seekBeforeStartMs;
    std::optional<qint64> heldSeekMs;
    // The seek whose first picture is awaited, in the player's time: where the
    // picture is wanted and where the player was sent for it.
    std::optional<qint64> landingWantedMs;
    qint64 aimedMs = 0;
    int aimsLeft = 0;
    QTimer landingWait;
    // The film's first seek came in late: it is a program stream.
    std::optional<bool> landsLate;
    // Counts the seeks sent, so that a frame is known for one that came before
    // the last seek; read on the streaming thread.
    std::atomic<int> seeksSent{0};
};

#endif // FILMCLOCK_H
