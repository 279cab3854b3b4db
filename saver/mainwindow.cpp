#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "mainwindow_2.h"
#include "mainwindow_help.h"
#include "my_dialog.h"
#include "timestamp.h"
#include "vocabularyrecord.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFont>
#include <QLabel>
#include <QMediaPlayer>
#include <QProgressBar>
#include <QSlider>
#include <QUrl>
#include <QVideoWidget>

namespace {

const QString textFileFilter = QStringLiteral("Text File (*.txt)");
const QString fileOpenedText = QStringLiteral("The file opend");

// A path or file name this short is taken for none.
bool tooShortForAPath(const QString &path)
{
    return path.size() < 2;
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent, Qt::WindowFlags())
    , ui(new Ui::MainWindow)
{
    ui->setupUi(this);

    helpWindow = new MainWindow_Help;
    attentionDialog = new My_Dialog;
    videoWindow = new MainWindow_2;
    videoWindow->owner = this;

    player = new QMediaPlayer(this);
    videoWidget = new QVideoWidget(this);
    player->setVideoOutput(videoWidget);
    videoWindow->setCentralWidget(videoWidget);
    player->setNotifyInterval(10);

    slider = new QSlider(this);
    progressBar = new QProgressBar(this);
    slider->setOrientation(Qt::Horizontal);
    // Confirmations are shown left of the slider and the progress bar, in what the narrow window
    // has left beside them: at their own widths they cut "The file opend" short. So the two share
    // what remains after the confirmation and the status bar's margins, spacing and size grip.
    const int statusBarFrame = 48;
    const int confirmationWidth = ui->statusBar->fontMetrics().horizontalAdvance(fileOpenedText);
    const int barWidth = qMax((width() - confirmationWidth - statusBarFrame) / 2, 2 * fontMetrics().height());
    slider->setMaximumWidth(barWidth);
    progressBar->setMaximumWidth(barWidth);
    ui->statusBar->addPermanentWidget(slider, 0);
    ui->statusBar->addPermanentWidget(progressBar, 0);

    // The player's 64-bit positions are narrowed to the widgets' int range.
    connect(player, &QMediaPlayer::durationChanged, slider, &QSlider::setMaximum);
    connect(player, &QMediaPlayer::positionChanged, slider, &QSlider::setValue);
    connect(slider, &QSlider::sliderMoved, player, &QMediaPlayer::setPosition);
    connect(player, &QMediaPlayer::durationChanged, progressBar, &QProgressBar::setMaximum);
    connect(player, &QMediaPlayer::positionChanged, progressBar, &QProgressBar::setValue);

    cueStartMs = -1;
    // The slot asks the player for the position itself.
    connect(player, &QMediaPlayer::positionChanged, this, &MainWindow::MySetSub);
    connect(ui->lineEdit, SIGNAL(returnPressed()), this, SLOT(MySetPoz()));
    connect(ui->pushButton, SIGNAL(clicked(bool)), this, SLOT(MySetPoz()));

    ui->pushButton->setToolTip(QStringLiteral("Set Video position"));
}

MainWindow::~MainWindow()
{
    delete helpWindow;
    delete attentionDialog;
    delete videoWindow;
    delete ui;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    deleteLater();
}

void MainWindow::on_actionPlay_triggered()
{
    if (videoPath.isEmpty())
        return;
    videoWindow->show();
    player->play();
}

void MainWindow::on_actionPause_triggered()
{
    player->pause();
}

void MainWindow::on_actionStopVideo_triggered()
{
    player->stop();
}

void MainWindow::on_actionOpenVideo_triggered()
{
    videoPath = QFileDialog::getOpenFileName(this, QStringLiteral("Open A Video File"), QString(),
                                             QStringLiteral("Video File (*.*)"));
    if (videoPath.isEmpty())
        return;
    player->setMedia(QMediaContent(QUrl::fromLocalFile(videoPath)));
    videoWindow->show();
    player->play();
}

void MainWindow::on_actionOpenTextFile_triggered()
{
    textFilePath = QFileDialog::getOpenFileName(this, QStringLiteral("Open Text File to Write"),
                                                QString(), textFileFilter);
    if (canAppendToFile(textFilePath))
        ui->statusBar->showMessage(fileOpenedText);
}

void MainWindow::on_actionSaveYour_triggered()
{
    if (tooShortForAPath(textFilePath)) {
        showAttention(QStringLiteral("You should open or create text file."), QRect(90, 60, 230, 20));
        return;
    }
    const VocabularyEntry entry{ui->textEdit_4->toPlainText(), ui->textEdit_5->toPlainText(),
                                ui->textEdit_3->toPlainText(), ui->lineEdit_1->text(),
                                ui->lineEdit_2->text()};
    if (entry.word.isEmpty() || entry.translation.isEmpty()) {
        showAttention(QStringLiteral("You should fill \"Word\" and \"Translation\" at least. "),
                      QRect(50, 60, 300, 20));
        return;
    }
    if (entry.start.isEmpty() != entry.end.isEmpty()) {
        showAttention(QStringLiteral("You should fill both fields of time."), QRect(90, 60, 300, 20));
        return;
    }
    if (!readsBackAsTyped(entry)) {
        showAttention(QStringLiteral("Remove \"-->\" and \"***\" from the fields."),
                      QRect(60, 60, 300, 20));
        return;
    }
    switch (appendLineToFile(textFilePath, assembleVocabularyRecord(entry))) {
    case AppendOutcome::OpenFailed:
        showAttention(QStringLiteral("The file could not be opened for writing."), QRect(60, 60, 300, 20));
        return;
    case AppendOutcome::WriteFailed:
        showAttention(QStringLiteral("The entry could not be written to the file."), QRect(60, 60, 300, 20));
        return;
    case AppendOutcome::Written:
        break;
    }
    ui->textEdit_4->clear();
    ui->textEdit_5->clear();
    ui->textEdit_3->clear();
    ui->lineEdit_1->clear();
    ui->lineEdit_2->clear();
}

void MainWindow::on_actionCreateTextFile_triggered()
{
    if (tooShortForAPath(videoPath)) {
        showAttention(QStringLiteral("You should open video file."), QRect(115, 60, 230, 20));
        return;
    }
    // Qt's own dialog asks before an existing file is chosen; the file is
    // appended to, never emptied.
    textFilePath = QFileDialog::getSaveFileName(this, QStringLiteral("Create File to Write"),
                                                QString(), textFileFilter);
    if (appendLineToFile(textFilePath, videoPath) == AppendOutcome::Written)
        ui->statusBar->showMessage(fileOpenedText);
}

void MainWindow::on_actionOpenSub_triggered()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open A Subtitle File"), QString(),
                                                      QStringLiteral("Subtitle File (*.srt)"));
    if (path.isEmpty())
        return;
    subtitlePath = path;
    loadSubtitleFile();

    currentCue = subtitles.constBegin();
    if (subtitles.size() < 3) {
        // The follower keeps its state: after an earlier good load it goes on
        // with this table, unless it is empty.
        ui->MyTextBrowser->setPlainText(
            QStringLiteral("Полноценного файла с субтитрами не обнаружено. Проверьте файл субтитров."));
        return;
    }
    cueStartMs = currentCue.key();
    cueEndMs = currentCue->endMs;
    cuePending = true;
}

void MainWindow::loadSubtitleFile()
{
    subtitles = readSubtitleFile(subtitlePath);
}

void MainWindow::MySetSub()
{
    followPlayback(player->position());
}

void MainWindow::followPlayback(qint64 position)
{
    // Idle before the first good load, and while a later failed load has left
    // no cue to follow.
    if (cueStartMs == -1 || subtitles.isEmpty())
        return;

    ui->lineEdit->setText(msToTimestamp(position));
    switch (followPosition(subtitles, position, currentCue, cueStartMs, cueEndMs, cuePending)) {
    case FollowerStep::Selected:
        ui->MyTextBrowser->clear();
        ui->lineEdit_1->clear();
        ui->lineEdit_2->clear();
        break;
    case FollowerStep::Shown:
        for (const QString &line : currentCue->lines)
            ui->MyTextBrowser->append(line);
        ui->lineEdit_1->setText(msToTimestamp(cueStartMs));
        ui->lineEdit_2->setText(msToTimestamp(cueEndMs));
        break;
    case FollowerStep::Unchanged:
        break;
    }
}

void MainWindow::MySetPoz()
{
    player->setPosition(timestampToMs(ui->lineEdit->text()));
}

void MainWindow::on_actionAbout_triggered()
{
    helpWindow->show();
}

void MainWindow::showAttention(const QString &text, const QRect &labelGeometry)
{
    attentionDialog->setFont(QFont(QStringLiteral("Roboto"), 10));
    attentionDialog->messageLabel->setGeometry(labelGeometry);
    attentionDialog->messageLabel->setText(text);
    attentionDialog->exec();
}
