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

// The fields, text panels, sliders, progress bars and tool bars of a shown
// window, each as "name" or, when a caption labels it, "name, labelled by
// caption", sorted.
QStringList accessibleFields(QWidget *window);

// What a screen reader says for the widget: its accessible name.
QString spokenName(QWidget *widget);

// Where Tab takes the focus in a shown window, from `start` until it comes
// back there (or after 50 steps), as the names a screen reader says.
QStringList tabChain(QWidget *start);

// The images in a resource folder that lack a twin "<name>@2x.png" of exactly
// twice their size, which a screen at twice the scale would show blurred.
QStringList imagesWithoutTwiceTheSize(const QString &folder);

#endif // DESKTOPCHECKS_H
