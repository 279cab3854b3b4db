// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef FRAMENUMBER_H
#define FRAMENUMBER_H

// The number a benchmark film carries in each frame as twelve white squares,
// bit 0 on the left, in its bottom rows (bench/run.py makes such films): read
// from the pixels, not from time stamps the player could get wrong.

#include <QAbstractVideoBuffer>
#include <QVideoFrame>

namespace {
constexpr int bitCount = 12;

// The luma of one pixel, for the pixel formats GStreamer hands out.
int brightness(const QVideoFrame &frame, int x, int y)
{
    const uchar *bits = frame.bits(0);
    const int stride = frame.bytesPerLine(0);
    switch (frame.pixelFormat()) {
    case QVideoFrame::Format_YUV420P:
    case QVideoFrame::Format_YV12:
    case QVideoFrame::Format_NV12:
    case QVideoFrame::Format_NV21:
        return bits[y * stride + x];
    case QVideoFrame::Format_UYVY:
        return bits[y * stride + 2 * x + 1];
    case QVideoFrame::Format_YUYV:
        return bits[y * stride + 2 * x];
    default:
        // 32-bit RGB of either order: green weighs most in luma.
        return bits[y * stride + 4 * x + 1];
    }
}

int frameNumber(QVideoFrame frame)
{
    if (!frame.map(QAbstractVideoBuffer::ReadOnly))
        return -1;
    const double scale = frame.width() / 1920.0;
    int number = 0;
    for (int bit = 0; bit < bitCount; ++bit) {
        const int x = int((64 + bit * 60) * scale);
        const int y = int(1004 * scale);
        if (brightness(frame, x, y) > 128)
            number |= 1 << bit;
    }
    frame.unmap();
    return number;
}

} // namespace

#endif // FRAMENUMBER_H
