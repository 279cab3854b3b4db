// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopintegration.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QToolBar>
#include <QWidget>

void followDesktopScale()
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    // A desktop at 150 % is drawn at 150 %: rounded up to 200 %, the fixed
    // windows grow taller than the 1080 lines of the laptops that use it.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
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
