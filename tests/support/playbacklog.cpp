// SPDX-License-Identifier: GPL-3.0-or-later
#include "playbacklog.h"

#include <QMediaPlayer>
#include <QMutexLocker>
#include <QVideoFrame>

#include <algorithm>

PlaybackLog::PlaybackLog(QMediaPlayer *player)
    : playing(player->state() == QMediaPlayer::PlayingState)
{
    clock.start();
    connect(player, &QMediaPlayer::stateChanged, this, [this](QMediaPlayer::State state) {
        if (state == QMediaPlayer::PlayingState)
            playing = true;
        else if (state == QMediaPlayer::StoppedState && playing && !stoppedAfterMs)
            stoppedAfterMs = clock.elapsed();
    });
    connect(player, &QMediaPlayer::positionChanged, this, [this](qint64 position) {
        // 0 is the report of a stop, and the player may report once more
        // after it has stopped.
        if (position == 0 || stoppedAfterMs)
            return;
        lowestPosition = std::min(lowestPosition.value_or(position), position);
        highestPosition = std::max(highestPosition.value_or(position), position);
    });

    // Frames come on a streaming thread of the back end.
    probe.setSource(player);
    connect(&probe, &QVideoProbe::videoFrameProbed, this, [this](const QVideoFrame &frame) {
        QMutexLocker lock(&framesLock);
        frameTimes.append(frame.startTime() / 1000);
    }, Qt::DirectConnection);
}

QVector<qint64> PlaybackLog::frames() const
{
    QMutexLocker lock(&framesLock);
    return frameTimes;
}
