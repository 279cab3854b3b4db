// SPDX-License-Identifier: GPL-3.0-or-later
#include "subtitles.h"

#include "blocklinereader.h"
#include "readablefile.h"
#include "timestamp.h"

#include <QBuffer>
#include <QFile>
#include <QTextCodec>

#include <uchardet.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>

namespace {

// A line as the rules see it: without its terminator (CR LF, LF, or none on
// the last line) and cut at its first NUL byte, if any; a NUL hides the
// terminator too.
std::string_view textOf(const char *bytes, qint64 size)
{
    if (const void *nul = std::memchr(bytes, '\0', size_t(size)))
        return std::string_view(bytes, size_t(static_cast<const char *>(nul) - bytes));
    if (size > 0 && bytes[size - 1] == '\n')
        --size;
    if (size > 0 && bytes[size - 1] == '\r')
        --size;
    return std::string_view(bytes, size_t(size));
}

bool isBlank(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

enum class Outcome { Read, NotUtf8, ReadFailed };

// The reading rules, on a device whose kept lines are UTF-8. Stops at the
// first cue with text that is not valid UTF-8.
Outcome readCues(QIODevice &device, int blockSize, SubtitleTable &table)
{
    BlockLineReader reader(device, blockSize);
    auto nextLine = [&reader](std::string_view &line) {
        const char *bytes = nullptr;
        qint64 size = 0;
        if (!reader.next(bytes, size))
            return false;
        line = textOf(bytes, size);
        return true;
    };
    QTextCodec *const utf8 = QTextCodec::codecForMib(106);
    bool valid = true;
    auto decode = [utf8, &valid](std::string_view line) {
        QTextCodec::ConverterState state;
        QString text = utf8->toUnicode(line.data(), int(line.size()), &state);
        valid = valid && state.invalidChars == 0 && state.remainingChars == 0;
        return text;
    };

    // Files list their cues in order, so most cues go after the last one
    // without a search.
    qint64 lastStartMs = 0;
    std::string_view line;
    while (nextLine(line)) {
        if (line.find("-->") == std::string_view::npos)
            continue;
        const QString timeLine = decode(line);
        const qint64 startMs = timestampToMs(timeLine.left(12));
        SubtitleCue cue;
        cue.endMs = timestampToMs(timeLine.mid(17, 12));
        while (nextLine(line) && !isBlank(line)) {
            QString text = decode(line);
            // A line that decodes to nothing ends the text as a blank one
            // does: a lone byte-order mark is dropped by the decoder.
            if (text.isEmpty())
                break;
            // The decoder leaves room for a character per byte, which text
            // outside ASCII does not use, for as long as the table lives.
            text.squeeze();
            cue.lines.append(text);
        }
        if (!valid)
            return Outcome::NotUtf8;

        if (table.isEmpty() || startMs > lastStartMs) {
            table.insert(table.constEnd(), startMs, cue);
            lastStartMs = startMs;
        } else if (!table.contains(startMs)) {
            table.insert(startMs, cue);
        }
    }
    return reader.failed() ? Outcome::ReadFailed : Outcome::Read;
}

bool startsWithUtf16ByteOrderMark(const QByteArray &data)
{
    return data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF");
}

// Decoding a legacy file takes a string of two bytes per byte and UTF-8 of up
// to three: far more than any subtitle file needs, and more than a string
// holds for a file near the reader's limit.
constexpr qint64 maximumLegacyBytes = qint64(64) << 20;

std::optional<QByteArray> readAll(QIODevice &device)
{
    QByteArray data;
    char block[64 * 1024];
    for (;;) {
        const qint64 count = device.read(block, sizeof block);
        if (count < 0 || data.size() + count > maximumLegacyBytes)
            return std::nullopt;
        if (count == 0)
            return data;
        data.append(block, int(count));
    }
}

// Encodings subtitle files are written in. The detector also knows pages
// that no subtitle file uses (IBM852, Mac Central European, ISO-8859-10 and
// more), and it names them for English files with a few accents or curly
// quotes, which are the common case of a legacy file.
const char *const subtitleEncodings[] = {
    "WINDOWS-1250", "WINDOWS-1251", "WINDOWS-1252", "WINDOWS-1253", "WINDOWS-1254",
    "WINDOWS-1255", "WINDOWS-1256", "WINDOWS-1257", "WINDOWS-1258",
    "ISO-8859-1", "ISO-8859-2", "ISO-8859-5", "ISO-8859-7", "ISO-8859-9", "ISO-8859-15",
    "KOI8-R", "KOI8-U", "UTF-16", "UTF-16LE", "UTF-16BE", "UTF-32", "UTF-32LE", "UTF-32BE",
    "SHIFT_JIS", "EUC-JP", "GB18030", "BIG5", "EUC-KR", "CP949", "TIS-620",
};

// Names the detector gives to files in one of those encodings: Korean files
// in the extended EUC-KR of Windows, Lithuanian and Latvian ones in
// Windows-1257, Cyrillic ones it mistakes for pages of DOS or old Macs, which
// no subtitle file is written in.
const std::pair<const char *, const char *> detectedAliases[] = {
    {"UHC", "CP949"},
    {"ISO-8859-13", "WINDOWS-1257"},
    {"MAC-CYRILLIC", "WINDOWS-1251"},
    {"IBM855", "WINDOWS-1251"},
    {"IBM866", "WINDOWS-1251"},
};

// Encodings of two bytes a character. Text in them is made of such bytes,
// and a file of Latin letters with a few curly quotes among them is not.
const char *const wideEncodings[] = {
    "SHIFT_JIS", "EUC-JP", "GB18030", "BIG5", "EUC-KR", "CP949",
};
// The least share of bytes outside ASCII, in percent, in a file of such text:
// index lines and times take most of a cue.
constexpr int wideTextPercent = 10;

// Single-byte pages of Latin letters, which tell each other apart only by a
// few letters: a guess among them on fewer non-ASCII bytes than this is no
// better than the common page.
const char *const latinEncodings[] = {
    "WINDOWS-1250", "WINDOWS-1252", "WINDOWS-1254", "WINDOWS-1257", "WINDOWS-1258",
    "ISO-8859-1", "ISO-8859-2", "ISO-8859-9", "ISO-8859-15",
};
constexpr int fewNonAsciiBytes = 4;

template<std::size_t count>
bool isOneOf(const QByteArray &name, const char *const (&names)[count])
{
    return std::any_of(std::begin(names), std::end(names),
                       [&name](const char *each) { return name == each; });
}

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

// The name of the encoding of a file that is not UTF-8.
QByteArray legacyEncoding(const QByteArray &data)
{
    if (startsWithUtf16ByteOrderMark(data))
        return "UTF-16";
    const QByteArray name = detectedEncoding(data);
    // A UTF-8 file with a few bytes off still looks most like UTF-8 (or
    // ASCII); it is decoded as UTF-8, the bad bytes replaced.
    if (name == "UTF-8" || name == "ASCII")
        return "UTF-8";
    if (!isOneOf(name, subtitleEncodings))
        return "WINDOWS-1252";
    const qint64 nonAscii = std::count_if(data.cbegin(), data.cend(), [](char byte) {
        return static_cast<unsigned char>(byte) >= 0x80;
    });
    if (isOneOf(name, latinEncodings) && nonAscii < fewNonAsciiBytes)
        return "WINDOWS-1252";
    if (isOneOf(name, wideEncodings) && nonAscii * 100 < qint64(data.size()) * wideTextPercent)
        return "WINDOWS-1252";
    return name;
}

QTextCodec *legacyCodec(const QByteArray &data)
{
    QTextCodec *codec = QTextCodec::codecForName(legacyEncoding(data));
    return codec ? codec : QTextCodec::codecForName("Windows-1252");
}

} // namespace

std::optional<SubtitleTable> readSubtitles(QIODevice &device, int blockSize)
{
    SubtitleTable table;
    // UTF-16 text of ASCII letters reads as valid UTF-8 with a NUL in every
    // other byte, so its mark is looked for first.
    const qint64 start = device.pos();
    if (!startsWithUtf16ByteOrderMark(device.peek(2))) {
        switch (readCues(device, blockSize, table)) {
        case Outcome::Read:
            return table;
        case Outcome::ReadFailed:
            return std::nullopt;
        case Outcome::NotUtf8:
            break;
        }
        table.clear();
        if (!device.seek(start))
            return std::nullopt;
    }

    // Subtitles in a legacy encoding are small: the whole file is decoded
    // into UTF-8 and read by the same rules.
    const std::optional<QByteArray> data = readAll(device);
    if (!data)
        return std::nullopt;
    QByteArray text = legacyCodec(*data)->toUnicode(*data).toUtf8();
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    if (readCues(buffer, blockSize, table) != Outcome::Read)
        return std::nullopt;
    return table;
}

std::optional<SubtitleTable> readSubtitleFile(const QString &path)
{
    QFile file;
    if (!ReadableFile::open(file, path))
        return std::nullopt;
    return readSubtitles(file);
}

SubtitleTable::const_iterator cueForPosition(const SubtitleTable &table, qint64 positionMs)
{
    auto cue = table.lowerBound(positionMs);
    if (cue != table.constBegin())
        --cue;
    return cue;
}

FollowerStep followPosition(const SubtitleTable &table, qint64 positionMs,
                            SubtitleTable::const_iterator &currentCue,
                            qint64 &cueStartMs, qint64 &cueEndMs, bool &cuePending)
{
    Q_ASSERT(!table.isEmpty());
    if (positionMs > cueEndMs || positionMs <= cueStartMs) {
        currentCue = cueForPosition(table, positionMs);
        cueStartMs = currentCue.key();
        cueEndMs = currentCue->endMs;
        cuePending = true;
        return FollowerStep::Selected;
    }
    if (!cuePending)
        return FollowerStep::Unchanged;
    cuePending = false;
    return FollowerStep::Shown;
}

std::array<FollowerStep, 2> followJump(const SubtitleTable &table, qint64 positionMs, bool playing,
                                       SubtitleTable::const_iterator &currentCue,
                                       qint64 &cueStartMs, qint64 &cueEndMs, bool &cuePending)
{
    if (playing)
        return {FollowerStep::Unchanged, FollowerStep::Unchanged};
    const FollowerStep first = followPosition(table, positionMs, currentCue, cueStartMs, cueEndMs, cuePending);
    return {first, followPosition(table, positionMs, currentCue, cueStartMs, cueEndMs, cuePending)};
}
