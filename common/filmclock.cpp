// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmclock.h"

#include <QMediaPlayer>
#include <QVideoFrame>

#include <algorithm>

namespace {

// A first picture stamped later than this is taken for a film cut out of a
// longer one, whose time goes on from there, not for a muxer's preload.
constexpr qint64 longestStartMs = 10000;
// Less than this is the time the first frame took to reach the clock: the
// film starts at 0. A program stream's preload is half a second or more.
constexpr qint64 shortestStartMs = 100;
// One frame at 25 frames a second.
constexpr qint64 frameTimeMs = 40;

} // namespace

FilmClock::FilmClock(QMediaPlayer *player, QObject *parent)
    : QObject(parent)
    , player(player)
{
    // Without a probe the back end cannot tell a frame's time stamp, and the
    // player's clock is the only one there is.
    if (!probe.setSource(player))
        offsetMs = 0;
    // Frames are probed on a streaming thread; the connection queues them.
    connect(&probe, &QVideoProbe::videoFrameProbed, this, &FilmClock::frameArrived, Qt::QueuedConnection);
    connect(player, &QMediaPlayer::mediaChanged, this, &FilmClock::filmGiven);
    connect(player, &QMediaPlayer::positionChanged, this,
            [this](qint64 playerMs) { emit positionChanged(toFilmTime(playerMs)); });
    connect(player, &QMediaPlayer::durationChanged, this,
            [this](qint64 playerMs) { emit durationChanged(toFilmTime(playerMs)); });
    connect(player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        // A film without pictures, or none at all, has no start to find.
        const bool noFrameToCome = status == QMediaPlayer::InvalidMedia || status == QMediaPlayer::NoMedia
                                   || status == QMediaPlayer::EndOfMedia
                                   || ((status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferedMedia)
                                       && !this->player->isVideoAvailable());
        if (noFrameToCome && !offsetMs)
            takeStart(0);
    });
    connect(player, QOverload<QMediaPlayer::Error>::of(&QMediaPlayer::error), this, [this] {
        if (!offsetMs)
            takeStart(0);
    });
}

qint64 FilmClock::position() const
{
    return toFilmTime(player->position());
}

qint64 FilmClock::duration() const
{
    return toFilmTime(player->duration());
}

void FilmClock::setPosition(qint64 filmMs)
{
    if (!offsetMs) {
        heldSeekMs = filmMs;
        return;
    }
    player->setPosition(toPlayerTime(filmMs));
}

qint64 FilmClock::toFilmTime(qint64 playerMs) const
{
    return std::max<qint64>(0, playerMs - startOffsetMs());
}

qint64 FilmClock::toPlayerTime(qint64 filmMs) const
{
    return filmMs + startOffsetMs();
}

void FilmClock::filmGiven()
{
    heldSeekMs.reset();
    if (probe.isActive())
        offsetMs.reset();
}

void FilmClock::frameArrived(const QVideoFrame &frame)
{
    if (offsetMs)
        return;
    // The player counts the first picture as its segment begins: at its time
    // stamp in a program stream, at 0 in an MP4 whose pictures are stamped
    // after the decoder's delay. Its position now is that count, plus the
    // moments the frame took to get here; the stamp is exact where the two
    // agree within a frame.
    const qint64 playerMs = player->position();
    const qint64 stampMs = frame.startTime() / 1000;
    qint64 startMs = frame.startTime() >= 0 && qAbs(playerMs - stampMs) <= frameTimeMs ? stampMs : playerMs;
    if (startMs < shortestStartMs || startMs > longestStartMs)
        startMs = 0;
    takeStart(startMs);
}

void FilmClock::takeStart(qint64 playerMs)
{
    offsetMs = playerMs;
    if (!heldSeekMs)
        return;
    const qint64 filmMs = *heldSeekMs;
    heldSeekMs.reset();
    player->setPosition(toPlayerTime(filmMs));
}
