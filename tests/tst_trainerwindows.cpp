// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow_2.h"
#include "mainwindow_help.h"
#include "mywidget.h"
#include "testclip.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QMenuBar>
#include <QMetaMethod>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QVideoWidget>
#include <QtTest>

#include <memory>

// The trainer's windows as they stand after start-up, and the fragment
// window's own behaviour.
class TestTrainerWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void mainWidget();
    void textPanels();
    void toolTips_data();
    void toolTips();
    void slotTables();
    void secondaryWindowsHiddenAtStart();
    void fragmentWindow();
    void helpWindow();
    void helpButtonShowsTheOneWindow();
    void replayPlaysTheFragmentAndStops();
    void closingTheFragmentWindowStopsAndHides();
    // Last: it runs the application's event loop to its end.
    void closingTheMainWidgetEndsTheProgram();

private:
    template<typename Window>
    static QList<Window *> topLevels();
    static QStringList slotsDeclaredBy(const QMetaObject &meta);

    std::unique_ptr<MyWidget> widget;
    QTemporaryDir directory;
};

template<typename Window>
QList<Window *> TestTrainerWindows::topLevels()
{
    QList<Window *> found;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (auto *typed = qobject_cast<Window *>(window))
            found << typed;
    }
    return found;
}

QStringList TestTrainerWindows::slotsDeclaredBy(const QMetaObject &meta)
{
    QStringList names;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        names << QString::fromLatin1(method.methodSignature());
    }
    return names;
}

void TestTrainerWindows::initTestCase()
{
    Q_INIT_RESOURCE(trainer);
    QVERIFY(directory.isValid());
}

void TestTrainerWindows::init()
{
    widget = std::make_unique<MyWidget>(nullptr);
}

void TestTrainerWindows::cleanup()
{
    widget.reset();
    // The secondary windows go with the main widget.
    QVERIFY(topLevels<MainWindow_2>().isEmpty());
    QVERIFY(topLevels<MainWindow_Help>().isEmpty());
}

void TestTrainerWindows::mainWidget()
{
    QCOMPARE(widget->objectName(), QStringLiteral("MyWidget"));
    QCOMPARE(widget->windowTitle(), QStringLiteral("Quorvane"));
    QCOMPARE(widget->size(), QSize(481, 451));
    QVERIFY(!widget->windowIcon().isNull());
    QVERIFY(widget->isWindow());

    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        QCOMPARE(widget->palette().color(group, QPalette::Shadow), QColor(105, 105, 105));

    // Only the widget has a font; every child shows it.
    QCOMPARE(widget->font().pointSize(), 14);
    const QList<QWidget *> children = widget->findChildren<QWidget *>();
    QVERIFY(children.size() >= 14);
    for (QWidget *child : children)
        QVERIFY2(child->font().pointSize() == 14, qPrintable(child->objectName()));

    QVERIFY(!widget->findChild<QMenuBar *>());
    QVERIFY(!widget->findChild<QToolBar *>());
    QVERIFY(!widget->findChild<QStatusBar *>());
    for (QGroupBox *box : widget->findChildren<QGroupBox *>())
        QCOMPARE(box->title(), QString());
    for (QPushButton *button : widget->findChildren<QPushButton *>()) {
        QCOMPARE(button->text(), QString());
        QVERIFY2(!button->icon().isNull(), qPrintable(button->objectName()));
    }
}

void TestTrainerWindows::textPanels()
{
    const QList<QTextBrowser *> panels = widget->findChildren<QTextBrowser *>();
    QCOMPARE(panels.size(), 4);
    for (QTextBrowser *panel : panels) {
        QCOMPARE(panel->frameShape(), QFrame::NoFrame);
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            QCOMPARE(panel->palette().color(group, QPalette::Base), QColor(240, 240, 240));
    }
}

void TestTrainerWindows::toolTips_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("toolTip");

    QTest::newRow("open") << "MyPushButton1" << "Open txt File";
    QTest::newRow("arrow") << "MyPushButton2" << "Training";
    QTest::newRow("mark") << "MyPushButton3" << "Mark this word";
    QTest::newRow("video") << "MyPushButton4" << "Video";
    QTest::newRow("help") << "pushButton_H" << "Help";
}

void TestTrainerWindows::toolTips()
{
    QFETCH(QString, button);
    QFETCH(QString, toolTip);
    auto *found = widget->findChild<QPushButton *>(button);
    QVERIFY(found);
    QCOMPARE(found->toolTip(), toolTip);
}

void TestTrainerWindows::slotTables()
{
    QCOMPARE(slotsDeclaredBy(MyWidget::staticMetaObject),
             (QStringList{"MyEventHandler()", "MyStart()", "MyEnter()", "MyOtmet()", "MyVideoWin()",
                          "MyHelpBut()"}));
    QCOMPARE(slotsDeclaredBy(MainWindow_2::staticMetaObject),
             (QStringList{"on_actionPlay_Video2_triggered()", "MyStopVideo()"}));
    QCOMPARE(slotsDeclaredBy(MainWindow_Help::staticMetaObject), QStringList());
    QCOMPARE(MyWidget::staticMetaObject.superClass(), &QWidget::staticMetaObject);
    QCOMPARE(MainWindow_2::staticMetaObject.superClass(), &QMainWindow::staticMetaObject);
    QCOMPARE(MainWindow_Help::staticMetaObject.superClass(), &QMainWindow::staticMetaObject);
}

void TestTrainerWindows::secondaryWindowsHiddenAtStart()
{
    widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));

    const QList<MainWindow_2 *> videoWindows = topLevels<MainWindow_2>();
    const QList<MainWindow_Help *> helpWindows = topLevels<MainWindow_Help>();
    QCOMPARE(videoWindows.size(), 1);
    QCOMPARE(helpWindows.size(), 1);
    QVERIFY(!videoWindows.first()->isVisible());
    QVERIFY(!helpWindows.first()->isVisible());
    QVERIFY(!videoWindows.first()->parentWidget());
    QVERIFY(!helpWindows.first()->parentWidget());
}

void TestTrainerWindows::fragmentWindow()
{
    MainWindow_2 *window = topLevels<MainWindow_2>().value(0);
    QVERIFY(window);
    QCOMPARE(window->objectName(), QStringLiteral("MainWindow_2"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Video"));
    QCOMPARE(window->size(), QSize(357, 340));
    QVERIFY(!window->windowIcon().isNull());
    QCOMPARE(window->videoPath, QString());

    QVERIFY(window->videoWidget);
    QCOMPARE(window->centralWidget(), window->videoWidget);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!window->findChild<QWidget *>(QStringLiteral("centralwidget")));
    QVERIFY(window->player);
    QCOMPARE(window->player->parent(), window);
    QVERIFY(!window->findChild<QStatusBar *>());
    QCOMPARE(window->menuBar()->geometry().size().height(), 21);
    QVERIFY(window->menuBar()->actions().isEmpty());

    auto *toolBar = window->findChild<QToolBar *>(QStringLiteral("toolBar"));
    QVERIFY(toolBar);
    QCOMPARE(window->toolBarArea(toolBar), Qt::BottomToolBarArea);
    QCOMPARE(toolBar->windowTitle(), QStringLiteral("toolBar"));
    // The play button, and beside it the line that tells a film that cannot play.
    QCOMPARE(toolBar->actions().size(), 2);
    QAction *play = toolBar->actions().first();
    QCOMPARE(play->objectName(), QStringLiteral("actionPlay_Video2"));
    QCOMPARE(play->text(), QStringLiteral("Play_Video2"));
    QCOMPARE(play->toolTip(), QStringLiteral("<html><head/><body><p>Play</p></body></html>"));
    QVERIFY(!play->icon().isNull());
    QVERIFY(play->shortcut().isEmpty());
}

void TestTrainerWindows::helpWindow()
{
    MainWindow_Help *window = topLevels<MainWindow_Help>().value(0);
    QVERIFY(window);
    QCOMPARE(window->objectName(), QStringLiteral("MainWindow_Help"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Help"));
    QCOMPARE(window->size(), QSize(399, 149));
    QVERIFY(!window->windowIcon().isNull());
    QVERIFY(!window->findChild<QStatusBar *>());
    QVERIFY(!window->findChild<QToolBar *>());

    auto *text = window->findChild<QTextEdit *>(QStringLiteral("textEdit"));
    QVERIFY(text);
    QCOMPARE(QString::fromLatin1(text->metaObject()->className()), QStringLiteral("QTextEdit"));
    QCOMPARE(text->geometry(), QRect(50, 30, 311, 71));
    QVERIFY(!text->isReadOnly());
    QVERIFY(text->toHtml().contains(QStringLiteral("color:#0000ff")));
    QVERIFY(!text->toHtml().contains(QStringLiteral("<a ")));
    QVERIFY(!text->toPlainText().trimmed().isEmpty());
}

void TestTrainerWindows::helpButtonShowsTheOneWindow()
{
    widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
    auto *button = widget->findChild<QPushButton *>(QStringLiteral("pushButton_H"));
    QVERIFY(button);

    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    const QList<MainWindow_Help *> windows = topLevels<MainWindow_Help>();
    QCOMPARE(windows.size(), 1);
    MainWindow_Help *window = windows.first();
    QVERIFY(window->isVisible());

    // Closing only hides it; what the learner typed is there when it comes back.
    auto *text = window->findChild<QTextEdit *>(QStringLiteral("textEdit"));
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("my own note"));
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
    QVERIFY(widget->isVisible());

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(topLevels<MainWindow_Help>(), QList<MainWindow_Help *>{window});
    QVERIFY(window->isVisible());
    QCOMPARE(text->toPlainText(), QStringLiteral("my own note"));
}

void TestTrainerWindows::replayPlaysTheFragmentAndStops()
{
    const QString clip = makeTestClip(directory.path(), 4);
    QVERIFY2(!clip.isEmpty(), "gst-launch-1.0 could not make the test clip");

    MainWindow_2 *window = topLevels<MainWindow_2>().value(0);
    QVERIFY(window);
    window->videoPath = clip;
    window->startMs = 1000;
    window->durationMs = 1500;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    QSignalSpy positions(window->player, &QMediaPlayer::positionChanged);
    window->findChild<QAction *>(QStringLiteral("actionPlay_Video2"))->trigger();
    QCOMPARE(window->player->media().request().url(), QUrl::fromLocalFile(clip));
    QTRY_COMPARE_WITH_TIMEOUT(window->player->state(), QMediaPlayer::PlayingState, 10000);
    // Playback runs from the fragment's start, not from the beginning of the
    // film (0 is only the report of the stop before it).
    QTRY_VERIFY_WITH_TIMEOUT(window->player->position() >= 1000, 10000);
    for (const QList<QVariant> &report : qAsConst(positions)) {
        const qint64 position = report.first().toLongLong();
        QVERIFY2(position == 0 || position >= 1000, qPrintable(QString::number(position)));
    }

    // Its end stops it, the player held at the start for the next replay;
    // the window stays.
    QTRY_VERIFY_WITH_TIMEOUT(window->player->state() != QMediaPlayer::PlayingState, 10000);
    QVERIFY(window->isVisible());
}

void TestTrainerWindows::closingTheFragmentWindowStopsAndHides()
{
    const QString clip = makeTestClip(directory.path(), 4);
    QVERIFY2(!clip.isEmpty(), "gst-launch-1.0 could not make the test clip");

    QPointer<MainWindow_2> window = topLevels<MainWindow_2>().value(0);
    QVERIFY(window);
    window->videoPath = clip;
    window->startMs = 0;
    window->durationMs = 60000;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->findChild<QAction *>(QStringLiteral("actionPlay_Video2"))->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(window->player->state(), QMediaPlayer::PlayingState, 10000);

    QVERIFY(!window->close());
    QCOMPARE(window->player->state(), QMediaPlayer::StoppedState);
    QVERIFY(!window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window);

    // Shown again, the same window plays once more, and the stop slot stops it.
    window->show();
    window->findChild<QAction *>(QStringLiteral("actionPlay_Video2"))->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(window->player->state(), QMediaPlayer::PlayingState, 10000);
    window->MyStopVideo();
    QCOMPARE(window->player->state(), QMediaPlayer::StoppedState);
    QVERIFY(window->isVisible());
}

void TestTrainerWindows::closingTheMainWidgetEndsTheProgram()
{
    // Like the entry function: a parentless widget that nobody deletes.
    QPointer<MyWidget> mainWidget = widget.release();
    mainWidget->show();
    QVERIFY(QTest::qWaitForWindowExposed(mainWidget));
    QTest::mouseClick(mainWidget->findChild<QPushButton *>(QStringLiteral("pushButton_H")),
                      Qt::LeftButton);
    QPointer<MainWindow_Help> help = topLevels<MainWindow_Help>().value(0);
    QPointer<MainWindow_2> video = topLevels<MainWindow_2>().value(0);
    QVERIFY(help && help->isVisible());
    QVERIFY(video);
    video->show();

    QTimer::singleShot(0, mainWidget, [mainWidget] { mainWidget->close(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    watchdog.start(20000);
    const int exitCode = QApplication::exec();
    watchdog.stop();

    QCOMPARE(exitCode, 0);
    QVERIFY(!mainWidget);
    QVERIFY(!help);
    QVERIFY(!video);
    QVERIFY(topLevels<QMainWindow>().isEmpty());
}

QTEST_MAIN(TestTrainerWindows)
#include "tst_trainerwindows.moc"
