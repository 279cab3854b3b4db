// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef DESKTOPINTEGRATION_H
#define DESKTOPINTEGRATION_H

class QToolBar;

// Lays the windows out in units of the desktop's scale (a desktop at 150 % or
// 200 % gives the fixed geometries room for its larger fonts) and draws icons
// from their twice-size images where the screen has the pixels. Must run
// before the application object is made.
void followDesktopScale();

// A tool-bar button is read out by its action's text, which names a slot
// rather than saying what the button does. This gives each button of the bar
// the accessible name and description its action carries, as the dynamic
// properties "accessibleName" and "accessibleDescription" set in the form.
void nameToolBarButtons(QToolBar *toolBar);

#endif // DESKTOPINTEGRATION_H
