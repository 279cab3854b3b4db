// The trainer's reader, from bytes and through a device read in blocks, must
// give exactly what the plain reference reader gives for any file.
#include "vocabularyreader.h"
#include "vocabularyreference.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

bool same(const VocabularyContents &left, const VocabularyContents &right)
{
    return left.videoPath == right.videoPath && left.entries == right.entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), int(size));
    const VocabularyContents expected = VocabularyReference::read(file);
    if (!same(readVocabulary(file), expected))
        std::abort();

    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    if (!same(readVocabulary(buffer), expected))
        std::abort();
    return 0;
}
