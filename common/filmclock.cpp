// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmclock.h"

#include <QMediaPlayer>
#include <QVideoFrame>

#include <algorithm>

namespace {

// A first picture stamped later than this is taken for a film cut out of a
// longer one, whose time goes on from there, not for a muxer's preload.
constexpr qint64 longestStartMs = 10000;
// A first picture stamped earlier than this is stamped for the decoder's
// delay (an MP4's B-frames): the film starts at 0. A program stream's preload
// is longer.
constexpr qint64 shortestStartMs = 200;
// One frame at 25 frames a second.
constexpr qint64 frameTimeMs = 40;
// Seeks sent again for one that lands late: each comes in at a key frame
// before the last one, and a DVD's key frames are half a second apart.
constexpr int reaims = 4;
// A seek lands at most a preload and a key-frame distance late; a frame later
// than that is one a stopped player shows of where it stopped.
constexpr qint64 longestLandingMs = 1400;
// How long a seek waits for its picture.
constexpr int longestLandingWaitMs = 2000;

} // namespace

FilmClock::FilmClock(QMediaPlayer *player, QObject *parent)
    : QObject(parent)
    , player(player)
{
    // Without a probe the back end cannot tell a frame's time stamp, and the
    // player's clock is the only one there is.
    if (!probe.setSource(player))
        offsetMs = 0;
    // Frames are probed on a streaming thread, and handled here with the
    // number of seeks sent before them.
    connect(&probe, &QVideoProbe::videoFrameProbed, this, [this](const QVideoFrame &frame) {
        const int seek = seeksSent.load();
        QMetaObject::invokeMethod(this, [this, frame, seek] { frameArrived(frame, seek); }, Qt::QueuedConnection);
    }, Qt::DirectConnection);
    connect(player, &QMediaPlayer::mediaChanged, this, &FilmClock::filmGiven);
    connect(player, &QMediaPlayer::positionChanged, this,
            [this](qint64 playerMs) { emit positionChanged(toFilmTime(playerMs)); });
    // The player tells a program stream's length from its clock references,
    // which span the film.
    connect(player, &QMediaPlayer::durationChanged, this, &FilmClock::durationChanged);
    // Queued: the player first sends the seeks it held back while loading.
    connect(player, &QMediaPlayer::mediaStatusChanged, this, &FilmClock::sendHeldSeek, Qt::QueuedConnection);
    connect(player, &QMediaPlayer::stateChanged, this, &FilmClock::sendHeldSeek, Qt::QueuedConnection);
    connect(player, &QMediaPlayer::seekableChanged, this, &FilmClock::sendHeldSeek, Qt::QueuedConnection);
    landingWait.setSingleShot(true);
    landingWait.setInterval(longestLandingWaitMs);
    connect(&landingWait, &QTimer::timeout, this, [this] { landingWantedMs.reset(); });
}

qint64 FilmClock::position() const
{
    return toFilmTime(player->position());
}

qint64 FilmClock::duration() const
{
    return player->duration();
}

void FilmClock::setPosition(qint64 filmMs)
{
    if (!offsetMs)
        seekBeforeStartMs = filmMs;
    seekPlayer(toPlayerTime(filmMs));
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
    offsetMs.reset();
    if (!probe.isActive())
        offsetMs = 0;
    seekBeforeStartMs.reset();
    heldSeekMs.reset();
    landingWantedMs.reset();
    landingWait.stop();
    landsLate.reset();
}

void FilmClock::frameArrived(const QVideoFrame &frame, int seek)
{
    if (frame.startTime() < 0)
        return;
    const qint64 stampMs = frame.startTime() / 1000;
    if (!offsetMs) {
        takeStart(stampMs < shortestStartMs || stampMs > longestStartMs ? 0 : stampMs);
        return;
    }
    if (seek == seeksSent.load() && landingWantedMs)
        checkLanding(stampMs);
}

void FilmClock::takeStart(qint64 playerMs)
{
    offsetMs = playerMs;
    if (seekBeforeStartMs && playerMs != 0)
        heldSeekMs = seekBeforeStartMs;
    seekBeforeStartMs.reset();
    sendHeldSeek();
}

void FilmClock::sendHeldSeek()
{
    // A loading player loses a seek.
    const QMediaPlayer::MediaStatus status = player->mediaStatus();
    const bool takesSeeks = player->state() != QMediaPlayer::StoppedState && player->isSeekable()
                            && (status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferingMedia
                                || status == QMediaPlayer::BufferedMedia);
    if (!heldSeekMs || !takesSeeks)
        return;
    const qint64 filmMs = *heldSeekMs;
    heldSeekMs.reset();
    seekPlayer(toPlayerTime(filmMs));
}

void FilmClock::seekPlayer(qint64 playerMs)
{
    // Only a film whose first picture comes after the player's clock starts
    // (a program stream) seeks on a clock its pictures are not stamped on.
    // Any other film lands where it is sent; a frame from before its seek
    // must not send it elsewhere.
    if (startOffsetMs() > 0) {
        landingWantedMs = playerMs;
        aimedMs = playerMs;
        aimsLeft = reaims;
        landingWait.start();
    } else {
        landingWantedMs.reset();
        landingWait.stop();
    }
    player->setPosition(playerMs);
    ++seeksSent;
}

void FilmClock::checkLanding(qint64 landedMs)
{
    const qint64 lateMs = landedMs - *landingWantedMs;
    // A frame before the aim is the key frame before it, or the film's first
    // picture, shown before a seek made while it loads.
    if (landedMs < aimedMs - frameTimeMs || lateMs > longestLandingMs)
        return;
    // The film's first seek tells whether it lands late at all: less than
    // this is a decoder's delay in the stamps.
    if (!landsLate)
        landsLate = lateMs > shortestStartMs;
    if (!*landsLate || lateMs <= frameTimeMs || aimsLeft == 0) {
        landingWantedMs.reset();
        landingWait.stop();
        return;
    }
    --aimsLeft;
    aimedMs = std::max<qint64>(0, aimedMs - lateMs - frameTimeMs);
    player->setPosition(aimedMs);
    ++seeksSent;
    landingWait.start();
}
