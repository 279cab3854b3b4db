// SPDX-License-Identifier: GPL-3.0-or-later
#include "saverlearner.h"

#include "mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QTextBrowser>
#include <QSignalSpy>
#include <QtTest>

SaverLearner::SaverLearner() = default;
SaverLearner::~SaverLearner() = default;

bool SaverLearner::startSaver()
{
    directory = std::make_unique<QTemporaryDir>();
    window = new MainWindow(nullptr);
    window->show();
    player = window->findChild<QMediaPlayer *>();
    subtitlePanel = window->findChild<QTextBrowser *>(QStringLiteral("MyTextBrowser"));
    timeField = window->findChild<QLineEdit *>(QStringLiteral("lineEdit"));
    fromField = window->findChild<QLineEdit *>(QStringLiteral("lineEdit_1"));
    toField = window->findChild<QLineEdit *>(QStringLiteral("lineEdit_2"));
    if (player)
        reports = std::make_unique<QSignalSpy>(player, &QMediaPlayer::positionChanged);
    return directory->isValid() && QTest::qWaitForWindowExposed(window) && player && subtitlePanel
           && timeField && fromField && toField;
}

void SaverLearner::stopSaver()
{
    reports.reset();
    delete window;
    directory.reset();
}

QString SaverLearner::writeFile(const QString &name, const QByteArray &content)
{
    const QString path = directory->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        return QString();
    return path;
}

QAction *SaverLearner::action(const char *name) const
{
    return window->findChild<QAction *>(QLatin1String(name));
}

FileDialogSeen SaverLearner::triggerAnsweringFileDialog(const char *actionName, const QString &path,
                                                        ModalSeen *refusal)
{
    FileDialogSeen seen;
    ModalWatch watch = answerFileDialog(path, &seen);
    ModalWatch refusalWatch;
    if (refusal) {
        *refusal = {};
        refusalWatch = closeNextModal(refusal, "My_Dialog");
    }
    action(actionName)->trigger();
    if (!seen.appeared)
        watch.cancel();
    if (refusal && !refusal->appeared)
        refusalWatch.cancel();
    return seen;
}

bool SaverLearner::waitForPositionReport(qint64 positionMs)
{
    if (!reports)
        return false;
    // The spy's own event loop: polling with sleeps would slow every report down.
    for (;;) {
        if (reports->isEmpty() && !reports->wait(5000))
            return false;
        if (reports->takeFirst().at(0).toLongLong() == positionMs)
            return true;
    }
}

QWidget *SaverLearner::topLevelOfClass(const char *className)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qstrcmp(widget->metaObject()->className(), className) == 0)
            return widget;
    }
    return nullptr;
}
