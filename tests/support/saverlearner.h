// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SAVERLEARNER_H
#define SAVERLEARNER_H

#include "modaldriver.h"

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class MainWindow;
class QAction;
class QLineEdit;
class QMediaPlayer;
class QSignalSpy;
class QTextBrowser;
class QWidget;

// Uses the saver's main window as a learner does: files chosen in the real
// dialogs, the tool-bar actions triggered. Test classes derive from it next
// to QObject.
class SaverLearner
{
protected:
    SaverLearner();
    ~SaverLearner();

    // Creates and shows the main window in a fresh folder of files and finds
    // its player and the follower's fields; false when one is missing or the
    // window never shows.
    bool startSaver();
    void stopSaver();

    // Writes a file into `directory`; returns its path, or an empty string.
    QString writeFile(const QString &name, const QByteArray &content = QByteArray());
    QAction *action(const char *name) const;
    // Triggers the action and answers the file dialog it opens with `path`,
    // or cancels it when `path` is empty. With `refusal`, the attention dialog
    // that the choice opens is recorded there and closed.
    FileDialogSeen triggerAnsweringFileDialog(const char *actionName, const QString &path,
                                              ModalSeen *refusal = nullptr);
    // Waits for the player's report of `positionMs`, reports before it passed over.
    bool waitForPositionReport(qint64 positionMs);
    // The window of that class among the top-level windows, if there is one.
    static QWidget *topLevelOfClass(const char *className);

    std::unique_ptr<QTemporaryDir> directory;
    QPointer<MainWindow> window;
    QMediaPlayer *player = nullptr;
    QTextBrowser *subtitlePanel = nullptr;
    QLineEdit *timeField = nullptr;
    QLineEdit *fromField = nullptr;
    QLineEdit *toField = nullptr;
    // The player's position reports since the window started, as yet unread.
    std::unique_ptr<QSignalSpy> reports;
};

#endif // SAVERLEARNER_H
