// SPDX-License-Identifier: GPL-3.0-or-later
#include "closefence.h"

#include <QCloseEvent>
#include <QMetaObject>
#include <QWidget>

bool CloseFence::holdsBack(QCloseEvent *event)
{
    if (depth == 0)
        return false;
    closeAsked = true;
    event->ignore();
    return true;
}

void CloseFence::leave()
{
    if (--depth > 0 || !closeAsked)
        return;
    closeAsked = false;
    // Queued: the slot that ran the loop may still use the window. Should the
    // call come inside another loop, the fence holds it back again.
    QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
}
