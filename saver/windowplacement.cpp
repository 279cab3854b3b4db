// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowplacement.h"

#include <algorithm>

namespace {

qint64 area(const QRect &rect)
{
    return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height();
}

qint64 covered(const QRect &place, const QVector<QRect> &areas)
{
    qint64 sum = 0;
    for (const QRect &each : areas)
        sum += area(place.intersected(each));
    return sum;
}

// `place` moved the least that puts it inside `available`, which it fits.
QRect inside(QRect place, const QRect &available)
{
    place.moveLeft(qBound(available.left(), place.left(), available.right() - place.width() + 1));
    place.moveTop(qBound(available.top(), place.top(), available.bottom() - place.height() + 1));
    return place;
}

} // namespace

QRect placeBeside(const QRect &mainFrame, QSize filmSize, const QRect &available,
                  const QVector<QRect> &keepClear)
{
    if (filmSize.width() > available.width() || filmSize.height() > available.height())
        filmSize.scale(available.size(), Qt::KeepAspectRatio);

    const QRect right(QPoint(mainFrame.right() + 1, mainFrame.top()), filmSize);
    if (right.right() <= available.right())
        return inside(right, available);
    const QRect left(QPoint(mainFrame.left() - filmSize.width(), mainFrame.top()), filmSize);
    if (left.left() >= available.left())
        return inside(left, available);

    // No room beside it: the screen's edges and corners, and the two sides
    // pushed back onto the screen, the first best in this order.
    const int lefts[] = {available.right() - filmSize.width() + 1, available.left()};
    const int tops[] = {mainFrame.top(), available.top(), available.bottom() - filmSize.height() + 1};
    QVector<QRect> candidates;
    for (int x : lefts) {
        for (int y : tops)
            candidates << inside(QRect(QPoint(x, y), filmSize), available);
    }
    const QVector<QRect> mainWindow{mainFrame};
    return *std::min_element(candidates.cbegin(), candidates.cend(), [&](const QRect &a, const QRect &b) {
        const qint64 aFields = covered(a, keepClear);
        const qint64 bFields = covered(b, keepClear);
        if (aFields != bFields)
            return aFields < bFields;
        return covered(a, mainWindow) < covered(b, mainWindow);
    });
}
