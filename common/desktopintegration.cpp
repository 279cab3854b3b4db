// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopintegration.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeySequence>
#include <QShortcut>
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

namespace {

// The toolkit reads a tool bar out by its title, which is also what the
// window's menu of bars shows, and passes over its accessible name.
QAccessibleInterface *toolBarByItsName(const QString &className, QObject *object)
{
    auto *toolBar = qobject_cast<QToolBar *>(object);
    if (className != QLatin1String("QToolBar") || !toolBar || toolBar->accessibleName().isEmpty())
        return nullptr;
    return new QAccessibleWidget(toolBar, QAccessible::ToolBar);
}

} // namespace

void nameToolBarButtons(QToolBar *toolBar)
{
    QAccessible::installFactory(toolBarByItsName);
    const QList<QAction *> actions = toolBar->actions();
    for (QAction *action : actions) {
        QWidget *button = toolBar->widgetForAction(action);
        if (!button || action->isSeparator())
            continue;
        button->setAccessibleName(action->property("accessibleName").toString());
        button->setAccessibleDescription(action->property("accessibleDescription").toString());
    }
}

QList<QWidget *> toolBarButtonsTakingFocus(QToolBar *toolBar)
{
    QList<QWidget *> buttons;
    const QList<QAction *> actions = toolBar->actions();
    for (QAction *action : actions) {
        QWidget *button = toolBar->widgetForAction(action);
        if (!button || action->isSeparator())
            continue;
        button->setFocusPolicy(Qt::TabFocus);
        buttons << button;
    }
    return buttons;
}

void makeFilmWindow(QWidget *window)
{
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}

void setTabChain(const QList<QWidget *> &chain)
{
    for (int i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i - 1), chain.at(i));
}
