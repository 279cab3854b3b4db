// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmformats.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

namespace {

constexpr int gstTimeoutMs = 120000;

bool runs(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(gstTimeoutMs) && process.exitStatus() == QProcess::NormalExit
           && process.exitCode() == 0;
}

} // namespace

void addFilmFormatRows()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("encoder");
    QTest::addColumn<bool>("mustPlay");
    // What streaming sites and downloads deliver now.
    QTest::newRow("AV1 in Matroska") << "av1.mkv" << "av1enc cpu-used=8 ! av1parse ! matroskamux" << true;
    QTest::newRow("AV1 in WebM") << "av1.webm" << "av1enc cpu-used=8 ! av1parse ! webmmux" << true;
    // A DVD rip. The libav MPEG-2 encoder of Debian 12 refuses every frame rate.
    QTest::newRow("MPEG-2 in an MPEG program stream") << "dvd.mpg" << "mpeg2enc format=3 ! mpegpsmux" << true;
    QTest::newRow("MPEG-2 in a DVD's VOB file") << "dvd.vob" << "mpeg2enc format=8 ! mpegpsmux" << true;
    QTest::newRow("Windows Media Video in ASF") << "film.wmv" << "avenc_wmv2 ! asfmux" << true;
    QTest::newRow("H.264 10-bit in MP4")
        << "h264-10bit.mp4" << "videoconvert ! video/x-raw,format=I420_10LE ! x264enc ! h264parse ! mp4mux"
        << false;
    QTest::newRow("HEVC in Matroska") << "hevc.mkv" << "x265enc ! h265parse ! matroskamux" << false;
}

namespace {

QStringList missingElements(const QString &encoder)
{
    QStringList missing;
    const QStringList links = encoder.split(QLatin1Char('!'));
    for (const QString &link : links) {
        const QString element = link.trimmed().section(QLatin1Char(' '), 0, 0);
        // Caps between the elements name no element.
        if (element.contains(QLatin1Char('/')))
            continue;
        if (!runs(QStringLiteral("gst-inspect-1.0"), {QStringLiteral("--exists"), element}))
            missing << element;
    }
    return missing;
}

} // namespace

FormatClip makeRowClip(const QString &directory, int seconds)
{
    QFETCH(QString, fileName);
    QFETCH(QString, encoder);
    QFETCH(bool, mustPlay);
    FormatClip clip;
    const QStringList missing = missingElements(encoder);
    if (!missing.isEmpty()) {
        const QString lacking = QStringLiteral("GStreamer lacks ") + missing.join(QStringLiteral(", "));
        if (mustPlay)
            clip.failure = lacking + QStringLiteral(": scripts/setup installs it");
        else
            clip.skipReason = lacking;
        return clip;
    }

    const QString path = QDir(directory).absoluteFilePath(fileName);
    QStringList arguments{
        QStringLiteral("-q"),
        QStringLiteral("videotestsrc"), QStringLiteral("num-buffers=%1").arg(seconds * 25), QStringLiteral("!"),
        QStringLiteral("video/x-raw,format=I420,width=160,height=120,framerate=25/1"), QStringLiteral("!"),
    };
    arguments << encoder.split(QLatin1Char(' '), Qt::SkipEmptyParts) << QStringLiteral("!")
              << QStringLiteral("filesink") << QStringLiteral("location=") + path;
    if (runs(QStringLiteral("gst-launch-1.0"), arguments) && QFileInfo(path).size() > 0)
        clip.path = path;
    else
        clip.failure = QStringLiteral("gst-launch-1.0 could not make ") + fileName;
    return clip;
}
