// SPDX-License-Identifier: GPL-3.0-or-later
#include "testclip.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

QString makeTestClip(const QString &directory, int seconds, bool withTone)
{
    const QString path = QDir(directory).absoluteFilePath(
        QStringLiteral("clip-%1s%2.ogv").arg(seconds).arg(withTone ? QStringLiteral("-tone") : QString()));
    if (QFileInfo(path).size() > 0)
        return path;

    const int frames = seconds * 25;
    QStringList arguments{
        QStringLiteral("-q"),
        QStringLiteral("videotestsrc"), QStringLiteral("num-buffers=%1").arg(frames), QStringLiteral("!"),
        QStringLiteral("video/x-raw,width=320,height=240,framerate=25/1"), QStringLiteral("!"),
        QStringLiteral("theoraenc"), QStringLiteral("!"), QStringLiteral("queue"), QStringLiteral("!"),
        QStringLiteral("oggmux"), QStringLiteral("name=mux"), QStringLiteral("!"),
        QStringLiteral("filesink"), QStringLiteral("location=") + path,
    };
    if (withTone) {
        // 44.1 kHz in buffers of 1024 samples.
        const int audioBuffers = seconds * 44100 / 1024;
        arguments << QStringLiteral("audiotestsrc") << QStringLiteral("num-buffers=%1").arg(audioBuffers)
                  << QStringLiteral("volume=0.1") << QStringLiteral("!")
                  << QStringLiteral("audioconvert") << QStringLiteral("!")
                  << QStringLiteral("vorbisenc") << QStringLiteral("!")
                  << QStringLiteral("queue") << QStringLiteral("!") << QStringLiteral("mux.");
    }
    QProcess gst;
    gst.start(QStringLiteral("gst-launch-1.0"), arguments);
    if (!gst.waitForFinished(120000) || gst.exitStatus() != QProcess::NormalExit || gst.exitCode() != 0)
        return QString();
    return QFileInfo(path).size() > 0 ? path : QString();
}
