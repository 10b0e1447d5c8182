#pragma once

#include "app/MainPanel.h"
#include "app/PlayState.h"
#include "app/Settings.h"
#include "app/StatusBar.h"

#include <QList>
#include <QMainWindow>
#include <QUrl>

#include <initializer_list>
#include <utility>

class QMenu;
class QMenuBar;

namespace lurvo::app {

// What the main window needs from the application object.
class MainWindowHost {
public:
    struct State {
        bool lessonLoaded = false;
        PlayState playState = PlayState::Stopped;
        bool topmost = false;
        int channel = 0;
        int fs = 0;
        // The open lesson has no audio output: it can be read and corrected, not played.
        bool audioMissing = false;
        int speedPercent = 100;
        bool showJyutping = true;
        // The Jyutping readings have loaded: they can be written out.
        bool readingsReady = false;
        QString uiLanguage = {}; // the stored choice, empty for the system's
    };
    virtual ~MainWindowHost() = default;
    virtual void dispatch(int command) = 0;
    virtual State state() const = 0;
    virtual void openDroppedLesson(const QString& path) = 0;
    virtual void invalidInput() = 0;
    // The user closes the window; true when the program ends.
    virtual bool exitRequested() = 0;
    // A media graph has events waiting.
    virtual void graphNotified() = 0;
};

// The frame: menu, main panel and status bar. Every command goes to the host by its id.
class MainWindow : public QMainWindow {
public:
    static constexpr int kMinimumWidth = 525;
    static constexpr int kMinimumHeight = 480;

    explicit MainWindow(MainWindowHost& host);

    MainPanel* mainPanel() const { return mainPanel_; }
    StatusBar* statusBarPanel() const { return statusBar_; }
    QMenu* operationMenu() const { return operationMenu_; }
    QAction* menuAction(int command) const;

    // Texts, enabled states and checks of the operation menu from the host's state.
    void UpdateMenuState();
    void UpdateToolbarState();
    void SetPlayButtonImage(bool playing);
    // Dropped files: the first one opens when it is an MP3, anything else only sounds.
    void handleDroppedUrls(const QList<QUrl>& urls);
    // Shows the window where the settings left it, on a screen that exists (placeMainWindow).
    void showPlaced(const Settings& settings);
    // Keeps the window's place, size and maximised state in the settings.
    void storePlacement(Settings& settings) const;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    QAction* addCommand(QMenu* menu, int command, const QString& text);
    // A submenu of commands of which one at a time is checked.
    // "语言": the system's language or one of the three; checked as stored.
    void buildLanguageMenu(QMenuBar* bar);
    void addRadioSubmenu(QMenu* menu, const QString& title,
                         std::initializer_list<std::pair<int, const char*>> items);

    MainWindowHost& host_;
    MainPanel* mainPanel_ = nullptr;
    StatusBar* statusBar_ = nullptr;
    QMenu* operationMenu_ = nullptr;
};

} // namespace lurvo::app
