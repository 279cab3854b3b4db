// SPDX-License-Identifier: GPL-3.0-or-later
// The trainer's reader on any bytes must not crash and must read data in
// memory to its end. Each later line of the input also gives an entry as the
// learner could type it (fields split at " --> ", the time range at "***",
// "-*-" for a line break): whenever the saver would write that entry, the
// reader must give it back field for field.
#include "vocabularyformat.h"
#include "vocabularyreader.h"
#include "vocabularyrecord.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

const QString separator = QString::fromLatin1(VocabularyFormat::FieldSeparator);
const QString joiner = QString::fromLatin1(VocabularyFormat::TimeRangeJoiner);
const QString marker = QString::fromLatin1(VocabularyFormat::LineBreakMarker);

VocabularyEntry typedEntry(QString line)
{
    if (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    QStringList fields = line.split(separator);
    VocabularyEntry entry;
    if (fields.size() > 2 && fields.last().contains(joiner)) {
        const QString range = fields.takeLast();
        const int at = range.indexOf(joiner);
        entry.start = range.left(at);
        entry.end = range.mid(at + joiner.size());
    }
    auto typed = [&fields](int index) {
        return index < fields.size() ? QString(fields.at(index)).replace(marker, QStringLiteral("\n")) : QString();
    };
    entry.word = typed(0);
    entry.translation = typed(1);
    entry.context = typed(2);
    return entry;
}

bool savable(const VocabularyEntry &entry)
{
    // The decoder drops a byte-order mark at the start of a line, an
    // invisible character; a NUL cannot come from a text field.
    return !entry.word.isEmpty() && !entry.translation.isEmpty()
           && entry.start.isEmpty() == entry.end.isEmpty() && readsBackAsTyped(entry)
           && !entry.word.startsWith(QChar(0xFEFF))
           && !(entry.word + entry.translation + entry.context + entry.start + entry.end).contains(QChar::Null);
}

TrainerEntry expectedEntry(const VocabularyEntry &entry)
{
    auto stored = [](QString text) { return text.replace(QLatin1Char('\n'), marker); };
    TrainerEntry expected{QString::fromLatin1(TrainerMark::Unmarked), stored(entry.word), stored(entry.translation)};
    if (!entry.context.isEmpty())
        expected << stored(entry.context);
    if (!entry.start.isEmpty())
        expected << entry.start + joiner + entry.end;
    return expected;
}

std::optional<VocabularyContents> readFromMemory(const QByteArray &content)
{
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    return readVocabulary(buffer);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), int(size));
    if (!readFromMemory(file))
        std::abort();

    const QStringList lines = QString::fromUtf8(file).split(QLatin1Char('\n'));
    for (int index = 1; index < lines.size(); ++index) {
        const VocabularyEntry entry = typedEntry(lines.at(index));
        if (!savable(entry))
            continue;
        const std::optional<VocabularyContents> contents =
            readFromMemory("film.avi\r\n" + assembleVocabularyRecord(entry).toUtf8() + "\r\n");
        if (!contents || contents->videoPath != QLatin1String("film.avi") || contents->entries.size() != 1
            || contents->entries.first() != expectedEntry(entry))
            std::abort();
    }
    return 0;
}
