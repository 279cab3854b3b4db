// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef WINDOWPLACEMENT_H
#define WINDOWPLACEMENT_H

#include <QRect>
#include <QSize>
#include <QVector>

// Where the film's window goes, frame included, so that the main window
// stays in sight: beside the main window's frame `mainFrame`, to its right or
// else to its left, top edges aligned, at `filmSize`. Where neither side has
// room, where it covers the least of `keepClear` (the fields and the tool
// bar, in screen coordinates), then of the main window. Always inside
// `available`, made smaller, at its own proportions, when it is larger.
QRect placeBeside(const QRect &mainFrame, QSize filmSize, const QRect &available,
                  const QVector<QRect> &keepClear);

#endif // WINDOWPLACEMENT_H
