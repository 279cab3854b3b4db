// SPDX-License-Identifier: GPL-3.0-or-later
#include "trainerlearner.h"

#include "mainwindow_2.h"
#include "mywidget.h"
#include "typing.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

TrainerLearner::TrainerLearner() = default;
TrainerLearner::~TrainerLearner() = default;

bool TrainerLearner::startTrainer()
{
    directory = std::make_unique<QTemporaryDir>();
    widget = new MyWidget(nullptr);
    widget->show();
    openButton = widget->findChild<QPushButton *>(QStringLiteral("MyPushButton1"));
    arrowButton = widget->findChild<QPushButton *>(QStringLiteral("MyPushButton2"));
    markButton = widget->findChild<QPushButton *>(QStringLiteral("MyPushButton3"));
    videoButton = widget->findChild<QPushButton *>(QStringLiteral("MyPushButton4"));
    answerLine = widget->findChild<QLineEdit *>(QStringLiteral("MyLineEdit"));
    textBrowser_1 = widget->findChild<QTextBrowser *>(QStringLiteral("textBrowser_1"));
    textBrowser_2 = widget->findChild<QTextBrowser *>(QStringLiteral("textBrowser_2"));
    textBrowser_3 = widget->findChild<QTextBrowser *>(QStringLiteral("textBrowser_3"));
    verdict = widget->findChild<QTextBrowser *>(QStringLiteral("textBrowser"));
    return directory->isValid() && QTest::qWaitForWindowExposed(widget) && openButton && arrowButton && markButton
           && videoButton && answerLine && textBrowser_1 && textBrowser_2 && textBrowser_3 && verdict;
}

void TrainerLearner::stopTrainer()
{
    delete widget;
    directory.reset();
}

QString TrainerLearner::writeFile(const QString &name, const QByteArray &content)
{
    const QString path = directory->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        return QString();
    return path;
}

FileDialogSeen TrainerLearner::load(const QString &path)
{
    FileDialogSeen seen;
    answerFileDialog(path, &seen);
    QTest::mouseClick(openButton, Qt::LeftButton);
    return seen;
}

void TrainerLearner::arrow()
{
    QTest::mouseClick(arrowButton, Qt::LeftButton);
}

void TrainerLearner::answer(const QString &text)
{
    typeText(answerLine, text + QLatin1Char('\n'));
}

void TrainerLearner::mark()
{
    QTest::mouseClick(markButton, Qt::LeftButton);
}

void TrainerLearner::video()
{
    QTest::mouseClick(videoButton, Qt::LeftButton);
}

bool TrainerLearner::arrowUntil(const QString &word, int attempts)
{
    for (int i = 0; i < attempts; ++i) {
        arrow();
        if (asked() == word)
            return true;
    }
    return false;
}

QString TrainerLearner::asked() const
{
    return textBrowser_1->toPlainText();
}

MainWindow_2 *TrainerLearner::videoWindow()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (auto *found = qobject_cast<MainWindow_2 *>(window))
            return found;
    }
    return nullptr;
}
