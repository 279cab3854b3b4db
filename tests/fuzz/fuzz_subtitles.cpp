// The subtitle reader on any bytes: it must not crash, and it must give the
// same table as the plain reference reader, with the player's block size and
// with a small one taken from the input that puts block ends everywhere.
#include "subtitlereference.h"
#include "subtitles.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

SubtitleTable readWith(const QByteArray &content, int blockSize)
{
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    return blockSize ? readSubtitles(buffer, blockSize) : readSubtitlesReference(buffer);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const int smallBlock = size > 0 ? 1 + data[0] % 64 : 1;
    const QByteArray content = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    const SubtitleTable expected = readWith(content, 0);
    if (!subtitleTableDifference(expected, readWith(content, subtitleBlockSize)).isEmpty()
        || !subtitleTableDifference(expected, readWith(content, smallBlock)).isEmpty())
        std::abort();
    return 0;
}
