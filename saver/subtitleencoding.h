// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SUBTITLEENCODING_H
#define SUBTITLEENCODING_H

#include <QString>

class QByteArray;

// The text of a whole subtitle file that is not UTF-8, decoded: as UTF-16
// after its byte-order mark; else in the legacy encoding the detector finds,
// when subtitle files are written in it; in Windows-1252 otherwise, and also
// when the guess is one page of Latin letters for another on only a few
// non-ASCII bytes, or a page of two bytes a character for a file that holds
// little such text. A guess of an ISO-8859 page whose Windows page has the
// same letters is read in that Windows page when the file holds bytes that
// are control codes in the ISO page; no control code of that range is kept
// from a one-byte page. A file that still looks most like UTF-8 with a few
// bad bytes is UTF-8.
QString decodeLegacySubtitles(const QByteArray &data);

bool startsWithUtf16ByteOrderMark(const QByteArray &data);

#endif // SUBTITLEENCODING_H
