// SPDX-License-Identifier: GPL-3.0-or-later
#include "modaldriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QRect>
#include <QTimer>

namespace {

class ModalWatcher : public QObject
{
public:
    // Owned by the application, so that a watcher still waiting when the test
    // ends goes with it.
    ModalWatcher(std::function<void(QWidget *)> handler, int timeoutMs, const char *className)
        : QObject(QCoreApplication::instance()), handler(std::move(handler)), className(className),
          remainingPolls(timeoutMs / pollMs)
    {
        connect(&timer, &QTimer::timeout, this, &ModalWatcher::poll);
        timer.start(pollMs);
    }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && (!className || modal->inherits(className))) {
            timer.stop();
            auto run = std::move(handler);
            deleteLater();
            run(modal);
            return;
        }
        if (--remainingPolls <= 0) {
            timer.stop();
            deleteLater();
        }
    }

    static constexpr int pollMs = 20;
    std::function<void(QWidget *)> handler;
    const char *className;
    QTimer timer;
    int remainingPolls;
};

} // namespace

ModalWatch whenModalAppears(std::function<void(QWidget *)> handler, int timeoutMs, const char *className)
{
    return ModalWatch(new ModalWatcher(std::move(handler), timeoutMs, className));
}

ModalWatch answerFileDialog(const QString &path, FileDialogSeen *seen)
{
    return whenModalAppears([path, seen](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            // Not what the test expected: close it so the test does not hang.
            modal->close();
            return;
        }
        if (seen) {
            seen->appeared = true;
            seen->caption = dialog->windowTitle();
            seen->nameFilters = dialog->nameFilters();
            seen->saveDialog = dialog->acceptMode() == QFileDialog::AcceptSave;
        }
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        if (dialog->acceptMode() == QFileDialog::AcceptSave) {
            // Qt asks before an existing file is chosen; answer yes. Asked
            // nothing, the watch goes with the dialog: it would take the
            // question of a later dialog.
            ModalWatch question = whenModalAppears([seen](QWidget *question) {
                auto *box = qobject_cast<QMessageBox *>(question);
                if (box && box->button(QMessageBox::Yes)) {
                    if (seen)
                        seen->askedToReplace = true;
                    box->button(QMessageBox::Yes)->click();
                }
            }, 1500, "QMessageBox");
            QObject::connect(dialog, &QDialog::finished, dialog, [question]() mutable { question.cancel(); });
        }
        auto *nameField = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (nameField)
            nameField->setText(path);
        else
            dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
}

ModalWatch closeNextModal(ModalSeen *seen, const char *className)
{
    return whenModalAppears([seen](QWidget *modal) {
        seen->appeared = true;
        seen->className = QString::fromLatin1(modal->metaObject()->className());
        seen->title = modal->windowTitle();
        seen->fontFamily = modal->font().family();
        seen->fontPointSize = modal->font().pointSize();
        if (auto *label = modal->findChild<QLabel *>()) {
            seen->labelText = label->text();
            seen->labelGeometry = label->geometry();
            seen->fontFamily = label->font().family();
            seen->fontPointSize = label->font().pointSize();
        }
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }, 15000, className);
}

bool stepOpensModal(const std::function<void()> &step)
{
    // Queued, so it runs inside the modal's own event loop if one opens.
    bool opened = false;
    QMetaObject::invokeMethod(qApp, [&opened] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            opened = true;
            modal->close();
        }
    }, Qt::QueuedConnection);
    step();
    QCoreApplication::sendPostedEvents();
    return opened;
}
