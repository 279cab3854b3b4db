// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef DESKTOPCHECKS_H
#define DESKTOPCHECKS_H

#include <QString>
#include <QStringList>

class QWidget;

// The buttons of a shown window as a screen reader reaches them: every
// visible interface with a button role in the window's accessible tree, in
// tree order.
struct AccessibleButtons
{
    QStringList names;
    QStringList descriptions;
};

AccessibleButtons accessibleButtons(QWidget *window);

// The images in a resource folder that lack a twin "<name>@2x.png" of exactly
// twice their size, which a screen at twice the scale would show blurred.
QStringList imagesWithoutTwiceTheSize(const QString &folder);

#endif // DESKTOPCHECKS_H
