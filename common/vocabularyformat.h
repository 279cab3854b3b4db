// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef VOCABULARYFORMAT_H
#define VOCABULARYFORMAT_H

#include <QString>

#include <optional>
#include <string_view>

// The layout of a vocabulary file, shared by the program that writes it and
// the one that reads it. The file is UTF-8 without a byte-order mark; line 1
// is the video path, every later line one record:
//     word --> translation[ --> context][ --> start***end]
// followed by CR LF. Line breaks inside a field are stored as "-*-".
namespace VocabularyFormat {

constexpr char FieldSeparator[] = " --> ";
// What the reader looks for; it then drops one character on each side.
constexpr char SeparatorCore[] = "-->";
constexpr char LineBreakMarker[] = "-*-";
constexpr char TimeRangeJoiner[] = "***";
constexpr char LineTerminator[] = "\r\n";

// The film's file name in a video path, which may have been written on another
// system: what follows its last "/" or "\". A film is known by it when its
// folder has moved.
inline QString filmFileName(const QString &videoPath)
{
    const int lastSeparator = qMax(videoPath.lastIndexOf(QLatin1Char('/')), videoPath.lastIndexOf(QLatin1Char('\\')));
    return videoPath.mid(lastSeparator + 1);
}

// A file's first line without the byte-order mark that an editor may have put
// before it.
std::string_view withoutByteOrderMark(std::string_view firstLine);

// The film line that a vocabulary file's first line holds, as both programs
// read it: a byte-order mark dropped, the rest decoded as UTF-8. A record is
// no film line, so a file that begins with one belongs to no film; a line
// that starts with the separator core is no record, and names the film.
std::optional<QString> filmLineOf(std::string_view firstLine);

} // namespace VocabularyFormat

#endif // VOCABULARYFORMAT_H
