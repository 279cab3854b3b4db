// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "closefence.h"
#include "cuedisplay.h"
#include "desktopintegration.h"
#include "filmclock.h"
#include "filmwatch.h"
#include "mainwindow_2.h"
#include "mainwindow_help.h"
#include "my_dialog.h"
#include "readablefile.h"
#include "subtitles.h"
#include "textfiledialog.h"
#include "timestamp.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFont>
#include <QLabel>
#include <QMediaPlayer>
#include <QProgressBar>
#include <QRect>
#include <QSlider>
#include <QTimer>
#include <QUrl>
#include <QVideoWidget>

#include <algorithm>
#include <initializer_list>
#include <iterator>

namespace {

const QString textFileFilter = QStringLiteral("Text File (*.txt)");
const QString fileOpenedText = QStringLiteral("The file opend");
const QString filmNotPlayedText = QStringLiteral("The film could not be played.");

// While another program holds the vocabulary file's lock the window is drawn
// and the film followed, but nothing the learner does is taken; what comes
// from elsewhere is held back by the close fence.
void repaintWhileLocked()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// What a status bar takes of its width for itself: its margins, the spacing
// between its widgets and the size grip.
constexpr int statusBarChromeWidth = 48;

// What the attention dialog says for each problem, and where its label stands.
struct Refusal
{
    CaptureProblem problem;
    const char *text;
    QRect labelGeometry;
};

const Refusal refusals[] = {
    {CaptureProblem::NoVideo, "You should open video file.", {115, 60, 230, 20}},
    {CaptureProblem::SeparatorInVideoPath, "The film's path must not contain \"-->\".",
     {60, 60, 300, 20}},
    {CaptureProblem::LineBreakInVideoPath, "The film's path must not contain a line break.",
     {60, 60, 300, 20}},
    {CaptureProblem::NoTarget, "You should open or create text file.", {90, 60, 230, 20}},
    {CaptureProblem::TargetOfAnotherFilm, "The file belongs to another film.", {60, 60, 300, 20}},
    {CaptureProblem::WordOrTranslationMissing,
     "You should fill \"Word\" and \"Translation\" at least. ", {50, 60, 300, 20}},
    {CaptureProblem::OneTimeMissing, "You should fill both fields of time.", {90, 60, 300, 20}},
    {CaptureProblem::DoesNotReadBack, "Remove \"-->\" and \"***\" from the fields.",
     {60, 60, 300, 20}},
    {CaptureProblem::TargetNotOpened, "The file could not be opened for writing.",
     {60, 60, 300, 20}},
    {CaptureProblem::TargetInUse, "The file is in use by another program.", {60, 60, 300, 20}},
    {CaptureProblem::TargetNotStarted, "The file could not be written.", {90, 60, 230, 20}},
    {CaptureProblem::EntryNotWritten, "The entry could not be written to the file.",
     {60, 60, 300, 20}},
};

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent, Qt::WindowFlags())
    , ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    cueDisplay = std::make_unique<CueDisplay>(ui->lineEdit, ui->pushButton, ui->MyTextBrowser, ui->lineEdit_1,
                                              ui->lineEdit_2);
    // Part of a subtitle is copied from the keyboard too: Shift with the arrows, Home or End.
    ui->MyTextBrowser->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    nameToolBarButtons(ui->MyToolBar);

    helpWindow = new MainWindow_Help;
    attentionDialog = new My_Dialog;
    videoWindow = new MainWindow_2;
    videoWindow->owner = this;

    player = new QMediaPlayer(this);
    filmClock = new FilmClock(player, this);
    videoWidget = new QVideoWidget(this);
    player->setVideoOutput(videoWidget);
    videoWindow->setCentralWidget(videoWidget);
    player->setNotifyInterval(10);
    // Told after the signal, not inside the player's own report of it.
    connect(new FilmWatch(player), &FilmWatch::cannotPlay, this, &MainWindow::tellFilmNotPlayed,
            Qt::QueuedConnection);

    slider = new QSlider(this);
    progressBar = new QProgressBar(this);
    slider->setOrientation(Qt::Horizontal);
    // Confirmations are shown left of the slider and the progress bar, in what the narrow window
    // has left beside them: at their own widths they cut "The file opend" short. So the two share
    // what remains after the confirmation and the status bar's own margins, spacing and size grip.
    const int confirmationWidth = ui->statusBar->fontMetrics().horizontalAdvance(fileOpenedText);
    const int barWidth = qMax((width() - confirmationWidth - statusBarChromeWidth) / 2, 2 * fontMetrics().height());
    slider->setMaximumWidth(barWidth);
    progressBar->setMaximumWidth(barWidth);
    ui->statusBar->addPermanentWidget(slider, 0);
    ui->statusBar->addPermanentWidget(progressBar, 0);
    slider->setAccessibleName(QStringLiteral("Position in the film"));
    progressBar->setAccessibleName(QStringLiteral("Film played"));

    // Tab follows the learner's road: a film and its subtitles, a place in
    // it, the entry, its time range. The subtitle panel comes last, for
    // copying from it.
    setTabChain(toolBarButtonsTakingFocus(ui->MyToolBar)
                + QList<QWidget *>{ui->lineEdit, ui->pushButton, ui->textEdit_4, ui->textEdit_5,
                                   ui->textEdit_3, ui->lineEdit_1, ui->lineEdit_2, slider,
                                   ui->MyTextBrowser});

    // The player's 64-bit positions are narrowed to the widgets' int range.
    connect(filmClock, &FilmClock::durationChanged, slider, &QSlider::setMaximum);
    // A handle held down stays under the hand: set to the position, it would
    // seek the player to where it is and move away from the mouse.
    connect(filmClock, &FilmClock::positionChanged, slider, [this](qint64 position) {
        if (!slider->isSliderDown())
            slider->setValue(int(position));
    });
    connect(slider, &QSlider::sliderMoved, filmClock, &FilmClock::setPosition);
    connect(slider, &QSlider::sliderMoved, this, [this](int position) { followSeek(position); });
    // The film played on while the handle was held still; it goes on from the handle.
    connect(slider, &QSlider::sliderReleased, this, [this] {
        filmClock->setPosition(slider->value());
        followSeek(slider->value());
    });
    // The arrow and page keys move the slider without a drag; they seek by
    // steps a learner can use, not by the default millisecond.
    slider->setSingleStep(5000);
    slider->setPageStep(30000);
    connect(slider, &QSlider::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderNoAction || action == QAbstractSlider::SliderMove)
            return;
        filmClock->setPosition(slider->sliderPosition());
        followSeek(slider->sliderPosition());
    });
    connect(filmClock, &FilmClock::durationChanged, progressBar, &QProgressBar::setMaximum);
    connect(filmClock, &FilmClock::positionChanged, progressBar, &QProgressBar::setValue);

    // The slot asks the clock for the position itself.
    connect(filmClock, &FilmClock::positionChanged, this, &MainWindow::MySetSub);
    connect(ui->lineEdit, SIGNAL(returnPressed()), this, SLOT(MySetPoz()));
    connect(ui->pushButton, SIGNAL(clicked(bool)), this, SLOT(MySetPoz()));

    ui->pushButton->setToolTip(QStringLiteral("Set Video position"));

    // The first thing to do is to open a film. Set once the window is
    // shown: showing it gives the focus to a widget of its own choice.
    QTimer::singleShot(0, ui->MyToolBar->widgetForAction(ui->actionOpenVideo), qOverload<>(&QWidget::setFocus));
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
    if (closeFence.holdsBack(event))
        return;
    event->accept();
    deleteLater();
}

void MainWindow::on_actionPlay_triggered()
{
    if (videoPath.isEmpty())
        return;
    showVideoWindow();
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
    if (closeFence.isFenced())
        return;
    {
        const CloseFence::Loop dialog(closeFence);
        videoPath = QFileDialog::getOpenFileName(this, QStringLiteral("Open A Video File"), QString(),
                                                 QStringLiteral("Video File (*.*)"));
    }
    if (videoPath.isEmpty())
        return;
    // A pipe or a device would hold the player, and the window with it.
    const bool playable = !ReadableFile::namesNoRegularFile(videoPath);
    player->setMedia(playable ? QMediaContent(QUrl::fromLocalFile(videoPath)) : QMediaContent());
    showVideoWindow();
    if (!playable)
        QTimer::singleShot(0, this, &MainWindow::tellFilmNotPlayed);
}

void MainWindow::showVideoWindow()
{
    // The film does not hide what the learner works with.
    QVector<QRect> keepClear;
    for (const QWidget *part : std::initializer_list<const QWidget *>{ui->groupBox, ui->groupBox_2, ui->groupBox_3,
                                                                      ui->MyToolBar})
        keepClear << QRect(part->mapToGlobal(QPoint(0, 0)), part->size());
    videoWindow->showBeside(this, keepClear);
    player->play();
}

void MainWindow::tellFilmNotPlayed()
{
    // Another dialog or a save's wait is open: the learner is told after it.
    if (closeFence.isFenced()) {
        QTimer::singleShot(250, this, &MainWindow::tellFilmNotPlayed);
        return;
    }
    showAttention(filmNotPlayedText, {60, 60, 300, 20});
}

void MainWindow::on_actionOpenTextFile_triggered()
{
    if (closeFence.isFenced())
        return;
    const CloseFence::Loop dialogs(closeFence);
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open Text File to Write"),
                                                      QString(), textFileFilter);
    showTargetChosen(target.open(path, videoPath, repaintWhileLocked));
}

void MainWindow::on_actionSaveYour_triggered()
{
    if (closeFence.isFenced())
        return;
    const CloseFence::Loop waits(closeFence);
    const VocabularyEntry entry{ui->textEdit_4->toPlainText(), ui->textEdit_5->toPlainText(),
                                ui->textEdit_3->toPlainText(), ui->lineEdit_1->text(),
                                ui->lineEdit_2->text()};
    const CaptureProblem problem = target.save(entry, repaintWhileLocked);
    if (problem != CaptureProblem::None) {
        showRefusal(problem);
        return;
    }
    ui->textEdit_4->clear();
    ui->textEdit_5->clear();
    ui->textEdit_3->clear();
    ui->lineEdit_1->clear();
    ui->lineEdit_2->clear();
    // The next word is often taken from the same subtitle.
    cueDisplay->showCueTimes();
}

void MainWindow::on_actionCreateTextFile_triggered()
{
    // Checked before the file dialog: the learner is not asked for a file
    // that could not be started, and the earlier target stays.
    if (closeFence.isFenced())
        return;
    const CloseFence::Loop dialogs(closeFence);
    const CaptureProblem problem = VocabularyTarget::videoPathProblem(videoPath);
    if (problem != CaptureProblem::None) {
        showRefusal(problem);
        return;
    }
    TextFileDialog dialog(QStringLiteral("Create File to Write"), textFileFilter, this);
    const QString path = dialog.exec() == QDialog::Accepted ? dialog.chosenFile() : QString();
    showTargetChosen(target.create(path, videoPath, repaintWhileLocked));
}

void MainWindow::showTargetChosen(CaptureProblem problem)
{
    if (problem == CaptureProblem::None) {
        ui->statusBar->showMessage(fileOpenedText);
        return;
    }
    // A confirmation left from an earlier target would claim the new one.
    ui->statusBar->clearMessage();
    // A cancelled dialog chose nothing to tell about.
    if (problem != CaptureProblem::NoTarget)
        showRefusal(problem);
}

void MainWindow::on_actionOpenSub_triggered()
{
    if (closeFence.isFenced())
        return;
    QString path;
    {
        const CloseFence::Loop dialog(closeFence);
        path = QFileDialog::getOpenFileName(this, QStringLiteral("Open A Subtitle File"), QString(),
                                            QStringLiteral("Subtitle File (*.srt)"));
    }
    if (path.isEmpty())
        return;
    subtitlePath = path;
    // Nothing of an earlier file stays on screen, neither a subtitle with its
    // times nor a refusal.
    ui->MyTextBrowser->clear();
    ui->lineEdit_1->clear();
    ui->lineEdit_2->clear();
    if (!loadSubtitleFile()) {
        ui->MyTextBrowser->setPlainText(
            QStringLiteral("Полноценного файла с субтитрами не обнаружено. Проверьте файл субтитров."));
        return;
    }
    // A film that stands still reports no position: the subtitle at it is
    // shown at once, as after a jump.
    if (player->state() == QMediaPlayer::PausedState)
        followSeek(filmClock->position());
}

bool MainWindow::loadSubtitleFile()
{
    // A file that could not be read to its end counts as one without cues.
    return cueDisplay->load(readSubtitleFile(subtitlePath).value_or(SubtitleTable()));
}

void MainWindow::MySetSub()
{
    cueDisplay->report(filmClock->position());
}

void MainWindow::followSeek(qint64 position)
{
    cueDisplay->jump(position, player->state() == QMediaPlayer::PlayingState);
}

void MainWindow::MySetPoz()
{
    if (closeFence.isFenced())
        return;
    qint64 position = timestampToMs(ui->lineEdit->text());
    // Past the end the player would stay where it is, and the fields would
    // tell of a place it is not at.
    if (filmClock->duration() > 0)
        position = qBound<qint64>(0, position, filmClock->duration());
    filmClock->setPosition(position);
    followSeek(position);
}

void MainWindow::stopPlayback()
{
    player->stop();
}

void MainWindow::on_actionAbout_triggered()
{
    helpWindow->show();
}

void MainWindow::showRefusal(CaptureProblem problem)
{
    const auto refusal =
        std::find_if(std::begin(refusals), std::end(refusals),
                     [problem](const Refusal &each) { return each.problem == problem; });
    if (refusal != std::end(refusals))
        showAttention(QString::fromUtf8(refusal->text), refusal->labelGeometry);
}

void MainWindow::showAttention(const QString &text, const QRect &labelGeometry)
{
    const CloseFence::Loop dialog(closeFence);
    attentionDialog->setFont(QFont(QStringLiteral("Roboto"), 10));
    attentionDialog->messageLabel->setGeometry(labelGeometry);
    attentionDialog->messageLabel->setText(text);
    attentionDialog->exec();
}
