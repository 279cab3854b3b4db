// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocabularyrecord.h"

#include "vocabularyformat.h"

namespace {

QString withLineBreakMarkers(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1String(VocabularyFormat::LineBreakMarker));
}

} // namespace

QString assembleVocabularyRecord(const VocabularyEntry &entry)
{
    const QLatin1String separator(VocabularyFormat::FieldSeparator);
    QString record = withLineBreakMarkers(entry.word) + separator
                     + withLineBreakMarkers(entry.translation);
    if (!entry.context.isEmpty())
        record += separator + withLineBreakMarkers(entry.context);
    if (!entry.start.isEmpty() && !entry.end.isEmpty())
        record += separator + entry.start + QLatin1String(VocabularyFormat::TimeRangeJoiner)
                  + entry.end;
    return record;
}

bool readsBackAsTyped(const VocabularyEntry &entry)
{
    // Markers are checked in the text as written: a line break next to a
    // hyphen or a greater-than sign can make a separator core of its own.
    const QString word = withLineBreakMarkers(entry.word);
    const QString translation = withLineBreakMarkers(entry.translation);
    const QString context = withLineBreakMarkers(entry.context);
    const QLatin1String core(VocabularyFormat::SeparatorCore);
    const QLatin1String joiner(VocabularyFormat::TimeRangeJoiner);
    for (const QString *field : {&word, &translation, &context, &entry.start, &entry.end}) {
        if (field->contains(core))
            return false;
    }
    for (const QString *field : {&context, &entry.start, &entry.end}) {
        if (field->contains(joiner))
            return false;
    }
    // The time range is split at its first joiner, so a star at the end of
    // the start would move into the end: "1*" and "2" read back as "1", "*2".
    return !entry.start.endsWith(QLatin1Char('*'));
}
