// SPDX-License-Identifier: GPL-3.0-or-later
#include "appendfile.h"

#include "regularfile.h"
#include "vocabularyformat.h"

#include <QDeadlineTimer>
#include <QFile>

#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Another Saver holds the lock only while it appends one line. A lock held
// this long belongs to a program that may never let go of it.
constexpr int lockWaitMs = 2000;
// Choosing a file is told at once whether another program holds it.
constexpr int momentaryLockWaitMs = 250;
// How often the lock is tried again, and the caller let draw its window.
constexpr std::chrono::milliseconds lockStep(5);

// Makes a system call again for as long as a signal interrupts it.
template <typename Call>
auto retryingInterrupted(Call call)
{
    decltype(call()) result;
    do
        result = call();
    while (result == -1 && errno == EINTR);
    return result;
}

// Closing the descriptor also lets go of its lock.
class Descriptor
{
public:
    explicit Descriptor(int descriptor) : descriptor(descriptor) {}
    ~Descriptor()
    {
        if (descriptor >= 0)
            ::close(descriptor);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return descriptor; }
    bool isOpen() const { return descriptor >= 0; }

private:
    int descriptor;
};

// Opens the file at `path` for appending when it is a regular file: a device,
// a pipe, a socket or a folder would take the line and keep nothing, or never
// take it. Opening an existing file first, then creating one only if none
// was there, tells for certain whether this call made the file.
int openForAppending(const QByteArray &name, MissingFile whenMissing, bool &created)
{
    created = false;
    const int flags = O_WRONLY | O_APPEND;
    int descriptor = openRegularFile(name, flags);
    if (descriptor < 0 && errno == ENOENT && whenMissing == MissingFile::Create) {
        descriptor = openRegularFile(name, flags | O_CREAT | O_EXCL, 0666);
        created = descriptor >= 0;
    }
    return descriptor;
}

// Waits a bounded time for the exclusive lock that every Saver takes to
// append, so that no two lines interleave and a rollback cuts no line of
// another Saver. A file system that keeps no locks is written without one.
bool lockForAppending(int descriptor, const WhileLocked &whileLocked, LockWait lockWait)
{
    const QDeadlineTimer deadline(lockWait == LockWait::Moment ? momentaryLockWaitMs : lockWaitMs);
    for (;;) {
        if (retryingInterrupted([descriptor] { return ::flock(descriptor, LOCK_EX | LOCK_NB); }) == 0)
            return true;
        if (errno != EWOULDBLOCK)
            return true;
        if (deadline.hasExpired())
            return false;
        if (whileLocked)
            whileLocked();
        std::this_thread::sleep_for(lockStep);
    }
}

// A file system that cannot sync a file (EINVAL) keeps nothing back to sync.
bool synced(int result)
{
    return result == 0 || errno == EINVAL;
}

bool syncData(int descriptor)
{
    return synced(retryingInterrupted([descriptor] { return ::fdatasync(descriptor); }));
}

// A new file's name outlives a power cut only once its folder is synced too.
// A folder the learner may write to but not read cannot be opened to be
// synced: the whole file system it lies on is synced instead.
bool syncFolderOf(const QByteArray &name, int file)
{
    const int slash = name.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : name.left(slash);
    const Descriptor directory(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!directory.isOpen())
        return retryingInterrupted([file] { return ::syncfs(file); }) == 0;
    return synced(retryingInterrupted([&directory] { return ::fsync(directory.get()); }));
}

// Where this call's bytes stand in the file: they end at `end`, and `added`
// of them run back from there unless another writer's came in between.
struct AppendedBytes
{
    qint64 added = 0;
    off_t start = -1;
    off_t end = -1;
    bool whole = true;
};

bool writeAll(int descriptor, const QByteArray &bytes, AppendedBytes &appended)
{
    while (appended.added < bytes.size()) {
        const ssize_t count = retryingInterrupted([&] {
            return ::write(descriptor, bytes.constData() + appended.added, size_t(bytes.size() - appended.added));
        });
        if (count <= 0)
            return false;
        // Appending leaves the offset at the end of what this write added.
        const off_t end = ::lseek(descriptor, 0, SEEK_CUR);
        if (appended.added == 0)
            appended.start = end - count;
        else if (end - count != appended.end)
            appended.whole = false;
        appended.end = end;
        appended.added += count;
    }
    return true;
}

// Takes back the bytes of a failed append, through the descriptor that
// wrote them and under its lock. A writer that takes no lock may have
// appended after them: the file is then left as it is, since cutting this
// call's bytes would cut that writer's too.
bool takeBack(int descriptor, const AppendedBytes &appended)
{
    if (appended.added == 0)
        return true;
    struct stat status;
    if (!appended.whole || ::fstat(descriptor, &status) != 0 || status.st_size != appended.end)
        return false;
    return retryingInterrupted([&] { return ::ftruncate(descriptor, appended.start); }) == 0;
}

// A file this call made is removed again when it is still empty and the path
// still names it.
void removeIfMadeInVain(const QByteArray &name, int descriptor)
{
    struct stat opened;
    struct stat named;
    if (::fstat(descriptor, &opened) == 0 && opened.st_size == 0 && ::stat(name.constData(), &named) == 0
        && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
        ::unlink(name.constData());
}

} // namespace

AppendOutcome appendLineToFile(const QString &path, const QString &line, MissingFile whenMissing,
                               const WhileLocked &whileLocked, LockWait lockWait)
{
    if (path.isEmpty())
        return AppendOutcome::OpenFailed;
    const QByteArray name = QFile::encodeName(path);
    bool created = false;
    Descriptor file(openForAppending(name, whenMissing, created));
    if (!file.isOpen())
        return AppendOutcome::OpenFailed;
    // A file that another Saver removed while this one waited for the lock
    // would take the line and keep it nowhere.
    if (!lockForAppending(file.get(), whileLocked, lockWait))
        return AppendOutcome::Busy;
    struct stat status;
    if (::fstat(file.get(), &status) != 0 || status.st_nlink == 0)
        return AppendOutcome::OpenFailed;
    const QByteArray bytes = line.toUtf8() + VocabularyFormat::LineTerminator;
    AppendedBytes appended;
    // The learner takes the entry for saved: a laptop whose battery dies
    // before the kernel writes its pages back would lose it.
    // Once the line is synced, an error in closing (as a network file system
    // may give) cannot take it back.
    if (writeAll(file.get(), bytes, appended) && syncData(file.get())
        && (!created || syncFolderOf(name, file.get())))
        return AppendOutcome::Written;
    // A full disk or a size limit can take part of the line: that part would
    // run into the next line written; a line that could not be synced may be
    // lost at a power cut or read back damaged.
    if (takeBack(file.get(), appended) && created)
        removeIfMadeInVain(name, file.get());
    return AppendOutcome::WriteFailed;
}

AppendOutcome probeAppend(const QString &path, const WhileLocked &whileLocked)
{
    bool created = false;
    const Descriptor file(path.isEmpty() ? -1
                                         : openForAppending(QFile::encodeName(path), MissingFile::Refuse, created));
    if (!file.isOpen())
        return AppendOutcome::OpenFailed;
    return lockForAppending(file.get(), whileLocked, LockWait::Moment) ? AppendOutcome::Written : AppendOutcome::Busy;
}
