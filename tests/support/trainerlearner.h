// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef TRAINERLEARNER_H
#define TRAINERLEARNER_H

#include "modaldriver.h"

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class MainWindow_2;
class MyWidget;
class QLineEdit;
class QPushButton;
class QTextBrowser;

// Uses the trainer's main widget as a learner does: files chosen in the real
// open dialog, the buttons clicked and the answers typed into the answer line.
// Test classes derive from it next to QObject.
class TrainerLearner
{
protected:
    TrainerLearner();
    ~TrainerLearner();

    // Creates and shows the main widget in a fresh folder of files and finds
    // its controls; false when one is missing or the widget never shows.
    bool startTrainer();
    void stopTrainer();

    // Writes a file into `directory`; returns its path, or an empty string.
    QString writeFile(const QString &name, const QByteArray &content);
    FileDialogSeen load(const QString &path);
    void arrow();
    void answer(const QString &text);
    void mark();
    void video();
    // Presses the arrow until `word` is asked; false if it never comes up.
    bool arrowUntil(const QString &word, int attempts = 200);
    QString asked() const;
    // The one fragment window, found among the top-level windows.
    static MainWindow_2 *videoWindow();

    std::unique_ptr<QTemporaryDir> directory;
    QPointer<MyWidget> widget;
    QPushButton *openButton = nullptr;
    QPushButton *arrowButton = nullptr;
    QPushButton *markButton = nullptr;
    QPushButton *videoButton = nullptr;
    QLineEdit *answerLine = nullptr;
    QTextBrowser *textBrowser_1 = nullptr;
    QTextBrowser *textBrowser_2 = nullptr;
    QTextBrowser *textBrowser_3 = nullptr;
    QTextBrowser *verdict = nullptr;
};

#endif // TRAINERLEARNER_H
