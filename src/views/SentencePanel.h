#pragma once

#include <QFont>
#include <QWidget>

#include <functional>

namespace lurvo::views {

// The current sentence in large type on white; while the lesson is not playing, a play symbol
// in the middle that starts it. Elsewhere a press drags the main window.
class SentencePanel : public QWidget {
public:
    // What the panel reads from the application at every render.
    struct Source {
        std::function<bool()> lessonLoaded;
        std::function<bool()> playing;
        std::function<QString()> sentenceText; // head line, and "\r\n" and the tail line if any
        std::function<QFont()> font;
        std::function<void()> togglePlayPause;
        // False while the lesson cannot be played (no audio output); none means it can.
        std::function<bool()> playable;
    };

    explicit SentencePanel(QWidget* parent);
    void setSource(Source source) { source_ = std::move(source); }
    // Repaints with the current sentence and display font.
    void refresh() { update(); }
    // The 64 by 64 square in the middle where the play symbol stands.
    QRect hotSquare() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    bool symbolShown() const;

    Source source_;
};

// One line of usage advice on a light-yellow band, above an etched line; a notice about the open
// lesson takes the advice's place while there is one.
class TipStrip : public QWidget {
public:
    explicit TipStrip(QWidget* parent);
    // Where the notice comes from, read at every render; an empty notice shows the advice.
    void setNoticeSource(std::function<QString()> notice) { notice_ = std::move(notice); }
    // The line shown now.
    QString text() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::function<QString()> notice_;
};

// Lets the learner move the main window by dragging a panel.
void dragWindowFrom(QWidget* panel);

} // namespace lurvo::views
