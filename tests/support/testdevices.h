// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef TESTDEVICES_H
#define TESTDEVICES_H

// Devices that hand out data the way a slow pipe or a failing disk does; the
// readers take any QIODevice. Header-only, so that the fuzz targets, which are
// built without the test support library, share them.

#include <QByteArray>
#include <QIODevice>

#include <cstring>

// A device that gives `data` at most `step` bytes a read: a pipe, or with
// `seekable` a file on a slow disk.
class TricklingDevice : public QIODevice
{
public:
    TricklingDevice(const QByteArray &data, qint64 step, bool seekable = false)
        : data(data), step(step), seekable(seekable)
    {
        open(ReadOnly | Unbuffered);
    }
    bool isSequential() const override { return !seekable; }
    qint64 size() const override { return seekable ? data.size() : QIODevice::size(); }
    bool seek(qint64 position) override
    {
        if (!seekable || position < 0 || position > data.size() || !QIODevice::seek(position))
            return false;
        given = position;
        return true;
    }

protected:
    qint64 readData(char *out, qint64 maxSize) override
    {
        const qint64 count = qMin(qMin(maxSize, step), qint64(data.size()) - given);
        std::memcpy(out, data.constData() + given, size_t(count));
        given += count;
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray data;
    qint64 step;
    bool seekable;
    qint64 given = 0;
};

// A device that fails to read after its first bytes, as a disk may.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(const QByteArray &firstBytes) : firstBytes(firstBytes) { open(ReadOnly); }

protected:
    qint64 readData(char *out, qint64 maxSize) override
    {
        const qint64 count = qMin(maxSize, qint64(firstBytes.size()) - given);
        if (count <= 0)
            return -1;
        std::memcpy(out, firstBytes.constData() + given, size_t(count));
        given += count;
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray firstBytes;
    qint64 given = 0;
};

// A sequential device that never runs dry of one byte.
class EndlessDevice : public QIODevice
{
public:
    explicit EndlessDevice(char byte) : byte(byte) { open(ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *out, qint64 maxSize) override
    {
        std::memset(out, byte, size_t(maxSize));
        return maxSize;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    char byte;
};

#endif // TESTDEVICES_H
