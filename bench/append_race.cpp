// SPDX-License-Identifier: GPL-3.0-or-later
// Two processes append records to one vocabulary file through the saver's own
// append, the second under a file size limit, as on a disk that fills while
// another program keeps writing. Then every line of the file is checked.
//     append_race FILE [RECORDS [LIMIT_BYTES]]
// RECORDS per writer (default 20 000); LIMIT_BYTES for the second writer
// (default 1 MiB, 0 for none: then both write until the disk is full).
// Exits with 1 when a record either writer was told was saved is not whole in
// the file, when a line is not a whole record, or when a record it was told
// was not saved is there all the same.

#include "appendfile.h"
#include "filesizelimit.h"
#include "vocabularyrecord.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char writerNames[] = {'a', 'b'};
const char videoPath[] = "race.avi";

enum Outcome : char {
    NotTried = 0,
    Saved = 'W',
    NotOpened = 'O',
    Busy = 'B',
    NotWritten = 'F',
};

// Lines of different lengths, so that the limit falls inside some of them.
QString recordOf(char writer, int index)
{
    return QStringLiteral("%1%2 --> word %2 of writer %1 --> %3")
        .arg(QLatin1Char(writer))
        .arg(index, 5, 10, QLatin1Char('0'))
        .arg(QString(index % 17, QLatin1Char('z')));
}

void appendAll(const QString &path, char writer, int records, qint64 limitBytes, char *outcomes)
{
    std::optional<FileSizeLimit> limit;
    if (limitBytes > 0 && !limit.emplace(limitBytes).isSet())
        _exit(2);
    for (int i = 0; i < records; ++i) {
        switch (appendLineToFile(path, recordOf(writer, i), MissingFile::Refuse)) {
        case AppendOutcome::Written:
            outcomes[i] = Saved;
            break;
        case AppendOutcome::OpenFailed:
            outcomes[i] = NotOpened;
            break;
        case AppendOutcome::Busy:
            outcomes[i] = Busy;
            break;
        case AppendOutcome::WriteFailed:
            outcomes[i] = NotWritten;
            break;
        }
    }
}

struct Tally
{
    int saved = 0;
    int notOpened = 0;
    int busy = 0;
    int notWritten = 0;
    int whole = 0;
    int savedButMissing = 0;
    int failedButThere = 0;
    int twice = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: append_race FILE [RECORDS [LIMIT_BYTES]]\n");
        return 2;
    }
    const QString path = QFile::decodeName(argv[1]);
    const int records = argc > 2 ? std::atoi(argv[2]) : 20000;
    const qint64 limitBytes = argc > 3 ? std::atoll(argv[3]) : qint64(1) << 20;
    if (records <= 0 || records > 99999 || limitBytes < 0) {
        std::fprintf(stderr, "RECORDS must be 1 to 99999, LIMIT_BYTES at least 0\n");
        return 2;
    }

    QFile::remove(path);
    if (appendLineToFile(path, QString::fromLatin1(videoPath), MissingFile::Create) != AppendOutcome::Written) {
        std::fprintf(stderr, "cannot start %s\n", argv[1]);
        return 2;
    }
    // What each writer was told, one byte a record, seen by the parent.
    const size_t outcomesSize = size_t(2 * records);
    auto *outcomes = static_cast<char *>(
        mmap(nullptr, outcomesSize, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    if (outcomes == MAP_FAILED)
        return 2;

    pid_t children[2];
    for (int w = 0; w < 2; ++w) {
        children[w] = fork();
        if (children[w] < 0)
            return 2;
        if (children[w] == 0) {
            appendAll(path, writerNames[w], records, w == 1 ? limitBytes : 0, outcomes + w * records);
            _exit(0);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "a writer did not finish\n");
            return 2;
        }
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    const QByteArray content = file.readAll();
    QList<QByteArray> lines = content.split('\n');
    const bool terminated = content.endsWith("\r\n");
    if (terminated)
        lines.removeLast();
    std::vector<int> found(outcomesSize, 0);
    int notWhole = 0;
    for (int n = 0; n < lines.size(); ++n) {
        const QByteArray line = lines.at(n).endsWith('\r') ? lines.at(n).chopped(1) : lines.at(n) + "<unterminated>";
        if (n == 0 && line == videoPath)
            continue;
        const int w = line.startsWith(writerNames[0]) ? 0 : line.startsWith(writerNames[1]) ? 1 : -1;
        bool indexRead = false;
        const int index = line.mid(1, 5).toInt(&indexRead);
        if (w < 0 || !indexRead || index < 0 || index >= records
            || line != recordOf(writerNames[w], index).toUtf8()) {
            ++notWhole;
            continue;
        }
        ++found[size_t(w * records + index)];
    }

    bool sound = terminated && notWhole == 0;
    std::printf("writer  records  saved  not opened  busy  not written  whole in file  saved but missing"
                "  failed but there  twice\n");
    for (int w = 0; w < 2; ++w) {
        Tally tally;
        for (int i = 0; i < records; ++i) {
            const size_t at = size_t(w * records + i);
            const bool saved = outcomes[at] == Saved;
            tally.saved += saved;
            tally.notOpened += outcomes[at] == NotOpened;
            tally.busy += outcomes[at] == Busy;
            tally.notWritten += outcomes[at] == NotWritten;
            tally.whole += found[at] > 0;
            tally.savedButMissing += saved && found[at] == 0;
            tally.failedButThere += !saved && found[at] > 0;
            tally.twice += found[at] > 1;
        }
        std::printf("%-6c  %7d  %5d  %10d  %4d  %11d  %13d  %17d  %16d  %5d\n", writerNames[w], records,
                    tally.saved, tally.notOpened, tally.busy, tally.notWritten, tally.whole, tally.savedButMissing, tally.failedButThere,
                    tally.twice);
        sound = sound && tally.savedButMissing == 0 && tally.failedButThere == 0 && tally.twice == 0;
    }
    std::printf("file: %lld bytes, %d lines, %d not whole records, %s\n", static_cast<long long>(content.size()),
                int(lines.size()), notWhole, terminated ? "ends with a line terminator" : "UNTERMINATED TAIL");
    return sound ? 0 : 1;
}
