#pragma once

#include <QString>

namespace lurvo::player {

// What the sentence player tells the window: the panels, toolbar, status bar, the 10 ms tick
// and error boxes.
class PlaybackViews {
public:
    virtual ~PlaybackViews() = default;
    virtual void refreshSentencePanel() = 0;
    virtual void posRefreshList() = 0;
    virtual void setPlayButtonImage(bool playing) = 0;
    virtual void updateToolbarState() = 0;
    virtual void setStatusText(int part, const QString& text) = 0;
    virtual void hideToolTip() = 0;
    virtual void startTick() = 0;
    virtual void stopTick() = 0;
    virtual void showError(const QString& text) = 0;
    // While the learner is given time to speak: the share of the wait still to come, 1 down to
    // 0; a negative value when there is no wait.
    virtual void showWait(double fractionLeft) { (void)fractionLeft; }
};

} // namespace lurvo::player
