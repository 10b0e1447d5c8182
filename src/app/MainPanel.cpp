#include "app/MainPanel.h"

#include "app/CommandIds.h"
#include "app/PlayState.h"
#include "app/StringTable.h"
#include "app/ToolbarImages.h"

#include <QAction>
#include <QResizeEvent>

namespace lurvo::app {

namespace {

struct Button {
    int command;
    ToolbarImage image;
    int tooltip;
    bool separatorBefore;
};

constexpr Button kButtons[] = {
    {CmdOpen, ToolbarImage::Open, 110, false},
    {CmdPlayPause, ToolbarImage::Play, 111, true},
    {CmdStop, ToolbarImage::Stop, 113, false},
    {CmdPrevious, ToolbarImage::Previous, 114, true},
    {CmdNext, ToolbarImage::Next, 115, false},
    {CmdRepeat, ToolbarImage::Repeat, 116, false},
    {CmdReadAlong, ToolbarImage::ReadAlong, 1050, true},
};

} // namespace

MainPanel::MainPanel(QWidget* parent, std::function<void(int)> dispatch)
    : QWidget(parent), controlPanel_(new views::ControlPanel(this)),
      tipStrip_(new views::TipStrip(this)), sentencePanel_(new views::SentencePanel(this)),
      listPanel_(new views::ListPanel(this)), toolbar_(new QToolBar(this)) {
    setObjectName("mainPanel");
    toolbar_->setObjectName("toolbar");
    toolbar_->setIconSize(QSize(48, 16));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setFocusPolicy(Qt::NoFocus);
    for (const Button& b : kButtons) {
        if (b.separatorBefore)
            toolbar_->addSeparator();
        QAction* action = toolbar_->addAction(toolbarIcon(b.image), stringText(b.tooltip));
        action->setData(b.command);
        action->setToolTip(stringText(b.tooltip));
        connect(action, &QAction::triggered, this, [dispatch, id = b.command] { dispatch(id); });
    }
}

QAction* MainPanel::toolbarAction(int command) const {
    for (QAction* action : toolbar_->actions())
        if (action->data().toInt() == command)
            return action;
    return nullptr;
}

void MainPanel::UpdateToolbarState(bool lessonLoaded, PlayState state) {
    toolbarAction(CmdOpen)->setEnabled(true);
    toolbarAction(CmdPlayPause)->setEnabled(lessonLoaded);
    toolbarAction(CmdStop)->setEnabled(lessonLoaded && state != PlayState::Stopped);
    for (const int command : {CmdPrevious, CmdNext, CmdRepeat, CmdReadAlong})
        toolbarAction(command)->setEnabled(lessonLoaded);
}

void MainPanel::SetPlayButtonImage(bool playing) {
    QAction* play = toolbarAction(CmdPlayPause);
    play->setIcon(toolbarIcon(playing ? ToolbarImage::Pause : ToolbarImage::Play));
    play->setToolTip(stringText(playing ? 112 : 111));
}

void MainPanel::resizeEvent(QResizeEvent* event) {
    const int w = event->size().width();
    const int h = event->size().height();
    const int t = toolbar_->sizeHint().height();
    toolbar_->setGeometry(0, h - t, w, t);
    controlPanel_->setGeometry(0, 0, w, kControlPanelHeight);
    tipStrip_->setGeometry(0, kControlPanelHeight, w, kTipStripHeight);
    sentencePanel_->setGeometry(0, kControlPanelHeight + kTipStripHeight, w, kSentencePanelHeight);
    listPanel_->setGeometry(0, kListTop, w, std::max(0, h - t - kListTop));
}

} // namespace lurvo::app
