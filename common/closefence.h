// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef CLOSEFENCE_H
#define CLOSEFENCE_H

class QCloseEvent;
class QWidget;

// Keeps a main window alive while one of its slots runs a nested event loop
// (a modal dialog, a save that waits for a file's lock). A close that comes
// then (the desktop session ending, a timer, an accessibility client; the
// learner's own clicks are held back by the loop) would delete the window
// under the slot; it is carried out once the slot is back in the event loop.
// Slots that would start another such loop inside the first ask isFenced()
// and do nothing.
class CloseFence
{
public:
    explicit CloseFence(QWidget *window) : window(window) {}

    // Marks the time a slot's nested loop runs, from construction on.
    class Loop
    {
    public:
        explicit Loop(CloseFence &fence) : fence(fence) { ++fence.depth; }
        ~Loop() { fence.leave(); }
        Loop(const Loop &) = delete;
        Loop &operator=(const Loop &) = delete;

    private:
        CloseFence &fence;
    };

    bool isFenced() const { return depth > 0; }

    // For the window's closeEvent: true when the close waits for the loop to
    // end; the event is then ignored.
    bool holdsBack(QCloseEvent *event);

private:
    void leave();

    QWidget *window;
    int depth = 0;
    bool closeAsked = false;
};

#endif // CLOSEFENCE_H
