// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef DESKTOPINTEGRATION_H
#define DESKTOPINTEGRATION_H

#include <QList>

class QToolBar;
class QWidget;

// Lays the windows out in units of the desktop's scale (a desktop at 150 % or
// 200 % gives the fixed geometries room for its larger fonts) and draws icons
// from their twice-size images where the screen has the pixels. Must run
// before the application object is made.
void followDesktopScale();

// A tool-bar button is read out by its action's text, which names a slot
// rather than saying what the button does. This gives each button of the bar
// the accessible name and description its action carries, as the dynamic
// properties "accessibleName" and "accessibleDescription" set in the form.
// The bar itself is read out by its own accessible name, where it has one.
void nameToolBarButtons(QToolBar *toolBar);

// A tool bar gives its buttons no focus, so that without a mouse they cannot
// be pressed at all. This lets each button of the bar take focus with Tab (and
// so be pressed with Space) and returns them, left to right.
QList<QWidget *> toolBarButtonsTakingFocus(QToolBar *toolBar);

// A window that only shows a film: showing it leaves the keyboard with the
// window the learner works in (the window manager's keys reach it), and
// Escape closes it as its frame's close button does.
void makeFilmWindow(QWidget *window);

// Makes Tab go through `chain` in its order. From the last widget Tab goes
// back to the first only when every widget of the window that takes focus is
// in the chain: one left out comes between them.
void setTabChain(const QList<QWidget *> &chain);

#endif // DESKTOPINTEGRATION_H
