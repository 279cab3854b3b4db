#include "vocabularyreader.h"

#include "blocklinereader.h"
#include "vocabularyformat.h"

#include <QBuffer>
#include <QIODevice>

#include <cstring>
#include <iterator>
#include <vector>

// The cutting rules count decoded characters, but nearly every line can be cut
// on its bytes: UTF-8 never has '-', '>', CR or LF inside a multi-byte
// sequence, so the separators and the terminator stand at the same places in
// bytes as in characters. The two counts part only where a character that the
// rules drop, the one before or after a separator, is wider than one byte, or
// where the decoder does more than map valid sequences (a NUL ends the text, a
// byte-order mark at the start of a line is dropped, invalid bytes become
// replacement characters). Such lines take the exact path: decode the whole
// line, then cut the decoded text.

namespace {

constexpr char byteOrderMark[] = "\xEF\xBB\xBF";
constexpr int byteOrderMarkLength = 3;
constexpr int separatorCoreLength = 3;
// A field starts one blank after the separator core.
constexpr int fieldStartAfter = separatorCoreLength + 1;
constexpr int maximumFields = 4;
// Reading a device goes in blocks of this size; a longer line grows the block.
constexpr int blockSize = 256 * 1024;

// Where the fields of a line lie, in the units of the line (bytes or UTF-16
// code units), with the separators that cut them.
struct FieldSpans
{
    int count = 0; // 0: the line is no record
    int separator[maximumFields - 1] = {};
    int start[maximumFields] = {};
    int end[maximumFields] = {};
};

// Cuts a line of `size` units, the last `size - textEnd` of them its
// terminator, at the separators `find(from)` reports (-1 when there is none).
template<typename Find>
FieldSpans cutFields(int size, int textEnd, Find find)
{
    FieldSpans spans;
    int separator = find(0);
    if (separator <= 0)
        return spans;
    // The character before the separator, its blank, is dropped.
    spans.end[0] = separator - 1;
    spans.count = 1;
    for (;;) {
        spans.separator[spans.count - 1] = separator;
        int next = -1;
        if (spans.count < maximumFields - 1) {
            next = find(separator + 1);
            // One that overlaps the separator or its blank does not count.
            if (next <= separator + separatorCoreLength)
                next = -1;
        }
        const int start = separator + fieldStartAfter;
        const int length = next < 0 ? textEnd - start : next - start - 1;
        // A start at or past the end gives an empty field, a negative length
        // runs to the end of the line.
        int &fieldStart = spans.start[spans.count];
        int &fieldEnd = spans.end[spans.count];
        if (start >= size)
            fieldStart = fieldEnd = size;
        else if (length < 0)
            fieldStart = start, fieldEnd = size;
        else
            fieldStart = start, fieldEnd = start + length;
        ++spans.count;
        if (next < 0)
            return spans;
        separator = next;
    }
}

template<typename Text>
int terminatorLength(const Text &text, int size)
{
    if (size >= 2 && text[size - 2] == '\r' && text[size - 1] == '\n')
        return 2;
    if (size >= 1 && text[size - 1] == '\n')
        return 1;
    return 0;
}

// Static text: copies of it share it without touching a reference count.
const QString &unmarked()
{
    static const QString mark = QStringLiteral(" ");
    Q_ASSERT(mark == QLatin1String(TrainerMark::Unmarked));
    return mark;
}

// QList has no moving append: a copy and the release of the original would
// cost two atomic reference count changes per field.
void appendField(TrainerEntry &entry, QString &&field)
{
    entry.append(QString());
    entry.last().swap(field);
}

int findSeparatorInBytes(const char *line, int size, int from)
{
    // '>' is far rarer than '-' in text, so look for it and check the two
    // hyphens before it.
    int position = from + separatorCoreLength - 1;
    while (position < size) {
        const void *found = std::memchr(line + position, '>', size_t(size - position));
        if (!found)
            return -1;
        position = int(static_cast<const char *>(found) - line);
        if (line[position - 1] == '-' && line[position - 2] == '-')
            return position - (separatorCoreLength - 1);
        ++position;
    }
    return -1;
}

bool isAscii(char byte)
{
    return static_cast<unsigned char>(byte) < 0x80;
}

bool isAscii(const char *bytes, int size)
{
    quint64 any = 0;
    int i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, bytes + i, sizeof word);
        any |= word;
    }
    for (; i < size; ++i)
        any |= static_cast<unsigned char>(bytes[i]);
    return (any & 0x8080808080808080ULL) == 0;
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Decodes well-formed UTF-8 into `out`, which has room for `size` units, and
// returns the number of units written; -1 for anything else (overlong forms,
// surrogates, values past U+10FFFF, cut sequences).
int decodeWellFormed(const unsigned char *bytes, int size, char16_t *out)
{
    char16_t *const begin = out;
    int i = 0;
    while (i < size) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            *out++ = lead;
            ++i;
            continue;
        }
        if (lead - 0xC2u < 0x1Eu && i + 1 < size && isContinuation(bytes[i + 1])) {
            *out++ = char16_t(((lead & 0x1F) << 6) | (bytes[i + 1] & 0x3F));
            i += 2;
            continue;
        }
        if (lead < 0xC2 || lead > 0xF4)
            return -1;
        const int width = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (size - i < width)
            return -1;
        for (int k = 1; k < width; ++k) {
            if (!isContinuation(bytes[i + k]))
                return -1;
        }
        const unsigned char second = bytes[i + 1];
        if (width == 2) {
            *out++ = char16_t(((lead & 0x1F) << 6) | (second & 0x3F));
        } else if (width == 3) {
            if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0))
                return -1;
            *out++ = char16_t(((lead & 0x0F) << 12) | ((second & 0x3F) << 6) | (bytes[i + 2] & 0x3F));
        } else {
            if ((lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
                return -1;
            const char32_t value = ((lead & 0x07) << 18) | ((second & 0x3F) << 12)
                                   | ((bytes[i + 2] & 0x3F) << 6) | (bytes[i + 3] & 0x3F);
            *out++ = QChar::highSurrogate(value);
            *out++ = QChar::lowSurrogate(value);
        }
        i += width;
    }
    return int(out - begin);
}

// Decodes a field of well-formed UTF-8 into a string of exactly its length
// (the toolkit's decoder would reserve one unit per byte). Unlike the
// toolkit's decoder it keeps a byte-order mark at the start, as a field cut
// from a decoded line does.
bool decodeField(const char *data, int size, QString &field)
{
    if (isAscii(data, size)) {
        field = QString::fromLatin1(data, size);
        return true;
    }
    const auto *bytes = reinterpret_cast<const unsigned char *>(data);
    char16_t local[256];
    if (size <= int(std::size(local))) {
        const int units = decodeWellFormed(bytes, size, local);
        if (units < 0)
            return false;
        field = QString(reinterpret_cast<const QChar *>(local), units);
        return true;
    }
    std::vector<char16_t> decoded(static_cast<size_t>(size));
    const int units = decodeWellFormed(bytes, size, decoded.data());
    if (units < 0)
        return false;
    field = QString(reinterpret_cast<const QChar *>(decoded.data()), units);
    return true;
}

QString decodeLine(const char *line, int size)
{
    const void *nul = std::memchr(line, '\0', size_t(size));
    return QString::fromUtf8(line, nul ? int(static_cast<const char *>(nul) - line) : size);
}

enum class LineKind { NoRecord, Record, NeedsDecoding };

// Cuts the line on its bytes. Answers NeedsDecoding, and leaves `entry` to be
// refilled, where that could differ from cutting the decoded line.
LineKind readRecordFromBytes(const char *line, int size, TrainerEntry &entry)
{
    if (size >= byteOrderMarkLength && std::memcmp(line, byteOrderMark, byteOrderMarkLength) == 0)
        return LineKind::NeedsDecoding;
    if (std::memchr(line, '\0', size_t(size)))
        return LineKind::NeedsDecoding;

    const FieldSpans spans = cutFields(size, size - terminatorLength(line, size), [&](int from) {
        return findSeparatorInBytes(line, size, from);
    });
    if (spans.count == 0)
        return LineKind::NoRecord;
    const bool asciiLine = isAscii(line, size);
    if (!asciiLine) {
        for (int i = 0; i < spans.count - 1; ++i) {
            const int separator = spans.separator[i];
            const int after = separator + separatorCoreLength;
            if (!isAscii(line[separator - 1]) || (after < size && !isAscii(line[after])))
                return LineKind::NeedsDecoding;
        }
    }

    entry.reserve(spans.count + 1);
    entry.append(unmarked());
    for (int i = 0; i < spans.count; ++i) {
        const char *field = line + spans.start[i];
        const int fieldSize = spans.end[i] - spans.start[i];
        QString decoded;
        if (asciiLine)
            decoded = QString::fromLatin1(field, fieldSize);
        else if (!decodeField(field, fieldSize, decoded))
            return LineKind::NeedsDecoding;
        appendField(entry, std::move(decoded));
    }
    return LineKind::Record;
}

bool readRecordFromDecodedLine(const QString &line, TrainerEntry &entry)
{
    const QLatin1String separatorCore(VocabularyFormat::SeparatorCore);
    const FieldSpans spans = cutFields(line.size(), line.size() - terminatorLength(line, line.size()),
                                       [&](int from) { return line.indexOf(separatorCore, from); });
    if (spans.count == 0)
        return false;
    entry.reserve(spans.count + 1);
    entry.append(unmarked());
    for (int i = 0; i < spans.count; ++i)
        appendField(entry, line.mid(spans.start[i], spans.end[i] - spans.start[i]));
    return true;
}

bool readRecord(const char *line, int size, TrainerEntry &entry)
{
    switch (readRecordFromBytes(line, size, entry)) {
    case LineKind::NoRecord:
        return false;
    case LineKind::Record:
        return true;
    case LineKind::NeedsDecoding:
        break;
    }
    entry.clear();
    return readRecordFromDecodedLine(decodeLine(line, size), entry);
}

// Takes a file line by line; line 1 gives the video path unless it is a
// record itself.
class VocabularyLoader
{
public:
    // Reads every line, terminator included, of the device.
    VocabularyContents read(QIODevice &device)
    {
        BlockLineReader lines(device, blockSize);
        const char *line = nullptr;
        int size = 0;
        // An empty file still has an (empty) first line.
        if (!lines.next(line, size))
            line = "";
        readFirstLine(line, size);
        while (lines.next(line, size)) {
            TrainerEntry entry;
            if (readRecord(line, size, entry))
                contents.entries.append(std::move(entry));
        }
        return std::move(contents);
    }

private:
    void readFirstLine(const char *line, int size)
    {
        if (size >= byteOrderMarkLength && std::memcmp(line, byteOrderMark, byteOrderMarkLength) == 0) {
            line += byteOrderMarkLength;
            size -= byteOrderMarkLength;
        }
        TrainerEntry entry;
        if (readRecord(line, size, entry)) {
            contents.entries.append(std::move(entry));
        } else {
            const QString path = decodeLine(line, size);
            contents.videoPath = path.left(path.size() - terminatorLength(path, path.size()));
        }
    }

    VocabularyContents contents;
};

} // namespace

std::optional<TrainerEntry> readVocabularyRecord(const QByteArray &lineBytes)
{
    TrainerEntry entry;
    if (!readRecord(lineBytes.constData(), lineBytes.size(), entry))
        return std::nullopt;
    return entry;
}

VocabularyContents readVocabulary(const QByteArray &fileBytes)
{
    QBuffer buffer;
    buffer.setData(fileBytes);
    buffer.open(QIODevice::ReadOnly);
    return VocabularyLoader().read(buffer);
}

VocabularyContents readVocabulary(QIODevice &device)
{
    return VocabularyLoader().read(device);
}
