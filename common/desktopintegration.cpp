// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopintegration.h"

#include <QAction>
#include <QCoreApplication>
#include <QToolBar>
#include <QWidget>

void followDesktopScale()
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
}

void nameToolBarButtons(QToolBar *toolBar)
{
    const QList<QAction *> actions = toolBar->actions();
    for (QAction *action : actions) {
        QWidget *button = toolBar->widgetForAction(action);
        if (!button || action->isSeparator())
            continue;
        button->setAccessibleName(action->property("accessibleName").toString());
        button->setAccessibleDescription(action->property("accessibleDescription").toString());
    }
}
