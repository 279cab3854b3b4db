// SPDX-License-Identifier: GPL-3.0-or-later
// The subtitle reader on any bytes: it must not crash, it must read data in
// memory to its end, a file that gives a few bytes a read must not change
// what it reads, and no cue may keep a line that the rules end a cue's text with.
#include "subtitles.h"
#include "testdevices.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

std::optional<SubtitleTable> readFromMemory(const QByteArray &content)
{
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    return readSubtitles(buffer);
}

bool sameCues(const SubtitleTable &left, const SubtitleTable &right)
{
    if (left.keys() != right.keys())
        return false;
    for (auto cue = left.constBegin(); cue != left.constEnd(); ++cue) {
        if (cue->endMs != right.value(cue.key()).endMs || cue->lines != right.value(cue.key()).lines)
            return false;
    }
    return true;
}

// Not empty, not blanks and tabs alone, no line feed and no NUL.
bool isTextLine(const QString &line)
{
    bool blank = true;
    for (QChar character : line) {
        if (character == QLatin1Char('\n') || character == QChar::Null)
            return false;
        blank = blank && (character == QLatin1Char(' ') || character == QLatin1Char('\t'));
    }
    return !blank;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const int step = size > 0 ? 1 + data[0] % 64 : 1;
    const QByteArray content = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    const std::optional<SubtitleTable> table = readFromMemory(content);
    TricklingDevice slowFile(content, step, true);
    const std::optional<SubtitleTable> inSmallReads = readSubtitles(slowFile);
    if (!table || !inSmallReads || !sameCues(*table, *inSmallReads))
        std::abort();
    for (const SubtitleCue &cue : *table) {
        for (const QString &line : cue.lines) {
            if (!isTextLine(line))
                std::abort();
        }
    }
    return 0;
}
