// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef PLAYBACKLOG_H
#define PLAYBACKLOG_H

#include <QElapsedTimer>
#include <QMutex>
#include <QObject>
#include <QVector>
#include <QVideoProbe>

#include <optional>

class QMediaPlayer;

// What a player reports after a start: when it stopped playing, counted from
// the log's making, and the lowest and highest positions it passed until then.
// Make the log just before the start; unless the player is playing already, a
// stop before it plays again is the start's own and is not counted.
class PlaybackLog : public QObject
{
public:
    explicit PlaybackLog(QMediaPlayer *player);

    std::optional<qint64> stoppedAfterMs;
    std::optional<qint64> lowestPosition;
    std::optional<qint64> highestPosition;

    // The times in the film of the frames that reached the video sink since
    // the log's making, in milliseconds, in the order they came.
    QVector<qint64> frames() const;

private:
    QVideoProbe probe;
    mutable QMutex framesLock;
    QVector<qint64> frameTimes;
    QElapsedTimer clock;
    bool playing = false;
};

#endif // PLAYBACKLOG_H
