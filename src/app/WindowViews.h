#pragma once

#include "player/LessonLoader.h"
#include "player/PlaybackViews.h"

#include <QTimer>

#include <functional>

namespace lurvo::app {

class MainWindow;

// The main window as the sentence player and the lesson loader see it, with the 10 ms tick.
class WindowViews : public player::PlaybackViews, public player::LessonUi {
public:
    struct Dialogs {
        std::function<void(const QString&)> showError;
        std::function<void(const QString&)> showInfo;
        std::function<player::Answer(const QString&)> askYesNoCancel;
        std::function<bool(const QString&)> askYesNo;
        std::function<pauses::EnvelopeResult(const QString&)> measureLoudness;
        std::function<std::optional<pauses::PauseOptions>(const pauses::Envelope&)> askPauseOptions;
        std::function<QString(const QString& folder)> askOpenPath;
        std::function<void(const QUrl&)> openUrl;
        std::function<void(const QString&, const QStringList&)> runRepairTool;
    };
    WindowViews(MainWindow& window, Dialogs dialogs, std::function<void()> onTick);

    void refreshSentencePanel() override;
    void posRefreshList() override;
    void setPlayButtonImage(bool playing) override;
    void updateToolbarState() override;
    void setStatusText(int part, const QString& text) override;
    void hideToolTip() override;
    void startTick() override;
    void stopTick() override;
    void showError(const QString& text) override;
    void showWait(double fractionLeft) override;

    QString askLessonPath(const QString& folder) override;
    void showInfo(const QString& text) override;
    player::Answer askYesNoCancel(const QString& text) override;
    bool askYesNo(const QString& text) override;
    pauses::EnvelopeResult measureLoudness(const QString& mp3Path) override;
    std::optional<pauses::PauseOptions> askPauseOptions(const pauses::Envelope& envelope) override;
    void openUrl(const QUrl& url) override;
    void runRepairTool(const QString& program, const QStringList& arguments) override;
    void fillList() override;
    void clearList() override;
    void setOffsetText(const QString& text, bool buttonEnabled) override;
    void setCaption(const QString& text) override;

    bool ticking() const { return tick_.isActive(); }

private:
    MainWindow& window_;
    Dialogs dialogs_;
    QTimer tick_;
};

} // namespace lurvo::app
