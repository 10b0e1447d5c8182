#include "app/MainWindow.h"
#include "FakeHost.h"
#include "ImageColours.h"
#include "app/Accelerators.h"
#include "app/CenterWindow.h"
#include "app/CommandIds.h"
#include "app/WindowViews.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include <gtest/gtest.h>

using namespace lurvo::app;
using lurvo::test::FakeHost;

namespace {

class MainWindowTest : public testing::Test {
protected:
    FakeHost host;
    MainWindow window{host};

    void setClientSize(int w, int h) {
        // The client area is the central widget: the window less its menu bar.
        window.resize(w, h + window.menuBar()->sizeHint().height());
        window.show();
        QCoreApplication::processEvents();
        const QSize client = window.centralWidget()->size();
        window.resize(window.width() + w - client.width(), window.height() + h - client.height());
        QCoreApplication::processEvents();
    }

    QStringList menuTexts(QMenu* menu) {
        QStringList texts;
        for (QAction* a : menu->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return texts;
    }

    void updateMenu(bool loaded, PlayState state, bool topmost = false, int channel = 0,
                    int fs = 0) {
        host.current = {loaded, state, topmost, channel, fs};
        window.UpdateMenuState();
        window.UpdateToolbarState();
    }
};

TEST_F(MainWindowTest, PanelsStackAtTheirPixelHeights) {
    setClientSize(700, 600);
    ASSERT_EQ(window.centralWidget()->height(), 600);
    MainPanel* panel = window.mainPanel();
    const int statusHeight = window.statusBarPanel()->height();
    const int toolbarHeight = panel->toolbar()->height();
    EXPECT_GT(statusHeight, 0);
    EXPECT_GT(toolbarHeight, 0);
    EXPECT_EQ(panel->geometry(), QRect(0, 0, 700, 600 - statusHeight));
    EXPECT_EQ(panel->controlPanel()->geometry(), QRect(0, 0, 700, 85));
    EXPECT_EQ(panel->tipStrip()->geometry(), QRect(0, 85, 700, 26));
    EXPECT_EQ(panel->sentencePanel()->geometry(), QRect(0, 111, 700, 160));
    EXPECT_EQ(panel->listPanel()->geometry(),
              QRect(0, 271, 700, 600 - statusHeight - toolbarHeight - 271));
    EXPECT_EQ(panel->toolbar()->geometry().bottom(), panel->height() - 1);
    EXPECT_EQ(window.statusBarPanel()->geometry().bottom(), 599);
}

TEST_F(MainWindowTest, StatusBarPartsEndAtTheirEdges) {
    setClientSize(700, 600);
    StatusBar* bar = window.statusBarPanel();
    EXPECT_EQ(bar->part(0)->x(), 0);
    EXPECT_EQ(bar->part(1)->x(), 170);
    EXPECT_EQ(bar->part(2)->x(), 290);
    EXPECT_EQ(bar->part(3)->x(), 510);
    EXPECT_GT(bar->part(3)->width(), 150);
    // The pass and the speed fit their parts.
    const QFontMetrics metrics(bar->part(1)->font());
    EXPECT_LT(metrics.horizontalAdvance(QString::fromUtf8("888 / 888 · 8/∞")),
              bar->part(1)->width());
    EXPECT_LT(metrics.horizontalAdvance(QString::fromUtf8("88:88:88 / 88:88:88 · 0.75×")),
              bar->part(2)->width());
    EXPECT_EQ(bar->text(0), QString::fromUtf8("还未载入mp3文件"));
}

TEST(CenterWindow, PlacesTheWindowInTheMiddleOfItsScreen) {
    QWidget window;
    window.resize(300, 200);
    window.show();
    CenterWindow(&window);
    const QRect screen = window.screen()->geometry();
    const QRect frame = window.frameGeometry();
    EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 1);
    window.resize(screen.width() + 400, 200);
    CenterWindow(&window);
    EXPECT_EQ(window.frameGeometry().x(), screen.x());
}

TEST_F(MainWindowTest, LanguageMenuOffersTheSystemAndThreeLanguagesCheckedAsStored) {
    QMenu* languages = nullptr;
    for (QAction* a : window.menuBar()->actions())
        if (a->menu() && a->menu()->title() == QString::fromUtf8("语言"))
            languages = a->menu();
    ASSERT_TRUE(languages);
    EXPECT_EQ(menuTexts(languages),
              QStringList({QString::fromUtf8("跟随系统"), QString::fromUtf8("简体中文"),
                           QString::fromUtf8("繁體中文（香港）"), "English"}));
    const int commands[] = {CmdLanguageSystem, CmdLanguageSimplified, CmdLanguageTraditional,
                            CmdLanguageEnglish};
    const struct {
        const char* stored;
        int checked;
    } cases[] = {{"", CmdLanguageSystem},
                 {"zh_CN", CmdLanguageSimplified},
                 {"zh_HK", CmdLanguageTraditional},
                 {"en", CmdLanguageEnglish},
                 {"klingon", CmdLanguageSystem}};
    for (const auto& c : cases) {
        host.current.uiLanguage = QString::fromUtf8(c.stored);
        emit languages->aboutToShow();
        for (const int command : commands)
            EXPECT_EQ(window.menuAction(command)->isChecked(), command == c.checked)
                << c.stored << " " << command;
    }
    window.menuAction(CmdLanguageEnglish)->trigger();
    EXPECT_EQ(host.commands.value(host.commands.size() - 1), CmdLanguageEnglish);
}

TEST_F(MainWindowTest, CannotBeMadeSmallerThan525By480) {
    window.show();
    window.resize(300, 200);
    QCoreApplication::processEvents();
    EXPECT_GE(window.width(), 525);
    EXPECT_GE(window.height(), 480);
}

TEST_F(MainWindowTest, AtTheSmallestSizeNothingOverlapsOrRunsOffTheEdge) {
    window.show();
    window.resize(300, 200);
    QCoreApplication::processEvents();
    MainPanel* panel = window.mainPanel();
    const int width = panel->width();
    ASSERT_LE(width, 530);
    // The control panel's groups that are shown lie whole inside it and clear of one another.
    QList<QWidget*> shown;
    for (QWidget* child : panel->controlPanel()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible())
            shown << child;
    for (QWidget* a : shown) {
        EXPECT_LE(a->geometry().right(), width - 1) << a->objectName().toStdString();
        for (QWidget* b : shown)
            if (a != b && a->geometry().intersects(b->geometry()))
                ADD_FAILURE() << a->objectName().toStdString() << " overlaps "
                              << b->objectName().toStdString() << " "
                              << a->metaObject()->className() << " "
                              << b->metaObject()->className();
    }
    // The advice and the status texts end in "…" where they do not fit.
    EXPECT_TRUE(panel->tipStrip()->shownText().endsWith(QStringLiteral("…")));
    StatusBar* bar = window.statusBarPanel();
    bar->setText(3, QStringLiteral("/home/learner/lessons/cantonese/lesson-01.mp3"));
    const QString path = bar->part(3)->text();
    EXPECT_TRUE(path.isEmpty() || path.contains(QStringLiteral("…"))) << path.toStdString();
    EXPECT_EQ(bar->text(3), QStringLiteral("/home/learner/lessons/cantonese/lesson-01.mp3"));
    // The toolbar's buttons all fit.
    for (QAction* action : panel->toolbar()->actions()) {
        if (action->isSeparator())
            continue;
        EXPECT_LE(panel->toolbar()->widgetForAction(action)->geometry().right(), width - 1);
    }
}

TEST_F(MainWindowTest, StatusBarShortensALongPathInTheMiddle) {
    setClientSize(900, 600);
    StatusBar* bar = window.statusBarPanel();
    const QString path = QStringLiteral("/home/learner/") + QString(80, QLatin1Char('x')) +
                         QStringLiteral("/lesson-01.mp3");
    bar->setText(3, path);
    const QString shown = bar->part(3)->text();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("/home/"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("lesson-01.mp3"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("…")));
    EXPECT_EQ(bar->text(3), path);
    setClientSize(3000, 600);
    EXPECT_EQ(bar->part(3)->text(), path) << "whole again when there is room";
}

TEST_F(MainWindowTest, ToolbarPicturesAreDrawnForScaledScreens) {
    QAction* repeat = window.mainPanel()->toolbarAction(CmdRepeat); // curves, not only squares
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
        const QPixmap doubled = repeat->icon().pixmap(QSize(48, 16), 2.0, mode);
        EXPECT_EQ(doubled.devicePixelRatio(), 2.0);
        EXPECT_EQ(doubled.size(), QSize(96, 32));
        EXPECT_FALSE(lurvo::test::blownUp(doubled.toImage()));
    }
    EXPECT_EQ(repeat->icon().pixmap(QSize(48, 16), 1.0).size(), QSize(48, 16));
}

TEST_F(MainWindowTest, MenusCarryTheirExactTexts) {
    QList<QMenu*> menus;
    for (QAction* a : window.menuBar()->actions())
        menus << a->menu();
    ASSERT_EQ(menus.size(), 5);
    EXPECT_EQ(menus[0]->title(), QString::fromUtf8("操作(&O)"));
    EXPECT_EQ(menus[1]->title(), QString::fromUtf8("资料下载(&R)"));
    EXPECT_EQ(menus[2]->title(), QString::fromUtf8("辅助工具(&T)"));
    EXPECT_EQ(menus[3]->title(), QString::fromUtf8("语言"));
    EXPECT_EQ(menus[4]->title(), QString::fromUtf8("帮助(&H)"));
    const QStringList operations = menuTexts(menus[0]);
    for (const char* text :
         {"打开mp3文件… \t 支持拖放操作", "试听", "播放 \t ↓", "停止 \t F4", "上一句 \t ←",
          "下一句 \t →", "复读当前句 \t ↑", "向上5句 \t Page Up", "向下5句 \t Page Down",
          "跳到首句 \t Home", "跳到尾句 \t End", "跟读对比… \t Tab", "按句切割…",
          "查看字幕文件 \t （同目录下的同名lrc文件）", "字体", "声道", "窗口置顶", "退出",
          "播放速度"})
        EXPECT_TRUE(operations.contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(operations.first(), QString::fromUtf8("打开mp3文件… \t 支持拖放操作"));
    EXPECT_EQ(operations.last(), QString::fromUtf8("退出"));
    // The speeds follow play and stop, their keys shown as the other commands show theirs.
    EXPECT_EQ(operations.indexOf(QString::fromUtf8("播放速度")),
              operations.indexOf(QString::fromUtf8("停止 \t F4")) + 1);
    const QAction* speedMenu =
        menus[0]->actions().at(int(operations.indexOf(QString::fromUtf8("播放速度"))));
    EXPECT_EQ(menuTexts(speedMenu->menu()),
              QStringList({"0.5×", "0.6×", "0.75×", "0.9×", "1.0×", "1.25×", "1.5×", "-",
                           "减速 0.05 \t [", "加速 0.05 \t ]", "正常速度 \t \\"}));
    EXPECT_EQ(window.menuAction(CmdAbout)->text(), QString::fromUtf8("关于本软件"));
    EXPECT_EQ(window.menuAction(CmdHelp)->text(), QString::fromUtf8("软件使用教程"));
    EXPECT_EQ(window.menuAction(CmdWebSite)->text(), QString::fromUtf8("访问官网"));
    EXPECT_EQ(window.menuAction(CmdDownloads)->text(),
              QString::fromUtf8("粤语学习资料下载（此软件专用学习资料，定期更新）…"));
}

TEST_F(MainWindowTest, MenuStateFollowsTheLesson) {
    const int lessonCommands[] = {CmdPlayPause, CmdPrevious,      CmdNext,     CmdRepeat,
                                  CmdFirst,     CmdLast,          CmdBackFive, CmdForwardFive,
                                  CmdReadAlong, CmdViewSubtitles, CmdSplit};
    updateMenu(false, PlayState::Stopped);
    for (const int c : lessonCommands)
        EXPECT_FALSE(window.menuAction(c)->isEnabled()) << c;
    EXPECT_FALSE(window.menuAction(CmdStop)->isEnabled());
    for (const int c : {CmdOpen, CmdSampleLesson, CmdTopmost, CmdExit, CmdAbout, CmdFontLarge,
                        CmdChannelLeft, CmdDictionary})
        EXPECT_TRUE(window.menuAction(c)->isEnabled()) << c;

    updateMenu(true, PlayState::Stopped);
    for (const int c : lessonCommands)
        EXPECT_TRUE(window.menuAction(c)->isEnabled()) << c;
    EXPECT_FALSE(window.menuAction(CmdStop)->isEnabled());

    updateMenu(true, PlayState::Paused);
    EXPECT_TRUE(window.menuAction(CmdStop)->isEnabled());
    EXPECT_EQ(window.menuAction(CmdPlayPause)->text(), QString::fromUtf8("播放 \t ↓"));
    updateMenu(true, PlayState::Playing, true, 2, 1);
    EXPECT_EQ(window.menuAction(CmdPlayPause)->text(), QString::fromUtf8("暂停 \t ↓"));
    EXPECT_EQ(window.menuAction(CmdTopmost)->text(), QString::fromUtf8("取消窗口置顶"));
    EXPECT_TRUE(window.menuAction(CmdChannelRight)->isChecked());
    EXPECT_FALSE(window.menuAction(CmdChannelStereo)->isChecked());
    EXPECT_TRUE(window.menuAction(CmdFontMedium)->isChecked());
    updateMenu(true, PlayState::Paused);
    EXPECT_EQ(window.menuAction(CmdTopmost)->text(), QString::fromUtf8("窗口置顶"));
    EXPECT_TRUE(window.menuAction(CmdFontSmall)->isChecked());
}

TEST_F(MainWindowTest, SpeedMenuChecksTheFixedSpeedInForce) {
    updateMenu(false, PlayState::Stopped);
    // A setting like the others: it can be chosen without a lesson.
    for (const auto& [command, percent] : kSpeedCommands)
        EXPECT_TRUE(window.menuAction(command)->isEnabled()) << percent;
    for (const int c : {CmdSlower, CmdFaster, CmdNormalSpeed})
        EXPECT_TRUE(window.menuAction(c)->isEnabled()) << c;
    EXPECT_TRUE(window.menuAction(CmdSpeed100)->isChecked());

    const auto checkedFor = [&](int speedPercent) {
        host.current.speedPercent = speedPercent;
        window.UpdateMenuState();
        QList<int> checked;
        for (const auto& [command, percent] : kSpeedCommands)
            if (window.menuAction(command)->isChecked())
                checked << percent;
        return checked;
    };
    EXPECT_EQ(checkedFor(75), QList<int>{75});
    EXPECT_EQ(checkedFor(150), QList<int>{150});
    EXPECT_TRUE(checkedFor(105).isEmpty()) << "a speed between the fixed ones checks none";
    EXPECT_EQ(checkedFor(50), QList<int>{50});
}

TEST_F(MainWindowTest, ToolbarStateFollowsTheLesson) {
    MainPanel* panel = window.mainPanel();
    const auto enabled = [&](int command) { return panel->toolbarAction(command)->isEnabled(); };
    updateMenu(false, PlayState::Stopped);
    EXPECT_TRUE(enabled(CmdOpen));
    for (const int c : {CmdPlayPause, CmdStop, CmdPrevious, CmdNext, CmdRepeat, CmdReadAlong})
        EXPECT_FALSE(enabled(c)) << c;
    updateMenu(true, PlayState::Stopped);
    EXPECT_FALSE(enabled(CmdStop));
    for (const int c : {CmdOpen, CmdPlayPause, CmdPrevious, CmdNext, CmdRepeat, CmdReadAlong})
        EXPECT_TRUE(enabled(c)) << c;
    updateMenu(true, PlayState::Paused);
    EXPECT_TRUE(enabled(CmdStop));

    EXPECT_EQ(panel->toolbarAction(CmdPlayPause)->toolTip(), QString::fromUtf8("播放（↓）"));
    window.SetPlayButtonImage(true);
    EXPECT_EQ(panel->toolbarAction(CmdPlayPause)->toolTip(), QString::fromUtf8("暂停（↓）"));
    EXPECT_EQ(panel->toolbarAction(CmdReadAlong)->toolTip(), QString::fromUtf8("跟读对比（Tab）"));
    EXPECT_EQ(panel->toolbar()->iconSize(), QSize(48, 16));
}

TEST_F(MainWindowTest, MenuAndToolbarCommandsReachTheHost) {
    window.menuAction(CmdFontLarge)->trigger();
    updateMenu(true, PlayState::Stopped);
    window.mainPanel()->toolbarAction(CmdNext)->trigger();
    EXPECT_EQ(host.commands, (QVector<int>{CmdFontLarge, CmdNext}));
}

TEST_F(MainWindowTest, KeysActAsCommandsEvenWhenTheListHasFocus) {
    AcceleratorFilter filter({[this] { return static_cast<QWidget*>(&window); },
                              [] { return static_cast<QWidget*>(nullptr); },
                              [this](int c) { host.dispatch(c); }, [](int) {}});
    qApp->installEventFilter(&filter);
    setClientSize(700, 600);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QWidget* list = window.mainPanel()->listPanel();
    list->setFocus();
    ASSERT_TRUE(list->hasFocus());
    const Qt::Key keys[] = {Qt::Key_Down,     Qt::Key_Up,          Qt::Key_Left,
                            Qt::Key_Right,    Qt::Key_Tab,         Qt::Key_F4,
                            Qt::Key_Home,     Qt::Key_End,         Qt::Key_PageUp,
                            Qt::Key_PageDown, Qt::Key_BracketLeft, Qt::Key_BracketRight,
                            Qt::Key_Backslash};
    for (const Qt::Key key : keys)
        QTest::keyClick(list, key);
    EXPECT_EQ(host.commands, (QVector<int>{CmdPlayPause, CmdRepeat, CmdPrevious, CmdNext,
                                           CmdReadAlong, CmdStop, CmdFirst, CmdLast, CmdBackFive,
                                           CmdForwardFive, CmdSlower, CmdFaster, CmdNormalSpeed}));
    EXPECT_TRUE(list->hasFocus()) << "Tab must not move the focus";
    host.commands.clear();
    QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_A);
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_TRUE(host.commands.isEmpty());

    // An open popup (a context menu, a combo box's list) takes the arrows for itself.
    QMenu popup;
    popup.addAction(QStringLiteral("one"));
    popup.addAction(QStringLiteral("two"));
    popup.popup(window.mapToGlobal(QPoint(50, 50)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&popup));
    ASSERT_EQ(QApplication::activePopupWidget(), &popup);
    QTest::keyClick(&popup, Qt::Key_Down);
    QTest::keyClick(&popup, Qt::Key_Down);
    EXPECT_TRUE(host.commands.isEmpty());
    EXPECT_EQ(popup.activeAction(), popup.actions().value(1));
    popup.close();
    qApp->removeEventFilter(&filter);
}

TEST_F(MainWindowTest, TheWaitReachesTheSentencePanel) {
    WindowViews views(window, {}, [] {});
    lurvo::player::PlaybackViews& player = views;
    lurvo::views::SentencePanel* panel = window.mainPanel()->sentencePanel();
    player.showWait(0.4);
    EXPECT_DOUBLE_EQ(panel->waitShown(), 0.4);
    player.showWait(-1);
    EXPECT_LT(panel->waitShown(), 0);
}

TEST(AcceleratorTables, ReadAlongTableHasItsOwnCommands) {
    EXPECT_EQ(acceleratorCommand(AcceleratorTable::ReadAlong, Qt::Key_Down), CmdReadAlongRecord);
    EXPECT_EQ(acceleratorCommand(AcceleratorTable::ReadAlong, Qt::Key_Up), CmdReadAlongPlayLesson);
    EXPECT_EQ(acceleratorCommand(AcceleratorTable::ReadAlong, Qt::Key_Tab),
              CmdReadAlongPlayRecording);
    EXPECT_EQ(acceleratorCommand(AcceleratorTable::ReadAlong, Qt::Key_Escape), CmdReadAlongClose);
    EXPECT_EQ(acceleratorCommand(AcceleratorTable::ReadAlong, Qt::Key_F4), 0);
    EXPECT_EQ(acceleratorCommand(AcceleratorTable::Main, Qt::Key_Escape), 0);
    // The speed keys belong to the main window only.
    for (const Qt::Key key : {Qt::Key_BracketLeft, Qt::Key_BracketRight, Qt::Key_Backslash})
        EXPECT_EQ(acceleratorCommand(AcceleratorTable::ReadAlong, key), 0) << key;
}

TEST_F(MainWindowTest, DropOpensTheFirstFileWhenItIsAnMp3) {
    const auto drop = [&](const QList<QUrl>& urls) { window.handleDroppedUrls(urls); };
    drop({QUrl::fromLocalFile("/lessons/LESSON.MP3"), QUrl::fromLocalFile("/lessons/b.mp3")});
    EXPECT_EQ(host.opened, QStringList{"/lessons/LESSON.MP3"});
    drop({QUrl::fromLocalFile("/lessons/lesson.lrc"), QUrl::fromLocalFile("/lessons/b.mp3")});
    drop({QUrl("https://example.org/remote.mp3")});
    EXPECT_EQ(host.opened.size(), 1);
    EXPECT_EQ(host.invalidInputs, 2);
}

} // namespace

TEST_F(MainWindowTest, JyutpingItemHasAKeyOfItsOwnAndShowsTheSetting) {
    QAction* item = window.menuAction(CmdShowJyutping);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QString::fromUtf8("显示粤拼 \t J"));
    EXPECT_TRUE(item->isCheckable());
    EXPECT_TRUE(window.operationMenu()->actions().contains(item));
    host.current.showJyutping = false;
    window.UpdateMenuState();
    EXPECT_FALSE(item->isChecked());
    host.current.showJyutping = true;
    window.UpdateMenuState();
    EXPECT_TRUE(item->isChecked());
    item->trigger();
    EXPECT_EQ(host.commands, QVector<int>{CmdShowJyutping});

    EXPECT_EQ(acceleratorCommand(AcceleratorTable::Main, Qt::Key_J), CmdShowJyutping);
    EXPECT_EQ(acceleratorCommand(AcceleratorTable::ReadAlong, Qt::Key_J), 0);
    // No other key of either table gives it, and J gives nothing else.
    for (int key = Qt::Key_Space; key <= Qt::Key_AsciiTilde; ++key) {
        if (key == Qt::Key_J)
            continue;
        EXPECT_NE(acceleratorCommand(AcceleratorTable::Main, key), CmdShowJyutping) << key;
    }
    for (int key = Qt::Key_Escape; key <= Qt::Key_F12; ++key)
        EXPECT_NE(acceleratorCommand(AcceleratorTable::Main, key), CmdShowJyutping) << key;
}
