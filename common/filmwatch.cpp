// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmwatch.h"

#include <QMediaPlayer>
#include <QVideoFrame>
#include <QVideoProbe>

namespace {

// A film with a picture hands its first frame to the screen before it starts
// to play; one that has played this long (on the clock and in the film)
// without one shows none.
constexpr qint64 blindPlayMs = 1000;

} // namespace

FilmWatch::FilmWatch(QMediaPlayer *player)
    : QObject(player)
    , player(player)
    , probe(new QVideoProbe(this))
{
    connect(player, &QMediaPlayer::mediaChanged, this, &FilmWatch::startFilm);
    connect(player, QOverload<QMediaPlayer::Error>::of(&QMediaPlayer::error), this,
            [this](QMediaPlayer::Error error) {
                if (error != QMediaPlayer::NoError)
                    tell();
            });
    connect(player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::InvalidMedia)
            tell();
    });
    connect(player, &QMediaPlayer::positionChanged, this, &FilmWatch::followPosition);
    // Taking the probe off the player after the first frame could pull it from
    // under a frame the decoding thread is handing over.
    connect(probe, &QVideoProbe::videoFrameProbed, this, [this] { pictureSeen = true; });
    probe->setSource(player);
    startFilm();
}

void FilmWatch::startFilm()
{
    told = false;
    pictureSeen = false;
    playingBlind.invalidate();
}

void FilmWatch::followPosition(qint64 positionMs)
{
    if (pictureSeen || told || player->state() != QMediaPlayer::PlayingState)
        return;
    if (!playingBlind.isValid()) {
        playingBlind.start();
        blindFromMs = positionMs;
        return;
    }
    if (playingBlind.elapsed() >= blindPlayMs && qAbs(positionMs - blindFromMs) >= blindPlayMs)
        tell();
}

void FilmWatch::tell()
{
    if (told)
        return;
    told = true;
    emit cannotPlay();
}
