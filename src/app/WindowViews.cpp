#include "app/WindowViews.h"

#include "app/MainWindow.h"

#include <QToolTip>

namespace lurvo::app {

WindowViews::WindowViews(MainWindow& window, Dialogs dialogs, std::function<void()> onTick)
    : window_(window), dialogs_(std::move(dialogs)) {
    tick_.setTimerType(Qt::PreciseTimer);
    tick_.setInterval(10);
    QObject::connect(&tick_, &QTimer::timeout, &window_, std::move(onTick));
}

void WindowViews::refreshSentencePanel() {
    window_.mainPanel()->sentencePanel()->refresh();
}
void WindowViews::posRefreshList() {
    window_.mainPanel()->listPanel()->posRefresh();
}
void WindowViews::setPlayButtonImage(bool playing) {
    window_.SetPlayButtonImage(playing);
}
void WindowViews::updateToolbarState() {
    window_.UpdateToolbarState();
}
void WindowViews::setStatusText(int part, const QString& text) {
    window_.statusBarPanel()->setText(part, text);
    // The sentence part names the pass, which the sentence panel's corner shows too.
    if (part == 1)
        window_.mainPanel()->sentencePanel()->refreshPass();
}
void WindowViews::hideToolTip() {
    QToolTip::hideText();
}
void WindowViews::startTick() {
    tick_.start();
}
void WindowViews::stopTick() {
    tick_.stop();
}
void WindowViews::showError(const QString& text) {
    dialogs_.showError(text);
}
void WindowViews::showWait(double fractionLeft) {
    window_.mainPanel()->sentencePanel()->showWait(fractionLeft);
}

QString WindowViews::askLessonPath(const QString& folder) {
    return dialogs_.askOpenPath(folder);
}
void WindowViews::showInfo(const QString& text) {
    dialogs_.showInfo(text);
}
player::Answer WindowViews::askYesNoCancel(const QString& text) {
    return dialogs_.askYesNoCancel(text);
}
bool WindowViews::askYesNo(const QString& text) {
    return dialogs_.askYesNo && dialogs_.askYesNo(text);
}
pauses::EnvelopeResult WindowViews::measureLoudness(const QString& mp3Path) {
    if (!dialogs_.measureLoudness) {
        pauses::EnvelopeResult none;
        none.cancelled = true;
        return none;
    }
    return dialogs_.measureLoudness(mp3Path);
}
std::optional<pauses::PauseOptions> WindowViews::askPauseOptions(const pauses::Envelope& envelope) {
    if (!dialogs_.askPauseOptions)
        return std::nullopt;
    return dialogs_.askPauseOptions(envelope);
}
void WindowViews::openUrl(const QUrl& url) {
    dialogs_.openUrl(url);
}
void WindowViews::runRepairTool(const QString& program, const QStringList& arguments) {
    dialogs_.runRepairTool(program, arguments);
}
void WindowViews::fillList() {
    window_.mainPanel()->listPanel()->fill();
    window_.mainPanel()->tipStrip()->update(); // a notice about the new lesson
}
void WindowViews::clearList() {
    window_.mainPanel()->listPanel()->clear();
    window_.mainPanel()->tipStrip()->update();
}
void WindowViews::setOffsetText(const QString& text, bool buttonEnabled) {
    window_.mainPanel()->controlPanel()->setOffsetText(text, buttonEnabled);
}
void WindowViews::setCaption(const QString& text) {
    window_.setWindowTitle(text);
}

} // namespace lurvo::app
