// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmformats.h"
#include "mainwindow.h"
#include "modaldriver.h"
#include "playbacklog.h"
#include "saverlearner.h"
#include "testclip.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QMenuBar>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolBar>
#include <QtTest>

#include <sys/stat.h>

class TestSaverWindow : public QObject, public SaverLearner
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void mainWindowLayout();
    void toolBarOrderAndToolTips();
    void fonts();
    void secondaryWindowsAtStart();
    void helpAction();

    void playBeforeAnyVideoDoesNothing();
    void openVideoPlaysAndFollowsPosition();
    void sliderSeeks_data();
    void sliderSeeks();
    void heldSliderStaysUnderTheHand();
    void pauseStopAndPlayAgain();
    void closingVideoWindowStopsAndHides();
    void cancelledOpenKeepsPlayingButBlocksPlay();
    void filmThatCannotPlay_data();
    void filmThatCannotPlay();
    void filmsOfEveryFormatPlay_data();
    void filmsOfEveryFormatPlay();
    void pipeAsFilmIsNotOpened();
    void closingMainWindowDestroysEveryWindow();

private:
    void openClip();

    QTemporaryDir clipFolder;
    QString clipPath;
};

void TestSaverWindow::initTestCase()
{
    Q_INIT_RESOURCE(saver);
    QVERIFY(clipFolder.isValid());
    clipPath = makeTestClip(clipFolder.path(), 8);
    QVERIFY2(!clipPath.isEmpty(), "gst-launch-1.0 could not make the test clip");
}

void TestSaverWindow::init()
{
    QVERIFY(startSaver());
}

void TestSaverWindow::cleanup()
{
    stopSaver();
    QVERIFY(!topLevelOfClass("MainWindow_2"));
}

void TestSaverWindow::openClip()
{
    const FileDialogSeen seen = triggerAnsweringFileDialog("actionOpenVideo", clipPath);
    QVERIFY(seen.appeared);
    QCOMPARE(seen.caption, QStringLiteral("Open A Video File"));
    QCOMPARE(seen.nameFilters, QStringList{QStringLiteral("Video File (*.*)")});
    QVERIFY(!seen.saveDialog);
    QTRY_COMPARE_WITH_TIMEOUT(player->state(), QMediaPlayer::PlayingState, 10000);
}

void TestSaverWindow::mainWindowLayout()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Saver"));
    QCOMPARE(window->size(), QSize(311, 548));
    QVERIFY(!window->windowIcon().isNull());

    for (const char *name : {"groupBox", "groupBox_2", "groupBox_3"}) {
        auto *box = window->findChild<QGroupBox *>(QLatin1String(name));
        QVERIFY2(box, name);
        QVERIFY(box->title().isEmpty());
    }
    QCOMPARE(window->findChild<QGroupBox *>("groupBox")->geometry(), QRect(10, 10, 291, 131));
    QCOMPARE(window->findChild<QGroupBox *>("groupBox_2")->geometry(), QRect(10, 150, 291, 211));
    QCOMPARE(window->findChild<QGroupBox *>("groupBox_3")->geometry(), QRect(10, 370, 291, 111));
    QCOMPARE(window->findChild<QTextBrowser *>("MyTextBrowser")->geometry(), QRect(10, 30, 271, 91));
    QCOMPARE(window->findChild<QTextEdit *>("textEdit_3")->geometry(), QRect(10, 110, 271, 91));
    QCOMPARE(window->findChild<QTextEdit *>("textEdit_4")->geometry(), QRect(10, 30, 121, 41));
    QCOMPARE(window->findChild<QTextEdit *>("textEdit_5")->geometry(), QRect(160, 30, 121, 41));
    QCOMPARE(window->findChild<QLineEdit *>("lineEdit")->geometry(), QRect(110, 30, 105, 20));
    QCOMPARE(window->findChild<QLineEdit *>("lineEdit_1")->geometry(), QRect(50, 80, 105, 20));
    QCOMPARE(window->findChild<QLineEdit *>("lineEdit_2")->geometry(), QRect(170, 80, 105, 20));
    // A whole time shows without scrolling its first digits out of sight
    // (frame and text margins take 4 pixels a side).
    for (const char *name : {"lineEdit", "lineEdit_1", "lineEdit_2"}) {
        auto *field = window->findChild<QLineEdit *>(QLatin1String(name));
        QVERIFY2(field->width() - 8 >= field->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00,000")) + 1, name);
    }

    const QStringList captions{"Subtitle", "Context", "Words", "Translation", "Time:", "Time from:", "to:"};
    const QStringList names{"label", "label_2", "label_3", "label_4", "label_5", "label_6", "label_7"};
    for (int i = 0; i < names.size(); ++i) {
        auto *label = window->findChild<QLabel *>(names[i]);
        QVERIFY2(label, qPrintable(names[i]));
        QCOMPARE(label->text(), captions[i]);
        // Every caption is readable in full.
        QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()), qPrintable(names[i]));
    }

    auto *seekButton = window->findChild<QPushButton *>("pushButton");
    QCOMPARE(seekButton->geometry(), QRect(220, 30, 21, 21));
    QVERIFY(seekButton->text().isEmpty());
    QVERIFY(!seekButton->icon().isNull());
    QCOMPARE(seekButton->toolTip(), QStringLiteral("Set Video position"));

    auto *menuBar = window->findChild<QMenuBar *>("menuBar");
    QVERIFY(menuBar);
    QCOMPARE(window->menuBar(), menuBar);
    QVERIFY(menuBar->actions().isEmpty());

    // The slider sits left of the progress bar in the status bar.
    auto *slider = window->statusBar()->findChild<QSlider *>();
    auto *progressBar = window->statusBar()->findChild<QProgressBar *>();
    QVERIFY(slider && progressBar);
    QCOMPARE(slider->orientation(), Qt::Horizontal);
    QVERIFY(slider->isVisible() && progressBar->isVisible());
    QVERIFY(slider->geometry().right() < progressBar->geometry().left());
}

void TestSaverWindow::toolBarOrderAndToolTips()
{
    auto *toolBar = window->findChild<QToolBar *>("MyToolBar");
    QVERIFY(toolBar);
    QCOMPARE(window->toolBarArea(toolBar), Qt::BottomToolBarArea);

    QStringList order;
    for (QAction *item : toolBar->actions())
        order << (item->isSeparator() ? QStringLiteral("|") : item->objectName());
    QCOMPARE(order, (QStringList{"actionAbout", "|", "actionOpenVideo", "actionOpenSub", "|",
                                 "actionPlay", "actionPause", "actionStopVideo", "|",
                                 "actionCreateTextFile", "actionOpenTextFile", "actionSaveYour"}));

    // Every action is on screen, none hidden behind the tool bar's overflow.
    for (QAction *item : toolBar->actions()) {
        if (!item->isSeparator())
            QVERIFY2(toolBar->widgetForAction(item)->isVisible(), qPrintable(item->objectName()));
    }

    const QList<QPair<const char *, QString>> toolTips{
        {"actionPlay", "Play"},
        {"actionPause", "Pause"},
        {"actionStopVideo", "Stop"},
        {"actionOpenVideo", "<html><head/><body><p>Open video</p></body></html>"},
        {"actionOpenSub", "<html><head/><body><p>Open subtitle</p></body></html>"},
        {"actionOpenTextFile", "<html><head/><body><p>Choose created file to write</p></body></html>"},
        {"actionSaveYour", "<html><head/><body><p>Save your string</p></body></html>"},
        {"actionCreateTextFile", "<html><head/><body><p>Create text file to write</p></body></html>"},
        {"actionAbout", "About"},
    };
    for (const auto &[name, toolTip] : toolTips) {
        QAction *item = action(name);
        QVERIFY2(item, name);
        QCOMPARE(item->toolTip(), toolTip);
        QVERIFY(!item->icon().isNull());
        QVERIFY(item->shortcut().isEmpty());
    }
}

void TestSaverWindow::fonts()
{
    const int defaultSize = QApplication::font().pointSize();
    for (const char *name : {"MyTextBrowser", "textEdit_3", "lineEdit", "lineEdit_1", "lineEdit_2"})
        QCOMPARE(window->findChild<QWidget *>(QLatin1String(name))->font().pointSize(), 10);
    for (const char *name : {"textEdit_4", "textEdit_5"})
        QCOMPARE(window->findChild<QWidget *>(QLatin1String(name))->font().pointSize(), defaultSize);
}

void TestSaverWindow::secondaryWindowsAtStart()
{
    QWidget *video = topLevelOfClass("MainWindow_2");
    QWidget *help = topLevelOfClass("MainWindow_Help");
    QWidget *attention = topLevelOfClass("My_Dialog");
    QVERIFY(video && help && attention);
    QVERIFY(!video->isVisible() && !help->isVisible() && !attention->isVisible());
    QVERIFY(!video->parentWidget() && !help->parentWidget() && !attention->parentWidget());

    QCOMPARE(video->windowTitle(), QStringLiteral("Video"));
    QCOMPARE(video->size(), QSize(800, 600));
    QVERIFY(qobject_cast<QMainWindow *>(video)->centralWidget()->inherits("QVideoWidget"));

    QCOMPARE(attention->windowTitle(), QStringLiteral("Atention!"));
    QCOMPARE(attention->size(), QSize(400, 160));
    QVERIFY(attention->findChild<QLabel *>());

    QCOMPARE(help->windowTitle(), QStringLiteral("Help"));
    QCOMPARE(help->size(), QSize(376, 135));
}

void TestSaverWindow::helpAction()
{
    QWidget *help = topLevelOfClass("MainWindow_Help");
    action("actionAbout")->trigger();
    QVERIFY(help->isVisible());
    QVERIFY(!help->isModal());

    auto *note = help->findChild<QTextBrowser *>("textBrowser");
    QVERIFY(note);
    QCOMPARE(note->geometry(), QRect(40, 30, 301, 61));
    QVERIFY(note->toPlainText().contains(QLatin1String("free")));
    // The web address is coloured text, not a link.
    const QString html = note->toHtml();
    QVERIFY(html.contains(QLatin1String("#0000ff")));
    QVERIFY(!html.contains(QLatin1String("href")));
}

void TestSaverWindow::playBeforeAnyVideoDoesNothing()
{
    QSignalSpy stateChanges(player, &QMediaPlayer::stateChanged);
    action("actionPlay")->trigger();
    QVERIFY(!stateChanges.wait(300));
    QVERIFY(!topLevelOfClass("MainWindow_2")->isVisible());
    QCOMPARE(player->state(), QMediaPlayer::StoppedState);
}

void TestSaverWindow::openVideoPlaysAndFollowsPosition()
{
    openClip();
    QVERIFY(topLevelOfClass("MainWindow_2")->isVisible());

    auto *slider = window->statusBar()->findChild<QSlider *>();
    auto *progressBar = window->statusBar()->findChild<QProgressBar *>();
    QTRY_VERIFY_WITH_TIMEOUT(player->duration() > 0, 10000);
    QCOMPARE(slider->maximum(), int(player->duration()));
    QCOMPARE(progressBar->maximum(), int(player->duration()));
    QCOMPARE(player->notifyInterval(), 10);

    QTRY_VERIFY_WITH_TIMEOUT(slider->value() > 300, 10000);
    const int earlier = slider->value();
    QTRY_VERIFY_WITH_TIMEOUT(slider->value() > earlier + 100, 10000);
    QVERIFY(qAbs(progressBar->value() - slider->value()) < 200);
}

void TestSaverWindow::sliderSeeks_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("drag") << false;
    QTest::newRow("arrow key") << true;
}

void TestSaverWindow::sliderSeeks()
{
    QFETCH(bool, byKeyboard);
    openClip();
    QTRY_VERIFY_WITH_TIMEOUT(player->duration() > 0, 10000);
    action("actionPause")->trigger();
    auto *slider = window->statusBar()->findChild<QSlider *>();
    auto *progressBar = window->statusBar()->findChild<QProgressBar *>();

    if (byKeyboard) {
        // Reached with Tab; one step is five seconds.
        slider->setFocus(Qt::TabFocusReason);
        QTest::keyClick(slider, Qt::Key_Right);
    } else {
        // What a drag does: the handle is held down while its value changes.
        slider->setSliderDown(true);
        slider->setValue(6000);
        slider->setSliderDown(false);
    }
    QTRY_VERIFY_WITH_TIMEOUT(player->position() >= 5000, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(progressBar->value() >= 5000, 10000);
}

// While the learner holds the handle the film plays on and is not moved;
// let go, it goes on from the handle.
void TestSaverWindow::heldSliderStaysUnderTheHand()
{
    openClip();
    QTRY_VERIFY_WITH_TIMEOUT(player->position() > 300, 10000);
    auto *slider = window->statusBar()->findChild<QSlider *>();
    slider->setSliderDown(true);
    slider->setSliderPosition(2000);
    QSignalSpy seeks(slider, &QSlider::sliderMoved);
    QTest::qWait(1000);
    QCOMPARE(slider->value(), 2000);
    QCOMPARE(seeks.count(), 0);
    QVERIFY2(player->position() > 2500, qPrintable(QString::number(player->position())));
    slider->setSliderDown(false);
    QTRY_VERIFY(player->position() < 2500);
}

void TestSaverWindow::pauseStopAndPlayAgain()
{
    openClip();
    QTRY_VERIFY_WITH_TIMEOUT(player->position() > 500, 10000);

    action("actionPause")->trigger();
    QTRY_COMPARE(player->state(), QMediaPlayer::PausedState);
    const qint64 pausedAt = player->position();
    QVERIFY(!QTest::qWaitFor([&] { return qAbs(player->position() - pausedAt) >= 100; }, 300));

    action("actionStopVideo")->trigger();
    QTRY_COMPARE(player->state(), QMediaPlayer::StoppedState);

    // After a stop, play starts again from the beginning.
    action("actionPlay")->trigger();
    QTRY_COMPARE(player->state(), QMediaPlayer::PlayingState);
    QTRY_VERIFY_WITH_TIMEOUT(player->position() > 0, 10000);
    QVERIFY(player->position() < pausedAt);
}

void TestSaverWindow::closingVideoWindowStopsAndHides()
{
    openClip();
    QWidget *video = topLevelOfClass("MainWindow_2");
    QPointer<QWidget> watched = video;

    QVERIFY(!video->close());
    QVERIFY(watched);
    QVERIFY(!video->isVisible());
    QCOMPARE(player->state(), QMediaPlayer::StoppedState);

    action("actionPlay")->trigger();
    QCOMPARE(topLevelOfClass("MainWindow_2"), video);
    QVERIFY(video->isVisible());
    QTRY_COMPARE(player->state(), QMediaPlayer::PlayingState);

    // Escape in the video window does what its close button does.
    QApplication::setActiveWindow(video);
    QTest::keyClick(video, Qt::Key_Escape);
    QVERIFY(!video->isVisible());
    QCOMPARE(player->state(), QMediaPlayer::StoppedState);
}

void TestSaverWindow::cancelledOpenKeepsPlayingButBlocksPlay()
{
    openClip();
    QVERIFY(triggerAnsweringFileDialog("actionOpenVideo", QString()).appeared);
    QCOMPARE(player->state(), QMediaPlayer::PlayingState);

    action("actionStopVideo")->trigger();
    QTRY_COMPARE(player->state(), QMediaPlayer::StoppedState);
    QSignalSpy stateChanges(player, &QMediaPlayer::stateChanged);
    action("actionPlay")->trigger();
    QVERIFY(!stateChanges.wait(300));
    QCOMPARE(player->state(), QMediaPlayer::StoppedState);
}

void TestSaverWindow::filmThatCannotPlay_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    // When set, the film is made by these GStreamer elements instead.
    QTest::addColumn<QString>("pipeline");
    // The open dialog itself refuses a name that is no file.
    QTest::newRow("not a video") << QStringLiteral("notes.ogv") << QByteArray("just some words\n")
                                 << QString();
    QTest::newRow("only NUL bytes") << QStringLiteral("zeros.mp4") << QByteArray(4096, '\0') << QString();
    QTest::newRow("sound without a picture")
        << QStringLiteral("sound.ogv") << QByteArray()
        << QStringLiteral("audiotestsrc num-buffers=200 ! audioconvert ! vorbisenc ! oggmux");
}

// Whatever the learner picks, the attention dialog says once that it cannot
// be played, and the window stays usable: a real film opened afterwards plays.
void TestSaverWindow::filmThatCannotPlay()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, pipeline);
    const QString path = writeFile(name, content);
    QVERIFY(!path.isEmpty());
    if (!pipeline.isEmpty()) {
        QProcess gst;
        gst.start(QStringLiteral("gst-launch-1.0"),
                  QStringList{QStringLiteral("-q")} + pipeline.split(QLatin1Char(' '))
                      + QStringList{QStringLiteral("!"), QStringLiteral("filesink"),
                                    QStringLiteral("location=") + path});
        QVERIFY(gst.waitForFinished(60000) && gst.exitCode() == 0);
    }

    ModalSeen told;
    closeNextModal(&told, "My_Dialog");
    QVERIFY(triggerAnsweringFileDialog("actionOpenVideo", path).appeared);
    QTRY_VERIFY_WITH_TIMEOUT(told.appeared, 10000);
    QCOMPARE(told.labelText, QStringLiteral("The film could not be played."));
    QCOMPARE(told.labelGeometry, QRect(60, 60, 300, 20));

    // Once for each film: pressing Play again does not ask the learner again.
    ModalSeen again;
    ModalWatch watch = closeNextModal(&again, "My_Dialog");
    action("actionPlay")->trigger();
    QTest::qWait(1500);
    QVERIFY(!again.appeared);

    openClip();
    QTRY_VERIFY_WITH_TIMEOUT(player->position() > 300, 10000);
    QTest::qWait(1200);
    QVERIFY(!again.appeared);
    watch.cancel();
}

void TestSaverWindow::filmsOfEveryFormatPlay_data()
{
    addFilmFormatRows();
}

void TestSaverWindow::filmsOfEveryFormatPlay()
{
    const FormatClip film = makeRowClip(clipFolder.path(), 3);
    if (!film.skipReason.isEmpty())
        QSKIP(qPrintable(film.skipReason));
    QVERIFY2(!film.path.isEmpty(), qPrintable(film.failure));

    PlaybackLog log(player);
    QVERIFY(triggerAnsweringFileDialog("actionOpenVideo", film.path).appeared);
    // Sound over a black window is the fault to catch: pictures must come.
    QTRY_VERIFY_WITH_TIMEOUT(log.frames().size() >= 10, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(player->position() > 400, 10000);
    const QVector<qint64> frames = log.frames();
    QVERIFY2(frames.last() > frames.first(), qPrintable(QString::number(frames.last())));
    QCOMPARE(player->error(), QMediaPlayer::NoError);

    // The film played from its first picture: the slider counts from there,
    // whatever the container stamped on that picture.
    action("actionPause")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(player->state(), QMediaPlayer::PausedState, 10000);
    QTest::qWait(200);
    const qint64 pictureMs = log.frames().last() - frames.first();
    const int sliderMs = window->findChild<QSlider *>()->value();
    QVERIFY2(qAbs(sliderMs - pictureMs) <= 60, qPrintable(QStringLiteral("slider %1 ms, picture %2 ms").arg(sliderMs).arg(pictureMs)));
}

void TestSaverWindow::pipeAsFilmIsNotOpened()
{
    const QString pipe = directory->filePath(QStringLiteral("film.ogv"));
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    ModalSeen told;
    closeNextModal(&told, "My_Dialog");
    QVERIFY(triggerAnsweringFileDialog("actionOpenVideo", pipe).appeared);
    QVERIFY(player->media().isNull());
    QTRY_COMPARE(told.labelText, QStringLiteral("The film could not be played."));
    openClip();
    QTRY_VERIFY_WITH_TIMEOUT(player->position() > 300, 10000);
}

void TestSaverWindow::closingMainWindowDestroysEveryWindow()
{
    openClip();
    action("actionAbout")->trigger();
    QPointer<QWidget> video = topLevelOfClass("MainWindow_2");
    QPointer<QWidget> help = topLevelOfClass("MainWindow_Help");
    QPointer<QWidget> attention = topLevelOfClass("My_Dialog");
    QVERIFY(video && help && attention && video->isVisible() && help->isVisible());

    // Close the main window from inside the application's own event loop, as a
    // user would; the loop must end by itself, with exit code 0.
    QTimer::singleShot(0, window, [this] { window->close(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    watchdog.start(15000);
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!window);
    QVERIFY(!video && !help && !attention);
}

QTEST_MAIN(TestSaverWindow)
#include "tst_saverwindow.moc"
