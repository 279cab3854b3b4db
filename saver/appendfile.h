// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef APPENDFILE_H
#define APPENDFILE_H

#include <functional>

class QString;

enum class AppendOutcome {
    Written,
    OpenFailed,
    // Another program held the lock for longer than an append takes.
    Busy,
    WriteFailed,
};

// Run again and again, in short steps, while another program holds the lock:
// a window keeps itself drawn there.
using WhileLocked = std::function<void()>;

// What appending does when the file is not there.
enum class MissingFile {
    Create,
    Refuse,
};

// How long an append waits for another program's lock.
enum class LockWait {
    // As long as another Saver's append may take, and more.
    AppendLength,
    // A moment: enough for another Saver's append, and soon told otherwise.
    Moment,
};

// Appends `line` and the line terminator to the regular file at `path` as
// UTF-8 without byte-order mark, never truncating what was there; anything
// else (a device, a pipe, a socket, a folder) is not opened. Every append
// holds an exclusive lock on the file (flock) from before it writes until it
// is done, waiting for it at most two seconds, so that two Savers never
// interleave. Written means on the disk: the file's data is synced before the
// call returns, and the folder too when the call made the file (the whole file
// system where the folder cannot be read). When the line
// cannot be written whole or synced, only what this call added is cut off
// again, through the descriptor it wrote with, and a file this call created
// is removed again; a file that has grown past those bytes meanwhile (a
// writer that takes no lock) is left as it is. The file is open only during
// the call.
AppendOutcome appendLineToFile(const QString &path, const QString &line, MissingFile whenMissing,
                               const WhileLocked &whileLocked = {}, LockWait lockWait = LockWait::AppendLength);

// What appending to the existing file at `path` would meet now: it is opened
// for appending and its lock tried for a moment, then it is closed again.
// Written when nothing stood in the way. Creates and writes nothing.
AppendOutcome probeAppend(const QString &path, const WhileLocked &whileLocked = {});

#endif // APPENDFILE_H
