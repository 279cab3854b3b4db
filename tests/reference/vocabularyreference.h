#ifndef VOCABULARYREFERENCE_H
#define VOCABULARYREFERENCE_H

#include "vocabularyreader.h"

class QIODevice;

// The vocabulary reader written the plain way: one QIODevice::readLine per
// line, each line decoded whole and cut with QString searches. It is slow and
// obviously right, and the trainer's reader must give exactly its results.
namespace VocabularyReference {

std::optional<TrainerEntry> readRecord(const QByteArray &lineBytes);
VocabularyContents read(QIODevice &device);
VocabularyContents read(const QByteArray &fileBytes);

} // namespace VocabularyReference

#endif // VOCABULARYREFERENCE_H
