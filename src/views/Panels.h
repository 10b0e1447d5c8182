#pragma once

#include "views/SentencePanel.h"

#include <QWidget>

namespace lurvo::views {

// The panels of the main window that are still placeholders: the main panel places them; what
// they show arrives with their own views (volume and sentence settings, the list of lines).
class ControlPanel : public QWidget {
public:
    explicit ControlPanel(QWidget* parent) : QWidget(parent) { setObjectName("controlPanel"); }
    // The lesson's subtitle offset and whether its button can be used.
    void setOffsetText(const QString& text, bool buttonEnabled) {
        offsetText_ = text;
        offsetButtonEnabled_ = buttonEnabled;
    }
    QString offsetText() const { return offsetText_; }
    bool offsetButtonEnabled() const { return offsetButtonEnabled_; }

private:
    QString offsetText_ = QStringLiteral("0");
    bool offsetButtonEnabled_ = false;
};

class ListPanel : public QWidget {
public:
    explicit ListPanel(QWidget* parent) : QWidget(parent) {
        setObjectName("listPanel");
        setFocusPolicy(Qt::StrongFocus);
    }
    // Lists the open lesson's lines; empties the list; follows the playing line.
    void fill() { update(); }
    void clear() { update(); }
    void posRefresh() { update(); }
};

} // namespace lurvo::views
