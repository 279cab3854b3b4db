// SPDX-License-Identifier: GPL-3.0-or-later
#include "timestamp.h"

qint64 timestampToMs(QString text)
{
    const int hours = text.midRef(0, 2).toInt(nullptr, 10);
    const int minutes = text.midRef(3, 2).toInt(nullptr, 10);
    const int seconds = text.midRef(6, 2).toInt(nullptr, 10);
    const int milliseconds = text.midRef(9, 3).toInt(nullptr, 10);
    return qint64(hours * 3600000 + minutes * 60000 + seconds * 1000 + milliseconds);
}

namespace {

// Writes value in decimal (with a minus sign when negative) at out and returns
// the position after the last character written.
char *writeDecimal(char *out, qint64 value)
{
    char digits[24];
    int count = 0;
    // Work on the negative magnitude so that the lowest qint64 needs no special case.
    qint64 rest = value < 0 ? value : -value;
    do {
        digits[count++] = char('0' - rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (value < 0)
        *out++ = '-';
    while (count > 0)
        *out++ = digits[--count];
    return out;
}

// Pads with zeros to `width` characters, counting every negative value as small:
// "less than 10" (or 100) includes all negative numbers.
char *writePadded(char *out, qint64 value, int width)
{
    if (value == 0) {
        for (int i = 0; i < width; ++i)
            *out++ = '0';
        return out;
    }
    if (width == 3 && value < 10)
        *out++ = '0';
    if (value < (width == 3 ? 100 : 10))
        *out++ = '0';
    return writeDecimal(out, value);
}

// Two digits of a value below 100, from one table look-up.
constexpr char twoDigitTable[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

inline void putTwoDigits(QChar *out, int value)
{
    out[0] = QLatin1Char(twoDigitTable[2 * value]);
    out[1] = QLatin1Char(twoDigitTable[2 * value + 1]);
}

// Every position the player reports is at or after the start: each field
// then has its fixed width and the text its twelve characters, written
// straight into the string. The general path alone takes several times as
// long, more than a position report may spend on it (bench/README.md).
QString nonNegativeToTimestamp(qint64 ms)
{
    const qint64 totalSeconds = ms / 1000;
    const int milliseconds = int(ms - totalSeconds * 1000);
    const qint64 totalMinutes = totalSeconds / 60;
    const int seconds = int(totalSeconds - totalMinutes * 60);
    const qint64 hours = totalMinutes / 60;
    const int minutes = int(totalMinutes - hours * 60);

    QString text(12, Qt::Uninitialized);
    QChar *out = text.data();
    putTwoDigits(out, hours > 23 ? 0 : int(hours));
    out[2] = QLatin1Char(':');
    putTwoDigits(out + 3, minutes);
    out[5] = QLatin1Char(':');
    putTwoDigits(out + 6, seconds);
    out[8] = QLatin1Char(',');
    out[9] = QLatin1Char(char('0' + milliseconds / 100));
    putTwoDigits(out + 10, milliseconds % 100);
    return text;
}

} // namespace

QString msToTimestamp(qint64 ms)
{
    if (ms >= 0)
        return nonNegativeToTimestamp(ms);

    // Before the start every field is negative or zero, and each is written
    // as its own signed number.
    const qint64 hours = ms / 3600000;
    qint64 rest = ms - hours * 3600000;
    const qint64 minutes = rest / 60000;
    rest -= minutes * 60000;
    const qint64 seconds = rest / 1000;
    const qint64 milliseconds = rest - seconds * 1000;

    char buffer[96];
    char *out = buffer;
    out = writePadded(out, hours, 2);
    *out++ = ':';
    out = writePadded(out, minutes, 2);
    *out++ = ':';
    out = writePadded(out, seconds, 2);
    *out++ = ',';
    out = writePadded(out, milliseconds, 3);
    return QString::fromLatin1(buffer, int(out - buffer));
}
