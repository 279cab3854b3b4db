// SPDX-License-Identifier: GPL-3.0-or-later
#include "mywidget.h"
#include "ui_mywidget.h"

#include "desktopintegration.h"
#include "drill.h"
#include "mainwindow_2.h"
#include "mainwindow_help.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QIcon>

#include <algorithm>

namespace {
const char yellowStone[] = ":/new/prefix1/my_img/yellowStone.png";
const char greenStone[] = ":/new/prefix1/my_img/greenStone.png";
}

MyWidget::MyWidget(QWidget *parent)
    : QWidget(parent, Qt::WindowFlags())
    , ui(new Ui::MyWidget)
{
    ui->setupUi(this);
    // The answer line is shorter than a line of its font. Without a frame,
    // and with its line raised by what is missing, the room above the capitals
    // is lost instead of the tails below the baseline of a "g" or a "ц".
    const int missing = ui->MyLineEdit->fontMetrics().height() - ui->MyLineEdit->height();
    if (missing > 0)
        ui->MyLineEdit->setTextMargins(0, -missing, 0, 0);

    connect(ui->MyPushButton1, SIGNAL(clicked()), this, SLOT(MyEventHandler()));
    connect(ui->MyPushButton2, SIGNAL(clicked()), this, SLOT(MyStart()));
    connect(ui->MyLineEdit, SIGNAL(returnPressed()), this, SLOT(MyEnter()));
    connect(ui->MyPushButton3, SIGNAL(clicked()), this, SLOT(MyOtmet()));

    videoWindow = new MainWindow_2(nullptr);
    connect(ui->MyPushButton4, SIGNAL(clicked()), this, SLOT(MyVideoWin()));

    ui->MyPushButton1->setToolTip(QStringLiteral("Open txt File"));
    ui->MyPushButton2->setToolTip(QStringLiteral("Training"));
    ui->MyPushButton3->setToolTip(QStringLiteral("Mark this word"));
    ui->MyPushButton4->setToolTip(QStringLiteral("Video"));

    helpWindow = new MainWindow_Help(nullptr);

    connect(ui->pushButton_H, SIGNAL(clicked()), this, SLOT(MyHelpBut()));
    ui->pushButton_H->setToolTip(QStringLiteral("Help"));

    ui->MyLineEdit->setAccessibleName(QStringLiteral("Your translation"));
    // Tab follows a drill: a file, a word, the answer, then the rest. The
    // panels come last, for reading and copying from them.
    setTabChain({ui->MyPushButton1, ui->MyPushButton2, ui->MyLineEdit, ui->MyPushButton3,
                 ui->MyPushButton4, ui->pushButton_H, ui->textBrowser_1, ui->textBrowser_2,
                 ui->textBrowser_3, ui->textBrowser});
}

MyWidget::~MyWidget()
{
    delete helpWindow;
    delete videoWindow;
    delete ui;
}

void MyWidget::closeEvent(QCloseEvent *event)
{
    if (closeFence.holdsBack(event))
        return;
    // The destructor takes the fragment and help windows with it, so that no
    // top-level window is left and the event loop ends.
    deleteLater();
    event->accept();
}

void MyWidget::MyEventHandler()
{
    if (closeFence.isFenced())
        return;
    QString path;
    {
        const CloseFence::Loop dialog(closeFence);
        path = QFileDialog::getOpenFileName(this, QStringLiteral("Открыть файл"), QStringLiteral("./"),
                                            QStringLiteral("TXT (*.txt)"));
    }
    // A cancelled dialog, or a file that cannot be opened or read to its end,
    // leaves the drill as it was: the learner's marks are not thrown away.
    std::optional<VocabularyContents> contents = readVocabularyFile(path);
    if (!contents)
        return;

    videoWindow->videoPath = filmPathFor(contents->videoPath, path);
    entries = std::move(contents->entries);
    // The film loads while the learner turns to the arrow, so that a draw
    // only has to seek in it; a file without pieces of film leaves it alone.
    if (std::any_of(entries.cbegin(), entries.cend(),
                    [](const TrainerEntry &entry) { return fragmentOf(entry).has_value(); }))
        videoWindow->loadFilm();
}

void MyWidget::MyStart()
{
    if (entries.isEmpty()) {
        ui->textBrowser_1->setText(QStringLiteral("Choose the text file!"));
        return;
    }
    setStone(QString::fromLatin1(yellowStone));
    ui->textBrowser_2->clear();
    ui->textBrowser_3->clear();
    ui->textBrowser->clear();
    ui->MyLineEdit->clear();

    const int drawn = drawUnmarked(entries, [] {
        // qrand keeps the draw repeatable for a given seed, which only the
        // entry function sets.
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        return uint(qrand());
        QT_WARNING_POP
    });
    currentIndex = quint32(drawn);
    answered = false;
    if (drawn < 0) {
        ui->textBrowser_1->setText(QStringLiteral("All words are marked!"));
        return;
    }

    const TrainerEntry &entry = entries.at(drawn);
    ui->textBrowser_1->setText(displayText(entry.at(1)));
    // The learner answers next.
    ui->MyLineEdit->setFocus(Qt::OtherFocusReason);
    if (const std::optional<Fragment> fragment = fragmentOf(entry)) {
        setStone(QString::fromLatin1(greenStone));
        // The film is made ready while the learner reads the word.
        videoWindow->holdAt(fragment->startMs);
    }
}

void MyWidget::MyEnter()
{
    if (entries.isEmpty()) {
        ui->textBrowser_1->setText(QStringLiteral("Choose the text file!"));
        return;
    }
    if (answered) {
        MyStart();
        return;
    }
    const TrainerEntry *entry = currentEntry();
    if (!entry) {
        ui->textBrowser_1->setText(QStringLiteral("Click on the arrow!"));
        return;
    }

    const QString &translation = entry->at(2);
    const bool right = isRightAnswer(ui->MyLineEdit->text(), translation);
    ui->textBrowser->setText(right ? QStringLiteral("Yes!") : QStringLiteral("No!"));
    ui->textBrowser_2->setText(displayText(translation));
    if (const std::optional<QString> context = contextOf(*entry))
        ui->textBrowser_3->setText(displayText(*context));
    answered = true;
}

void MyWidget::MyOtmet()
{
    TrainerEntry *entry = currentEntry();
    if (!entry) {
        ui->textBrowser_1->setText(QStringLiteral("Click on the arrow!"));
        return;
    }
    (*entry)[0] = QString::fromLatin1(TrainerMark::Marked);
}

void MyWidget::MyVideoWin()
{
    const TrainerEntry *entry = currentEntry();
    if (!entry) {
        ui->textBrowser_1->setText(QStringLiteral("Click on the arrow!"));
        return;
    }
    // The yellow stone already tells the learner there is nothing to play.
    const std::optional<Fragment> fragment = fragmentOf(*entry);
    if (!fragment)
        return;

    videoWindow->startFragment(fragment->startMs, fragment->durationMs);
}

void MyWidget::MyHelpBut()
{
    helpWindow->show();
}

TrainerEntry *MyWidget::currentEntry()
{
    if (currentIndex >= quint32(entries.size()))
        return nullptr;
    return &entries[int(currentIndex)];
}

void MyWidget::setStone(const QString &resource)
{
    QIcon stone;
    stone.addFile(resource, QSize(), QIcon::Normal, QIcon::Off);
    ui->MyPushButton4->setIcon(stone);
}
