#pragma once

#include <QWidget>

namespace lurvo::views {

// The four panels of the main window. The main panel places them; what they show arrives with
// their own views: volume and sentence settings, the usage tip, the current sentence, and the
// list of subtitle lines.
class ControlPanel : public QWidget {
public:
    explicit ControlPanel(QWidget* parent) : QWidget(parent) { setObjectName("controlPanel"); }
};

class TipStrip : public QWidget {
public:
    explicit TipStrip(QWidget* parent) : QWidget(parent) { setObjectName("tipStrip"); }
};

class SentencePanel : public QWidget {
public:
    explicit SentencePanel(QWidget* parent) : QWidget(parent) { setObjectName("sentencePanel"); }
    // Repaints with the current sentence and display font.
    void refresh() { update(); }
};

class ListPanel : public QWidget {
public:
    explicit ListPanel(QWidget* parent) : QWidget(parent) {
        setObjectName("listPanel");
        setFocusPolicy(Qt::StrongFocus);
    }
};

} // namespace lurvo::views
