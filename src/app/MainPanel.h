#pragma once

#include "app/PlayState.h"
#include "views/ControlPanel.h"
#include "views/ListPanel.h"
#include "views/SentencePanel.h"

#include <QToolBar>
#include <QWidget>

#include <functional>

class QAction;

namespace lurvo::app {

// Fills the main window above the status bar: the control panel, tip strip, sentence panel and
// subtitle list stacked at fixed heights, and the toolbar at the bottom.
class MainPanel : public QWidget {
public:
    static constexpr int kControlPanelHeight = 85;
    static constexpr int kTipStripHeight = 26;
    static constexpr int kSentencePanelHeight = 160;
    static constexpr int kListTop = kControlPanelHeight + kTipStripHeight + kSentencePanelHeight;

    MainPanel(QWidget* parent, std::function<void(int)> dispatch);

    views::ControlPanel* controlPanel() const { return controlPanel_; }
    views::TipStrip* tipStrip() const { return tipStrip_; }
    views::SentencePanel* sentencePanel() const { return sentencePanel_; }
    views::ListPanel* listPanel() const { return listPanel_; }
    QToolBar* toolbar() const { return toolbar_; }
    QAction* toolbarAction(int command) const;

    // Enables the buttons for the lesson's state.
    void UpdateToolbarState(bool lessonLoaded, PlayState state);
    // The play button shows a pause picture (and tooltip) while playing.
    void SetPlayButtonImage(bool playing);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    views::ControlPanel* controlPanel_;
    views::TipStrip* tipStrip_;
    views::SentencePanel* sentencePanel_;
    views::ListPanel* listPanel_;
    QToolBar* toolbar_;
};

} // namespace lurvo::app
