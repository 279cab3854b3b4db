// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef MODALDRIVER_H
#define MODALDRIVER_H

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// A watch for a modal dialog that is still waiting for one. A step that did
// not open the dialog it was armed for cancels it, so that it cannot take a
// dialog of a later step.
class ModalWatch
{
public:
    explicit ModalWatch(QObject *watcher = nullptr) : watcher(watcher) {}
    void cancel() { delete watcher; }

private:
    QPointer<QObject> watcher;
};

// Drives modal dialogs the way a user would: a timer waits for the next modal
// widget to become active and hands it to `handler`, which fills it in and
// closes it. Arm the driver before triggering the action that opens the dialog.
// Given a class name, it waits for a modal of that class and leaves others
// to other watches.
ModalWatch whenModalAppears(std::function<void(QWidget *modal)> handler, int timeoutMs = 15000,
                            const char *className = nullptr);

// What a file dialog showed, recorded when it was answered.
struct FileDialogSeen
{
    bool appeared = false;
    QString caption;
    QStringList nameFilters;
    bool saveDialog = false;
    // A save dialog asked whether to replace the file chosen.
    bool askedToReplace = false;
};

// Answers the next file dialog: types `path` into its file-name field and
// accepts it, or cancels it when `path` is empty. If the dialog then asks
// whether to replace an existing file, the answer is yes.
ModalWatch answerFileDialog(const QString &path, FileDialogSeen *seen = nullptr);

// What the attention dialog (or any other modal) showed before it was closed.
struct ModalSeen
{
    bool appeared = false;
    QString className;
    QString title;
    QString labelText;
    QRect labelGeometry;
    QString fontFamily;
    int fontPointSize = 0;
};

// Records the next modal widget (of that class, when one is named), its first
// QLabel child, and closes it.
ModalWatch closeNextModal(ModalSeen *seen, const char *className = nullptr);

// Runs `step`; a modal widget it opens (a refusal in the attention dialog) is
// closed at once instead of blocking the test. Returns whether one opened.
bool stepOpensModal(const std::function<void()> &step);

#endif // MODALDRIVER_H
