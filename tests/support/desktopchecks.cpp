// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopchecks.h"

#include <QAccessible>
#include <QDirIterator>
#include <QImage>
#include <QWidget>

namespace {

void collect(QAccessibleInterface *node, AccessibleButtons &buttons)
{
    if (!node || node->state().invisible)
        return;
    switch (node->role()) {
    case QAccessible::Button:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
        buttons.names << node->text(QAccessible::Name);
        buttons.descriptions << node->text(QAccessible::Description);
        break;
    default:
        break;
    }
    for (int i = 0; i < node->childCount(); ++i)
        collect(node->child(i), buttons);
}

} // namespace

AccessibleButtons accessibleButtons(QWidget *window)
{
    AccessibleButtons buttons;
    collect(QAccessible::queryAccessibleInterface(window), buttons);
    return buttons;
}

QStringList imagesWithoutTwiceTheSize(const QString &folder)
{
    const QString twinSuffix = QStringLiteral("@2x.png");
    QStringList lacking;
    QDirIterator images(folder, {QStringLiteral("*.png")}, QDir::Files);
    while (images.hasNext()) {
        const QString path = images.next();
        if (path.endsWith(twinSuffix))
            continue;
        const QImage image(path);
        const QImage twin(path.chopped(4) + twinSuffix);
        if (image.isNull() || twin.size() != 2 * image.size())
            lacking << images.fileName();
    }
    return lacking;
}
