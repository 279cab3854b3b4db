// SPDX-License-Identifier: GPL-3.0-or-later
#include "subtitles.h"

#include "blocklinereader.h"
#include "readablefile.h"
#include "subtitleencoding.h"
#include "timestamp.h"

#include <QBuffer>
#include <QFile>
#include <QTextCodec>

#include <string_view>

namespace {

bool isBlank(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

enum class Outcome { Read, NotUtf8, ReadFailed };

// The reading rules, on a device whose kept lines are UTF-8. Stops at the
// first cue with text that is not valid UTF-8.
Outcome readCues(QIODevice &device, SubtitleTable &table)
{
    BlockLineReader reader(device);
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
    while (reader.nextText(line)) {
        if (line.find("-->") == std::string_view::npos)
            continue;
        const QString timeLine = decode(line);
        const qint64 startMs = timestampToMs(timeLine.left(12));
        SubtitleCue cue;
        cue.endMs = timestampToMs(timeLine.mid(17, 12));
        while (reader.nextText(line) && !isBlank(line)) {
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

} // namespace

std::optional<SubtitleTable> readSubtitles(QIODevice &device)
{
    SubtitleTable table;
    // UTF-16 text of ASCII letters reads as valid UTF-8 with a NUL in every
    // other byte, so its mark is looked for first.
    const qint64 start = device.pos();
    if (!startsWithUtf16ByteOrderMark(device.peek(2))) {
        switch (readCues(device, table)) {
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
    QByteArray text = decodeLegacySubtitles(*data).toUtf8();
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    if (readCues(buffer, table) != Outcome::Read)
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
