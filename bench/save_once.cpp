// SPDX-License-Identifier: GPL-3.0-or-later
// One save, and nothing after it: what a power cut the moment the fields
// empty would leave of it is read from the disk by bench/power_cut.sh.
//     save_once create|save|save-without-sync FILE LINE
// create starts FILE with LINE as the saver's Create does, save appends LINE
// as a save does, save-without-sync as a save did before it synced.
// Exits with 0 when the line was reported written.

#include "appendfile.h"
#include "plainappend.h"

#include <QFile>
#include <QString>

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: save_once create|save|save-without-sync FILE LINE\n");
        return 2;
    }
    const QString path = QFile::decodeName(argv[2]);
    const QString line = QString::fromUtf8(argv[3]);
    if (std::strcmp(argv[1], "create") == 0)
        return appendLineToFile(path, line, MissingFile::Create) == AppendOutcome::Written ? 0 : 1;
    if (std::strcmp(argv[1], "save") == 0)
        return appendLineToFile(path, line, MissingFile::Refuse) == AppendOutcome::Written ? 0 : 1;
    if (std::strcmp(argv[1], "save-without-sync") == 0)
        return appendWithoutSync(path, line) ? 0 : 1;
    std::fprintf(stderr, "no such kind of save: %s\n", argv[1]);
    return 2;
}
