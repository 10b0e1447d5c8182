#include "app/MainWindow.h"

#include "app/CommandIds.h"
#include "app/StringTable.h"
#include "app/UiLanguage.h"
#include "app/WindowPlacement.h"
#include "media/GraphEvent.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStyle>

namespace lurvo::app {

namespace {

// The client area below the menu: the main panel above the status bar.
class ClientArea : public QWidget {
public:
    using QWidget::QWidget;
    void setParts(QWidget* panel, QWidget* statusBar) {
        panel_ = panel;
        statusBar_ = statusBar;
    }

protected:
    void resizeEvent(QResizeEvent*) override {
        if (!panel_)
            return;
        const int statusHeight = statusBar_->sizeHint().height();
        statusBar_->setGeometry(0, height() - statusHeight, width(), statusHeight);
        panel_->setGeometry(0, 0, width(), height() - statusHeight);
    }

private:
    QWidget* panel_ = nullptr;
    QWidget* statusBar_ = nullptr;
};

} // namespace

MainWindow::MainWindow(MainWindowHost& host) : host_(host) {
    setObjectName("mainWindow");
    setWindowTitle(productTitle());
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setAcceptDrops(true);
    auto* client = new ClientArea(this);
    mainPanel_ = new MainPanel(client, [this](int command) { host_.dispatch(command); });
    statusBar_ = new StatusBar(client);
    client->setParts(mainPanel_, statusBar_);
    setCentralWidget(client);
    statusBar_->setText(0, stringText(120));
    buildMenus();
    UpdateToolbarState();
    // Wide enough for every group of the control panel.
    resize(980, 640);
}

void MainWindow::showPlaced(const Settings& settings) {
    QList<QRect> screens;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        screens << primary->availableGeometry();
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            screens << screen->availableGeometry();
    // Before the window is first shown its frame is unknown: a title bar is allowed for.
    QMargins frame(geometry().left() - frameGeometry().left(),
                   geometry().top() - frameGeometry().top(),
                   frameGeometry().right() - geometry().right(),
                   frameGeometry().bottom() - geometry().bottom());
    if (frame.isNull())
        frame.setTop(style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const QRect saved(settings.windowX, settings.windowY, settings.windowWidth,
                      settings.windowHeight);
    setGeometry(placeMainWindow(saved, screens, minimumSize(), frame));
    if (settings.bMaximized)
        showMaximized();
    else
        show();
}

void MainWindow::storePlacement(Settings& settings) const {
    const QRect normal = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
    if (normal.isEmpty())
        return;
    settings.windowX = normal.x();
    settings.windowY = normal.y();
    settings.windowWidth = normal.width();
    settings.windowHeight = normal.height();
    settings.bMaximized = isMaximized();
}

QAction* MainWindow::addCommand(QMenu* menu, int command, const QString& text) {
    QAction* action = menu->addAction(text);
    action->setData(command);
    connect(action, &QAction::triggered, this, [this, command] { host_.dispatch(command); });
    return action;
}

void MainWindow::addRadioSubmenu(QMenu* menu, const QString& title,
                                 std::initializer_list<std::pair<int, const char*>> items) {
    QMenu* submenu = menu->addMenu(title);
    auto* group = new QActionGroup(submenu);
    for (const auto& [command, text] : items) {
        QAction* action =
            addCommand(submenu, command, QCoreApplication::translate("MainWindow", text));
        action->setCheckable(true);
        group->addAction(action);
    }
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    operationMenu_ = bar->addMenu(QCoreApplication::translate("MainWindow", "操作(&O)"));
    QMenu* op = operationMenu_;
    addCommand(op, CmdOpen,
               QCoreApplication::translate("MainWindow", "打开mp3文件… \t 支持拖放操作"));
    QMenu* sample = op->addMenu(QCoreApplication::translate("MainWindow", "试听"));
    addCommand(sample, CmdSampleLesson,
               QCoreApplication::translate("MainWindow", "日常廣東話（eg.mp3）"));
    op->addSeparator();
    addCommand(op, CmdPlayPause, stringText(126));
    addCommand(op, CmdStop, QCoreApplication::translate("MainWindow", "停止 \t F4"));
    QMenu* speed = op->addMenu(QCoreApplication::translate("MainWindow", "播放速度"));
    // One fixed speed at most is checked: a speed reached by steps may be none of them.
    auto* speeds = new QActionGroup(speed);
    speeds->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const auto& [command, percent] : kSpeedCommands) {
        // "0.5×", "0.75×", "1.0×": as many decimals as the speed needs, one at least.
        const int decimals = percent % 10 == 0 ? 1 : 2;
        QAction* action = addCommand(speed, command,
                                     QStringLiteral("%1×").arg(percent / 100.0, 0, 'f', decimals));
        action->setCheckable(true);
        speeds->addAction(action);
    }
    speed->addSeparator();
    addCommand(speed, CmdSlower, QCoreApplication::translate("MainWindow", "减速 0.05 \t ["));
    addCommand(speed, CmdFaster, QCoreApplication::translate("MainWindow", "加速 0.05 \t ]"));
    addCommand(speed, CmdNormalSpeed, QCoreApplication::translate("MainWindow", "正常速度 \t \\"));
    op->addSeparator();
    addCommand(op, CmdPrevious, QCoreApplication::translate("MainWindow", "上一句 \t ←"));
    addCommand(op, CmdNext, QCoreApplication::translate("MainWindow", "下一句 \t →"));
    addCommand(op, CmdRepeat, QCoreApplication::translate("MainWindow", "复读当前句 \t ↑"));
    addCommand(op, CmdBackFive, QCoreApplication::translate("MainWindow", "向上5句 \t Page Up"));
    addCommand(op, CmdForwardFive,
               QCoreApplication::translate("MainWindow", "向下5句 \t Page Down"));
    addCommand(op, CmdFirst, QCoreApplication::translate("MainWindow", "跳到首句 \t Home"));
    addCommand(op, CmdLast, QCoreApplication::translate("MainWindow", "跳到尾句 \t End"));
    op->addSeparator();
    addCommand(op, CmdReadAlong, QCoreApplication::translate("MainWindow", "跟读对比… \t Tab"));
    addCommand(op, CmdSplit, QCoreApplication::translate("MainWindow", "按句切割…"));
    addCommand(
        op, CmdViewSubtitles,
        QCoreApplication::translate("MainWindow", "查看字幕文件 \t （同目录下的同名lrc文件）"));
    addCommand(op, CmdExportJyutping, QCoreApplication::translate("MainWindow", "导出粤拼字幕…"));
    op->addSeparator();
    addRadioSubmenu(op, QCoreApplication::translate("MainWindow", "字体"),
                    {{CmdFontSmall, QT_TRANSLATE_NOOP("MainWindow", "小号")},
                     {CmdFontMedium, QT_TRANSLATE_NOOP("MainWindow", "中号")},
                     {CmdFontLarge, QT_TRANSLATE_NOOP("MainWindow", "大号")}});
    addRadioSubmenu(op, QCoreApplication::translate("MainWindow", "声道"),
                    {{CmdChannelStereo, QT_TRANSLATE_NOOP("MainWindow", "立体声")},
                     {CmdChannelLeft, QT_TRANSLATE_NOOP("MainWindow", "左声道")},
                     {CmdChannelRight, QT_TRANSLATE_NOOP("MainWindow", "右声道")}});
    addCommand(op, CmdTopmost, stringText(1009));
    addCommand(op, CmdShowJyutping, QCoreApplication::translate("MainWindow", "显示粤拼 \t J"))
        ->setCheckable(true);
    op->addSeparator();
    addCommand(op, CmdExit, QCoreApplication::translate("MainWindow", "退出"));
    connect(op, &QMenu::aboutToShow, this, &MainWindow::UpdateMenuState);

    QMenu* downloads = bar->addMenu(QCoreApplication::translate("MainWindow", "资料下载(&R)"));
    addCommand(downloads, CmdDownloads,
               QCoreApplication::translate("MainWindow",
                                           "粤语学习资料下载（此软件专用学习资料，定期更新）…"));
    QMenu* tools = bar->addMenu(QCoreApplication::translate("MainWindow", "辅助工具(&T)"));
    addCommand(tools, CmdLearningSite, QCoreApplication::translate("MainWindow", "粤语学习网站…"));
    addCommand(tools, CmdDictionary,
               QCoreApplication::translate("MainWindow", "粤语在线发音词典…"));
    buildLanguageMenu(bar);
    QMenu* help = bar->addMenu(QCoreApplication::translate("MainWindow", "帮助(&H)"));
    addCommand(help, CmdHelp, QCoreApplication::translate("MainWindow", "软件使用教程"));
    addCommand(help, CmdWebSite, QCoreApplication::translate("MainWindow", "访问官网"));
    help->addSeparator();
    addCommand(help, CmdAbout, QCoreApplication::translate("MainWindow", "关于本软件"));
}

void MainWindow::buildLanguageMenu(QMenuBar* bar) {
    QMenu* menu = bar->addMenu(QCoreApplication::translate("MainWindow", "语言"));
    auto* group = new QActionGroup(menu);
    // Each language by its own name, so that a learner who cannot read the current one still
    // finds theirs.
    const std::pair<int, QString> items[] = {
        {CmdLanguageSystem, QCoreApplication::translate("MainWindow", "跟随系统")},
        {CmdLanguageSimplified, QStringLiteral("简体中文")},
        {CmdLanguageTraditional, QStringLiteral("繁體中文（香港）")},
        {CmdLanguageEnglish, QStringLiteral("English")},
    };
    for (const auto& [command, text] : items) {
        QAction* action = addCommand(menu, command, text);
        action->setCheckable(true);
        group->addAction(action);
    }
    connect(menu, &QMenu::aboutToShow, this, [this] {
        const QString chosen = host_.state().uiLanguage;
        const std::pair<int, QString> choices[] = {
            {CmdLanguageSystem, QString()},
            {CmdLanguageSimplified, uiLanguageSetting(UiLanguage::Simplified)},
            {CmdLanguageTraditional, uiLanguageSetting(UiLanguage::Traditional)},
            {CmdLanguageEnglish, uiLanguageSetting(UiLanguage::English)}};
        // An unknown stored value follows the system, and so shows as that choice.
        bool known = false;
        for (const auto& [command, setting] : choices)
            known = known || (!setting.isEmpty() && setting == chosen);
        for (const auto& [command, setting] : choices)
            menuAction(command)->setChecked(known ? setting == chosen : setting.isEmpty());
    });
}

QAction* MainWindow::menuAction(int command) const {
    for (QAction* action : menuBar()->findChildren<QAction*>())
        if (action->data().toInt() == command && !action->menu())
            return action;
    return nullptr;
}

void MainWindow::UpdateMenuState() {
    const MainWindowHost::State s = host_.state();
    menuAction(CmdPlayPause)
        ->setText(stringText(s.lessonLoaded && s.playState == PlayState::Playing ? 127 : 126));
    menuAction(CmdTopmost)->setText(stringText(s.topmost ? 1007 : 1009));
    const bool playable = s.lessonLoaded && !s.audioMissing;
    for (const int command : {CmdPlayPause, CmdPrevious, CmdNext, CmdRepeat, CmdFirst, CmdLast,
                              CmdBackFive, CmdForwardFive, CmdReadAlong})
        menuAction(command)->setEnabled(playable);
    for (const int command : {CmdViewSubtitles, CmdSplit})
        menuAction(command)->setEnabled(s.lessonLoaded);
    menuAction(CmdStop)->setEnabled(playable && s.playState != PlayState::Stopped);
    const int channels[] = {CmdChannelStereo, CmdChannelLeft, CmdChannelRight};
    const int fonts[] = {CmdFontSmall, CmdFontMedium, CmdFontLarge};
    for (int i = 0; i < 3; ++i) {
        menuAction(channels[i])->setChecked(s.channel == i);
        menuAction(fonts[i])->setChecked(s.fs == i);
    }
    for (const auto& [command, percent] : kSpeedCommands)
        menuAction(command)->setChecked(s.speedPercent == percent);
    menuAction(CmdShowJyutping)->setChecked(s.showJyutping);
    menuAction(CmdExportJyutping)->setEnabled(s.lessonLoaded && s.readingsReady);
}

void MainWindow::UpdateToolbarState() {
    const MainWindowHost::State s = host_.state();
    // Every toolbar command but "open" plays: without audio they are greyed as without a lesson.
    mainPanel_->UpdateToolbarState(s.lessonLoaded && !s.audioMissing, s.playState);
}

void MainWindow::SetPlayButtonImage(bool playing) {
    mainPanel_->SetPlayButtonImage(playing);
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == media::kGraphNotifyEvent) {
        host_.graphNotified();
        return true;
    }
    return QMainWindow::event(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (host_.exitRequested())
        event->accept();
    else
        event->ignore();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    handleDroppedUrls(event->mimeData()->urls());
}

void MainWindow::handleDroppedUrls(const QList<QUrl>& urls) {
    // Only the first file counts.
    const QString path = urls.isEmpty() ? QString() : urls.first().toLocalFile();
    if (!path.isEmpty() && QFileInfo(path).suffix().compare(u"mp3", Qt::CaseInsensitive) == 0)
        host_.openDroppedLesson(path);
    else
        host_.invalidInput();
}

} // namespace lurvo::app
