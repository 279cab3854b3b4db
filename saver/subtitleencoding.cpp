// SPDX-License-Identifier: GPL-3.0-or-later
#include "subtitleencoding.h"

#include <QByteArray>
#include <QTextCodec>

#include <uchardet.h>

#include <algorithm>
#include <iterator>

namespace {

enum class Kind {
    // Pages of Latin letters, which tell each other apart only by a few
    // letters.
    LatinPage,
    OtherPage,
    // Two bytes a character: text in them is made of such bytes, and a file
    // of Latin letters with a few curly quotes among them is not.
    TwoBytes,
};

// The page most legacy subtitle files are written in, and the one read when
// a file's own cannot be told.
constexpr char commonPage[] = "WINDOWS-1252";

struct Encoding
{
    const char *name;
    Kind kind;
    // For an ISO page: the Windows page of the same letters, with quotes,
    // dashes and ellipses where the ISO page has control codes. A file with
    // bytes there was written in the Windows page (the detector names
    // ISO-8859-13 for Lithuanian and Latvian files in Windows-1257 too).
    const char *withControlBytes = nullptr;
};

// Encodings subtitle files are written in. The detector also knows pages
// that no subtitle file uses (IBM852, Mac Central European, ISO-8859-10 and
// more), and it names them for English files with a few accents or curly
// quotes, which are the common case of a legacy file.
const Encoding subtitleEncodings[] = {
    {"WINDOWS-1250", Kind::LatinPage},
    {"WINDOWS-1251", Kind::OtherPage},
    {commonPage, Kind::LatinPage},
    {"WINDOWS-1253", Kind::OtherPage},
    {"WINDOWS-1254", Kind::LatinPage},
    {"WINDOWS-1255", Kind::OtherPage},
    {"WINDOWS-1256", Kind::OtherPage},
    {"WINDOWS-1257", Kind::LatinPage},
    {"WINDOWS-1258", Kind::LatinPage},
    {"ISO-8859-2", Kind::LatinPage},
    {"ISO-8859-5", Kind::OtherPage},
    {"ISO-8859-7", Kind::OtherPage, "WINDOWS-1253"},
    {"ISO-8859-13", Kind::LatinPage, "WINDOWS-1257"},
    {"ISO-8859-15", Kind::LatinPage, commonPage},
    {"KOI8-R", Kind::OtherPage},
    {"KOI8-U", Kind::OtherPage},
    {"UTF-16", Kind::OtherPage},
    {"UTF-16LE", Kind::OtherPage},
    {"UTF-16BE", Kind::OtherPage},
    {"UTF-32", Kind::OtherPage},
    {"UTF-32LE", Kind::OtherPage},
    {"UTF-32BE", Kind::OtherPage},
    {"SHIFT_JIS", Kind::TwoBytes},
    {"EUC-JP", Kind::TwoBytes},
    {"GB18030", Kind::TwoBytes},
    {"BIG5", Kind::TwoBytes},
    {"EUC-KR", Kind::TwoBytes},
    {"CP949", Kind::TwoBytes},
    {"TIS-620", Kind::OtherPage},
};

// Names the detector gives to files in one of those encodings: Korean files
// in the extended EUC-KR of Windows, Cyrillic ones it mistakes for pages of
// DOS or old Macs, which no subtitle file is written in. Windows-1252 and
// Windows-1254 hold every letter of ISO-8859-1 and ISO-8859-9 where those
// have them, and punctuation where those have control codes: the detector
// names the ISO page for Western and Turkish files with curly quotes, and
// it has no name for Windows-1254 at all.
const std::pair<const char *, const char *> detectedAliases[] = {
    {"UHC", "CP949"},
    {"ISO-8859-1", commonPage},
    {"ISO-8859-9", "WINDOWS-1254"},
    {"MAC-CYRILLIC", "WINDOWS-1251"},
    {"IBM855", "WINDOWS-1251"},
    {"IBM866", "WINDOWS-1251"},
};

// A guess among the Latin pages on fewer non-ASCII bytes than this is no
// better than the common page.
constexpr int fewNonAsciiBytes = 4;
// The least share of bytes outside ASCII, in percent, in a file of text of two
// bytes a character: index lines and times take most of a cue.
constexpr int twoByteTextPercent = 10;

QByteArray detectedEncoding(const QByteArray &data)
{
    QByteArray name;
    uchardet_t detector = uchardet_new();
    if (uchardet_handle_data(detector, data.constData(), size_t(data.size())) == 0) {
        uchardet_data_end(detector);
        name = QByteArray(uchardet_get_charset(detector)).toUpper();
    }
    uchardet_delete(detector);
    for (const auto &[detected, encoding] : detectedAliases) {
        if (name == detected)
            return encoding;
    }
    return name;
}

const Encoding *findEncoding(const QByteArray &name)
{
    const auto encoding = std::find_if(std::begin(subtitleEncodings), std::end(subtitleEncodings),
                                       [&name](const Encoding &each) { return name == each.name; });
    return encoding == std::end(subtitleEncodings) ? nullptr : encoding;
}

bool isControlByte(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return value >= 0x80 && value <= 0x9F;
}

bool holdsControlBytes(const QByteArray &data)
{
    return std::any_of(data.cbegin(), data.cend(), isControlByte);
}

// The encoding guessed, or the common page when the file holds too little
// text of that encoding to tell.
QByteArray checkedGuess(const QByteArray &data, const Encoding &encoding)
{
    const qint64 nonAscii = std::count_if(data.cbegin(), data.cend(), [](char byte) {
        return static_cast<unsigned char>(byte) >= 0x80;
    });
    if (encoding.kind == Kind::LatinPage && nonAscii < fewNonAsciiBytes)
        return commonPage;
    if (encoding.kind == Kind::TwoBytes && nonAscii * 100 < qint64(data.size()) * twoByteTextPercent)
        return commonPage;
    return encoding.name;
}

QByteArray legacyEncoding(const QByteArray &data)
{
    if (startsWithUtf16ByteOrderMark(data))
        return "UTF-16";
    const QByteArray name = detectedEncoding(data);
    // A UTF-8 file with a few bytes off still looks most like UTF-8 (or
    // ASCII); it is decoded as UTF-8, the bad bytes replaced.
    if (name == "UTF-8" || name == "ASCII")
        return "UTF-8";
    const Encoding *encoding = findEncoding(name);
    if (!encoding)
        return commonPage;
    if (encoding->withControlBytes && holdsControlBytes(data))
        encoding = findEncoding(encoding->withControlBytes);
    return checkedGuess(data, *encoding);
}

} // namespace

bool startsWithUtf16ByteOrderMark(const QByteArray &data)
{
    return data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF");
}

QString decodeLegacySubtitles(const QByteArray &data)
{
    const QByteArray name = legacyEncoding(data);
    QTextCodec *codec = QTextCodec::codecForName(name);
    if (!codec)
        codec = QTextCodec::codecForName(commonPage);
    QString text = codec->toUnicode(data);
    // The pages of Windows leave a few bytes out; the toolkit gives them as
    // control codes, which no subtitle holds and nothing shows.
    if (!name.startsWith("UTF-")) {
        for (QChar &character : text) {
            if (character.unicode() >= 0x80 && character.unicode() <= 0x9F)
                character = QChar::ReplacementCharacter;
        }
    }
    return text;
}
