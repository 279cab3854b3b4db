// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopchecks.h"

#include <QAccessible>
#include <QApplication>
#include <QDirIterator>
#include <QImage>
#include <QWidget>
#include <QtTest>

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

void collectFields(QAccessibleInterface *node, QStringList &fields)
{
    if (!node || node->state().invisible)
        return;
    switch (node->role()) {
    case QAccessible::StaticText:
        // A caption is its field's label, not a field.
        if (node->object() && node->object()->inherits("QLabel"))
            break;
        Q_FALLTHROUGH();
    case QAccessible::EditableText:
    case QAccessible::Slider:
    case QAccessible::ProgressBar:
    case QAccessible::ToolBar: {
        QString field = node->text(QAccessible::Name);
        const auto labels = node->relations(QAccessible::Label);
        for (const auto &label : labels)
            field += QStringLiteral(", labelled by ") + label.first->text(QAccessible::Name);
        fields << field;
        break;
    }
    default:
        break;
    }
    for (int i = 0; i < node->childCount(); ++i)
        collectFields(node->child(i), fields);
}

} // namespace

QString spokenName(QWidget *widget)
{
    QAccessibleInterface *node = widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
    return node ? node->text(QAccessible::Name) : QStringLiteral("(nothing)");
}

QStringList accessibleFields(QWidget *window)
{
    QStringList fields;
    collectFields(QAccessible::queryAccessibleInterface(window), fields);
    fields.sort();
    return fields;
}

QStringList tabChain(QWidget *start)
{
    start->setFocus(Qt::TabFocusReason);
    QStringList chain{spokenName(QApplication::focusWidget())};
    QWidget *focused = QApplication::focusWidget();
    for (int step = 0; focused && step < 50; ++step) {
        QTest::keyClick(focused, Qt::Key_Tab);
        focused = QApplication::focusWidget();
        if (focused == start)
            break;
        chain << spokenName(focused);
    }
    return chain;
}

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
