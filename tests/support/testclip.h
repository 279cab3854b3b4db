// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef TESTCLIP_H
#define TESTCLIP_H

#include <QString>

// Makes a short Ogg/Theora clip (test pattern, 25 frames a second, 320x240)
// with gst-launch-1.0 and returns its absolute path, or an empty string when
// GStreamer could not make it. With `withTone` the clip also carries a
// Vorbis sine tone.
QString makeTestClip(const QString &directory, int seconds, bool withTone = false);

#endif // TESTCLIP_H
