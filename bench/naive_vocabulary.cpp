// The yardstick for load_vocabulary: the same file read the plain way, one
// QIODevice::readLine and one QString::fromUtf8 per line, fields cut from the
// decoded line and appended to the list.
//     naive_vocabulary FILE

#include "vocabularyload.h"
#include "vocabularyreference.h"

int main(int argc, char *argv[])
{
    return runVocabularyLoad(argc, argv, "naive_vocabulary", VocabularyReference::read);
}
