// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SUBTITLEENCODING_H
#define SUBTITLEENCODING_H

class QByteArray;
class QTextCodec;

// The codec of a whole subtitle file that is not UTF-8: UTF-16 after its
// byte-order mark; else the legacy encoding the detector finds, when subtitle
// files are written in it; Windows-1252 otherwise, and also when the guess is
// one page of Latin letters for another on only a few non-ASCII bytes, or a
// page of two bytes a character for a file that holds little such text. A
// file that still looks most like UTF-8 with a few bad bytes is UTF-8.
QTextCodec *legacySubtitleCodec(const QByteArray &data);

bool startsWithUtf16ByteOrderMark(const QByteArray &data);

#endif // SUBTITLEENCODING_H
