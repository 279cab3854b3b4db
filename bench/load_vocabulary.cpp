// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a vocabulary file the way the trainer's open button does and reports
// how many entries it gave and how long that took.
//     load_vocabulary FILE

#include "vocabularyload.h"

int main(int argc, char *argv[])
{
    return runVocabularyLoad(argc, argv, "load_vocabulary", readVocabulary);
}
