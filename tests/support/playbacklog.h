#ifndef PLAYBACKLOG_H
#define PLAYBACKLOG_H

#include <QElapsedTimer>
#include <QObject>

#include <optional>

class QMediaPlayer;

// What a player reports after a start: when it stopped playing, counted from
// the log's making, and the lowest and highest positions it passed until then.
// Make the log just before the start; a stop before the player plays again is
// the start's own and is not counted.
class PlaybackLog : public QObject
{
public:
    explicit PlaybackLog(QMediaPlayer *player);

    std::optional<qint64> stoppedAfterMs;
    std::optional<qint64> lowestPosition;
    std::optional<qint64> highestPosition;

private:
    QElapsedTimer clock;
    bool playing = false;
};

#endif // PLAYBACKLOG_H
